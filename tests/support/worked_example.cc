// The worked example's questions and answers, written once for every test.
#include "tests/support/worked_example.h"

namespace testing_support {

const std::vector<WorkedExampleStep> kWorkedExample = {
    {"(nome.txt)", "relatorio.txt"},
    {"(Mpa) ", "25"},
    {"mero da opcao desejada", "4"},
    {"abatimento (cm)", "8"},
    {"padrao = 25", "25"},
    {"valor da opcao desejada ", "1"},
    {"Digite o numero da opcao desejada", "1"},
    {"escolhido = ", "0.55"},
    {"ha ar incorporado", "1"},
    {"tera o concreto", "1"},
    {"DOS command.", ""},
    {"brita 1 em (%)", "59"},
    {"padrao = 1.59 ", "1.59"},
    {"1.36 a 1.4 ", "1.4"},
    {"DOS command.", ""},
};

std::vector<std::string> workedExamplePrompts() {
  std::vector<std::string> prompts;
  for (const WorkedExampleStep& step : kWorkedExample) prompts.push_back(step.prompt);
  return prompts;
}

std::vector<std::string> workedExampleAnswers(const std::map<std::size_t, std::string>& changes) {
  std::vector<std::string> answers;
  for (const WorkedExampleStep& step : kWorkedExample) answers.push_back(step.answer);
  for (const auto& [position, answer] : changes) answers.at(position) = answer;
  return answers;
}

std::string answerFile(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string workedExampleInput(const std::string& reportName) {
  return answerFile(workedExampleAnswers({{kReportName, reportName}}));
}

}  // namespace testing_support

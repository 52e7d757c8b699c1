// The prompt for a missing report name, through the built program on
// redirected input: a null answer to the name question shows the prompt and
// ends the run as at the end of the input, whatever the input's timing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/e2e_support.h"
#include "tests/support/worked_example.h"

namespace {

using testing_support::RunOutcome;
using testing_support::TempFolder;

const std::string kNamePrompt = "File name missing or blank - please enter file name\r\nUNIT 3? ";

// The worked example's answers after its name, as one piece of an answer file.
std::string workedExampleRest() {
  std::vector<std::string> rest = testing_support::workedExampleAnswers();
  rest.erase(rest.begin());
  const std::string text = testing_support::answerFile(rest);
  return text.substr(0, text.size() - 1);  // the last line end comes with the piece
}

// On redirected input the prompt reads nothing: however the answers arrive
// (all at once, line by line after each prompt, or split inside the name,
// at once or after the prompt), a null name ends the run as at the end of
// the input, and no later answer becomes the report's name: no file at all
// is made.
TEST(ReportNamePrompt, RedirectedInputGivesEndOfFileForEveryTiming) {
  struct Row {
    const char* how;
    std::vector<std::string> prompts;
    std::vector<std::string> lines;
  };
  std::vector<std::string> eachAfterItsPrompt = testing_support::workedExamplePrompts();
  eachAfterItsPrompt.insert(eachAfterItsPrompt.begin() + 1, "UNIT 3? ");
  std::vector<std::string> eachAnswer =
      testing_support::workedExampleAnswers({{testing_support::kReportName, "rel.txt"}});
  eachAnswer.insert(eachAnswer.begin(), ",");
  const Row rows[] = {
      {"at once", {"(nome.txt)"}, {",\n   \n  pedido.txt  \n25"}},
      {"after each prompt", {"(nome.txt)", "UNIT 3? "}, {",", "  pedido.txt  ", "25"}},
      {"split inside the name", {"(nome.txt)", "UNIT 3? "}, {",\n  ped", "ido.txt  \n25"}},
      {"worked example split inside the name, at once",
       {"(nome.txt)", ""},
       {",\nrel", ".txt\n" + workedExampleRest()}},
      {"worked example split inside the name, after the prompt",
       {"(nome.txt)", "UNIT 3? "},
       {",\nrel", ".txt\n" + workedExampleRest()}},
      {"worked example, each answer after its prompt", eachAfterItsPrompt, eachAnswer},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.how);
    TempFolder folder;
    RunOutcome run = testing_support::runPipedByPrompts(folder, row.prompts, row.lines);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "\r\nrun-time error F6501: OPEN()\r\n- end of file encountered\r\n");
    EXPECT_EQ(run.out.substr(run.out.size() - kNamePrompt.size() - 2), kNamePrompt + "\r\n");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  }
}

TEST(ReportNamePrompt, EndOfInputAtThePromptIsReported) {
  TempFolder folder;
  RunOutcome run = testing_support::runPipedByPrompts(folder, {"(nome.txt)"}, {","});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "\r\nrun-time error F6501: OPEN()\r\n- end of file encountered\r\n");
  EXPECT_EQ(run.out.substr(run.out.size() - kNamePrompt.size() - 2), kNamePrompt + "\r\n");
}

}  // namespace

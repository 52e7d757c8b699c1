// The worked example: the design most whole-run tests answer (fck 25, standard
// deviation 4, slump 8, size 25, water-cement ratio 0.55, one gradation of
// 59 %), each answer beside the console text that shows its question waits.
// The end-to-end, dialogue and memo tests all take it from here.
#ifndef DOSMO_TESTS_SUPPORT_WORKED_EXAMPLE_H_
#define DOSMO_TESTS_SUPPORT_WORKED_EXAMPLE_H_

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// One question: a part of its prompt that shows once it waits, and the answer.
struct WorkedExampleStep {
  const char* prompt;
  const char* answer;
};

// The questions in order, the two pauses among them; the report is relatorio.txt.
extern const std::vector<WorkedExampleStep> kWorkedExample;

// The positions of the answers that tests replace.
enum WorkedExampleQuestion : std::size_t {
  kReportName = 0,
  kStrength = 1,
  kSize = 4,
  kFirstPause = 10,
  kSandUnitMass = 12,
  kLastPause = 14,
};

// The prompts in order, for runPipedByPrompts and runOnTerminal.
std::vector<std::string> workedExamplePrompts();

// The answers in order, those at the positions of `changes` replaced.
std::vector<std::string> workedExampleAnswers(const std::map<std::size_t, std::string>& changes = {});

// The lines as an answer file: each followed by LF.
std::string answerFile(const std::vector<std::string>& lines);

// The whole worked example as an answer file, with this report name.
std::string workedExampleInput(const std::string& reportName);

}  // namespace testing_support

#endif  // DOSMO_TESTS_SUPPORT_WORKED_EXAMPLE_H_

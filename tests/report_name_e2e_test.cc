// The prompt for a missing report name, through the built program on
// redirected input: a null answer to the name question shows the prompt and
// ends the run as at the end of the input, whatever the input's timing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/e2e_support.h"

namespace {

using testing_support::RunOutcome;
using testing_support::TempFolder;

const std::string kNamePrompt = "File name missing or blank - please enter file name\r\nUNIT 3? ";

// On redirected input the prompt reads nothing: however the answers arrive
// (all at once, line by line after each prompt, or split inside the name),
// a null name ends the run as at the end of the input, and no later answer
// becomes the report's name.
TEST(ReportNamePrompt, RedirectedInputGivesEndOfFileForEveryTiming) {
  struct Row {
    const char* how;
    std::vector<std::string> prompts;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {"at once", {"(nome.txt)"}, {",\n   \n  pedido.txt  \n25"}},
      {"after each prompt", {"(nome.txt)", "UNIT 3? "}, {",", "  pedido.txt  ", "25"}},
      {"split inside the name", {"(nome.txt)", "UNIT 3? "}, {",\n  ped", "ido.txt  \n25"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.how);
    TempFolder folder;
    RunOutcome run = testing_support::runPipedByPrompts(folder, row.prompts, row.lines);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "\r\nrun-time error F6501: OPEN()\r\n- end of file encountered\r\n");
    EXPECT_EQ(run.out.substr(run.out.size() - kNamePrompt.size() - 2), kNamePrompt + "\r\n");
    EXPECT_EQ(folder.read("pedido.txt"), "<missing>");
    EXPECT_EQ(folder.read(".txt"), "<missing>");
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

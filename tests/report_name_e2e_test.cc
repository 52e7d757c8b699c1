// The prompt for a missing report name, through the built program fed line by
// line: a null answer to the name question makes the open ask on the console
// until a non-blank line comes, and the report is created under that name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/e2e_support.h"

namespace {

using testing_support::RunOutcome;
using testing_support::TempFolder;

const std::string kNamePrompt = "File name missing or blank - please enter file name\r\nUNIT 3? ";

TEST(ReportNamePrompt, AsksUntilANameComesThenCreatesTheReport) {
  TempFolder folder;
  // A lone comma leaves the name blank; the prompt is answered with a line of
  // blanks first (asked again), then a name with blanks around it.
  RunOutcome run = testing_support::runPipedByPrompts(
      folder, {"(nome.txt)", "UNIT 3? ", "UNIT 3? ", "(Mpa) "},
      {",", "   ", "  pedido.txt  ", "25"});
  // Standard input ends at the control-level question.
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "\r\nrun-time error F6501: READ(CON)\r\n- end of file encountered\r\n");
  const std::string expectedPrompts = "\r\n" + kNamePrompt + kNamePrompt;
  EXPECT_NE(run.out.find(expectedPrompts), std::string::npos) << run.out;
  const std::string report = folder.read("pedido.txt");
  EXPECT_EQ(report.substr(0, 3), "  R");
  EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
}

TEST(ReportNamePrompt, EndOfInputAtThePromptIsReported) {
  TempFolder folder;
  RunOutcome run = testing_support::runPipedByPrompts(folder, {"(nome.txt)"}, {","});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "\r\nrun-time error F6501: OPEN()\r\n- end of file encountered\r\n");
  EXPECT_EQ(run.out.substr(run.out.size() - kNamePrompt.size() - 2), kNamePrompt + "\r\n");
}

}  // namespace

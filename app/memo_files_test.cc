// The memo run mode: the memo files' names after the report, and the built
// program's memo files (none for a device, a failed memo reported, a misused
// option refused, the arguments after the options still report names).
#include "app/memo_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/e2e_support.h"
#include "tests/support/worked_example.h"

namespace {

TEST(Memo, NamedAfterTheReportWithoutItsExtension) {
  const struct {
    const char* report;
    const char* stem;
  } rows[] = {
      {"rel.txt", "rel-memorial"},           {"rel", "rel-memorial"},
      {"obra/rel.txt", "obra/rel-memorial"}, {"obra.v2/rel", "obra.v2/rel-memorial"},
      {"c:\\a.b\\rel", "c:\\a.b\\rel-memorial"}, {"rel.final.txt", "rel.final-memorial"},
      {".txt", ".txt-memorial"}, {"a.b/.x", "a.b/.x-memorial"},
  };
  for (const auto& row : rows) EXPECT_EQ(dosmo::memoFileStem(row.report), row.stem) << row.report;
}

using testing_support::RunOutcome;
using testing_support::RunSetup;
using testing_support::TempFolder;

TEST(MemoProgram, NoMemoForAReportOnADevice) {
  for (const char* name : {"NUL", "'/dev/null'"}) {
    TempFolder folder;
    RunSetup setup;
    setup.input = testing_support::workedExampleInput(name);
    setup.arguments = {"--memorial"};
    const RunOutcome run = testing_support::runPiped(folder, setup);
    EXPECT_EQ(run.status, 0) << name << run.err;
    EXPECT_EQ(folder.read("NUL-memorial.txt"), "<missing>");
    EXPECT_EQ(folder.read("NUL-memorial.json"), "<missing>");
    EXPECT_FALSE(std::filesystem::exists("/dev/null-memorial.txt"));
  }
}

TEST(MemoProgram, AMemoThatCannotBeWrittenFailsTheRun) {
  TempFolder folder;
  std::filesystem::create_directory(folder.file("rel-memorial.txt"));
  RunSetup setup;
  setup.input = testing_support::workedExampleInput("rel.txt");
  setup.arguments = {"--memorial"};
  const RunOutcome run = testing_support::runPiped(folder, setup);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("rel-memorial.txt"), std::string::npos) << run.err;
  EXPECT_NE(folder.read("rel.txt"), "<missing>");  // the report itself is complete
  EXPECT_EQ(folder.read("rel-memorial.json"), "<missing>");
}

TEST(MemoProgram, AMisusedOptionIsRefusedBeforeAnyQuestion) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--volume", "3"}, {"--memorial", "--volume", "-2"},
        {"--memorial", "--volume", "x"}, {"--memorial", "--perda", "5"}}) {
    TempFolder folder;
    RunSetup setup;
    setup.input = testing_support::workedExampleInput("rel.txt");
    setup.arguments = arguments;
    const RunOutcome run = testing_support::runPiped(folder, setup);
    EXPECT_EQ(run.status, 2) << arguments.back();
    EXPECT_EQ(run.out, "") << arguments.back();
    EXPECT_EQ(run.err.rfind("dosmo: ", 0), 0u) << run.err;
    EXPECT_EQ(folder.read("rel.txt"), "<missing>");
  }
}

TEST(MemoProgram, ArgumentsAfterTheOptionStillNameTheReport) {
  TempFolder folder;
  RunSetup setup;
  setup.input = testing_support::workedExampleInput(",");
  setup.arguments = {"--memorial", "obra.txt"};
  const RunOutcome run = testing_support::runPiped(folder, setup);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(folder.read("obra.txt"), "<missing>");
  EXPECT_NE(folder.read("obra-memorial.json").find("\"relatorio\": \"obra.txt\""), std::string::npos);
}

}  // namespace

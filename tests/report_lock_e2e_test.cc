// One report name, one run at a time: while a run holds its report, from the
// open after the name question to its end, a second run on the same name ends
// at once with F6414 and leaves the file as it was, so the report is always
// the whole report of one run, never a mix of two; a run's memo is written
// while it still holds its report.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/e2e_support.h"
#include "tests/support/worked_example.h"

namespace {

using testing_support::RunOutcome;
using testing_support::RunSetup;
using testing_support::TempFolder;

// The worked example's answers, with the strength and the sand's unit mass
// given (so that two runs differ at the head and the tail).
std::vector<std::string> answers(const std::string& strength, const std::string& sandMass) {
  return testing_support::workedExampleAnswers({{testing_support::kReportName, "rel.txt"},
                                                {testing_support::kStrength, strength},
                                                {testing_support::kSandUnitMass, sandMass}});
}

std::string joined(const std::vector<std::string>& lines) { return testing_support::answerFile(lines); }

// The whole report of an undisturbed run with these answers.
std::string wholeReport(const std::vector<std::string>& lines) {
  TempFolder folder;
  RunSetup setup;
  setup.input = joined(lines);
  testing_support::runPiped(folder, setup);
  return folder.read("rel.txt");
}

// Run B (from a file at once) starts while run A (answered line by line)
// waits at each of its questions in turn. Before A has its name, B runs
// whole and A then replaces B's report; once A holds the file, B is refused
// at its open and the file keeps A's records.
TEST(ReportLock, SecondRunOnTheSameNameIsRefusedWhileTheFirstHoldsIt) {
  const std::vector<std::string> answersA = answers("25", "1.59");
  const std::vector<std::string> answersB = answers("30", "1.5");
  const std::string reportA = wholeReport(answersA);
  const std::string reportB = wholeReport(answersB);
  ASSERT_NE(reportA.substr(0, 700), reportB.substr(0, 700));
  ASSERT_NE(reportA.substr(800), reportB.substr(800));
  const std::string refused =
      "\r\nrun-time error F6414: OPEN(rel.txt)\r\n- access to the file denied\r\n";
  // At the last pause A reads nothing and ends, so it waits at every line but that one.
  for (std::size_t waitingAt = 0; waitingAt + 1 < testing_support::kWorkedExample.size(); ++waitingAt) {
    SCOPED_TRACE("run A waits at question " + std::to_string(waitingAt));
    TempFolder folder;
    RunOutcome second;
    std::string before, after;
    RunSetup first;
    first.beforeLine = [&](std::size_t line) {
      if (line != waitingAt) return;
      before = folder.read("rel.txt");
      RunSetup setup;
      setup.input = joined(answersB);
      second = testing_support::runPiped(folder, setup);
      after = folder.read("rel.txt");
    };
    RunOutcome run = testing_support::runPipedByPrompts(folder, testing_support::workedExamplePrompts(), answersA, first);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(folder.read("rel.txt"), reportA);
    if (waitingAt == 0) {
      EXPECT_EQ(second.status, 0) << second.err;
      continue;
    }
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err, refused);
    EXPECT_EQ(after, before);
  }
}

// The memo is written while its run still holds the report, before the
// closing pause; a memo name that is no plain file (a planted symbolic link
// to an existing or a missing file, a link to the report, a second name of
// the report, a FIFO, a folder) is refused at once with F6414 naming it:
// nothing is written through it, the report is whole, no memo file and no
// new file is left beside it, and the run ends with status 1.
TEST(ReportLock, MemoNameThatIsNoPlainFileIsRefused) {
  const std::vector<std::string> lines = answers("25", "1.59");
  const std::string report = wholeReport(lines);
  const std::string refused =
      "\r\nrun-time error F6414: OPEN(rel-memorial.txt)\r\n- access to the file denied\r\n";
  struct Row {
    const char* what;
    std::function<void(const TempFolder&)> plant;
  };
  const Row rows[] = {
      {"link to an existing file",
       [](const TempFolder& f) { ASSERT_EQ(symlink(f.file("victim").c_str(), f.file("rel-memorial.txt").c_str()), 0); }},
      {"link to a missing file",
       [](const TempFolder& f) { ASSERT_EQ(symlink(f.file("absent").c_str(), f.file("rel-memorial.txt").c_str()), 0); }},
      {"link to the report", [](const TempFolder& f) { ASSERT_EQ(symlink("rel.txt", f.file("rel-memorial.txt").c_str()), 0); }},
      {"second name of the report",
       [](const TempFolder& f) {
         f.write("rel.txt", "old");
         ASSERT_EQ(link(f.file("rel.txt").c_str(), f.file("rel-memorial.txt").c_str()), 0);
       }},
      {"FIFO", [](const TempFolder& f) { ASSERT_EQ(mkfifo(f.file("rel-memorial.txt").c_str(), 0600), 0); }},
      {"folder", [](const TempFolder& f) { ASSERT_EQ(mkdir(f.file("rel-memorial.txt").c_str(), 0700), 0); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder folder;
    folder.write("victim", "mine");
    folder.write("rel-memorial.json", "older json");
    row.plant(folder);
    RunSetup setup;
    setup.arguments = {"--memorial"};
    setup.input = joined(lines);
    const RunOutcome run = testing_support::runPiped(folder, setup);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, refused);
    EXPECT_EQ(folder.read("rel.txt"), report);
    EXPECT_EQ(folder.read("victim"), "mine");
    EXPECT_EQ(folder.read("absent"), "<missing>");
    EXPECT_EQ(folder.read("rel-memorial.json"), "older json");
    DIR* listing = opendir(folder.path().c_str());
    ASSERT_NE(listing, nullptr);
    for (dirent* entry; (entry = readdir(listing)) != nullptr;) {
      EXPECT_EQ(std::string(entry->d_name).find(".new"), std::string::npos) << entry->d_name;
    }
    closedir(listing);
  }
}

// Under a file-size limit that the report fits and the memo does not, the
// run ends with the disk-full write error naming the memo (no signal death),
// and the older memo files are left whole.
TEST(ReportLock, FileSizeLimitEndsWithWriteErrorAndKeepsOlderMemo) {
  TempFolder folder;
  folder.write("rel-memorial.txt", "older text");
  folder.write("rel-memorial.json", "older json");
  RunSetup setup;
  setup.program = "/bin/sh";
  setup.arguments = {"-c", "ulimit -f 8 && exec \"$0\" --memorial", DOSMO_BINARY};
  setup.input = joined(answers("25", "1.59"));
  const RunOutcome run = testing_support::runPiped(folder, setup);
  EXPECT_EQ(run.signalNumber, 0);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "\r\nrun-time error F6422: WRITE(rel-memorial.txt)\r\n- disk full\r\n");
  EXPECT_EQ(folder.read("rel.txt"), wholeReport(answers("25", "1.59")));
  EXPECT_EQ(folder.read("rel-memorial.txt"), "older text");
  EXPECT_EQ(folder.read("rel-memorial.json"), "older json");
}

}  // namespace

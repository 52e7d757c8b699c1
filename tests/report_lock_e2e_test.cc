// One report name, one run at a time: while a run holds its report, from the
// open after the name question to its end, a second run on the same name ends
// at once with F6414 and leaves the file as it was, so the report is always
// the whole report of one run, never a mix of two; a run's memo is written
// while it still holds its report.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/e2e_support.h"

namespace {

using testing_support::RunOutcome;
using testing_support::RunSpec;
using testing_support::TempFolder;

// The worked example's answers, with the strength and the sand's unit mass
// given (so that two runs differ at the head and the tail).
std::vector<std::string> answers(const std::string& strength, const std::string& sandMass) {
  return {"rel.txt", strength, "4", "8", "25", "1", "1", "0.55", "1", "1", "", "59", sandMass, "1.4", ""};
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The whole report of an undisturbed run with these answers.
std::string wholeReport(const std::vector<std::string>& lines) {
  TempFolder folder;
  RunSpec setup;
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
  for (std::size_t waitingAt = 0; waitingAt + 1 < testing_support::kWorkedExamplePrompts.size(); ++waitingAt) {
    SCOPED_TRACE("run A waits at question " + std::to_string(waitingAt));
    TempFolder folder;
    RunOutcome second;
    std::string before, after;
    RunSpec first;
    first.beforeLine = [&](std::size_t line) {
      if (line != waitingAt) return;
      before = folder.read("rel.txt");
      RunSpec setup;
      setup.input = joined(answersB);
      second = testing_support::runPiped(folder, setup);
      after = folder.read("rel.txt");
    };
    RunOutcome run = testing_support::runPipedByPrompts(folder, testing_support::kWorkedExamplePrompts, answersA, first);
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

// The memo is written while its run still holds the report, so no other run
// can write its report between the two: run A's text memo is a named pipe,
// whose open waits for a reader, and run B is started while A waits there.
TEST(ReportLock, MemoWrittenWhileTheReportIsStillHeld) {
  const std::vector<std::string> answersA = answers("25", "1.59");
  const std::string reportA = wholeReport(answersA);
  TempFolder folder;
  ASSERT_EQ(mkfifo(folder.file("rel-memorial.txt").c_str(), 0600), 0);
  std::atomic<bool> finished = false;
  RunOutcome first;
  std::thread runA([&] {
    RunSpec setup;
    setup.arguments = {"--memorial"};
    setup.input = joined(answersA);
    first = testing_support::runPiped(folder, setup);
    finished = true;
  });
  while (!finished && folder.read("rel.txt") != reportA) std::this_thread::yield();

  RunSpec setupB;
  setupB.input = joined(answers("30", "1.5"));
  const RunOutcome second = testing_support::runPiped(folder, setupB);
  EXPECT_EQ(second.status, 1) << second.err;
  EXPECT_EQ(folder.read("rel.txt"), reportA);

  // Now A may write its memo: read the pipe until A has ended.
  const int pipe = ::open(folder.file("rel-memorial.txt").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(pipe, 0);
  std::string memo;
  char chunk[4096];
  for (bool ended = false; !ended;) {
    ended = finished;
    for (ssize_t got; (got = ::read(pipe, chunk, sizeof chunk)) > 0;) memo.append(chunk, got);
    if (!ended) std::this_thread::yield();
  }
  ::close(pipe);
  runA.join();
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(memo.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(folder.read("rel.txt"), reportA);
}

}  // namespace

// One report name, one run at a time: while a run holds its report, from the
// open after the name question to its end, a second run on the same name ends
// at once with F6414 and leaves the file as it was, so the report is always
// the whole report of one run, never a mix of two; a run's memo is written
// while it still holds its report, and the memo pair beside a report is the
// whole pair of one run or the older pair, whatever stands at its names.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <iostream>
#include <functional>
#include <map>
#include <set>
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

// The names a run leaves in `folder` beside the files it was asked for:
// every hidden name (the memo's new and kept files are hidden).
std::vector<std::string> hiddenNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) return {"<no listing>"};
  for (dirent* entry; (entry = readdir(listing)) != nullptr;) {
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && name[0] == '.') names.push_back(name);
  }
  closedir(listing);
  return names;
}

// A shell line that starts the program (the shell's $0) once for each of
// `names` at the same time, from the answer file ans.NAME, with status.NAME
// and err.NAME left in the folder, and waits for all of them.
std::string runsAtOnce(const std::vector<std::string>& names, const std::string& options) {
  std::string line;
  for (const std::string& name : names) {
    line += "(\"$0\" " + options + " <ans." + name + " >/dev/null 2>err." + name;
    line += "; echo $? >status." + name + ") & ";
  }
  return line + "wait";
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
// the report, a FIFO, a folder), at the text's or at the data's name, is
// refused at once with F6414 naming it: nothing is written through it, the
// report is whole, the other memo name keeps its older file, no new file is
// left beside them, and the run ends with status 1 (a FIFO that the run
// opened would hang it until the run's time limit ends it by a signal).
TEST(ReportLock, MemoNameThatIsNoPlainFileIsRefused) {
  const std::vector<std::string> lines = answers("25", "1.59");
  const std::string report = wholeReport(lines);
  struct Row {
    const char* what;
    const char* name;  // the memo name planted
    std::function<void(const TempFolder&, const std::string&)> plant;
  };
  const auto linkTo = [](const std::string& target) {
    return [target](const TempFolder& f, const std::string& name) {
      ASSERT_EQ(symlink(target.c_str(), f.file(name).c_str()), 0);
    };
  };
  const auto fifo = [](const TempFolder& f, const std::string& name) {
    ASSERT_EQ(mkfifo(f.file(name).c_str(), 0600), 0);
  };
  const auto absolute = [](const char* name) {
    return [name](const TempFolder& f, const std::string& planted) {
      ASSERT_EQ(symlink(f.file(name).c_str(), f.file(planted).c_str()), 0);
    };
  };
  const Row rows[] = {
      {"link to an existing file", "rel-memorial.txt", absolute("victim")},
      {"link to a missing file", "rel-memorial.txt", absolute("absent")},
      {"link to the report", "rel-memorial.txt", linkTo("rel.txt")},
      {"second name of the report", "rel-memorial.txt",
       [](const TempFolder& f, const std::string& name) {
         f.write("rel.txt", "old");
         ASSERT_EQ(link(f.file("rel.txt").c_str(), f.file(name).c_str()), 0);
       }},
      {"FIFO", "rel-memorial.txt", fifo},
      {"folder", "rel-memorial.txt",
       [](const TempFolder& f, const std::string& name) { ASSERT_EQ(mkdir(f.file(name).c_str(), 0700), 0); }},
      {"data memo: link to an existing file", "rel-memorial.json", absolute("victim")},
      {"data memo: link to a missing file", "rel-memorial.json", absolute("absent")},
      {"data memo: link to the report", "rel-memorial.json", linkTo("rel.txt")},
      {"data memo: FIFO", "rel-memorial.json", fifo},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string planted = row.name;
    const std::string other = planted == "rel-memorial.txt" ? "rel-memorial.json" : "rel-memorial.txt";
    TempFolder folder;
    folder.write("victim", "mine");
    folder.write(other, "older memo");
    row.plant(folder, planted);
    RunSetup setup;
    setup.arguments = {"--memorial"};
    setup.input = joined(lines);
    const RunOutcome run = testing_support::runPiped(folder, setup);
    EXPECT_EQ(run.signalNumber, 0);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "\r\nrun-time error F6414: OPEN(" + planted + ")\r\n- access to the file denied\r\n");
    EXPECT_EQ(folder.read("rel.txt"), report);
    EXPECT_EQ(folder.read("victim"), "mine");
    EXPECT_EQ(folder.read("absent"), "<missing>");
    EXPECT_EQ(folder.read(other), "older memo");
    EXPECT_EQ(hiddenNames(folder.path()), std::vector<std::string>{});
  }
}

// Rounds of runs started at once in the races below.
constexpr int kRaceRounds = 60;

// What a run left: its status and its error report.
std::string outcomeOf(const TempFolder& folder, const std::string& name) {
  return folder.read("status." + name) + folder.read("err." + name);
}

// Two runs creating one new report at once: the one that loses the creation
// opens the report the other created and, while the other holds it, is
// refused as in use (F6414), never as an existing file; the report is the
// whole report of one of them.
TEST(ReportLock, LostCreationRaceIsRefusedAsInUse) {
  const std::vector<std::string> names{"1", "2"};
  const std::map<std::string, std::vector<std::string>> lines{{"1", answers("25", "1.59")},
                                                              {"2", answers("30", "1.5")}};
  const std::set<std::string> reports{wholeReport(lines.at("1")), wholeReport(lines.at("2"))};
  const std::set<std::string> outcomes{
      "0\n", "1\n\r\nrun-time error F6414: OPEN(rel.txt)\r\n- access to the file denied\r\n"};
  TempFolder folder;
  for (const auto& [name, answerLines] : lines) folder.write("ans." + name, joined(answerLines));
  RunSetup race;
  race.command = {"/bin/sh", "-c", runsAtOnce(names, "")};
  race.arguments = {DOSMO_BINARY};
  for (int round = 0; round < kRaceRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_TRUE(unlink(folder.file("rel.txt").c_str()) == 0 || errno == ENOENT);
    ASSERT_EQ(testing_support::runPiped(folder, race).status, 0);
    for (const std::string& name : names) {
      EXPECT_EQ(outcomes.count(outcomeOf(folder, name)), 1u) << outcomeOf(folder, name);
    }
    EXPECT_EQ(reports.count(folder.read("rel.txt")), 1u);
  }
}

// Runs on rel.a, rel.b and rel.c at once share the memo names: after every
// round the text and the data memo are, byte for byte, the pair that one of
// the runs makes alone, every report is whole, every run ends with status 0
// (or, had it waited its five seconds for the folder, with F6414), and no
// file of a run's own is left.
TEST(ReportLock, RunsOnNamesSharingAMemoLeaveThePairOfOneRun) {
  const std::vector<std::string> names{"a", "b", "c"};
  const std::map<std::string, std::string> strengths{{"a", "25"}, {"b", "30"}, {"c", "35"}};
  struct Made {
    std::string report, text, data;
  };
  std::map<std::string, Made> alone;
  TempFolder folder;
  for (const std::string& name : names) {
    const std::string input = testing_support::answerFile(testing_support::workedExampleAnswers(
        {{testing_support::kReportName, "rel." + name}, {testing_support::kStrength, strengths.at(name)}}));
    TempFolder own;
    RunSetup setup;
    setup.arguments = {"--memorial"};
    setup.environment = {{"SOURCE_DATE_EPOCH", "0"}};
    setup.input = input;
    ASSERT_EQ(testing_support::runPiped(own, setup).status, 0);
    alone[name] = {own.read("rel." + name), own.read("rel-memorial.txt"), own.read("rel-memorial.json")};
    folder.write("ans." + name, input);
  }
  const std::set<std::string> outcomes{
      "0\n", "1\n\r\nrun-time error F6414: OPEN(rel-memorial.txt)\r\n- access to the file denied\r\n"};
  RunSetup race;
  race.command = {"/bin/sh", "-c", runsAtOnce(names, "--memorial")};
  race.arguments = {DOSMO_BINARY};
  race.environment = {{"SOURCE_DATE_EPOCH", "0"}};
  for (int round = 0; round < kRaceRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_EQ(testing_support::runPiped(folder, race).status, 0);
    int pairs = 0;
    for (const std::string& name : names) {
      EXPECT_EQ(outcomes.count(outcomeOf(folder, name)), 1u) << outcomeOf(folder, name);
      EXPECT_EQ(folder.read("rel." + name), alone[name].report);
      pairs += folder.read("rel-memorial.txt") == alone[name].text &&
               folder.read("rel-memorial.json") == alone[name].data;
    }
    EXPECT_EQ(pairs, 1);
    EXPECT_EQ(hiddenNames(folder.path()), std::vector<std::string>{});
  }
}

// True when this process may mount a file system of its own in a private
// namespace (as root, or where user namespaces are open to it).
bool privateMountsWork() {
  TempFolder folder;
  RunSetup setup;
  setup.command = {"unshare", "-Urm", "/bin/sh", "-c", "mkdir disk && mount -t tmpfs tmpfs disk"};
  return testing_support::runPiped(folder, setup).status == 0;
}

// Under a file-size limit, or on a full file system, that the report fits
// and a memo file does not, the run ends with the disk-full write error
// naming that memo file (no signal death), and the older memo files are left
// whole, with no new file beside them. The full file system is a small one
// mounted for the run in a private namespace (4 KiB pages: the report and
// each older memo take one, each new memo file two); what it holds at the
// end is copied out beside it.
TEST(ReportLock, FullDiskOrSizeLimitEndsWithWriteErrorAndKeepsOlderMemo) {
  const struct {
    const char* what;
    const char* size;  // of the mounted file system, or nullptr for the size limit
    const char* failing;
  } rows[] = {
      {"file-size limit", nullptr, "rel-memorial.txt"},
      {"full file system at the text memo", "16k", "rel-memorial.txt"},
      {"full file system at the data memo, the text whole", "24k", "rel-memorial.json"},
  };
  const bool mounts = privateMountsWork();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    if (row.size != nullptr && !mounts) {
      std::cout << "skipped (no private mounts here): " << row.what << "\n";
      continue;
    }
    TempFolder folder;
    std::string disk = ".";
    RunSetup setup;
    setup.input = joined(answers("25", "1.59"));
    const std::string older =
        "printf 'older text' >rel-memorial.txt && printf 'older json' >rel-memorial.json";
    if (row.size == nullptr) {
      setup.command = {"/bin/sh", "-c", older + " && ulimit -f 8 && exec \"$0\" --memorial"};
      setup.arguments = {DOSMO_BINARY};
    } else {
      disk = "after";
      ASSERT_EQ(mkdir(folder.file("disk").c_str(), 0700), 0);
      setup.command = {"unshare", "-Urm", "/bin/sh", "-c",
                       "mount -t tmpfs -o size=$1 tmpfs disk && cd disk && " + older +
                           " && { \"$0\" --memorial; status=$?; cp -a . ../after; exit $status; }"};
      setup.arguments = {DOSMO_BINARY, row.size};
    }
    const RunOutcome run = testing_support::runPiped(folder, setup);
    EXPECT_EQ(run.signalNumber, 0);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "\r\nrun-time error F6422: WRITE(" + std::string(row.failing) + ")\r\n- disk full\r\n");
    EXPECT_EQ(folder.read(disk + "/rel.txt"), wholeReport(answers("25", "1.59")));
    EXPECT_EQ(folder.read(disk + "/rel-memorial.txt"), "older text");
    EXPECT_EQ(folder.read(disk + "/rel-memorial.json"), "older json");
    EXPECT_EQ(hiddenNames(folder.file(disk)), std::vector<std::string>{});
  }
}

}  // namespace

// Units connected to files and devices: the name handling and prompt of the
// open, the failures by cause, cutting an old file at the first statement,
// buffered records with CR LF, full devices, and the close-all at the end.
// Every case runs in a fresh temporary folder that is the working directory.
#include "recio/report_unit.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "recio/console.h"
#include "recio/platform/platform.h"
#include "recio/record_sink.h"
#include "tests/support/e2e_support.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;
using testing_support::TempFolder;

// A fake run whose working directory is a fresh temporary folder.
class RunInFolder : public FakeRun {
 public:
  explicit RunInFolder(std::string input = {}) : FakeRun(std::move(input)) {
    char saved[PATH_MAX];
    if (getcwd(saved, sizeof saved) != nullptr) saved_ = saved;
    EXPECT_EQ(chdir(folder.path().c_str()), 0);
  }
  ~RunInFolder() {
    recio::closeAllUnits();  // releases the handles the case left open
    if (!saved_.empty()) {
      EXPECT_EQ(chdir(saved_.c_str()), 0);
    }
  }
  TempFolder folder;

 private:
  std::string saved_;
};

const std::string kPrompt = "File name missing or blank - please enter file name\r\nUNIT 3? ";

void open(int unit, const std::string& name) { recio::openUnit(unit, name.data(), static_cast<int>(name.size())); }

int openStatus(int unit, const std::string& name) {
  return FakeRun::statusOf([&] { open(unit, name); });
}

// One output statement of `records` on `unit`.
void statement(int unit, const std::vector<std::string>& records) {
  recio::RecordSink* sink = recio::unitSink(unit);
  ASSERT_NE(sink, nullptr);
  sink->beginStatement();
  for (const std::string& record : records) sink->putRecord(record);
}

int statementStatus(int unit, const std::vector<std::string>& records) {
  return FakeRun::statusOf([&] { statement(unit, records); });
}

off_t sizeOf(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? status.st_size : -1;
}

std::string report(const char* number, const char* statement, const std::string& name,
                   const char* message) {
  return "\r\nrun-time error " + std::string(number) + statement + name + ")\r\n- " + message + "\r\n";
}

TEST(ReportUnitOpen, NameTakenFromTextAndLength) {
  struct Row {
    std::string text;
    int length;
    const char* file;
  };
  const Row rows[] = {
      {"report.txt     ", 15, "report.txt"},
      {"  my report.txt", 15, "my report.txt"},
      {"relatorio_final.txt", 15, "relatorio_final"},
      {std::string("abc\0def.txt    ", 15), 15, "abc"},
      {"a.txt", 1, "a"},
  };
  for (const Row& row : rows) {
    RunInFolder run;
    recio::openUnit(3, row.text.data(), row.length);
    ASSERT_NE(recio::unitSink(3), nullptr) << row.file;
    EXPECT_EQ(recio::unitSink(3)->unitName(), row.file);
    EXPECT_EQ(run.folder.read(row.file), "") << "created empty: " << row.file;
    EXPECT_EQ(run.fake.output + run.fake.error, "");
  }
}

TEST(ReportUnitOpen, FailuresByCause) {
  struct Row {
    std::string name;
    std::string shown;
    const char* number;
    const char* message;
  };
  const std::string longName(300, 'n');
  const Row rows[] = {
      {"nodir/r.txt", "nodir/r.txt", "F6416", "file or folder not found"},
      {"   nodir/r.txt   ", "nodir/r.txt", "F6416", "file or folder not found"},
      {"plain/r.txt", "plain/r.txt", "F6416", "file or folder not found"},
      {"sub", "sub", "F6414", "access to the file denied"},
      {longName, longName.substr(0, 259), "F6412", "invalid file name"},
  };
  for (const Row& row : rows) {
    RunInFolder run;
    run.folder.write("plain", "x");
    ASSERT_EQ(mkdir(run.folder.file("sub").c_str(), 0777), 0);
    EXPECT_EQ(openStatus(3, row.name), 1) << row.shown;
    EXPECT_EQ(run.fake.error, report(row.number, ": OPEN(", row.shown, row.message));
    EXPECT_EQ(recio::unitSink(3), nullptr);
  }
}

TEST(ReportUnitOpen, MissingNameTakesArgumentsInOrderThenPrompts) {
  RunInFolder run("  typed.txt  \n");
  const char* const arguments[] = {"  first.txt ", "   ", "second.txt"};
  run.fake.inputTerminal = true;  // the prompt reads only from a terminal
  run.restart(3, arguments);
  const std::string blank(15, ' ');
  const std::string zeros(15, '\0');
  open(3, zeros);
  open(4, blank);
  EXPECT_EQ(run.fake.output, "");
  open(5, blank);
  EXPECT_EQ(run.fake.output, "File name missing or blank - please enter file name\r\nUNIT 5? ");
  EXPECT_EQ(recio::unitSink(3)->unitName(), "first.txt");
  EXPECT_EQ(recio::unitSink(4)->unitName(), "second.txt");
  EXPECT_EQ(recio::unitSink(5)->unitName(), "typed.txt");
}

TEST(ReportUnitOpen, PromptRepeatsUntilNameNotBlank) {
  RunInFolder run("\n     \n  my name.txt  \n");
  run.fake.inputTerminal = true;  // the prompt reads only from a terminal
  run.restart();
  recio::consoleUnit().lineOpen = true;
  open(3, "               ");
  EXPECT_EQ(run.fake.output, "\r\n" + kPrompt + kPrompt + kPrompt);
  EXPECT_TRUE(recio::consoleUnit().lineOpen);
  EXPECT_EQ(recio::unitSink(3)->unitName(), "my name.txt");
  EXPECT_EQ(run.folder.read("my name.txt"), "");
}

TEST(ReportUnitOpen, EndOfInputAtPromptIsEndOfFile) {
  RunInFolder run("   \n");
  run.fake.inputTerminal = true;
  run.restart();
  EXPECT_EQ(openStatus(3, ""), 1);
  EXPECT_EQ(run.fake.output, kPrompt + kPrompt);
  EXPECT_EQ(run.fake.error, "\r\nrun-time error F6501: OPEN()\r\n- end of file encountered\r\n");
}

TEST(ReportUnitOpen, RecordsToNullDeviceVanish) {
  RunInFolder run;
  open(3, "nul.txt");
  statement(3, {std::string(3000, 'x')});
  recio::closeAllUnits();
  EXPECT_EQ(run.fake.error, "");
  EXPECT_EQ(run.folder.read("nul.txt"), "<missing>");
}

TEST(ReportUnitOpen, SameFileOnTwoUnitsRefused) {
  RunInFolder run;
  open(3, "a.txt");
  EXPECT_EQ(openStatus(4, "  a.txt"), 1);
  EXPECT_EQ(run.fake.error, report("F6413", ": OPEN(", "a.txt", "file already connected to another unit"));
  run.fake.error.clear();
  open(5, "con");
  EXPECT_EQ(openStatus(6, "USER"), 1);
  EXPECT_EQ(run.fake.error, report("F6413", ": OPEN(", "USER", "file already connected to another unit"));
  open(3, "a.txt");  // the same unit may name its own file again
  EXPECT_NE(recio::unitSink(3), nullptr);
}

TEST(ReportUnitOpen, SixtyOneUnitsAtMost) {
  RunInFolder run;
  for (int unit = 10; unit < 71; ++unit) open(unit, "f" + std::to_string(unit));
  EXPECT_EQ(openStatus(71, "f71"), 1);
  EXPECT_EQ(run.fake.error, report("F6418", ": OPEN(", "f71", "too many units connected"));
  EXPECT_EQ(run.folder.read("f71"), "<missing>");
  EXPECT_NE(recio::unitSink(70), nullptr);
}

TEST(ReportUnitWrite, ExistingFileCutAtFirstStatementOnly) {
  RunInFolder run;
  const std::string old = "an older and much longer report\r\nwith a second line\r\n";
  run.folder.write("r.txt", old);
  open(3, "r.txt");
  EXPECT_EQ(run.folder.read("r.txt"), old);
  statement(3, {" new"});
  EXPECT_EQ(run.folder.read("r.txt"), "");
  statement(3, {" two"});
  recio::closeAllUnits();
  EXPECT_EQ(run.folder.read("r.txt"), " new\r\n two\r\n");
}

TEST(ReportUnitWrite, ExistingFileUntouchedWithoutStatement) {
  RunInFolder run;
  run.folder.write("r.txt", "keep me\r\n");
  open(3, "r.txt");
  open(4, "new.txt");
  recio::closeAllUnits();
  EXPECT_EQ(run.folder.read("r.txt"), "keep me\r\n");
  EXPECT_EQ(run.folder.read("new.txt"), "");
}

TEST(ReportUnitWrite, EveryRecordEndsWithCrLf) {
  RunInFolder run;
  open(3, "r.txt");
  statement(3, {" a", "", "  b c  "});
  statement(3, {"\xE7"});
  EXPECT_EQ(run.folder.read("r.txt"), "") << "held in the buffer until it fills";
  recio::closeAllUnits();
  EXPECT_EQ(run.folder.read("r.txt"), " a\r\n\r\n  b c  \r\n\xE7\r\n");
}

TEST(ReportUnitWrite, BufferWrittenWholeWhenFull) {
  RunInFolder run;
  open(3, "r.txt");
  const std::string path = run.folder.file("r.txt");
  statement(3, {std::string(1021, 'a')});
  EXPECT_EQ(sizeOf(path), 0);
  statement(3, {""});  // 1023 + 2 bytes: one full load out, one byte left
  EXPECT_EQ(sizeOf(path), 1024);
  statement(3, {std::string(3000, 'b')});
  EXPECT_EQ(sizeOf(path), 3072);
  recio::closeAllUnits();
  EXPECT_EQ(run.folder.read("r.txt"),
            std::string(1021, 'a') + "\r\n\r\n" + std::string(3000, 'b') + "\r\n");
}

TEST(ReportUnitWrite, FullDeviceFailsWhenFirstLoadIsWritten) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no full-disk device";
  RunInFolder run;
  open(3, "/dev/full");
  EXPECT_EQ(statementStatus(3, {" short"}), -1) << "the cut of a device is skipped";
  EXPECT_EQ(statementStatus(3, {std::string(1014, 'x')}), 1);
  EXPECT_EQ(run.fake.error, report("F6422", ": WRITE(", "/dev/full", "disk full"));
  run.fake.error.clear();
  recio::closeAllUnits();
  EXPECT_EQ(run.fake.error, "") << "the failed load is not reported twice";
}

TEST(ReportUnitWrite, ReadOnlyFileRefusedAtFirstStatement) {
  if (geteuid() == 0) GTEST_SKIP() << "file modes do not bind the superuser";
  RunInFolder run;
  run.folder.write("r.txt", "old\r\n");
  ASSERT_EQ(chmod(run.folder.file("r.txt").c_str(), 0444), 0);
  open(3, "r.txt");
  EXPECT_EQ(statementStatus(3, {" new"}), 1);
  EXPECT_EQ(run.fake.error, report("F6421", ": WRITE(", "r.txt", "write to the file refused"));
  recio::closeAllUnits();
  EXPECT_EQ(run.folder.read("r.txt"), "old\r\n");
}

TEST(ReportUnitClose, RunsOnceAndEndsConsoleLine) {
  RunInFolder run;
  open(3, "r.txt");
  statement(3, {" last"});
  recio::consoleUnit().lineOpen = true;
  recio::closeAllUnits();
  recio::closeAllUnits();
  EXPECT_EQ(run.fake.output, "\r\n");
  EXPECT_EQ(run.folder.read("r.txt"), " last\r\n");
  EXPECT_EQ(recio::unitSink(3), nullptr);
}

TEST(ReportUnitClose, ErrorIsReportedAndStopsTheCloseAll) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no full-disk device";
  RunInFolder run;
  open(3, "/dev/full");
  open(4, "b.txt");
  statement(3, {" lost"});
  statement(4, {" kept in the buffer"});
  recio::consoleUnit().lineOpen = true;
  EXPECT_EQ(FakeRun::statusOf([] { recio::closeAllUnits(); }), -1);
  EXPECT_EQ(run.fake.error, report("F6422", ": CLOSE(", "/dev/full", "disk full"));
  EXPECT_EQ(run.folder.read("b.txt"), "");
  EXPECT_EQ(run.fake.output, "");
}

}  // namespace

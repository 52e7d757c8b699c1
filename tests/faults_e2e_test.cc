// Faults met by the built program from the outside: refused files, floating-
// point faults, interrupts at every question and at the pauses, closed or
// broken standard streams, overlong lines and binary input. Every case checks
// the exit status (or the ending signal), the exact error report and the
// exact bytes left in the report file.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/e2e_support.h"
#include "tests/support/worked_example.h"

namespace {

using testing_support::RunOutcome;
using testing_support::RunSetup;
using testing_support::TempFolder;

constexpr int kNobody = 65534;
constexpr std::size_t kNoFile = SIZE_MAX;

// One question of the worked example: the last console text shown before its
// read, and how many report bytes stand in the file while it waits.
struct Question {
  const char* prompt;
  std::size_t reportBefore;
};

const Question kQuestions[] = {
    {"Digite o nome do arquivo de saida (nome.txt)", kNoFile},
    {"digite o valor do fck requerido (Mpa) ", 0},
    {"digite 7 para concreto com baixo controle", 340},
    {"digite o valor do abatimento (cm)", 473},
    {"digite o diametro maximo do agregado graudo (mm) - padrao = 25", 645},
    {"digite o valor da opcao desejada ", 645},
    {"Digite o numero da opcao desejada", 698},
    {"digite o valor da relacao a/c escolhido = ", 698},
    {"digite 1 se nao ha ar incorporado, digite 2 se ha ar incorporado", 743},
    {"digite a quantidade de granulometrias diferentes de brita que tera o concreto", 743},
    {"Pause - Please enter a blank line (to continue) or a DOS command.", 743},
    {"digite a % do agregado correspondente a brita 1 em (%)", 743},
    {"Digite a massa unitaria da areia (kg/dm^3) padrao = 1.59 ", 1027},
    {" (kg/dm^3) padrao de 1.36 a 1.4 ", 1104},
    {"Pause - Please enter a blank line (to continue) or a DOS command.", 1391},
};
constexpr std::size_t kQuestionCount = std::size(kQuestions);
constexpr std::size_t kFinalPause = kQuestionCount - 1;
static_assert(kFinalPause == testing_support::kLastPause);

// The worked example's answers to the first `count` questions, with this report name.
std::string answersUpTo(std::size_t count, const std::string& name = "rel.txt") {
  std::vector<std::string> answers =
      testing_support::workedExampleAnswers({{testing_support::kReportName, name}});
  answers.resize(count);
  return testing_support::answerFile(answers);
}

std::string fileReport(const std::string& number, const std::string& statement,
                       const std::string& unit, const std::string& message) {
  return "\r\nrun-time error " + number + ": " + statement + "(" + unit + ")\r\n- " + message + "\r\n";
}

std::string mathReport(const std::string& number, const std::string& message) {
  return "\r\nrun-time error " + number + ": MATH\r\n- " + message + "\r\n";
}

const std::string kEndOfInput = fileReport("F6501", "READ", "CON", "end of file encountered");

// A run in the C locale, so the console bytes are the program's own.
RunSetup setup(std::string input) {
  RunSetup run;
  run.input = std::move(input);
  run.environment = {{"LC_ALL", "C"}};
  return run;
}

// The report of an undisturbed worked example, made once.
const std::string& fullReport() {
  static const std::string report = [] {
    TempFolder folder;
    testing_support::runPiped(folder, setup(answersUpTo(kQuestionCount)));
    return folder.read("rel.txt");
  }();
  return report;
}

// What the report file holds while the program waits at `question`.
std::string reportAt(std::size_t question) {
  std::size_t length = kQuestions[question].reportBefore;
  return length == kNoFile ? "<missing>" : fullReport().substr(0, length);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string describe(const RunOutcome& run) {
  return "status " + std::to_string(run.status) + " signal " + std::to_string(run.signalNumber) +
         "\nstderr: " + run.err + "\nstdout tail: " + run.out.substr(run.out.size() > 400 ? run.out.size() - 400 : 0);
}

TEST(FaultsEndToEnd, UndisturbedRunIsTheReference) {
  TempFolder folder;
  RunOutcome run = testing_support::runPiped(folder, setup(answersUpTo(kQuestionCount)));
  EXPECT_EQ(run.status, 0) << describe(run);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(folder.read("rel.txt").size(), 1391u);
  EXPECT_EQ(fullReport().substr(1391 - 32), "  Metodo dos volumes absolutos\r\n");
}

// Input ending at a question ends the run with F6501 and the report keeps
// every record written so far; at the pauses the end of input continues, so
// the first pause ends at the question after it and the last ends normally.
TEST(FaultsEndToEnd, InputEndingAtEveryQuestion) {
  for (std::size_t question = 0; question < kQuestionCount; ++question) {
    SCOPED_TRACE("input ends at question " + std::to_string(question));
    TempFolder folder;
    RunOutcome run = testing_support::runPiped(folder, setup(answersUpTo(question)));
    bool normalEnd = question == kFinalPause;
    EXPECT_EQ(run.status, normalEnd ? 0 : 1) << describe(run);
    EXPECT_EQ(run.signalNumber, 0);
    EXPECT_EQ(run.err, normalEnd ? "" : kEndOfInput);
    EXPECT_EQ(folder.read("rel.txt"), reportAt(question));
  }
}

// Sends `signalNumber` while the program waits at `question`, the answers
// before it given on a pipe that stays open, and checks how the run ended.
void expectInterruptedAt(std::size_t question, int signalNumber) {
  SCOPED_TRACE("signal " + std::to_string(signalNumber) + " at question " + std::to_string(question));
  TempFolder folder;
  RunSetup run = setup(answersUpTo(question));
  for (std::size_t i = 0; i <= question; ++i) run.signalAfterPrompts.push_back(kQuestions[i].prompt);
  run.signalToSend = signalNumber;
  RunOutcome outcome = testing_support::runPiped(folder, run);
  EXPECT_EQ(outcome.status, -1) << describe(outcome);
  EXPECT_EQ(outcome.signalNumber, signalNumber);
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(folder.read("rel.txt"), reportAt(question));
}

constexpr std::size_t kFirstPause = 10;

// An interrupt while the program waits at a question or at the first pause:
// the report keeps every record written before, and the process ends by
// that signal.
TEST(FaultsEndToEnd, InterruptAtEveryQuestionEndsBySignal) {
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    for (std::size_t question = 0; question <= kFirstPause; ++question) {
      expectInterruptedAt(question, signalNumber);
    }
  }
}

// A text of the program's process entry in /proc ("" once it is gone).
std::string processEntry(int pid, const std::string& name) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/" + name);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Checks `condition` every millisecond for at most ten seconds.
bool waitFor(const std::function<bool()>& condition) {
  for (int tries = 0; tries < 10000; ++tries) {
    if (condition()) return true;
    timespec pause{0, 1000000};
    nanosleep(&pause, nullptr);
  }
  return false;
}

// True when the process waits in a write to the file `target` (compared by
// device and inode).
bool waitsWritingTo(int pid, const struct stat& target) {
  std::istringstream call(processEntry(pid, "syscall"));
  long number = -1;
  std::string descriptor;
  if (!(call >> number >> descriptor) || number != SYS_write) return false;
  std::string link = "/proc/" + std::to_string(pid) + "/fd/" + std::to_string(std::stol(descriptor, nullptr, 16));
  struct stat file;
  return stat(link.c_str(), &file) == 0 && file.st_dev == target.st_dev && file.st_ino == target.st_ino;
}

// True once the process has taken the signal `signalNumber`: it is no longer
// pending (its handler ran), or it is pending but held back by the process.
bool taken(int pid, int signalNumber) {
  const unsigned long long bit = 1ULL << (signalNumber - 1);
  bool pending = false, blocked = false;
  std::istringstream status(processEntry(pid, "status"));
  for (std::string line; std::getline(status, line);) {
    std::string field = line.substr(0, 7);
    if (field != "SigPnd:" && field != "ShdPnd:" && field != "SigBlk:") continue;
    bool set = (std::stoull(line.substr(7), nullptr, 16) & bit) != 0;
    (field == "SigBlk:" ? blocked : pending) |= set;
  }
  return !pending || blocked;
}

// True once the process has ended (it waits to be collected).
bool ended(int pid) {
  std::string stat = processEntry(pid, "stat");
  std::size_t state = stat.rfind(") ");
  return state == std::string::npos || stat.compare(state + 2, 1, "Z") == 0;
}

// A second interrupt that breaks into the last write of the report, while the
// units are closed after a first one, does not cut that write short: the
// report gets every record and the run ends by the first interrupt. The
// report is a named pipe kept full, so the last write must wait for room.
TEST(FaultsEndToEnd, SecondInterruptDoesNotCutTheLastWriteShort) {
  constexpr std::size_t kQuestion = 3;
  const std::string expected = reportAt(kQuestion);
  TempFolder folder;
  ASSERT_EQ(mkfifo(folder.file("rel.txt").c_str(), 0644), 0);
  int pipeEnds = open(folder.file("rel.txt").c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(pipeEnds, 0);
  struct stat pipeFile;
  ASSERT_EQ(fstat(pipeEnds, &pipeFile), 0);
  const std::string filler(4096, 'x');
  std::size_t filled = 0;
  for (std::size_t piece : {filler.size(), std::size_t{1}}) {
    while (write(pipeEnds, filler.data(), piece) > 0) filled += piece;
  }
  RunSetup run = setup(answersUpTo(kQuestion));
  for (std::size_t i = 0; i <= kQuestion; ++i) run.signalAfterPrompts.push_back(kQuestions[i].prompt);
  run.signalToSend = SIGTERM;
  bool writeWaited = false, secondTaken = false;
  std::string drained;
  run.afterSignal = [&](int pid) {
    writeWaited = waitFor([&] { return waitsWritingTo(pid, pipeFile); });
    if (!writeWaited) return;
    kill(pid, SIGINT);
    secondTaken = waitFor([&] { return taken(pid, SIGINT); });
    waitFor([&] {
      bool over = ended(pid);
      char bytes[4096];
      for (ssize_t count; (count = read(pipeEnds, bytes, sizeof bytes)) > 0;) drained.append(bytes, count);
      return over;
    });
  };
  RunOutcome outcome = testing_support::runPiped(folder, run);
  close(pipeEnds);
  ASSERT_TRUE(writeWaited) << describe(outcome);
  EXPECT_TRUE(secondTaken);
  EXPECT_EQ(outcome.signalNumber, SIGTERM) << describe(outcome);
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(drained.size(), filled + expected.size());
  EXPECT_EQ(drained.substr(std::min(filled, drained.size())), expected);
}

// Report files the host refuses or cannot cut, and old reports replaced.
struct FileCase {
  const char* title;
  std::string oldReport;  // written to rel.txt beforehand unless empty
  std::string input;
  int status;
  std::string err;
  const char* reportName;  // the file whose bytes are checked
  std::string report;
};

TEST(FaultsEndToEnd, FileSystemSituations) {
  const std::string oldLonger(5000, 'x');
  const std::string oldShort = "an older report\r\n";
  const FileCase cases[] = {
      {"missing folder in the name", "", "'nodir/rel.txt'\n25\n", 1,
       fileReport("F6416", "OPEN", "nodir/rel.txt", "file or folder not found"), "nodir", "<missing>"},
      {"name of a folder", "", "'.'\n25\n", 1, fileReport("F6414", "OPEN", ".", "access to the file denied"),
       "rel.txt", "<missing>"},
      {"longer old file, whole run", oldLonger, answersUpTo(kQuestionCount), 0, "", "rel.txt", fullReport()},
      {"longer old file, run ends at the slump", oldLonger, answersUpTo(3), 1, kEndOfInput, "rel.txt",
       reportAt(3)},
      {"old file, input ends after the name", oldShort, answersUpTo(1), 1, kEndOfInput, "rel.txt", oldShort},
      {"old file, invalid strength", oldShort, "rel.txt\nabc\n", 1,
       fileReport("F6103", "READ", "CON", "invalid real number"), "rel.txt", oldShort},
      {"full device, run ends early: fails at the close-all", "", answersUpTo(3, "'/dev/full'"), 1,
       kEndOfInput + fileReport("F6422", "CLOSE", "/dev/full", "disk full"), "rel.txt", "<missing>"},
      {"full device, whole run: fails when the records are written out at the first pause", "",
       answersUpTo(kQuestionCount, "'/dev/full'"), 1, fileReport("F6422", "WRITE", "/dev/full", "disk full"),
       "rel.txt", "<missing>"},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.title);
    TempFolder folder;
    if (!c.oldReport.empty()) folder.write("rel.txt", c.oldReport);
    RunOutcome run = testing_support::runPiped(folder, setup(c.input));
    EXPECT_EQ(run.status, c.status) << describe(run);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(folder.read(c.reportName), c.report);
  }
}

// File modes bind only an ordinary user, so these run as `nobody`, from a
// copy of the program that user can reach wherever the build folder lies.
TEST(FaultsEndToEnd, PermissionsAsOrdinaryUser) {
  TempFolder programFolder;
  std::string whyNot;
  const std::string program = testing_support::programStartableBy(kNobody, programFolder, whyNot);
  if (program.empty()) GTEST_SKIP() << whyNot;
  const std::string old = "an older report\r\n";
  struct Case {
    const char* title;
    bool readOnlyReport;
    std::string input;
    int status;
    std::string err;
    const char* reportName;
    std::string report;
  };
  const Case cases[] = {
      {"writable folder: normal run", false, answersUpTo(kQuestionCount), 0, "", "rel.txt", fullReport()},
      {"read-only old file: refused at the first record, unchanged", true, answersUpTo(kQuestionCount), 1,
       fileReport("F6421", "WRITE", "rel.txt", "write to the file refused"), "rel.txt", old},
      {"folder without write permission", false, "'locked/rel.txt'\n25\n", 1,
       fileReport("F6414", "OPEN", "locked/rel.txt", "access to the file denied"), "locked/rel.txt",
       "<missing>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    TempFolder folder;
    ASSERT_EQ(mkdir(folder.file("locked").c_str(), 0555), 0);
    ASSERT_EQ(chown(folder.file("locked").c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chown(folder.path().c_str(), kNobody, kNobody), 0);
    if (c.readOnlyReport) {
      folder.write("rel.txt", old);
      ASSERT_EQ(chown(folder.file("rel.txt").c_str(), kNobody, kNobody), 0);
      ASSERT_EQ(chmod(folder.file("rel.txt").c_str(), 0444), 0);
    }
    RunSetup run = setup(c.input);
    run.userId = kNobody;
    run.program = program;
    RunOutcome outcome = testing_support::runPiped(folder, run);
    EXPECT_EQ(outcome.status, c.status) << describe(outcome);
    EXPECT_EQ(outcome.err, c.err);
    EXPECT_EQ(folder.read(c.reportName), c.report);
  }
}

TEST(FaultsEndToEnd, FloatingPointFaultsKeepEarlierRecords) {
  const std::string upToShape = reportAt(5);
  struct Case {
    const char* title;
    std::string input;
    std::string err;
    std::string report;
  };
  const Case cases[] = {
      {"size 0: division by zero", "rel.txt\n25\n4\n8\n0\n1\n",
       mathReport("M6103", "floating-point error: divide by zero"), upToShape},
      {"negative slump: power outside its domain", "rel.txt\n25\n4\n-8\n25\n1\n",
       mathReport("M6201", "**: DOMAIN error"), replaced(upToShape, "de  8.00 cm", "de -8.00 cm")},
      {"slump 0 and size 0: zero by zero", "rel.txt\n25\n4\n0\n0\n1\n",
       mathReport("M6101", "floating-point error: invalid"), replaced(upToShape, "de  8.00 cm", "de   .00 cm")},
      {"huge strength and deviation: overflow", "rel.txt\n3e38\n3e38\n",
       mathReport("M6104", "floating-point error: overflow"),
       replaced(reportAt(2), "de 25.00 MPa", "de ***** MPa") +
           "  Este concreto ter\xE1 um baixo controle tecnol\xF3gico\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    TempFolder folder;
    RunOutcome run = testing_support::runPiped(folder, setup(c.input));
    EXPECT_EQ(run.status, 1) << describe(run);
    EXPECT_EQ(run.signalNumber, 0);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(folder.read("rel.txt"), c.report);
  }
}

// Standard output closed or a pipe nobody reads: the failed console write is
// reported on standard error, with no death by the broken-pipe signal. A
// closed standard input is a failed read.
TEST(FaultsEndToEnd, ClosedOrBrokenStandardStreams) {
  struct Case {
    const char* title;
    bool breakOutput, closeOutput, closeInput;
    std::string err;
  };
  const std::string failedWrite = fileReport("F6423", "WRITE", "CON", "write to the file failed");
  const Case cases[] = {
      {"output pipe without reader", true, false, false, failedWrite},
      {"output closed", false, true, false, failedWrite},
      {"input closed", false, false, true, fileReport("F6500", "READ", "CON", "read from the console failed")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    TempFolder folder;
    RunSetup run = setup(answersUpTo(kQuestionCount));
    run.breakOutputPipe = c.breakOutput;
    run.closeOutput = c.closeOutput;
    run.closeInput = c.closeInput;
    RunOutcome outcome = testing_support::runPiped(folder, run);
    EXPECT_EQ(outcome.status, 1) << describe(outcome);
    EXPECT_EQ(outcome.signalNumber, 0);
    EXPECT_EQ(outcome.err, c.err);
    EXPECT_EQ(folder.read("rel.txt"), "<missing>");
  }
}

// A 100 000-character line through a pipe arrives in several reads; it stays
// one line: a name is cut to 15 characters and the next line is the next
// answer, and a number that long is not a valid real.
TEST(FaultsEndToEnd, HundredThousandCharacterLines) {
  const std::string longName(100000, 'a');
  const std::string longNumber(100000, '7');
  struct Case {
    const char* title;
    std::string input;
    std::string err;
    const char* reportName;
    std::string report;
  };
  const Case cases[] = {
      {"as the name", longName + "\n25\n4\n8\n", kEndOfInput, "aaaaaaaaaaaaaaa", reportAt(4)},
      {"as the strength", "rel.txt\n" + longNumber + "\n", fileReport("F6103", "READ", "CON", "invalid real number"),
       "rel.txt", reportAt(1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    TempFolder folder;
    RunOutcome run = testing_support::runPiped(folder, setup(c.input));
    EXPECT_EQ(run.status, 1) << describe(run);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(folder.read(c.reportName), c.report);
  }
}

// Random bytes after a few valid answers: the run ends normally or with a
// well-formed error report, never by a signal.
TEST(FaultsEndToEnd, RandomBinaryInputEndsWithAReport) {
  const std::regex report(
      "(\r\nrun-time error (F6[0-9]{3}: (READ|WRITE|OPEN|CLOSE)\\([^)\r\n]*\\)|M6[0-9]{3}: MATH)\r\n- "
      "[^\r\n]+\r\n)+");
  std::mt19937 generator(20240613);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t answered : {0u, 1u, 3u, 6u, 10u}) {
    for (int sample = 0; sample < 4; ++sample) {
      SCOPED_TRACE("after " + std::to_string(answered) + " answers, sample " + std::to_string(sample));
      std::string input = answersUpTo(answered, "'rel.txt'");
      for (int i = 0; i < 2048; ++i) input += static_cast<char>(byte(generator));
      TempFolder folder;
      RunSetup run = setup(input);
      run.environment["PATH"] = "/nonexistent";  // no random pause line may start a command
      RunOutcome outcome = testing_support::runPiped(folder, run);
      EXPECT_EQ(outcome.signalNumber, 0) << describe(outcome);
      ASSERT_TRUE(outcome.status == 0 || outcome.status == 1) << describe(outcome);
      if (outcome.status == 0) {
        EXPECT_EQ(outcome.err, "");
      } else {
        EXPECT_TRUE(std::regex_match(outcome.err, report)) << describe(outcome);
      }
    }
  }
}

}  // namespace

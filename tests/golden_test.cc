// Golden runs of the program. Each folder under tests/golden that holds an
// answers.txt is a case, found when the tests start: answers.txt (standard
// input), optional args.txt (one argument per line) and the exact
// expectations: stdout.txt, stderr.txt, status.txt and files/<name> for every
// file the run leaves in its empty working folder. Every case runs again with
// --memorial before its arguments: the same bytes, and beside them the memo
// files of memorial/<name>. The built dosmo runs them, or the command of
// another host's build (scripts/golden-check.sh sets it):
//   DOSMO_GOLDEN_COMMAND  the words that start the program, one per line
//   DOSMO_GOLDEN_HOST     a host name: its <stream>.<host>.txt, where present,
//                         is expected instead of <stream>.txt
// With DOSMO_WRITE_GOLDEN=1 the expectations are rewritten from the runs instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/e2e_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::RunOutcome;
using testing_support::RunSetup;
using testing_support::TempFolder;

const fs::path kGoldenFolder = fs::path(DOSMO_SOURCE_DIR) / "tests" / "golden";

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

bool rewriting() { return variable("DOSMO_WRITE_GOLDEN") == "1"; }

// Every case folder, by name, in name order.
std::vector<std::string> goldenCases() {
  std::vector<std::string> cases;
  for (const auto& entry : fs::directory_iterator(kGoldenFolder)) {
    if (fs::exists(entry.path() / "answers.txt")) cases.push_back(entry.path().filename().string());
  }
  std::sort(cases.begin(), cases.end());
  return cases;
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The lines of a text, one element each (the last line's LF optional).
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The expectation of a stream (stdout, stderr, status) for the host the
// cases run on: its own file where the case holds one.
std::string expected(const fs::path& folder, const std::string& stream) {
  const std::string host = variable("DOSMO_GOLDEN_HOST");
  const fs::path own = folder / (stream + "." + host + ".txt");
  if (!host.empty() && fs::exists(own)) return readBytes(own);
  return readBytes(folder / (stream + ".txt"));
}

// How a case starts: its answers and arguments, and the host's command.
RunSetup setupOf(const fs::path& folder) {
  RunSetup setup;
  setup.input = readBytes(folder / "answers.txt");
  if (fs::exists(folder / "args.txt")) setup.arguments = linesOf(readBytes(folder / "args.txt"));
  setup.command = linesOf(variable("DOSMO_GOLDEN_COMMAND"));
  setup.environment["SOURCE_DATE_EPOCH"] = "1767225600";  // the memo's date and time, fixed
  return setup;
}

// Every regular file of a folder, by name, with its bytes.
std::map<std::string, std::string> filesIn(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = readBytes(entry.path());
  }
  return files;
}

// Replaces the files of one expectation folder (files/ or memorial/).
void writeFiles(const fs::path& folder, const std::map<std::string, std::string>& files) {
  fs::remove_all(folder);
  for (const auto& [name, bytes] : files) writeBytes(folder / name, bytes);
}

// Replaces the expectations of a case with what the run produced.
void writeExpectations(const fs::path& folder, const RunOutcome& run,
                       const std::map<std::string, std::string>& files) {
  writeBytes(folder / "stdout.txt", run.out);
  writeBytes(folder / "stderr.txt", run.err);
  writeBytes(folder / "status.txt", std::to_string(run.status) + "\n");
  writeFiles(folder / "files", files);
  fs::create_directories(folder / "files");
}

// The streams and the status a run gave, against the case's expectations.
void expectStreams(const fs::path& folder, const RunOutcome& run) {
  EXPECT_EQ(run.out, expected(folder, "stdout"));
  EXPECT_EQ(run.err, expected(folder, "stderr"));
  EXPECT_EQ(std::to_string(run.status) + "\n", expected(folder, "status"));
}

class GoldenRun : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenRun, LeavesExactBytes) {
  const fs::path folder = kGoldenFolder / GetParam();
  TempFolder work;
  const RunOutcome run = testing_support::runPiped(work, setupOf(folder));
  const std::map<std::string, std::string> left = filesIn(work.path());
  if (rewriting()) {
    writeExpectations(folder, run, left);
    GTEST_SKIP() << "expectations rewritten: review them by hand";
  }
  expectStreams(folder, run);
  EXPECT_EQ(left, filesIn(folder / "files"));
}

// The memo files a --memorial run left beside the files of the plain run.
std::map<std::string, std::string> memoFilesOf(std::map<std::string, std::string> left,
                                               const std::map<std::string, std::string>& plain) {
  for (const auto& file : plain) left.erase(file.first);
  return left;
}

TEST_P(GoldenRun, MemorialKeepsTheBytesAndAddsTheMemo) {
  const fs::path folder = kGoldenFolder / GetParam();
  RunSetup setup = setupOf(folder);
  if (!setup.arguments.empty() && setup.arguments[0].rfind("--", 0) == 0) {
    GTEST_SKIP() << "an option of its own comes first";
  }
  setup.arguments.insert(setup.arguments.begin(), "--memorial");
  TempFolder work;
  const RunOutcome run = testing_support::runPiped(work, setup);
  const std::map<std::string, std::string> plain = filesIn(folder / "files");
  const std::map<std::string, std::string> memos = memoFilesOf(filesIn(work.path()), plain);
  if (rewriting()) {
    writeFiles(folder / "memorial", memos);
    GTEST_SKIP() << "memo expectations rewritten: review them by hand";
  }
  expectStreams(folder, run);
  std::map<std::string, std::string> wanted = plain;
  wanted.merge(filesIn(folder / "memorial"));
  EXPECT_EQ(filesIn(work.path()), wanted);
}

std::string caseTestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenRun, ::testing::ValuesIn(goldenCases()), caseTestName);

}  // namespace

// Golden runs of the built program. Each case folder under tests/golden holds
// answers.txt (standard input), optional args.txt (one argument per line) and
// the exact expectations: stdout.txt, stderr.txt, status.txt and files/<name>
// for every file the run leaves in its empty working folder. Every case runs
// again with --memorial before its arguments: the same bytes, and beside them
// the memo files of memorial/<name>. With DOSMO_WRITE_GOLDEN=1 the
// expectations are rewritten from the runs instead.
#include <gtest/gtest.h>

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
using testing_support::RunSpec;
using testing_support::TempFolder;

// Every case folder; a folder not listed here is not run.
const char* const kCases[] = {
    "worked-example",        "route2-cp32-keep1",      "route2-cp25-keep0",
    "route2-cp40-keep7",     "route2-class9-replace2", "route2-above-table",
    "route1-choice-minus5",  "entrained-air",          "no-gradation-zero",
    "no-gradation-negative", "two-gradations",         "three-gradations",
    "nine-gradations-asked-again", "sand-box-exactly-35", "sand-box-just-above-35",
    "fields-too-narrow",     "negative-unit-mass",     "size-zero",
    "slump-and-size-zero",   "ratio-zero",             "sand-unit-mass-zero",
    "coarse-unit-mass-null", "negative-slump",         "invalid-answer",
    "end-of-input",          "long-answer-lines",      "name-too-long",
    "name-with-blank",       "name-quoted-leading-blanks", "name-null-with-argument",
    "name-null-prompted",    "fields-too-narrow-ratio", "answers-with-byte-order-mark",
    "help-option",           "version-option",         "answers-past-first-read",
    "memo-volume",
};

fs::path caseFolder(const std::string& name) {
  return fs::path(DOSMO_SOURCE_DIR) / "tests" / "golden" / name;
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

// The lines of args.txt, one argument each; none when the file is absent.
std::vector<std::string> argumentsOf(const fs::path& folder) {
  std::vector<std::string> arguments;
  if (!fs::exists(folder / "args.txt")) return arguments;
  std::istringstream lines(readBytes(folder / "args.txt"));
  for (std::string line; std::getline(lines, line);) arguments.push_back(line);
  return arguments;
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

// Replaces the expectations of a case with what the run produced.
void writeExpectations(const fs::path& folder, const RunOutcome& run,
                       const std::map<std::string, std::string>& files) {
  writeBytes(folder / "stdout.txt", run.out);
  writeBytes(folder / "stderr.txt", run.err);
  writeBytes(folder / "status.txt", std::to_string(run.status) + "\n");
  fs::remove_all(folder / "files");
  fs::create_directories(folder / "files");
  for (const auto& [name, bytes] : files) writeBytes(folder / "files" / name, bytes);
}

class GoldenRun : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenRun, LeavesExactBytes) {
  const fs::path folder = caseFolder(GetParam());
  ASSERT_TRUE(fs::exists(folder / "answers.txt")) << folder;
  TempFolder work;
  RunSpec setup;
  setup.input = readBytes(folder / "answers.txt");
  setup.arguments = argumentsOf(folder);
  setup.environment["SOURCE_DATE_EPOCH"] = "1767225600";  // the memo's date and time, fixed
  const RunOutcome run = testing_support::runPiped(work, setup);
  const std::map<std::string, std::string> left = filesIn(work.path());
  const char* rewrite = std::getenv("DOSMO_WRITE_GOLDEN");
  if (rewrite != nullptr && std::string(rewrite) == "1") {
    writeExpectations(folder, run, left);
    GTEST_SKIP() << "expectations rewritten: review them by hand";
  }
  EXPECT_EQ(run.out, readBytes(folder / "stdout.txt"));
  EXPECT_EQ(run.err, readBytes(folder / "stderr.txt"));
  EXPECT_EQ(std::to_string(run.status) + "\n", readBytes(folder / "status.txt"));
  EXPECT_EQ(left, filesIn(folder / "files"));
}

// The memo files a --memorial run left beside the files of the plain run.
std::map<std::string, std::string> memoFilesOf(std::map<std::string, std::string> left,
                                               const std::map<std::string, std::string>& plain) {
  for (const auto& file : plain) left.erase(file.first);
  return left;
}

TEST_P(GoldenRun, MemorialKeepsTheBytesAndAddsTheMemo) {
  const fs::path folder = caseFolder(GetParam());
  RunSpec setup;
  setup.input = readBytes(folder / "answers.txt");
  setup.arguments = argumentsOf(folder);
  setup.environment["SOURCE_DATE_EPOCH"] = "1767225600";  // the memo's date and time, fixed
  if (!setup.arguments.empty() && setup.arguments[0].rfind("--", 0) == 0) {
    GTEST_SKIP() << "an option of its own comes first";
  }
  setup.arguments.insert(setup.arguments.begin(), "--memorial");
  TempFolder work;
  const RunOutcome run = testing_support::runPiped(work, setup);
  const std::map<std::string, std::string> plain = filesIn(folder / "files");
  const std::map<std::string, std::string> memos = memoFilesOf(filesIn(work.path()), plain);
  const char* rewrite = std::getenv("DOSMO_WRITE_GOLDEN");
  if (rewrite != nullptr && std::string(rewrite) == "1") {
    fs::remove_all(folder / "memorial");
    for (const auto& [name, bytes] : memos) writeBytes(folder / "memorial" / name, bytes);
    GTEST_SKIP() << "memo expectations rewritten: review them by hand";
  }
  EXPECT_EQ(run.out, readBytes(folder / "stdout.txt"));
  EXPECT_EQ(run.err, readBytes(folder / "stderr.txt"));
  EXPECT_EQ(std::to_string(run.status) + "\n", readBytes(folder / "status.txt"));
  std::map<std::string, std::string> wanted = plain;
  wanted.merge(filesIn(folder / "memorial"));
  EXPECT_EQ(filesIn(work.path()), wanted);
}

std::string caseTestName(const ::testing::TestParamInfo<const char*>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (c == '-') c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenRun, ::testing::ValuesIn(kCases), caseTestName);

}  // namespace

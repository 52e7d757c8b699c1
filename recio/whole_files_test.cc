// Replacing a pair of files whole on the host's file system, with a move or
// the second names refused through the platform: a move that fails after
// another succeeded leaves both names as they were, and no file of the
// run's own is left beside them.
#include "recio/whole_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "recio/record_sink.h"
#include "tests/support/e2e_support.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;
using testing_support::TempFolder;

// The names a folder holds.
std::set<std::string> namesIn(const TempFolder& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(WholeFiles, RefusedMoveLeavesThePairAsItWas) {
  const struct {
    const char* what;
    bool olderText, olderData, noSecondNames;
    const char* refusedName;  // the name moves over which are refused, or ""
    int refusals;             // how many of them
  } rows[] = {
      {"older pair, the second move refused", true, true, false, "b.json", 1},
      {"older pair, the first move refused", true, true, false, "a.txt", 1},
      {"no older files, the second move refused", false, false, false, "b.json", 1},
      {"older text only, the second move refused", true, false, false, "b.json", 1},
      {"older data only, the second move refused", false, true, false, "b.json", 1},
      {"no second names, the second move refused", true, true, true, "b.json", 1},
      {"no second names, the first move refused", true, true, true, "a.txt", 1},
      {"no second names, older text only, the second move refused", true, false, true, "b.json", 1},
      {"no second names, the text can be neither replaced nor put back", true, true, true, "a.txt", 2},
      {"older pair replaced", true, true, false, "", 0},
      {"no second names, older pair replaced", true, true, true, "", 0},
      {"new pair", false, false, false, "", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder folder;
    if (row.olderText) folder.write("a.txt", "older text");
    if (row.olderData) folder.write("b.json", "older data");
    FakeRun run;
    run.fake.refuseLinks = row.noSecondNames;
    const std::string refused = row.refusedName;
    run.fake.refuseMovesOnto = refused.empty() ? "" : folder.file(refused);
    run.fake.movesToRefuse = row.refusals;
    const int status = FakeRun::statusOf([&] {
      recio::replaceFilesWhole(recio::kReportUnit,
                               {{folder.file("a.txt"), "new text"}, {folder.file("b.json"), "new data"}});
    });
    std::set<std::string> names = namesIn(folder);
    if (refused.empty()) {
      EXPECT_EQ(status, -1) << run.fake.error;
      EXPECT_EQ(folder.read("a.txt"), "new text");
      EXPECT_EQ(folder.read("b.json"), "new data");
      EXPECT_EQ(names, (std::set<std::string>{"a.txt", "b.json"}));
      continue;
    }
    EXPECT_EQ(status, 1);
    EXPECT_EQ(run.fake.error,
              "\r\nrun-time error F6414: OPEN(" + folder.file(refused) + ")\r\n- access to the file denied\r\n");
    EXPECT_EQ(folder.read("b.json"), row.olderData ? "older data" : "<missing>");
    if (row.refusals > 1) {
      // The older text is not lost: it stays under the name it was kept by.
      ASSERT_EQ(names.size(), 2u);
      const std::string kept = *names.begin();
      EXPECT_EQ(kept.rfind(".a.txt.", 0), 0u) << kept;
      EXPECT_EQ(folder.read(kept), "older text");
      continue;
    }
    EXPECT_EQ(folder.read("a.txt"), row.olderText ? "older text" : "<missing>");
    std::set<std::string> expected;
    if (row.olderText) expected.insert("a.txt");
    if (row.olderData) expected.insert("b.json");
    EXPECT_EQ(names, expected);
  }
}

}  // namespace

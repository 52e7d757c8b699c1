// Connecting a unit that is already connected: to the same file it is left as
// it is, to another file the old one is written out and closed first, and a
// failure to write the old one out ends the run with a close error report.
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "recio/record_sink.h"
#include "recio/report_unit.h"
#include "tests/support/e2e_support.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;
using testing_support::TempFolder;

void open(int unit, const std::string& name) {
  recio::openUnit(unit, name.data(), static_cast<int>(name.size()));
}

void record(int unit, const std::string& bytes) {
  recio::RecordSink* sink = recio::unitSink(unit);
  ASSERT_NE(sink, nullptr);
  sink->beginStatement();
  sink->putRecord(bytes);
}

TEST(ReportUnitReconnect, OldFileWrittenOutBeforeTheNewOne) {
  TempFolder folder;
  FakeRun run;
  open(3, folder.file("a.txt"));
  record(3, "first");
  open(3, "  " + folder.file("a.txt") + " ");  // the same file: nothing happens
  record(3, "second");
  open(3, folder.file("b.txt"));
  EXPECT_EQ(folder.read("a.txt"), "first\r\nsecond\r\n");
  record(3, "third");
  open(4, folder.file("a.txt"));  // free again once unit 3 let it go
  recio::closeAllUnits();
  EXPECT_EQ(folder.read("b.txt"), "third\r\n");
  EXPECT_EQ(folder.read("a.txt"), "first\r\nsecond\r\n");
  EXPECT_EQ(run.fake.error, "");
}

TEST(ReportUnitReconnect, FailedWriteOutOfTheOldFileEndsTheRun) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full on this host";
  TempFolder folder;
  FakeRun run;
  open(3, "/dev/full");
  record(3, "lost");
  EXPECT_EQ(FakeRun::statusOf([&] { open(3, folder.file("b.txt")); }), 1);
  EXPECT_EQ(run.fake.error, "\r\nrun-time error F6422: CLOSE(/dev/full)\r\n- disk full\r\n");
  EXPECT_EQ(recio::unitSink(3), nullptr);
  EXPECT_EQ(folder.read("b.txt"), "<missing>");
  recio::closeAllUnits();
}

}  // namespace

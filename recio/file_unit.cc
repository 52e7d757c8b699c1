// A unit's buffered record output. Every failed cut or write is reported;
// a buffer load whose write failed is dropped, so the close does not report
// the same failure a second time.
#include "recio/file_unit.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "recio/file_errors.h"
#include "recio/report_name.h"

namespace recio {
namespace {

constexpr std::string_view kRecordEnd = "\r\n";

}  // namespace

FileUnit::FileUnit(int number, std::string name, std::string key, std::intptr_t handle, bool begun)
    : number_(number), name_(std::move(name)), key_(std::move(key)), handle_(handle),
      begun_(begun) {}

void FileUnit::beginStatement() {
  if (begun_) return;
  FileFault fault = platform().truncateFile(handle_, fileOffset_ + fill_);
  if (fault != FileFault::none && fault != FileFault::notSupported) {
    raiseWriteError(fault, Statement::write, name_);
  }
  uncuttable_ = fault == FileFault::notSupported;
  begun_ = true;
}

bool FileUnit::onDevice() const { return deviceFor(name_).has_value() || uncuttable_; }

void FileUnit::putRecord(std::string_view record) {
  append(record);
  append(kRecordEnd);
}

void FileUnit::writeOut() {
  FileFault fault = flush();
  if (fault != FileFault::none) raiseWriteError(fault, Statement::write, name_);
}

FileFault FileUnit::close() {
  FileFault written = flush();
  FileFault closed = platform().closeFile(handle_);
  return written != FileFault::none ? written : closed;
}

void FileUnit::append(std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t count = std::min(bytes.size(), kBufferSize - fill_);
    std::memcpy(buffer_.data() + fill_, bytes.data(), count);
    fill_ += count;
    bytes.remove_prefix(count);
    if (fill_ == kBufferSize) writeOut();
  }
}

FileFault FileUnit::flush() {
  if (fill_ == 0) return FileFault::none;
  FileFault fault = platform().writeFile(handle_, std::string_view(buffer_.data(), fill_));
  fileOffset_ += fill_;
  fill_ = 0;
  return fault;
}

}  // namespace recio

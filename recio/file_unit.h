// One unit connected to a file or a device: its records collect with CR LF
// in a 1024-byte buffer that is written in one piece whenever it fills, when
// the run asks for it and when the unit is closed. An existing file is cut at
// the first output statement, never at the open.
#ifndef DOSMO_RECIO_FILE_UNIT_H_
#define DOSMO_RECIO_FILE_UNIT_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "recio/platform/platform.h"
#include "recio/record_sink.h"

namespace recio {

class FileUnit final : public RecordSink {
 public:
  static constexpr std::size_t kBufferSize = 1024;

  // `begun` is set for a file the open created (or a device): it is never cut.
  FileUnit(int number, std::string name, std::string key, std::intptr_t handle, bool begun);

  // The unit number, the trimmed name as given, the connection it holds and
  // the host's handle of its file.
  int number() const { return number_; }
  const std::string& name() const { return name_; }
  const std::string& key() const { return key_; }
  std::intptr_t handle() const { return handle_; }

  // Cuts a file that writing has not begun on to the current position; a
  // file kind that cannot be cut (device, pipe) is left as it is.
  void beginStatement() override;

  // True when the unit writes to a device: connected by a device name, or a
  // file that its first record could not cut.
  bool onDevice() const;

  // The name shown in this unit's error reports.
  std::string_view unitName() const override { return name_; }

  // The record as built, then CR LF, into the buffer.
  void putRecord(std::string_view record) override;

  // Writes out what the buffer holds; a failure ends the run.
  void writeOut();

  // Writes out what the buffer holds; the fault, for the caller to report.
  FileFault writeOutAtEnd() { return flush(); }

  // Writes out what the buffer holds and closes the file; the first fault.
  FileFault close();

 private:
  void append(std::string_view bytes);
  FileFault flush();

  int number_;
  std::string name_;
  std::string key_;
  std::intptr_t handle_;
  bool begun_;
  bool uncuttable_ = false;
  std::array<char, kBufferSize> buffer_{};
  std::size_t fill_ = 0;
  std::uint64_t fileOffset_ = 0;  // where the buffer's first byte goes in the file
};

}  // namespace recio

#endif  // DOSMO_RECIO_FILE_UNIT_H_

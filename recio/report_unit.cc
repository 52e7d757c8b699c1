// The table of units connected to files or devices, and each unit's record
// output: records collect with CR LF in a 1024-byte buffer that is written in
// one piece whenever it fills, before the run waits at a pause, and at the
// close-all. An existing file is cut at the first output statement, never at
// the open; every failed write is reported.
#include "recio/report_unit.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "recio/console.h"
#include "recio/errors.h"
#include "recio/platform/platform.h"
#include "recio/record_sink.h"
#include "recio/run_end.h"
#include "recio/scanner.h"

namespace recio {
namespace {

constexpr std::size_t kMaxNameLength = kTextCapacity - 1;
constexpr std::size_t kBufferSize = 1024;
constexpr std::size_t kUnitPlaces = 61;
constexpr std::string_view kRecordEnd = "\r\n";

// The run-time error for a failed open, by its cause.
ErrorCode openErrorFor(FileFault fault) {
  switch (fault) {
    case FileFault::invalidName: return ErrorCode::invalidFileName;
    case FileFault::accessDenied: return ErrorCode::fileAccessDenied;
    case FileFault::exists: return ErrorCode::fileExists;
    case FileFault::notFound: return ErrorCode::fileNotFound;
    case FileFault::tooManyOpen: return ErrorCode::tooManyOpenFiles;
    default: return ErrorCode::openFailed;
  }
}

// The run-time error for a failed cut, write or close: no failure passes silently.
ErrorCode writeErrorFor(FileFault fault) {
  switch (fault) {
    case FileFault::diskFull: return ErrorCode::diskFull;
    case FileFault::accessDenied: return ErrorCode::writeAccessDenied;
    default: return ErrorCode::writeFailed;
  }
}

// Ends the run by a failed file operation: by the interrupt that broke into
// it, otherwise with the report of `code`.
[[noreturn]] void raiseFileError(FileFault fault, ErrorCode code, Statement statement,
                                 const std::string& name) {
  if (fault == FileFault::interrupted) endRunIfInterrupted();
  raiseRuntimeError(code, statement, name);
}

// The same for a failed cut, write or close.
[[noreturn]] void raiseWriteError(FileFault fault, Statement statement, const std::string& name) {
  raiseFileError(fault, writeErrorFor(fault), statement, name);
}

// The name as the unit keeps it: cut at a zero byte and at 259 characters,
// then stripped of leading and trailing blanks (inner blanks stay).
std::string takeName(std::string_view text) {
  text = text.substr(0, std::min(text.find('\0'), kMaxNameLength));
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

char upperOf(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The device a name stands for, judged by the part before its last full stop.
// Printer and serial names have no device here and name ordinary files.
std::optional<Device> deviceFor(std::string_view name) {
  std::size_t dot = name.rfind('.');
  bool hasExtension = dot != std::string_view::npos;
  std::string_view stem = hasExtension ? name.substr(0, dot) : name;
  if (stem.size() < 3 || stem.size() > 4) return std::nullopt;
  std::string upper(stem);
  std::transform(upper.begin(), upper.end(), upper.begin(), upperOf);
  if (hasExtension && (upper[0] == 'E' || upper[0] == 'L' || upper[0] == 'U')) return std::nullopt;
  if (upper == "CON" || upper == "USER") return Device::console;
  if (upper == "ERR") return Device::standardError;
  if (upper == "NUL") return Device::null;
  return std::nullopt;
}

// What two connections must not share: the device, or the file's name.
std::string connectionKey(const std::string& name, std::optional<Device> device) {
  if (!device) return name;
  switch (*device) {
    case Device::console: return "CON";
    case Device::standardError: return "ERR";
    case Device::null: return "NUL";
  }
  return name;
}

// One connected unit: its file, its output buffer and whether writing began.
class FileUnit final : public RecordSink {
 public:
  FileUnit(int number, std::string name, std::string key, std::intptr_t handle, bool begun)
      : number_(number), name_(std::move(name)), key_(std::move(key)), handle_(handle),
        begun_(begun) {}

  // The unit number, the trimmed name as given, and the connection it holds.
  int number() const { return number_; }
  const std::string& name() const { return name_; }
  const std::string& key() const { return key_; }

  // Cuts a file that writing has not begun on to the current position; a
  // file kind that cannot be cut (device, pipe) is left as it is.
  void beginStatement() override {
    if (begun_) return;
    FileFault fault = platform().truncateFile(handle_, fileOffset_ + fill_);
    if (fault != FileFault::none && fault != FileFault::notSupported) {
      raiseWriteError(fault, Statement::write, name_);
    }
    uncuttable_ = fault == FileFault::notSupported;
    begun_ = true;
  }

  // True when the unit writes to a device: connected by a device name, or a
  // file that its first record could not cut.
  bool onDevice() const { return deviceFor(name_).has_value() || uncuttable_; }

  // The name shown in this unit's error reports.
  std::string_view unitName() const override { return name_; }

  // The record as built, then CR LF, into the buffer.
  void putRecord(std::string_view record) override {
    append(record);
    append(kRecordEnd);
  }

  // Writes out what the buffer holds; a failure ends the run.
  void writeOut() {
    FileFault fault = flush();
    if (fault != FileFault::none) raiseWriteError(fault, Statement::write, name_);
  }

  // Writes out what the buffer holds; the fault, for the caller to report.
  FileFault writeOutAtEnd() { return flush(); }

  // Writes out what the buffer holds and closes the file; the first fault.
  FileFault close() {
    FileFault written = flush();
    FileFault closed = platform().closeFile(handle_);
    return written != FileFault::none ? written : closed;
  }

 private:
  void append(std::string_view bytes) {
    while (!bytes.empty()) {
      std::size_t count = std::min(bytes.size(), kBufferSize - fill_);
      std::memcpy(buffer_.data() + fill_, bytes.data(), count);
      fill_ += count;
      bytes.remove_prefix(count);
      if (fill_ == kBufferSize) writeOut();
    }
  }

  // Writes the buffer in one piece. A load that failed is dropped, so the
  // same failure is not reported a second time when the unit is closed.
  FileFault flush() {
    if (fill_ == 0) return FileFault::none;
    FileFault fault = platform().writeFile(handle_, std::string_view(buffer_.data(), fill_));
    fileOffset_ += fill_;
    fill_ = 0;
    return fault;
  }

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

struct UnitTable {
  std::array<std::unique_ptr<FileUnit>, kUnitPlaces> places;
  std::vector<std::string> arguments;
  std::size_t nextArgument = 0;
  bool closed = false;
  std::vector<std::pair<std::string, std::string>> normalEndFiles;  // name, bytes
};

UnitTable& units() {
  static UnitTable table;
  return table;
}

std::unique_ptr<FileUnit>* placeOf(int unit) {
  for (auto& place : units().places) {
    if (place && place->number() == unit) return &place;
  }
  return nullptr;
}

// The name for an open that was given none: the next unused command-line
// argument, else a name typed at the prompt (asked until it is not blank).
std::string missingName(int unit) {
  UnitTable& table = units();
  while (table.nextArgument < table.arguments.size()) {
    std::string name = takeName(table.arguments[table.nextArgument++]);
    if (!name.empty()) return name;
  }
  const std::string prompt = "File name missing or blank - please enter file name\r\nUNIT " +
                             std::to_string(unit) + "? ";
  endOpenConsoleLine();
  for (;;) {
    writeConsoleBytes(prompt);
    std::optional<std::string> line = readLineDirect(kTextCapacity);
    if (!line) raiseRuntimeError(ErrorCode::endOfFile, Statement::open, "");
    std::string name = takeName(*line);
    if (!name.empty()) return name;
  }
}

// Opens a file of status "UNKNOWN": an existing one as it is, else a new one
// created exclusively; read-write, then read-only, then write-only.
FileOpen openUnknown(const std::string& name, bool* created) {
  Platform& host = platform();
  *created = !host.fileExists(name);
  FileOpen result;
  for (FileAccess access : {FileAccess::readWrite, FileAccess::readOnly, FileAccess::writeOnly}) {
    result = host.openFile(name, access, *created);
    if (result.fault == FileFault::none || result.fault == FileFault::interrupted) break;
  }
  return result;
}

// Disconnects `unit` before it is connected anew to another file.
void disconnect(std::unique_ptr<FileUnit>& place) {
  std::unique_ptr<FileUnit> unit = std::move(place);
  FileFault fault = unit->close();
  if (fault != FileFault::none) raiseWriteError(fault, Statement::close, unit->name());
}

}  // namespace

RecordSink* unitSink(int unit) {
  std::unique_ptr<FileUnit>* place = placeOf(unit);
  return place ? place->get() : nullptr;
}

void openUnit(int unit, const char* name, int length) {
  std::string fileName = takeName(
      name ? std::string_view(name, static_cast<std::size_t>(std::max(length, 0))) : std::string_view());
  if (fileName.empty()) fileName = missingName(unit);
  std::optional<Device> device = deviceFor(fileName);
  std::string key = connectionKey(fileName, device);

  UnitTable& table = units();
  if (std::unique_ptr<FileUnit>* current = placeOf(unit)) {
    if ((*current)->key() == key) return;  // already connected to that very file
    disconnect(*current);
  }
  for (const auto& place : table.places) {
    if (place && place->key() == key) raiseRuntimeError(ErrorCode::alreadyConnected, Statement::open, fileName);
  }
  // The free place is found before the open, so a full table leaves no new
  // file behind and no handle open.
  auto free = std::find(table.places.begin(), table.places.end(), nullptr);
  if (free == table.places.end()) raiseRuntimeError(ErrorCode::noFreeUnit, Statement::open, fileName);

  bool begun = true;  // devices are never cut, and a created file starts empty
  FileOpen opened = device ? platform().openDevice(*device) : openUnknown(fileName, &begun);
  if (opened.fault != FileFault::none) {
    raiseFileError(opened.fault, openErrorFor(opened.fault), Statement::open, fileName);
  }
  *free = std::make_unique<FileUnit>(unit, fileName, key, opened.handle, begun);
}

void flushUnits() {
  for (auto& place : units().places) {
    if (place) place->writeOut();
  }
}

namespace {

// Writes the files left for the normal end, in the order they were given.
// The first failure is reported and ends the writing; returns false then.
bool writeFilesAtNormalEnd() {
  Platform& host = platform();
  for (const auto& [name, bytes] : units().normalEndFiles) {
    const bool create = !host.fileExists(name);
    FileOpen opened = host.openFile(name, FileAccess::writeOnly, create);
    if (opened.fault != FileFault::none) {
      writeErrorReport(openErrorFor(opened.fault), Statement::open, name);
      return false;
    }
    FileFault fault = create ? FileFault::none : host.truncateFile(opened.handle, 0);
    if (fault == FileFault::notSupported) fault = FileFault::none;
    if (fault == FileFault::none) fault = host.writeFile(opened.handle, bytes);
    const FileFault closed = host.closeFile(opened.handle);
    if (fault == FileFault::none) fault = closed;
    if (fault != FileFault::none) {
      writeErrorReport(writeErrorFor(fault), Statement::write, name);
      return false;
    }
  }
  units().normalEndFiles.clear();
  return true;
}

// What one unit's step of the close-all left: go on, stop quietly (an
// interrupt: the run is already ending), or stop after a reported fault.
enum class EndStep { goOn, interrupted, faulted };

// Writes out the unit's records or, with `closeFile`, also closes its file
// and disconnects it. A fault is reported (an interrupt is not), and the
// unit is closed and disconnected then.
EndStep endUnit(std::unique_ptr<FileUnit>& place, bool closeFile) {
  const FileFault fault = closeFile ? place->close() : place->writeOutAtEnd();
  if (fault == FileFault::none) {
    if (closeFile) place.reset();
    return EndStep::goOn;
  }
  std::unique_ptr<FileUnit> unit = std::move(place);
  if (!closeFile) unit->close();
  if (fault == FileFault::interrupted) return EndStep::interrupted;
  writeErrorReport(writeErrorFor(fault), Statement::close, unit->name());
  return EndStep::faulted;
}

}  // namespace

bool closeAllUnits(bool normalEnd) {
  UnitTable& table = units();
  if (table.closed) return true;
  table.closed = true;
  // Every unit's records go out first. The files of a normal end are written
  // next, while the units still hold their files: a report stays held by its
  // run until its memo is beside it, so another run cannot put its own report
  // between the two. A fault is reported and the rest is left as it is.
  bool written = true;
  for (const bool closeFile : {false, true}) {
    for (auto& place : table.places) {
      if (!place) continue;
      const EndStep step = endUnit(place, closeFile);
      if (step != EndStep::goOn) return step == EndStep::interrupted;
    }
    if (!closeFile && normalEnd) written = writeFilesAtNormalEnd();
  }
  endOpenConsoleLineAtEnd();
  return written;
}

void resetUnits(int argumentCount, const char* const* arguments) {
  UnitTable& table = units();
  for (auto& place : table.places) place.reset();  // a unit's handle is not closed by this
  table.arguments.clear();
  for (int i = 0; arguments != nullptr && i < argumentCount; ++i) table.arguments.emplace_back(arguments[i]);
  table.nextArgument = 0;
  table.closed = false;
  table.normalEndFiles.clear();
}

std::optional<std::string> unitFileName(int unit) {
  std::unique_ptr<FileUnit>* place = placeOf(unit);
  if (place == nullptr || (*place)->onDevice()) return std::nullopt;
  return (*place)->name();
}

void writeFileAtNormalEnd(std::string name, std::string bytes) {
  units().normalEndFiles.emplace_back(std::move(name), std::move(bytes));
}

}  // namespace recio

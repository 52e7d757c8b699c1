// The table of units connected to files or devices: the open by name (a
// missing name taken from the arguments or the prompt), writing every unit's
// buffer out before the run waits at a pause, and the close-all at the end.
#include "recio/report_unit.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "recio/console.h"
#include "recio/errors.h"
#include "recio/file_errors.h"
#include "recio/file_unit.h"
#include "recio/platform/platform.h"
#include "recio/report_name.h"
#include "recio/scanner.h"

namespace recio {
namespace {

constexpr std::size_t kUnitPlaces = 61;

struct UnitTable {
  std::array<std::unique_ptr<FileUnit>, kUnitPlaces> places;
  std::vector<std::string> arguments;
  std::size_t nextArgument = 0;
  bool closed = false;
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
    // Redirected input holds the answers, and the console reader may already
    // hold the lines that follow: a line taken here would depend on how the
    // input arrived. So the prompt reads nothing there, and ends the run as
    // at the end of the input.
    if (!consoleUnit().inputIsTerminal) raiseRuntimeError(ErrorCode::endOfFile, Statement::open, "");
    std::optional<std::string> line = readLineDirect(kTextCapacity);
    if (!line) raiseRuntimeError(ErrorCode::endOfFile, Statement::open, "");
    std::string name = takeName(*line);
    if (!name.empty()) return name;
  }
}

// Opens a file of status "UNKNOWN": an existing one as it is, else a new one
// created exclusively; read-write, then read-only, then write-only. A file
// another run holds is refused at once: tried with less access, it could be
// opened read-only once that run ends, and the first record refused.
FileOpen openUnknownOnce(const std::string& name, bool* created) {
  Platform& host = platform();
  *created = !host.fileExists(name);
  FileOpen result;
  for (FileAccess access : {FileAccess::readWrite, FileAccess::readOnly, FileAccess::writeOnly}) {
    result = host.openFile(name, access, *created);
    if (result.fault == FileFault::none || result.fault == FileFault::interrupted ||
        result.fault == FileFault::inUse) {
      break;
    }
  }
  return result;
}

// The same, where a file that another run created between the test and the
// exclusive creation is opened as the existing file it now is (and refused
// while that run holds it). A link to a missing file still fails as existing.
FileOpen openUnknown(const std::string& name, bool* created) {
  FileOpen result = openUnknownOnce(name, created);
  if (result.fault == FileFault::exists && *created && platform().fileExists(name)) {
    result = openUnknownOnce(name, created);
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

bool closeAllUnits() {
  UnitTable& table = units();
  if (table.closed) return true;
  table.closed = true;
  // Every unit's records go out first, then the files are closed. A fault is
  // reported and the rest is left as it is.
  for (const bool closeFile : {false, true}) {
    for (auto& place : table.places) {
      if (!place) continue;
      const EndStep step = endUnit(place, closeFile);
      if (step != EndStep::goOn) return step == EndStep::interrupted;
    }
  }
  endOpenConsoleLineAtEnd();
  return true;
}

void resetUnits(int argumentCount, const char* const* arguments) {
  UnitTable& table = units();
  for (auto& place : table.places) place.reset();  // a unit's handle is not closed by this
  table.arguments.clear();
  for (int i = 0; arguments != nullptr && i < argumentCount; ++i) table.arguments.emplace_back(arguments[i]);
  table.nextArgument = 0;
  table.closed = false;
}

std::optional<std::string> unitFileName(int unit) {
  std::unique_ptr<FileUnit>* place = placeOf(unit);
  if (place == nullptr || (*place)->onDevice()) return std::nullopt;
  return (*place)->name();
}

std::optional<std::intptr_t> unitFileHandle(int unit) {
  std::unique_ptr<FileUnit>* place = placeOf(unit);
  if (place == nullptr || (*place)->onDevice()) return std::nullopt;
  return (*place)->handle();
}

}  // namespace recio

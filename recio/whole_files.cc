// Replacing files whole: checks of each name, new files beside the old ones
// under names no other run takes, and the moves over the old names inside
// the folder's hold. Every failure takes the new files away again.
#include "recio/whole_files.h"

#include <chrono>
#include <cstdint>
#include <optional>

#include "recio/errors.h"
#include "recio/file_errors.h"
#include "recio/platform/platform.h"
#include "recio/report_unit.h"

namespace recio {
namespace {

// New names tried for one file before its folder is taken as refusing them.
constexpr int kNewNameAttempts = 100;

// The new file's name: in the folder of `name`, a full stop (so it never
// begins with a dash and stays out of listings), the name itself and a
// number of this attempt.
std::string newNameFor(const std::string& name, std::uint64_t number) {
  const std::size_t slash = name.find_last_of("/\\");
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  return name.substr(0, base) + "." + name.substr(base) + "." + std::to_string(number) + ".new";
}

// A number that two runs starting at once are unlikely to share.
std::uint64_t firstNumber() {
  return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) %
         1000000007ULL;
}

// Why the set failed: the fault, the error it gives and the file it names.
struct Failure {
  FileFault fault;
  ErrorCode code;
  Statement statement;
  std::string name;
};

// True when `name` may be replaced: nothing there, or a plain file that is
// not the unit's own.
bool mayReplace(const std::string& name, std::optional<std::intptr_t> unitHandle) {
  switch (platform().nameKind(name)) {
    case NameKind::missing: return true;
    case NameKind::file: return !unitHandle || !platform().isSameFile(*unitHandle, name);
    case NameKind::other: return false;
  }
  return false;
}

// The refusal of the first name that may not be replaced.
std::optional<Failure> firstRefused(const std::vector<WholeFile>& files,
                                    std::optional<std::intptr_t> unitHandle) {
  for (const WholeFile& file : files) {
    if (!mayReplace(file.name, unitHandle)) {
      return Failure{FileFault::accessDenied, ErrorCode::fileAccessDenied, Statement::open, file.name};
    }
  }
  return std::nullopt;
}

std::optional<Failure> openFailure(FileFault fault, const std::string& name) {
  if (fault == FileFault::none) return std::nullopt;
  return Failure{fault, openErrorFor(fault), Statement::open, name};
}

// Creates a new file beside `file` under a name no other file has, writes
// it whole and closes it; the new name is added to `written` as soon as the
// file exists. A failure names the file's own name.
std::optional<Failure> writeNewFile(const WholeFile& file, std::uint64_t number,
                                    std::vector<std::string>& written) {
  Platform& host = platform();
  FileOpen opened;
  for (int attempt = 0; attempt < kNewNameAttempts; ++attempt) {
    std::string newName = newNameFor(file.name, number + static_cast<std::uint64_t>(attempt));
    opened = host.openFile(newName, FileAccess::writeOnly, true);
    if (opened.fault == FileFault::none) written.push_back(std::move(newName));
    if (opened.fault != FileFault::exists) break;
  }
  if (opened.fault != FileFault::none) return openFailure(opened.fault, file.name);
  FileFault fault = host.writeFile(opened.handle, file.bytes);
  const FileFault closed = host.closeFile(opened.handle);
  if (fault == FileFault::none) fault = closed;
  if (fault == FileFault::none) return std::nullopt;
  return Failure{fault, writeErrorFor(fault), Statement::write, file.name};
}

// Writes every new file, then moves each over its name inside the folder's
// hold. Moved files leave `written`; the rest stay for the caller to remove.
std::optional<Failure> writeAndMove(const std::vector<WholeFile>& files,
                                    std::optional<std::intptr_t> unitHandle,
                                    std::vector<std::string>& written) {
  const std::uint64_t number = firstNumber();
  for (const WholeFile& file : files) {
    if (auto failure = writeNewFile(file, number, written)) return failure;
  }
  const FileOpen held = platform().holdFolderOf(files.front().name);
  if (auto failure = openFailure(held.fault, files.front().name)) return failure;
  // Checked again inside the hold: what another user planted meanwhile is
  // refused all the same (a move never writes through a name anyway).
  std::optional<Failure> failure = firstRefused(files, unitHandle);
  while (!failure && !written.empty()) {
    const std::size_t index = files.size() - written.size();
    failure = openFailure(platform().moveFileOver(written.front(), files[index].name), files[index].name);
    if (!failure) written.erase(written.begin());
  }
  platform().releaseFolder(held.handle);
  return failure;
}

}  // namespace

void replaceFilesWhole(int unit, const std::vector<WholeFile>& files) {
  if (files.empty()) return;
  const std::optional<std::intptr_t> unitHandle = unitFileHandle(unit);
  std::optional<Failure> failure = firstRefused(files, unitHandle);
  std::vector<std::string> written;
  if (!failure) failure = writeAndMove(files, unitHandle, written);
  if (!failure) return;
  // Cleared before the report: without exceptions the run ends inside it.
  for (const std::string& name : written) platform().removeFile(name);
  raiseFileError(failure->fault, failure->code, failure->statement, failure->name);
}

}  // namespace recio

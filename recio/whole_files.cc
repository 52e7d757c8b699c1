// Replacing files whole: checks of each name, new files beside the old ones
// under names no other run takes, and the moves over the old names inside
// the folder's hold, each older file kept under a second name until the
// whole set is in place. Every failure puts the older files back and takes
// the new files away again.
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

// A name of our own beside `name`: in its folder, a full stop (so it never
// begins with a dash and stays out of listings), the name itself, a number
// of this attempt and what the name holds ("new" or "old").
std::string ownNameFor(const std::string& name, std::uint64_t number, const char* what) {
  const std::size_t slash = name.find_last_of("/\\");
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  return name.substr(0, base) + "." + name.substr(base) + "." + std::to_string(number) + "." + what;
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

// One file of the set on its way to its name.
struct Step {
  const WholeFile* file;
  std::string newName;  // the new file beside it, once created
  std::string oldName;  // the older file's kept name, when the name held one
  bool moved = false;   // the new file stands under the name
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
std::optional<Failure> firstRefused(const std::vector<Step>& steps, std::optional<std::intptr_t> unitHandle) {
  for (const Step& step : steps) {
    if (!mayReplace(step.file->name, unitHandle)) {
      return Failure{FileFault::accessDenied, ErrorCode::fileAccessDenied, Statement::open, step.file->name};
    }
  }
  return std::nullopt;
}

std::optional<Failure> openFailure(FileFault fault, const std::string& name) {
  if (fault == FileFault::none) return std::nullopt;
  return Failure{fault, openErrorFor(fault), Statement::open, name};
}

// Creates the new file of `step` under a name no other file has, writes it
// whole and closes it; its name is kept in the step as soon as it exists.
// A failure names the file's own name.
std::optional<Failure> writeNewFile(Step& step, std::uint64_t number) {
  Platform& host = platform();
  FileOpen opened;
  for (int attempt = 0; attempt < kNewNameAttempts; ++attempt) {
    std::string newName = ownNameFor(step.file->name, number + static_cast<std::uint64_t>(attempt), "new");
    opened = host.openFile(newName, FileAccess::writeOnly, true);
    if (opened.fault == FileFault::none) step.newName = std::move(newName);
    if (opened.fault != FileFault::exists) break;
  }
  if (opened.fault != FileFault::none) return openFailure(opened.fault, step.file->name);
  FileFault fault = host.writeFile(opened.handle, step.file->bytes);
  const FileFault closed = host.closeFile(opened.handle);
  if (fault == FileFault::none) fault = closed;
  if (fault == FileFault::none) return std::nullopt;
  return Failure{fault, writeErrorFor(fault), Statement::write, step.file->name};
}

// Keeps the older file under the name of `step` by a second name of its
// own, so that it can be put back if a later move fails. Where the file
// system has no second names, the older file is moved aside instead (the
// name then stands empty until its new file is moved there).
std::optional<Failure> keepOlder(Step& step, std::uint64_t number) {
  Platform& host = platform();
  const std::string& name = step.file->name;
  if (host.nameKind(name) == NameKind::missing) return std::nullopt;
  for (int attempt = 0; attempt < kNewNameAttempts; ++attempt) {
    std::string oldName = ownNameFor(name, number + static_cast<std::uint64_t>(attempt), "old");
    if (host.nameKind(oldName) != NameKind::missing) continue;
    FileFault fault = host.linkFile(name, oldName);
    if (fault == FileFault::exists) continue;
    if (fault != FileFault::none) fault = host.moveFileOver(name, oldName);
    if (fault == FileFault::none) step.oldName = std::move(oldName);
    return openFailure(fault, name);
  }
  return openFailure(FileFault::exists, name);
}

// After a failure: every name gets its older file back, or loses the new
// file where it held none. An older file that cannot be put back stays
// under its kept name rather than be lost (and is forgotten here, so that
// nothing removes it).
void putOlderBack(std::vector<Step>& steps) {
  Platform& host = platform();
  for (Step& step : steps) {
    if (!step.oldName.empty()) {
      // The kept name is gone after the move, or is left as a second name of
      // the file now back under its name (a move between two names of one
      // file changes nothing).
      if (host.moveFileOver(step.oldName, step.file->name) == FileFault::none) {
        host.removeFile(step.oldName);
        step.moved = false;
      }
      step.oldName.clear();
    } else if (step.moved) {
      host.removeFile(step.file->name);
      step.moved = false;
    }
  }
}

// Moves each new file over its name inside the folder's hold, once every
// older file is kept; on a failure puts the older files back.
std::optional<Failure> moveInPlace(std::vector<Step>& steps, std::optional<std::intptr_t> unitHandle,
                                   std::uint64_t number) {
  const FileOpen held = platform().holdFolderOf(steps.front().file->name);
  if (auto failure = openFailure(held.fault, steps.front().file->name)) return failure;
  // Checked again inside the hold: what another user planted meanwhile is
  // refused all the same (a move never writes through a name anyway).
  std::optional<Failure> failure = firstRefused(steps, unitHandle);
  for (Step& step : steps) {
    if (!failure) failure = keepOlder(step, number);
  }
  for (Step& step : steps) {
    if (failure) break;
    failure = openFailure(platform().moveFileOver(step.newName, step.file->name), step.file->name);
    step.moved = !failure;
  }
  if (failure) putOlderBack(steps);
  platform().releaseFolder(held.handle);
  return failure;
}

// Takes away what the set leaves beside its names: new files not moved,
// and the kept names of older files once the set is in place.
void removeOwnNames(const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    if (!step.moved && !step.newName.empty()) platform().removeFile(step.newName);
    if (!step.oldName.empty()) platform().removeFile(step.oldName);
  }
}

}  // namespace

void replaceFilesWhole(int unit, const std::vector<WholeFile>& files) {
  if (files.empty()) return;
  const std::optional<std::intptr_t> unitHandle = unitFileHandle(unit);
  std::vector<Step> steps;
  for (const WholeFile& file : files) steps.push_back(Step{&file, {}, {}, false});
  std::optional<Failure> failure = firstRefused(steps, unitHandle);
  const std::uint64_t number = firstNumber();
  for (Step& step : steps) {
    if (!failure) failure = writeNewFile(step, number);
  }
  if (!failure) failure = moveInPlace(steps, unitHandle, number);
  // Cleared before the report: without exceptions the run ends inside it.
  removeOwnNames(steps);
  if (failure) raiseFileError(failure->fault, failure->code, failure->statement, failure->name);
}

}  // namespace recio

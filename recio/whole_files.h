// Files written whole beside a unit's file (the memo beside the report): each
// name holds either what it held before or the whole new file, never a part,
// and a name that is no plain file is refused instead of written through.
#ifndef DOSMO_RECIO_WHOLE_FILES_H_
#define DOSMO_RECIO_WHOLE_FILES_H_

#include <string>
#include <vector>

namespace recio {

// One file's name and its whole content.
struct WholeFile {
  std::string name;
  std::string bytes;
};

// Puts `files` in place as one set, beside the file of the connected `unit`.
// A name that is a symbolic link, a folder, a FIFO or a device, or that is
// the unit's own file, is refused with the access-denied open error (F6414)
// naming it, before anything is written. Each file is written to a new file
// in its folder and all of them are moved over their names only when every
// one is whole, while the folder is held against other runs doing the same,
// so the set beside a report always comes from one run. Each older file is
// kept under a second name until all are moved, so a move that fails after
// another succeeded puts the older files back: a failure removes the new
// files, leaves every name as it was and ends the run with the report of its
// cause. (Where the file system has no second names, the older file is
// moved aside instead, and its name stands empty for the moment until its
// new file is moved there.)
void replaceFilesWhole(int unit, const std::vector<WholeFile>& files);

}  // namespace recio

#endif  // DOSMO_RECIO_WHOLE_FILES_H_

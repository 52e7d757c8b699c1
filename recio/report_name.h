// The rules by which a unit's file name is read: the name as the open takes
// it (cut at a zero byte and at 259 characters, trimmed of blanks) and the
// device names that connect a unit to a device instead of a file.
#ifndef DOSMO_RECIO_REPORT_NAME_H_
#define DOSMO_RECIO_REPORT_NAME_H_

#include <optional>
#include <string>
#include <string_view>

#include "recio/platform/platform.h"

namespace recio {

// The name as the unit keeps it: cut at a zero byte and at 259 characters,
// then stripped of leading and trailing blanks (inner blanks stay).
std::string takeName(std::string_view text);

// The device a name stands for, judged by the part before its last full stop
// (CON and USER the console, ERR standard error, NUL nowhere); nothing for an
// ordinary file. Printer and serial names have no device here.
std::optional<Device> deviceFor(std::string_view name);

// What two connections must not share: the device, or the file's name.
std::string connectionKey(const std::string& name, std::optional<Device> device);

}  // namespace recio

#endif  // DOSMO_RECIO_REPORT_NAME_H_

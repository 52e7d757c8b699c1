// Names of units: trimming as the open does it, and the device names, which
// are compared without regard to the case of their letters.
#include "recio/report_name.h"

#include <algorithm>

#include "recio/scanner.h"

namespace recio {
namespace {

constexpr std::size_t kMaxNameLength = kTextCapacity - 1;

char upperOf(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string takeName(std::string_view text) {
  text = text.substr(0, std::min(text.find('\0'), kMaxNameLength));
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

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

std::string connectionKey(const std::string& name, std::optional<Device> device) {
  if (!device) return name;
  switch (*device) {
    case Device::console: return "CON";
    case Device::standardError: return "ERR";
    case Device::null: return "NUL";
  }
  return name;
}

}  // namespace recio

// The nearest double by the C library's strtod, for C++ libraries without a
// floating-point from_chars. The C library must round correctly (as glibc and
// the musl-based WASI libc do); the text has no decimal point, so the locale
// plays no part.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "recio/nearest_double.h"

namespace recio {

std::optional<double> nearestDoubleOf(std::string_view scientific) {
  char text[kScientificCapacity + 1];
  std::size_t length = std::min(scientific.size(), kScientificCapacity);
  std::memcpy(text, scientific.data(), length);
  text[length] = '\0';
  errno = 0;
  double value = std::strtod(text, nullptr);
  // A result below the normal range also sets ERANGE; only one that rounds
  // to zero or to infinity lies outside the range.
  if (errno == ERANGE && (value == 0.0 || std::isinf(value))) return std::nullopt;
  return value;
}

}  // namespace recio

// The nearest double by the C++ library's floating-point from_chars, which
// rounds correctly and never depends on the locale.
#include "recio/nearest_double.h"

#include <charconv>
#include <system_error>

namespace recio {

std::optional<double> nearestDoubleOf(std::string_view scientific) {
  double value = 0.0;
  auto [ptr, code] = std::from_chars(scientific.data(), scientific.data() + scientific.size(), value);
  if (code != std::errc{}) return std::nullopt;
  return value;
}

}  // namespace recio

// The exact route from a decimal number to its nearest double, for the REAL
// answers that one exact double operation cannot convert. The build picks the
// implementation that the C++ library supports (nearest_double.cc or
// nearest_double_strtod.cc); both round correctly, so they agree bit for bit.
#ifndef DOSMO_RECIO_NEAREST_DOUBLE_H_
#define DOSMO_RECIO_NEAREST_DOUBLE_H_

#include <cstddef>
#include <optional>
#include <string_view>

namespace recio {

// The longest text `nearestDoubleOf` takes.
inline constexpr std::size_t kScientificCapacity = 48;

// The nearest double to `scientific`, decimal digits followed by "e" and a
// signed decimal exponent (for example "12345e-30"), of at most
// kScientificCapacity bytes. nullopt when the nearest double is infinite or
// the number lies below the double range.
std::optional<double> nearestDoubleOf(std::string_view scientific);

}  // namespace recio

#endif  // DOSMO_RECIO_NEAREST_DOUBLE_H_

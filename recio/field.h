// Numeric fields of a formatted record: Fw.d for a REAL and Iw for an INTEGER.
// A field is exactly w characters, right-justified with leading blanks, or w
// asterisks when the value does not fit. The renderers write into storage the
// caller provides and never allocate.
#ifndef DOSMO_RECIO_FIELD_H_
#define DOSMO_RECIO_FIELD_H_

#include <cstdint>

namespace recio {

// Writes the Fw.d field of `value` (w = `width` >= 1, d = `decimals` >= 0)
// into the `width` characters at `field`.
void renderFixed(float value, int width, int decimals, char* field);

// Writes the Iw field of `value` (w = `width` >= 1) into the `width`
// characters at `field`.
void renderInteger(std::int32_t value, int width, char* field);

}  // namespace recio

#endif  // DOSMO_RECIO_FIELD_H_

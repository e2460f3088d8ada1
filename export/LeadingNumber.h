#pragma once
// Reads the whole number at the start of a text, as repeat limits are written.

#include <cstdint>
#include <string_view>

namespace th::exporting {

// Skips leading blanks and tabs, takes an optional "-" or "+", then reads
// hexadecimal digits after "$", binary digits after "%", else decimal digits,
// stopping at the first other character. No digits gives 0. Digits beyond
// 64 bits wrap around rather than fail.
std::int64_t readLeadingNumber(std::string_view text);

} // namespace th::exporting

// Number and date texts shared by the console, the log and every report.
// They never depend on the C library's locale or rounding mode.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace tallyhawk {

// Unsigned decimal, no sign, no grouping.
std::string FormatUnsigned(uint64_t value);

// Fixed-point with `decimals` digits after the point (no point when 0). The
// exact binary value is rounded; an exact tie rounds away from zero, so 42.5
// gives "43" and 0.125 with 2 decimals gives "0.13".
std::string FormatFixed(double value, int decimals);

// General notation with 6 significant digits, ties away from zero, trailing
// zeros and a trailing point dropped, exponent form for decimal exponents
// below -4 or from 6 on, with a signed exponent of at least three digits:
// 1234567 gives "1.23457e+006", 12.5 gives "12.5".
std::string FormatGeneral(double value);

// "Mon Mar 04 09:05:03 2002" and a line break.
std::string DateText(const LocalTime& time);

}  // namespace tallyhawk

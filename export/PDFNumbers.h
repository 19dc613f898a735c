// Numbers for PDF operator lines, always with a decimal point: the text never depends on the
// locale or on the run-time library's process-wide decimal separator (a Brazilian "0,5 w" would
// be a broken operator), and nothing process-wide is switched to get it.
#pragma once

#include <string>

namespace pdfnum {

// Truncated toward zero, as "%d" of the value: 12.9 -> "12", -0.5 -> "0".
std::string Int(double value);
// Fixed notation with the given decimals, right-aligned to at least width characters
// ("%<width>.<decimals>f"): Fixed(1.25, 6, 1) == "   1.2" or "   1.3" by the binary value.
std::string Fixed(double value, int width, int decimals);
// At most the given decimals, without trailing zeros or point: Decimal(9.75, 2) == "9.75",
// Decimal(10, 2) == "10".
std::string Decimal(double value, int decimals);
// A number padded with zeros to at least digits digits ("%-2.2d"): Padded(3, 2) == "03".
std::string Padded(long long value, int digits);

}  // namespace pdfnum

#include "export/PDFNumbers.h"

#include <charconv>
#include <cmath>

namespace pdfnum {

std::string Int(double value) {
    if (!std::isfinite(value)) return "0";
    double truncated = std::trunc(value);
    if (truncated > 2147483647.0) truncated = 2147483647.0;
    if (truncated < -2147483648.0) truncated = -2147483648.0;
    return std::to_string(static_cast<long long>(truncated));
}

std::string Fixed(double value, int width, int decimals) {
    if (!std::isfinite(value)) value = 0;
    char text[400];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out(text, result.ptr);
    if (out.size() > 1 && out[0] == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
    if (static_cast<int>(out.size()) < width) out.insert(0, static_cast<std::size_t>(width) - out.size(), ' ');
    return out;
}

std::string Decimal(double value, int decimals) {
    std::string out = Fixed(value, 0, decimals);
    if (out.find('.') != std::string::npos) {
        out.erase(out.find_last_not_of('0') + 1);
        if (out.back() == '.') out.pop_back();
    }
    return out == "-0" ? "0" : out;
}

std::string Padded(long long value, int digits) {
    std::string out = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(out.size()) < digits) out.insert(0, static_cast<std::size_t>(digits) - out.size(), '0');
    return value < 0 ? "-" + out : out;
}

}  // namespace pdfnum

#include "export/ASCII85Encoder.h"

#include <cstdint>
#include <string>
#include <vector>

void EncodeASCII85(TStream& source, TStream& destination) {
    destination.SetSize(0);
    destination.SetPosition(0);
    source.SetPosition(0);
    std::vector<Byte> bytes(static_cast<std::size_t>(source.Size()));
    if (!bytes.empty()) source.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));

    std::string text;
    text.reserve(bytes.size() / 4 * 5 + bytes.size() / 160 * 2 + 8);
    int column = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 4) {
        std::size_t n = std::min<std::size_t>(4, bytes.size() - at);
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | (i < n ? bytes[at + i] : 0u);
        if (n == 4 && value == 0) {
            text += 'z';
        } else {
            char digits[5];
            for (int i = 4; i >= 0; --i) {
                digits[i] = static_cast<char>(value % 85 + 33);
                value /= 85;
            }
            text.append(digits, n + 1);
        }
        column += static_cast<int>(n) + 1;
        if (column > 200) {
            column = 0;
            text += "\r\n";
        }
    }
    text += "~>";
    destination.WriteBuffer(text.data(), static_cast<Int64>(text.size()));
}

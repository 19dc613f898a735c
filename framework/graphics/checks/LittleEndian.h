// Fields of the picture formats read from untrusted bytes. The callers have checked that the
// field lies inside the span; these only assemble the little-endian value.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>

#include "framework/rtl/System.h"

inline Cardinal U32At(std::span<const Byte> bytes, std::size_t at) {
    const Byte* p = bytes.data() + at;
    return static_cast<Cardinal>(p[0]) | static_cast<Cardinal>(p[1]) << 8 | static_cast<Cardinal>(p[2]) << 16 |
           static_cast<Cardinal>(p[3]) << 24;
}

inline std::int32_t I32At(std::span<const Byte> bytes, std::size_t at) {
    return static_cast<std::int32_t>(U32At(bytes, at));
}

inline Word U16At(std::span<const Byte> bytes, std::size_t at) {
    return static_cast<Word>(bytes[at] | bytes[at + 1] << 8);
}

inline std::int16_t I16At(std::span<const Byte> bytes, std::size_t at) {
    return static_cast<std::int16_t>(U16At(bytes, at));
}

inline float F32At(std::span<const Byte> bytes, std::size_t at) {
    const Cardinal bits = U32At(bytes, at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

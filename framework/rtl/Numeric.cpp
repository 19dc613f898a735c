#include "framework/rtl/Numeric.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// 2^63 as a long double: exactly representable in every long double format.
constexpr Extended kTwo63 = 9223372036854775808.0L;

[[noreturn]] void RaiseIntOverflow() { throw EIntOverflow(L"Integer overflow"); }

bool FitsInt64(Extended value) { return value >= -kTwo63 && value < kTwo63; }

}  // namespace

Int64 Trunc(Extended value) {
    if (!FitsInt64(value)) RaiseIntOverflow();  // also rejects NaN
    return static_cast<Int64>(value);
}

Int64 RoundHalfEven(Extended value) {
    if (!FitsInt64(value)) RaiseIntOverflow();
    Int64 whole = static_cast<Int64>(value);
    // The integer part of a binary float subtracts exactly, so the fraction is exact as well.
    Extended fraction = value - static_cast<Extended>(whole);
    bool odd = (whole & 1) != 0;
    if (fraction > 0.5L || (fraction == 0.5L && odd)) {
        if (whole == std::numeric_limits<Int64>::max()) RaiseIntOverflow();
        return whole + 1;
    }
    if (fraction < -0.5L || (fraction == -0.5L && odd)) return whole - 1;
    return whole;
}

Extended Int(Extended value) { return std::trunc(value); }

Extended Frac(Extended value) { return value - std::trunc(value); }

bool TryAddInt32(int a, int b, int& out) {
    Int64 r = static_cast<Int64>(a) + b;
    if (r < INT32_MIN || r > INT32_MAX) return false;
    out = static_cast<int>(r);
    return true;
}

bool TrySubInt32(int a, int b, int& out) {
    Int64 r = static_cast<Int64>(a) - b;
    if (r < INT32_MIN || r > INT32_MAX) return false;
    out = static_cast<int>(r);
    return true;
}

bool TryMulInt32(int a, int b, int& out) {
    Int64 r = static_cast<Int64>(a) * b;
    if (r < INT32_MIN || r > INT32_MAX) return false;
    out = static_cast<int>(r);
    return true;
}

int AddInt32(int a, int b) {
    int r;
    if (!TryAddInt32(a, b, r)) RaiseIntOverflow();
    return r;
}

int SubInt32(int a, int b) {
    int r;
    if (!TrySubInt32(a, b, r)) RaiseIntOverflow();
    return r;
}

int MulInt32(int a, int b) {
    int r;
    if (!TryMulInt32(a, b, r)) RaiseIntOverflow();
    return r;
}

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kMaxBiased = 0x7FFF;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;

void Store(Byte out[10], bool negative, int biasedExponent, std::uint64_t significand) {
    for (int i = 0; i < 8; ++i) out[i] = static_cast<Byte>(significand >> (8 * i));
    unsigned top = static_cast<unsigned>(biasedExponent) | (negative ? 0x8000u : 0u);
    out[8] = static_cast<Byte>(top);
    out[9] = static_cast<Byte>(top >> 8);
}

}  // namespace

void EncodeExtended(Extended value, Byte out[10]) {
    bool negative = std::signbit(value);
    if (std::isnan(value)) return Store(out, negative, kMaxBiased, kIntegerBit | kQuietBit);
    if (std::isinf(value)) return Store(out, negative, kMaxBiased, kIntegerBit);
    if (value == 0) return Store(out, negative, 0, 0);

    // value = m * 2^e with 0.5 <= |m| < 1, so |m| * 2^64 is the significand with its top bit set.
    int e = 0;
    Extended m = std::frexp(std::fabs(value), &e);
    auto significand = static_cast<std::uint64_t>(std::ldexp(m, 64));
    int biased = e - 1 + kExtendedBias;
    if (biased <= 0) {
        // Only reachable with an 80-bit long double: the denormal keeps the same bits, shifted.
        int shift = 1 - biased;
        significand = shift >= 64 ? 0 : significand >> shift;
        biased = 0;
    }
    Store(out, negative, biased, significand);
}

Extended DecodeExtended(const Byte in[10]) {
    std::uint64_t significand = 0;
    for (int i = 7; i >= 0; --i) significand = (significand << 8) | in[i];
    unsigned top = in[8] | (static_cast<unsigned>(in[9]) << 8);
    bool negative = (top & 0x8000u) != 0;
    int biased = static_cast<int>(top & 0x7FFFu);

    Extended magnitude;
    if (biased == kMaxBiased) {
        bool integerBit = (significand & kIntegerBit) != 0;
        bool fractionZero = (significand & ~kIntegerBit) == 0;
        if (integerBit && fractionZero)
            magnitude = std::numeric_limits<Extended>::infinity();
        else
            return std::numeric_limits<Extended>::quiet_NaN();  // NaN and pseudo-forms
    } else if (biased == 0) {
        // Denormal (and the pseudo-denormal with the integer bit set, which has the same value).
        magnitude = std::ldexp(static_cast<Extended>(significand), 1 - kExtendedBias - 63);
    } else {
        if ((significand & kIntegerBit) == 0) return std::numeric_limits<Extended>::quiet_NaN();
        // Split the significand so the conversion stays exact where long double is narrower.
        Extended high = static_cast<Extended>(significand >> 32);
        Extended low = static_cast<Extended>(significand & 0xFFFFFFFFu);
        int scale = biased - kExtendedBias - 63;
        magnitude = std::ldexp(high, scale + 32) + std::ldexp(low, scale);
    }
    return negative ? -magnitude : magnitude;
}

#include "framework/rtl/Numeric.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

TEST(NumericTest, RoundHalfEvenAtHalfBoundaries) {
    struct Case { Extended value; Int64 expected; };
    const Case cases[] = {
        {0.5L, 0},   {1.5L, 2},   {2.5L, 2},   {3.5L, 4},    {-0.5L, 0},  {-1.5L, -2},
        {-2.5L, -2}, {0.49999999999999994L, 0}, {2.5000000001L, 3}, {-2.5000000001L, -3},
        {0.0L, 0},   {1.4L, 1},   {-1.6L, -2},
        {4503599627370496.5L, 4503599627370496LL},   // 2^52 + 0.5: exact in extended
        {4503599627370497.5L, 4503599627370498LL},
        {9007199254740993.0L, 9007199254740993LL},   // beyond double precision
        {-9223372036854775808.0L, std::numeric_limits<Int64>::min()},
        {9223372036854775806.5L, 9223372036854775806LL},
    };
    for (const Case& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.expected) << static_cast<double>(c.value);
    EXPECT_EQ(Round(2.5L), 2);
}

TEST(NumericTest, RoundingDoesNotDependOnTheFpuRoundingMode) {
    // Truncating conversions must not leak into the result whatever the control word says.
#if defined(__i386__) || defined(__x86_64__)
    unsigned short saved, truncating;
    __asm__ volatile("fnstcw %0" : "=m"(saved));
    truncating = static_cast<unsigned short>(saved | 0x0C00);  // round toward zero
    __asm__ volatile("fldcw %0" : : "m"(truncating));
    Int64 a = RoundHalfEven(2.7L), b = RoundHalfEven(-2.7L), c = RoundHalfEven(3.5L);
    __asm__ volatile("fldcw %0" : : "m"(saved));
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, -3);
    EXPECT_EQ(c, 4);
#endif
}

TEST(NumericTest, OutOfRangeRoundingAndTruncationRaise) {
    const Extended bad[] = {9223372036854775808.0L, -9223372036854775809.0L, 1e30L,
                            std::numeric_limits<Extended>::infinity(), std::numeric_limits<Extended>::quiet_NaN()};
    for (Extended v : bad) {
        EXPECT_THROW(RoundHalfEven(v), EIntOverflow);
        EXPECT_THROW(Trunc(v), EIntOverflow);
    }
    EXPECT_THROW(RoundHalfEven(9223372036854775807.5L), EIntOverflow);  // rounds up past the maximum
}

TEST(NumericTest, TruncIntFrac) {
    EXPECT_EQ(Trunc(2.9L), 2);
    EXPECT_EQ(Trunc(-2.9L), -2);
    EXPECT_EQ(Int(-2.75L), -2.0L);
    EXPECT_EQ(Frac(-2.75L), -0.75L);
    EXPECT_EQ(Frac(2.75L), 0.75L);
    EXPECT_EQ(Int(1e30L), 1e30L);
    EXPECT_EQ(Frac(1e30L), 0.0L);
}

TEST(NumericTest, CheckedInt32Arithmetic) {
    const int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
    int out = 7;
    EXPECT_TRUE(TryAddInt32(2, 3, out));
    EXPECT_EQ(out, 5);
    EXPECT_FALSE(TryAddInt32(kMax, 1, out));
    EXPECT_EQ(out, 5);  // unchanged on overflow
    EXPECT_FALSE(TryAddInt32(kMin, -1, out));
    EXPECT_TRUE(TrySubInt32(kMin + 1, 1, out));
    EXPECT_EQ(out, kMin);
    EXPECT_FALSE(TrySubInt32(0, kMin, out));
    EXPECT_TRUE(TryMulInt32(-46341, 46340, out));
    EXPECT_FALSE(TryMulInt32(46341, 46341, out));
    EXPECT_FALSE(TryMulInt32(kMin, -1, out));
    EXPECT_EQ(MulInt32(-3, 4), -12);
    EXPECT_THROW(AddInt32(kMax, 1), EIntOverflow);
    EXPECT_THROW(SubInt32(kMin, 1), EIntOverflow);
    EXPECT_THROW(MulInt32(65536, 65536), EIntOverflow);
}

struct Encoded {
    Byte bytes[10];
};

Encoded Encode(Extended v) {
    Encoded e{};
    EncodeExtended(v, e.bytes);
    return e;
}

TEST(NumericTest, ExtendedEncodingMatchesTheX87Layout) {
    struct Case { Extended value; Byte expected[10]; };
    const Case cases[] = {
        {1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
        {-2.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
        {0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {-0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
        {10.0L, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x02, 0x40}},
        {std::numeric_limits<Extended>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
        {-std::numeric_limits<Extended>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}},
        // The smallest double denormal, 2^-1074, is a normal extended value.
        {static_cast<Extended>(std::numeric_limits<double>::denorm_min()), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B}},
    };
    for (const Case& c : cases) {
        Encoded e = Encode(c.value);
        EXPECT_EQ(std::memcmp(e.bytes, c.expected, 10), 0) << static_cast<double>(c.value);
    }
}

TEST(NumericTest, ExtendedRoundTrip) {
    const Extended values[] = {
        1.0L, -1.0L, 0.1L, 3.14159265358979323846L, 1e-300L, 1e300L, 1e4000L, -1e-4000L,
        static_cast<Extended>(std::numeric_limits<double>::max()),
        static_cast<Extended>(std::numeric_limits<double>::denorm_min()),
        std::numeric_limits<Extended>::max(), std::numeric_limits<Extended>::min(),
        std::numeric_limits<Extended>::denorm_min(), std::numeric_limits<Extended>::min() / 3,
        18446744073709551615.0L,
    };
    for (Extended v : values) {
        Encoded e = Encode(v);
        EXPECT_EQ(DecodeExtended(e.bytes), v) << static_cast<double>(v);
    }
    Encoded negativeZero = Encode(-0.0L);
    Extended z = DecodeExtended(negativeZero.bytes);
    EXPECT_EQ(z, 0.0L);
    EXPECT_TRUE(std::signbit(z));
    Encoded inf = Encode(-std::numeric_limits<Extended>::infinity());
    EXPECT_EQ(DecodeExtended(inf.bytes), -std::numeric_limits<Extended>::infinity());
}

TEST(NumericTest, NanAndInvalidEncodingsDecodeToNan) {
    Encoded nan = Encode(std::numeric_limits<Extended>::quiet_NaN());
    EXPECT_EQ(nan.bytes[9] & 0x7F, 0x7F);
    EXPECT_EQ(nan.bytes[8], 0xFF);
    EXPECT_EQ(nan.bytes[7] & 0xC0, 0xC0);  // quiet
    EXPECT_TRUE(std::isnan(DecodeExtended(nan.bytes)));

    const Byte unnormal[10] = {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F};  // integer bit clear
    const Byte pseudoInfinity[10] = {0, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F};
    const Byte signalingNan[10] = {1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F};
    EXPECT_TRUE(std::isnan(DecodeExtended(unnormal)));
    EXPECT_TRUE(std::isnan(DecodeExtended(pseudoInfinity)));
    EXPECT_TRUE(std::isnan(DecodeExtended(signalingNan)));
}

TEST(NumericTest, DenormalsDecodeByValue) {
    const Byte smallest[10] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // 2^-16445
    EXPECT_EQ(DecodeExtended(smallest), std::ldexp(1.0L, -16445));
    // Pseudo-denormal: exponent 0 with the integer bit set means 2^-16382.
    const Byte pseudoDenormal[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0};
    EXPECT_EQ(DecodeExtended(pseudoDenormal), std::ldexp(1.0L, -16382));
}

}  // namespace

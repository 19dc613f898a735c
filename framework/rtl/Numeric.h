// Integer rounding, overflow-checked arithmetic and the 10-byte extended-precision codec.
#pragma once

#include "framework/rtl/System.h"

// The one rounding helper: nearest integer, halves to even (0.5 -> 0, 1.5 -> 2, -2.5 -> -2).
// Computed arithmetically, so the FPU rounding mode does not matter. Values outside the Int64
// range and NaN raise EIntOverflow.
Int64 RoundHalfEven(Extended value);
inline Int64 Round(Extended value) { return RoundHalfEven(value); }
// Toward zero; out of range raises EIntOverflow.
Int64 Trunc(Extended value);
// Integer part (toward zero) and fractional part, with the sign of value.
Extended Int(Extended value);
Extended Frac(Extended value);

// 32-bit arithmetic that reports overflow: the Try forms return false (out unchanged), the
// others raise EIntOverflow "Integer overflow".
bool TryAddInt32(int a, int b, int& out);
bool TrySubInt32(int a, int b, int& out);
bool TryMulInt32(int a, int b, int& out);
int AddInt32(int a, int b);
int SubInt32(int a, int b);
int MulInt32(int a, int b);

// x87 80-bit extended layout, little endian: 64-bit significand with explicit integer bit,
// then 15-bit biased exponent (bias 16383) and the sign. Works with any long double width:
// where long double is narrower, decoding rounds to it (overflow to infinity, underflow to
// denormal or zero). Encoding keeps zero signs, infinities and NaN (as a quiet NaN).
// Decoding the invalid encodings (unnormals, pseudo-infinities/NaNs) gives a quiet NaN.
void EncodeExtended(Extended value, Byte out[10]);
Extended DecodeExtended(const Byte in[10]);

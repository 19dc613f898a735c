// The LZHUF encoder: the writer of the stream that TLZH (Lzh.h) reads, for the skin packer and
// the tests. Matches are found with the classic binary search tree over the ring (the longest
// match, the nearest of equally long ones), so the output is a pure function of the input.
#pragma once

#include <span>
#include <vector>

#include "framework/rtl/System.h"

// The stream for bytes: its last byte padded with zero bits, no end mark; nothing for no bytes.
std::vector<Byte> LzhPack(std::span<const Byte> bytes);

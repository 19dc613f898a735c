// The adaptive Huffman coding that the skin archive's LZHUF stream uses, shared by the decoder
// (Lzh.h) and the encoder (LzhEncode.h) so both walk exactly the same tree.
//
// The stream is LZSS output over a 4096-byte ring: each symbol is a literal byte (0..255) or a
// match length 3..60 (256..313), coded by a Huffman tree whose frequencies grow with every symbol
// coded, so coder and decoder change the tree in lockstep. A match's ring position follows the
// symbol: its upper 6 bits by the fixed prefix code of PositionCode/PositionBits, its lower 6
// bits plain. Bits run most significant first.
//
// The tree is kept as a table of nodes in non-decreasing frequency order (the sibling property):
// node Root is the root, Son(n) is the first of node n's two children (the second is Son(n) + 1),
// and a Son(n) at or above kLzhTableSize marks a leaf holding symbol Son(n) - kLzhTableSize.
#pragma once

#include <array>
#include <cstdint>

#include "framework/rtl/System.h"

constexpr int kLzhRingSize = 4096;         // N
constexpr int kLzhLookAhead = 60;          // F: the longest match
constexpr int kLzhThreshold = 2;           // a match must be longer than this
constexpr int kLzhSymbols = 256 - kLzhThreshold + kLzhLookAhead;  // N_CHAR, 314
constexpr int kLzhTableSize = 2 * kLzhSymbols - 1;                // T, 627
constexpr int kLzhRoot = kLzhTableSize - 1;                        // R, 626
constexpr int kLzhMaxFrequency = 0x8000;
// The ring starts as spaces up to here; the first byte goes to this position.
constexpr int kLzhFirstPosition = kLzhRingSize - kLzhLookAhead;   // 4036
constexpr Byte kLzhRingFill = 0x20;

// The fixed code of a position's upper 6 bits: the first byte of the code (8 bits, read at once)
// names the upper part (PositionCode) and how many bits the code and the lower part take
// together, less 6 (PositionBits): short codes for near positions.
struct TLzhPositionTables {
    std::array<Byte, 256> Code;   // d_code
    std::array<Byte, 256> Bits;   // d_len
    std::array<Byte, 64> EncodeCode;  // the code's bits, left-aligned in a byte
    std::array<Byte, 64> EncodeBits;  // its length
};
const TLzhPositionTables& LzhPositionTables();

class TLzhTree {
public:
    TLzhTree() { StartHuff(); }

    // Every symbol with frequency 1, inner nodes pairing neighbours in order.
    void StartHuff();
    // Counts one more of symbol, first halving every frequency when the root has reached
    // kLzhMaxFrequency.
    void UpdateTree(int symbol);

    int Son(int node) const { return son_[node]; }
    int Parent(int node) const { return parent_[node]; }
    int LeafOf(int symbol) const { return parent_[symbol + kLzhTableSize]; }
    std::uint16_t Frequency(int node) const { return frequency_[node]; }

private:
    void Reconstruct();

    // One slot more than the nodes: a sentinel above every frequency ends the search for a swap.
    std::array<std::uint16_t, kLzhTableSize + 1> frequency_{};
    // Indexes 0..T-1 are the nodes' parents; T + symbol is the leaf holding that symbol.
    std::array<std::int16_t, kLzhTableSize + kLzhSymbols> parent_{};
    std::array<std::int16_t, kLzhTableSize> son_{};
};

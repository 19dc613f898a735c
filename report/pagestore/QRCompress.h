// Adaptive splay-tree bit coder for compressed pages. Every byte is coded as its path in a
// binary tree whose leaves are the 256 byte values; after each byte the tree is semi-splayed
// so frequent bytes get short codes. Coder and decoder start from the same fresh tree (one
// per page) and stay in step byte for byte. Bits are packed least significant first.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "framework/rtl/System.h"

class TQRCompress {
public:
    // Coding: appends the coded bytes to output.
    explicit TQRCompress(std::vector<Byte>& output);
    // Decoding: reads coded bytes from input; running out of them raises EQRCorruptFile.
    explicit TQRCompress(std::span<const Byte> input);
    // Writes the last, partial byte when coding.
    ~TQRCompress();
    TQRCompress(const TQRCompress&) = delete;
    TQRCompress& operator=(const TQRCompress&) = delete;

    void EncodeByte(Byte value);
    Byte DecodeByte();

    // Coded bytes taken from the input so far.
    std::size_t BytesConsumed() const { return inputPos_; }

    // One page at a time, each with a fresh tree.
    static std::vector<Byte> Compress(std::span<const Byte> data);
    // Decodes exactly length bytes; the coded data must be used up exactly.
    static std::vector<Byte> Decompress(std::span<const Byte> coded, std::size_t length);

private:
    static constexpr int kRoot = 0;
    static constexpr int kFirstLeaf = 256;

    void InitTree();
    void Splay(Byte value);
    void EmitBit(bool bit);
    bool NextBit();

    int bitPos_ = 0;  // 0..7
    bool compress_;
    Word inputByte_ = 0;
    Word left_[256];
    Word right_[256];
    Word outputByte_ = 0;
    std::vector<Byte>* output_ = nullptr;
    std::span<const Byte> input_;
    std::size_t inputPos_ = 0;
    Byte parent_[513];  // index 1..512; inner nodes 0..255 fit a byte
};

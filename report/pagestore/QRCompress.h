// Adaptive splay-tree bit coder for compressed pages. Every byte is coded as its path in a
// binary tree whose leaves are the 256 byte values; after each byte the tree is semi-splayed
// so frequent bytes get short codes. Coder and decoder start from the same fresh tree (one
// per page) and stay in step byte for byte. Bits are packed least significant first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "framework/rtl/System.h"

class TQRCompress {
public:
    // The longest code: one bit per inner node on the way down from the root.
    static constexpr int kMaxCodeBits = 256;

    // Coding: appends the coded bytes to output.
    explicit TQRCompress(std::vector<Byte>& output);
    // Decoding: reads coded bytes from input; running out of them, or a code no coder writes,
    // raises EQRCorruptFile.
    explicit TQRCompress(std::span<const Byte> input);
    // Writes the last, partial byte when coding.
    ~TQRCompress();
    TQRCompress(const TQRCompress&) = delete;
    TQRCompress& operator=(const TQRCompress&) = delete;

    void EncodeByte(Byte value);
    Byte DecodeByte();

    // Coded bytes taken from the input so far (a byte counts once its first bit is used).
    std::size_t BytesConsumed() const { return inputPos_ - static_cast<std::size_t>(bitCount_ / 8); }

    // Every code takes at least one bit and at most kMaxCodeBits, so coded data of a given
    // size holds a bounded number of bytes, and a given number of bytes a bounded coded size.
    static bool CodedSizeCanHold(std::uint64_t codedSize, std::uint64_t length) {
        return length <= codedSize * 8 && codedSize <= (length * kMaxCodeBits + 7) / 8;
    }

    // One page at a time, each with a fresh tree.
    static std::vector<Byte> Compress(std::span<const Byte> data);
    // Decodes exactly length bytes; the coded data must be used up exactly.
    static std::vector<Byte> Decompress(std::span<const Byte> coded, std::size_t length);

private:
    static constexpr int kRoot = 0;
    static constexpr int kFirstLeaf = 256;
    static constexpr int kUnusedLeaf = 512;  // completes the tree below node 255; holds no byte

    // A slot is where a node hangs: 2 * parent + side (side 1: right). A root-to-leaf path is
    // the list of slots passed, and the code is their sides.
    using Slot = Word;

    void InitTree();
    template <bool KeepSlots>
    void Splay(const Slot* path, int depth, int leaf);
    void PutBits(std::uint64_t bits, int count);
    void FlushWholeBytes();
    void Refill();

    Word child_[512];    // indexed by slot
    Slot slotOf_[513];   // coding only: the slot each node hangs in (the root's is unused)
    bool compress_;
    // Bits not yet written (coding) or not yet used (decoding), the next one lowest.
    std::uint64_t bits_ = 0;
    int bitCount_ = 0;
    std::vector<Byte>* output_ = nullptr;
    std::span<const Byte> input_;
    std::size_t inputPos_ = 0;  // coded bytes loaded into bits_
};

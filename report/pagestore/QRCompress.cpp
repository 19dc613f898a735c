#include "report/pagestore/QRCompress.h"

#include "report/pagestore/QRFileFormat.h"

// Bits travel through a 64-bit buffer: the coder gathers whole codes and writes four bytes at a
// time, the decoder loads up to eight bytes at a time. The bit order on the wire is the same
// as emitting one bit at a time, least significant first.

TQRCompress::TQRCompress(std::vector<Byte>& output) : compress_(true), output_(&output) { InitTree(); }

TQRCompress::TQRCompress(std::span<const Byte> input) : compress_(false), input_(input) { InitTree(); }

TQRCompress::~TQRCompress() {
    if (!compress_) return;
    FlushWholeBytes();
    if (bitCount_ > 0) output_->push_back(static_cast<Byte>(bits_));
}

// Node n > 0 starts in slot n - 1: parent (n - 1) / 2, side (n - 1) % 2.
void TQRCompress::InitTree() {
    for (int slot = 0; slot < 512; ++slot) child_[slot] = static_cast<Word>(slot + 1);
    slotOf_[kRoot] = 0;  // the root hangs nowhere; never read
    for (int node = 1; node <= 512; ++node) slotOf_[node] = static_cast<Slot>(node - 1);
}

// Semi-splaying along the path just taken to leaf: at each step the node moving up (first the
// leaf) and its parent's sibling trade places, then the walk goes on two levels higher. The
// decoder knows the path from its descent and keeps no slots of its own.
template <bool KeepSlots>
void TQRCompress::Splay(const Slot* path, int depth, int leaf) {
    int a = leaf;
    for (int i = depth; i >= 2; i -= 2) {
        const int below = path[i - 1];       // where a hangs under c
        const int across = path[i - 2] ^ 1;  // where c's sibling hangs under d
        const int x = child_[across];
        child_[across] = static_cast<Word>(a);
        child_[below] = static_cast<Word>(x);
        if constexpr (KeepSlots) {
            slotOf_[a] = static_cast<Slot>(across);
            slotOf_[x] = static_cast<Slot>(below);
        }
        a = path[i - 2] >> 1;  // d
    }
}

// ---- coding ----

void TQRCompress::FlushWholeBytes() {
    while (bitCount_ >= 8) {
        output_->push_back(static_cast<Byte>(bits_));
        bits_ >>= 8;
        bitCount_ -= 8;
    }
}

// count <= 32; bitCount_ stays below 32 between calls, so the buffer never overflows.
void TQRCompress::PutBits(std::uint64_t bits, int count) {
    bits_ |= bits << bitCount_;
    bitCount_ += count;
    if (bitCount_ < 32) return;
    const std::size_t at = output_->size();
    output_->resize(at + 4);
    PutInt32LE(output_->data() + at, static_cast<std::int32_t>(static_cast<Cardinal>(bits_)));
    bits_ >>= 32;
    bitCount_ -= 32;
}

void TQRCompress::EncodeByte(Byte value) {
    // The walk goes from the leaf up, so the path is filled from its far end.
    Slot path[kMaxCodeBits];
    const int leaf = kFirstLeaf + value;
    int top = kMaxCodeBits;
    std::uint64_t code = 0;  // the sides from the root down, lowest bit first (whole up to 64)
    for (int a = leaf; a != kRoot;) {
        const Slot slot = slotOf_[a];
        path[--top] = slot;
        code = code << 1 | (slot & 1u);
        a = slot >> 1;
    }
    const int depth = kMaxCodeBits - top;
    if (depth <= 32) {
        PutBits(code, depth);
    } else {
        for (int i = 0; i < depth; i += 32) {
            const int count = depth - i < 32 ? depth - i : 32;
            std::uint64_t chunk = 0;
            for (int k = count - 1; k >= 0; --k) chunk = chunk << 1 | (path[top + i + k] & 1u);
            PutBits(chunk, count);
        }
    }
    Splay<true>(path + top, depth, leaf);
}

// ---- decoding ----

// Tops the buffer up to at least 57 bits, or with whatever input is left. Bits above
// bitCount_ may already hold the next input bits from an earlier load; loading them again
// puts the same bits in the same places.
void TQRCompress::Refill() {
    const Byte* p = input_.data() + inputPos_;
    if (input_.size() - inputPos_ >= 8) {
        const std::uint64_t word = static_cast<std::uint64_t>(p[0]) | static_cast<std::uint64_t>(p[1]) << 8 |
                                   static_cast<std::uint64_t>(p[2]) << 16 | static_cast<std::uint64_t>(p[3]) << 24 |
                                   static_cast<std::uint64_t>(p[4]) << 32 | static_cast<std::uint64_t>(p[5]) << 40 |
                                   static_cast<std::uint64_t>(p[6]) << 48 | static_cast<std::uint64_t>(p[7]) << 56;
        bits_ |= word << bitCount_;
        const int loaded = (63 - bitCount_) >> 3;
        inputPos_ += static_cast<std::size_t>(loaded);
        bitCount_ += loaded * 8;
        return;
    }
    while (bitCount_ <= 56 && inputPos_ < input_.size()) {
        bits_ |= static_cast<std::uint64_t>(input_[inputPos_++]) << bitCount_;
        bitCount_ += 8;
    }
    if (bitCount_ == 0) RaiseCorruptFile();
}

Byte TQRCompress::DecodeByte() {
    Slot path[kMaxCodeBits];
    int depth = 0;
    int a = kRoot;
    std::uint64_t bits = bits_;
    int count = bitCount_;
    do {
        if (count == 0) {
            bits_ = bits;
            bitCount_ = 0;
            Refill();
            bits = bits_;
            count = bitCount_;
        }
        const int slot = 2 * a + static_cast<int>(bits & 1);
        bits >>= 1;
        --count;
        path[depth++] = static_cast<Slot>(slot);
        a = child_[slot];
    } while (a < kFirstLeaf);
    bits_ = bits;
    bitCount_ = count;
    if (a == kUnusedLeaf) RaiseCorruptFile();
    Splay<false>(path, depth, a);
    return static_cast<Byte>(a - kFirstLeaf);
}

// ---- whole pages ----

std::vector<Byte> TQRCompress::Compress(std::span<const Byte> data) {
    std::vector<Byte> coded;
    coded.reserve(data.size() / 2 + 16);
    {
        TQRCompress coder(coded);
        for (Byte b : data) coder.EncodeByte(b);
    }
    return coded;
}

std::vector<Byte> TQRCompress::Decompress(std::span<const Byte> coded, std::size_t length) {
    if (!CodedSizeCanHold(coded.size(), length)) RaiseCorruptFile();
    std::vector<Byte> data(length);
    TQRCompress decoder(coded);
    for (Byte& b : data) b = decoder.DecodeByte();
    if (decoder.BytesConsumed() != coded.size()) RaiseCorruptFile();
    return data;
}

#include "skin/Lzh.h"

#include <algorithm>
#include <array>
#include <new>

#include "skin/LzhTree.h"

namespace {
constexpr int kBlockSize = 4096;
}

// Everything one decode needs, allocated together at its start and freed at its end.
struct TLZH::Tables {
    TLzhTree tree;
    std::array<Byte, kLzhRingSize + kLzhLookAhead - 1> ring{};
    std::array<Byte, kBlockSize> input{};
    std::array<Byte, kBlockSize> output{};
    const TLzhReadBlock* read = nullptr;
    int inputAt = 0;
    int inputEnd = 0;
    bool inputDone = false;
    // Bits not yet used, the next one in bit 31; bitCount of them are real.
    std::uint32_t bits = 0;
    int bitCount = 0;
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::AllocTables() {
    try {
        tables_ = std::make_unique<Tables>();
    } catch (const std::bad_alloc&) {
        throw ElzhException(kLzhNoMemoryMessage);
    }
}

// Freeing memory cannot fail here, so the decoder never raises the format's "Error freeing memory"
// message.
void TLZH::FreeTables() { tables_.reset(); }

void TLZH::FillBits() {
    Tables& t = *tables_;
    while (t.bitCount <= 24) {
        if (t.inputAt == t.inputEnd && !t.inputDone) {
            const Int64 got = (*t.read)(t.input.data(), kBlockSize);
            t.inputAt = 0;
            t.inputEnd = static_cast<int>(std::clamp<Int64>(got, 0, kBlockSize));
            t.inputDone = t.inputEnd == 0;
        }
        // Past the end of the input every byte reads as zero.
        const std::uint32_t byte = t.inputAt < t.inputEnd ? t.input[t.inputAt++] : 0;
        t.bits |= byte << (24 - t.bitCount);
        t.bitCount += 8;
    }
}

inline int TLZH::GetBit() {
    Tables& t = *tables_;
    if (t.bitCount < 1) FillBits();
    const int bit = static_cast<int>(t.bits >> 31);
    t.bits <<= 1;
    --t.bitCount;
    return bit;
}

inline int TLZH::GetByte() {
    Tables& t = *tables_;
    if (t.bitCount < 8) FillBits();
    const int byte = static_cast<int>(t.bits >> 24);
    t.bits <<= 8;
    t.bitCount -= 8;
    return byte;
}

int TLZH::DecodeChar() {
    TLzhTree& tree = tables_->tree;
    int node = tree.Son(kLzhRoot);
    while (node < kLzhTableSize) node = tree.Son(node + GetBit());
    const int symbol = node - kLzhTableSize;
    tree.UpdateTree(symbol);
    return symbol;
}

int TLZH::DecodePosition() {
    const TLzhPositionTables& tables = LzhPositionTables();
    int i = GetByte();
    const int upper = tables.Code[i] << 6;
    for (int j = tables.Bits[i] - 2; j > 0; --j) i = (i << 1) + GetBit();
    return upper | (i & 0x3F);
}

void TLZH::LZHUnpack(Int64 count, const TLzhWriteBlock& write, const TLzhReadBlock& read) {
    if (count <= 0) return;
    AllocTables();
    struct Release {
        TLZH& lzh;
        ~Release() { lzh.FreeTables(); }
    } release{*this};

    Tables& t = *tables_;
    t.read = &read;
    std::fill(t.ring.begin(), t.ring.begin() + kLzhFirstPosition, kLzhRingFill);
    int r = kLzhFirstPosition;
    int pending = 0;  // bytes in t.output
    Int64 written = 0;
    auto put = [&](Byte byte) {
        t.ring[r] = byte;
        r = (r + 1) & (kLzhRingSize - 1);
        if (written + pending < count) {
            t.output[pending++] = byte;
            if (pending == kBlockSize) {
                write(t.output.data(), pending);
                written += pending;
                pending = 0;
            }
        }
    };
    while (written + pending < count) {
        const int c = DecodeChar();
        if (c < 256) {
            put(static_cast<Byte>(c));
        } else {
            const int start = r - DecodePosition() - 1;
            const int length = c - 255 + kLzhThreshold;
            for (int k = 0; k < length; ++k) put(t.ring[(start + k) & (kLzhRingSize - 1)]);
        }
    }
    if (pending > 0) write(t.output.data(), pending);
}

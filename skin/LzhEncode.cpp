#include "skin/LzhEncode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "skin/LzhTree.h"

namespace {

constexpr int kNil = kLzhRingSize;  // no node

// Writes bits most significant first.
class TBitWriter {
public:
    explicit TBitWriter(std::vector<Byte>& out) : out_(out) {}
    // The low count bits of code (count up to 24).
    void Put(std::uint32_t code, int count) {
        bits_ = (bits_ << count) | (code & ((1u << count) - 1));
        count_ += count;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<Byte>(bits_ >> count_));
        }
        bits_ &= (1u << count_) - 1;
    }
    void Flush() {
        if (count_ > 0) out_.push_back(static_cast<Byte>(bits_ << (8 - count_)));
        count_ = 0;
        bits_ = 0;
    }

private:
    std::vector<Byte>& out_;
    std::uint32_t bits_ = 0;
    int count_ = 0;
};

class TLzhEncoder {
public:
    explicit TLzhEncoder(std::vector<Byte>& out) : bits_(out) {}
    void Encode(std::span<const Byte> input);

private:
    void InitTree();
    void InsertNode(int r);
    void DeleteNode(int p);
    void EncodeChar(int symbol);
    void EncodePosition(int position);

    TBitWriter bits_;
    TLzhTree tree_;
    // The ring, its first kLzhLookAhead - 1 bytes repeated past its end so a match compares
    // without wrapping.
    std::array<Byte, kLzhRingSize + kLzhLookAhead - 1> ring_{};
    // Binary search trees of ring positions by the text that starts there, one per first byte
    // (roots kLzhRingSize + 1 + byte in rson_).
    std::array<int, kLzhRingSize + 1> lson_{};
    std::array<int, kLzhRingSize + 257> rson_{};
    std::array<int, kLzhRingSize + 1> dad_{};
    int matchPosition_ = 0;
    int matchLength_ = 0;
};

void TLzhEncoder::InitTree() {
    std::fill(rson_.begin() + kLzhRingSize + 1, rson_.end(), kNil);
    std::fill(dad_.begin(), dad_.begin() + kLzhRingSize, kNil);
}

// Adds position r and finds the longest match for the text at r among the positions in the tree.
void TLzhEncoder::InsertNode(int r) {
    const Byte* key = &ring_[r];
    int p = kLzhRingSize + 1 + key[0];
    int cmp = 1;
    lson_[r] = rson_[r] = kNil;
    matchLength_ = 0;
    for (;;) {
        if (cmp >= 0) {
            if (rson_[p] == kNil) {
                rson_[p] = r;
                dad_[r] = p;
                return;
            }
            p = rson_[p];
        } else {
            if (lson_[p] == kNil) {
                lson_[p] = r;
                dad_[r] = p;
                return;
            }
            p = lson_[p];
        }
        int i = 1;
        for (; i < kLzhLookAhead; ++i) {
            cmp = key[i] - ring_[p + i];
            if (cmp != 0) break;
        }
        if (i > kLzhThreshold) {
            const int position = ((r - p) & (kLzhRingSize - 1)) - 1;
            if (i > matchLength_) {
                matchPosition_ = position;
                matchLength_ = i;
                if (i >= kLzhLookAhead) break;
            } else if (i == matchLength_ && position < matchPosition_) {
                matchPosition_ = position;
            }
        }
    }
    // A full-length match: r takes p's place in the tree (p's text is the same).
    dad_[r] = dad_[p];
    lson_[r] = lson_[p];
    rson_[r] = rson_[p];
    dad_[lson_[p]] = r;
    dad_[rson_[p]] = r;
    if (rson_[dad_[p]] == p) rson_[dad_[p]] = r;
    else lson_[dad_[p]] = r;
    dad_[p] = kNil;
}

void TLzhEncoder::DeleteNode(int p) {
    if (dad_[p] == kNil) return;
    int q;
    if (rson_[p] == kNil) {
        q = lson_[p];
    } else if (lson_[p] == kNil) {
        q = rson_[p];
    } else {
        q = lson_[p];
        if (rson_[q] != kNil) {
            do q = rson_[q];
            while (rson_[q] != kNil);
            rson_[dad_[q]] = lson_[q];
            dad_[lson_[q]] = dad_[q];
            lson_[q] = lson_[p];
            dad_[lson_[p]] = q;
        }
        rson_[q] = rson_[p];
        dad_[rson_[p]] = q;
    }
    dad_[q] = dad_[p];
    if (rson_[dad_[p]] == p) rson_[dad_[p]] = q;
    else lson_[dad_[p]] = q;
    dad_[p] = kNil;
}

// The path from the root to the symbol's leaf: a 1 wherever the node is the second child.
void TLzhEncoder::EncodeChar(int symbol) {
    std::uint64_t path = 0;
    int length = 0;
    for (int node = tree_.LeafOf(symbol); node != kLzhRoot; node = tree_.Parent(node)) {
        path |= std::uint64_t(node & 1) << length;
        ++length;
    }
    // Frequencies below kLzhMaxFrequency keep the tree far shallower than 48 levels.
    if (length > 24) bits_.Put(static_cast<std::uint32_t>(path >> 24), length - 24);
    bits_.Put(static_cast<std::uint32_t>(path & 0xFFFFFF), std::min(length, 24));
    tree_.UpdateTree(symbol);
}

void TLzhEncoder::EncodePosition(int position) {
    const TLzhPositionTables& tables = LzhPositionTables();
    const int upper = position >> 6;
    const int codeBits = tables.EncodeBits[upper] - 2 - 6 + 8;  // the code's own length
    bits_.Put(tables.EncodeCode[upper] >> (8 - codeBits), codeBits);
    bits_.Put(static_cast<std::uint32_t>(position & 0x3F), 6);
}

void TLzhEncoder::Encode(std::span<const Byte> input) {
    if (input.empty()) return;
    InitTree();
    std::size_t next = 0;  // next input byte to enter the ring
    int s = 0;
    int r = kLzhFirstPosition;
    std::fill(ring_.begin(), ring_.begin() + r, kLzhRingFill);
    int len = 0;
    for (; len < kLzhLookAhead && next < input.size(); ++len) ring_[r + len] = input[next++];
    for (int i = 1; i <= kLzhLookAhead; ++i) InsertNode(r - i);
    InsertNode(r);
    do {
        matchLength_ = std::min(matchLength_, len);
        if (matchLength_ <= kLzhThreshold) {
            matchLength_ = 1;
            EncodeChar(ring_[r]);
        } else {
            EncodeChar(255 - kLzhThreshold + matchLength_);
            EncodePosition(matchPosition_);
        }
        const int advance = matchLength_;
        int i = 0;
        for (; i < advance && next < input.size(); ++i) {
            DeleteNode(s);
            const Byte c = input[next++];
            ring_[s] = c;
            if (s < kLzhLookAhead - 1) ring_[s + kLzhRingSize] = c;
            s = (s + 1) & (kLzhRingSize - 1);
            r = (r + 1) & (kLzhRingSize - 1);
            InsertNode(r);
        }
        for (; i < advance; ++i) {
            DeleteNode(s);
            s = (s + 1) & (kLzhRingSize - 1);
            r = (r + 1) & (kLzhRingSize - 1);
            if (--len) InsertNode(r);
        }
    } while (len > 0);
    bits_.Flush();
}

}  // namespace

std::vector<Byte> LzhPack(std::span<const Byte> bytes) {
    std::vector<Byte> out;
    // The trees are a few dozen kilobytes: on the heap, not the stack.
    auto encoder = std::make_unique<TLzhEncoder>(out);
    encoder->Encode(bytes);
    return out;
}

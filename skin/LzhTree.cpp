#include "skin/LzhTree.h"

#include <algorithm>

namespace {

TLzhPositionTables MakePositionTables() {
    // Codes 0..63 in groups: how many byte values each code of the group covers, and the
    // code's length plus the 6 plain bits, less 2 (the byte read at once is 8 bits).
    struct Group {
        int codes, bytesPerCode, bits;
    };
    constexpr Group groups[] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
    TLzhPositionTables tables{};
    int code = 0, byte = 0;
    for (const Group& group : groups) {
        for (int c = 0; c < group.codes; ++c, ++code) {
            tables.EncodeCode[code] = static_cast<Byte>(byte);
            tables.EncodeBits[code] = static_cast<Byte>(group.bits);
            for (int k = 0; k < group.bytesPerCode; ++k, ++byte) {
                tables.Code[byte] = static_cast<Byte>(code);
                tables.Bits[byte] = static_cast<Byte>(group.bits);
            }
        }
    }
    return tables;
}

}  // namespace

const TLzhPositionTables& LzhPositionTables() {
    static const TLzhPositionTables tables = MakePositionTables();
    return tables;
}

void TLzhTree::StartHuff() {
    for (int i = 0; i < kLzhSymbols; ++i) {
        frequency_[i] = 1;
        son_[i] = static_cast<std::int16_t>(i + kLzhTableSize);
        parent_[i + kLzhTableSize] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = kLzhSymbols; j <= kLzhRoot; i += 2, ++j) {
        frequency_[j] = static_cast<std::uint16_t>(frequency_[i] + frequency_[i + 1]);
        son_[j] = static_cast<std::int16_t>(i);
        parent_[i] = parent_[i + 1] = static_cast<std::int16_t>(j);
    }
    frequency_[kLzhTableSize] = 0xFFFF;
    parent_[kLzhRoot] = 0;
}

void TLzhTree::Reconstruct() {
    // The leaves move to the front with their frequencies halved (rounding up, so none is 0).
    int leaves = 0;
    for (int i = 0; i < kLzhTableSize; ++i) {
        if (son_[i] >= kLzhTableSize) {
            frequency_[leaves] = static_cast<std::uint16_t>((frequency_[i] + 1) / 2);
            son_[leaves] = son_[i];
            ++leaves;
        }
    }
    // Each new inner node joins two neighbours and is inserted where its frequency keeps the
    // order non-decreasing.
    for (int i = 0, j = kLzhSymbols; j < kLzhTableSize; i += 2, ++j) {
        const std::uint16_t f = static_cast<std::uint16_t>(frequency_[i] + frequency_[i + 1]);
        int k = j - 1;
        while (f < frequency_[k]) --k;
        ++k;
        std::copy_backward(frequency_.begin() + k, frequency_.begin() + j, frequency_.begin() + j + 1);
        frequency_[k] = f;
        std::copy_backward(son_.begin() + k, son_.begin() + j, son_.begin() + j + 1);
        son_[k] = static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < kLzhTableSize; ++i) {
        const int k = son_[i];
        parent_[k] = static_cast<std::int16_t>(i);
        if (k < kLzhTableSize) parent_[k + 1] = static_cast<std::int16_t>(i);
    }
}

void TLzhTree::UpdateTree(int symbol) {
    if (frequency_[kLzhRoot] == kLzhMaxFrequency) Reconstruct();
    int c = parent_[symbol + kLzhTableSize];
    do {
        const unsigned k = ++frequency_[c];
        // A node that now outweighs its right neighbours trades places with the last of them,
        // children and all, so the order stays non-decreasing.
        int l = c + 1;
        if (k > frequency_[l]) {
            while (k > frequency_[++l]) {
            }
            --l;
            frequency_[c] = frequency_[l];
            frequency_[l] = static_cast<std::uint16_t>(k);

            const int i = son_[c];
            parent_[i] = static_cast<std::int16_t>(l);
            if (i < kLzhTableSize) parent_[i + 1] = static_cast<std::int16_t>(l);
            const int j = son_[l];
            son_[l] = static_cast<std::int16_t>(i);
            parent_[j] = static_cast<std::int16_t>(c);
            if (j < kLzhTableSize) parent_[j + 1] = static_cast<std::int16_t>(c);
            son_[c] = static_cast<std::int16_t>(j);
            c = l;
        }
        c = parent_[c];
    } while (c != 0);
}

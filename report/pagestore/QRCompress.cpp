#include "report/pagestore/QRCompress.h"

#include "report/pagestore/QRFileFormat.h"

TQRCompress::TQRCompress(std::vector<Byte>& output) : compress_(true), output_(&output) { InitTree(); }

TQRCompress::TQRCompress(std::span<const Byte> input) : bitPos_(7), compress_(false), input_(input) { InitTree(); }

TQRCompress::~TQRCompress() {
    if (compress_ && bitPos_ != 0) output_->push_back(static_cast<Byte>(outputByte_));
}

void TQRCompress::InitTree() {
    parent_[0] = 0;
    for (int i = 1; i <= 512; ++i) parent_[i] = static_cast<Byte>((i - 1) / 2);
    for (int i = 0; i <= 255; ++i) {
        left_[i] = static_cast<Word>(2 * i + 1);
        right_[i] = static_cast<Word>(2 * i + 2);
    }
}

void TQRCompress::Splay(Byte value) {
    int a = kFirstLeaf + value;
    do {
        int c = parent_[a];
        if (c != kRoot) {
            int d = parent_[c];
            int x = left_[d];
            if (x == c) {
                x = right_[d];
                right_[d] = static_cast<Word>(a);
            } else {
                left_[d] = static_cast<Word>(a);
            }
            if (a == left_[c]) left_[c] = static_cast<Word>(x);
            else right_[c] = static_cast<Word>(x);
            parent_[a] = static_cast<Byte>(d);
            parent_[x] = static_cast<Byte>(c);
            a = d;
        } else {
            a = c;
        }
    } while (a != kRoot);
}

void TQRCompress::EmitBit(bool bit) {
    if (bit) outputByte_ |= static_cast<Word>(1u << bitPos_);
    if (bitPos_ == 7) {
        output_->push_back(static_cast<Byte>(outputByte_));
        bitPos_ = 0;
        outputByte_ = 0;
    } else {
        ++bitPos_;
    }
}

void TQRCompress::EncodeByte(Byte value) {
    // A leaf can sit at most 256 levels deep (one per inner node).
    bool path[257];
    int depth = 0;
    for (int a = kFirstLeaf + value; a != kRoot; a = parent_[a]) path[depth++] = right_[parent_[a]] == a;
    while (depth > 0) EmitBit(path[--depth]);
    Splay(value);
}

bool TQRCompress::NextBit() {
    if (bitPos_ == 7) {
        if (inputPos_ >= input_.size()) RaiseCorruptFile();
        inputByte_ = input_[inputPos_++];
        bitPos_ = 0;
    } else {
        ++bitPos_;
    }
    return (inputByte_ & (1u << bitPos_)) != 0;
}

Byte TQRCompress::DecodeByte() {
    int a = kRoot;
    while (a < kFirstLeaf) a = NextBit() ? right_[a] : left_[a];
    auto value = static_cast<Byte>(a - kFirstLeaf);
    Splay(value);
    return value;
}

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
    // Every byte costs at least one bit, which bounds what honest coded data can hold.
    if (length > coded.size() * 8) RaiseCorruptFile();
    std::vector<Byte> data(length);
    TQRCompress decoder(coded);
    for (Byte& b : data) b = decoder.DecodeByte();
    if (decoder.BytesConsumed() != coded.size()) RaiseCorruptFile();
    return data;
}

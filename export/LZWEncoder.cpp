#include "export/LZWEncoder.h"

#include <array>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t kClearCode = 256;
constexpr std::uint32_t kEndCode = 257;
constexpr std::uint32_t kFirstFreeCode = 258;
constexpr std::uint32_t kLastCode = 4095;
constexpr std::size_t kBufferSize = 8192;
// A 12-bit code completes at most two bytes and the end code one more: flushing above this
// fill keeps every write inside the buffer.
constexpr std::size_t kFlushAbove = kBufferSize - 6;

// The string table is prefix-closed (every entry is an earlier entry plus one byte), so the
// longest entry matching the input is found by walking from the single byte through the
// extensions, one input byte at a time. An extension is looked up by (code, byte); a stamp per
// slot tells the slots of the current table from those left over from before the last clear,
// so clearing the table costs nothing.
class LzwCoder {
public:
    explicit LzwCoder(TStream& destination)
        : destination_(destination), child_(std::size_t{4096} * 256), stamp_(child_.size()) {}

    void Run(const std::vector<Byte>& source) {
        ResetTable();
        std::size_t pos = 0;
        std::uint32_t lastCode = 0;
        while (pos < source.size()) {
            if (nextCode_ > kLastCode) {
                ResetTable();
            } else if (nextCode_ > kFirstFreeCode) {
                // The entry added last time is the match then plus the byte that follows it.
                SetChild(lastCode, source[pos], nextCode_ - 1);
            }
            std::uint32_t code = source[pos];
            std::size_t length = 1;
            while (pos + length < source.size()) {
                std::uint32_t longer = Child(code, source[pos + length]);
                if (longer == 0) break;
                code = longer;
                ++length;
            }
            pos += length;
            PutCode(code);
            lastCode = code;
            AddEntry();
        }
        PutCode(kEndCode);
        FlushCodes();
    }

private:
    void ResetTable() {
        PutCode(kClearCode);
        width_ = 9;
        if (++generation_ == 0) {  // the stamps wrapped: start them afresh
            std::fill(stamp_.begin(), stamp_.end(), std::uint16_t{0});
            generation_ = 1;
        }
        nextCode_ = kFirstFreeCode;
    }

    void AddEntry() {
        std::uint32_t added = nextCode_++;
        // The reader widens one code early, after adding the entry before these.
        if (added == 511 || added == 1023 || added == 2047) ++width_;
    }

    std::uint32_t Child(std::uint32_t code, Byte next) const {
        std::size_t slot = (std::size_t{code} << 8) | next;
        return stamp_[slot] == generation_ ? child_[slot] : 0;
    }

    void SetChild(std::uint32_t code, Byte next, std::uint32_t child) {
        std::size_t slot = (std::size_t{code} << 8) | next;
        child_[slot] = static_cast<std::uint16_t>(child);
        stamp_[slot] = generation_;
    }

    void PutCode(std::uint32_t code) {
        accumulator_ = (accumulator_ << width_) | code;
        pending_ += width_;
        while (pending_ >= 8) {
            buffer_[fill_++] = static_cast<Byte>(accumulator_ >> (pending_ - 8));
            pending_ -= 8;
        }
        if (code == kEndCode && pending_ > 0) {
            buffer_[fill_++] = static_cast<Byte>(accumulator_ << (8 - pending_));
            pending_ = 0;
        }
        if (fill_ > kFlushAbove) FlushCodes();
    }

    void FlushCodes() {
        if (fill_ > 0) destination_.WriteBuffer(buffer_.data(), static_cast<Int64>(fill_));
        fill_ = 0;
    }

    TStream& destination_;
    std::vector<std::uint16_t> child_;
    std::vector<std::uint16_t> stamp_;
    std::uint16_t generation_ = 0;
    std::uint32_t nextCode_ = kFirstFreeCode;
    std::uint32_t width_ = 9;
    std::uint32_t accumulator_ = 0;
    std::uint32_t pending_ = 0;
    std::array<Byte, kBufferSize> buffer_{};
    std::size_t fill_ = 0;
};

}  // namespace

void CompressStreamLZW(TStream& source, TStream& destination) {
    source.SetPosition(0);
    std::vector<Byte> bytes(static_cast<std::size_t>(source.Size()));
    if (!bytes.empty()) source.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    LzwCoder coder(destination);
    coder.Run(bytes);
}

#include "export/LZWEncoder.h"

#include <array>
#include <cstdint>
#include <memory>
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
// extensions, one input byte at a time. An extension is looked up by (code, byte) in a small
// open-addressing table: at most 3838 extensions live at once, in twice as many slots, so
// probes stay short, and clearing it at a table reset touches 48 KB, not megabytes.
class LzwCoder {
public:
    explicit LzwCoder(TStream& destination) : destination_(destination) {}

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
    static constexpr std::size_t kSlots = 8192;

    void ResetTable() {
        PutCode(kClearCode);
        width_ = 9;
        keys_.fill(0);
        nextCode_ = kFirstFreeCode;
    }

    void AddEntry() {
        std::uint32_t added = nextCode_++;
        // The reader widens one code early, after adding the entry before these.
        if (added == 511 || added == 1023 || added == 2047) ++width_;
    }

    // The key of an extension, never 0 (0 marks a free slot), and its first slot.
    static std::uint32_t Key(std::uint32_t code, Byte next) { return ((code << 8) | next) + 1; }
    static std::size_t Slot(std::uint32_t key) { return (key * 2654435761u) >> 19; }  // the top 13 bits

    std::uint32_t Child(std::uint32_t code, Byte next) const {
        const std::uint32_t key = Key(code, next);
        for (std::size_t slot = Slot(key);; slot = (slot + 1) & (kSlots - 1)) {
            if (keys_[slot] == key) return codes_[slot];
            if (keys_[slot] == 0) return 0;
        }
    }

    void SetChild(std::uint32_t code, Byte next, std::uint32_t child) {
        const std::uint32_t key = Key(code, next);
        std::size_t slot = Slot(key);
        while (keys_[slot] != 0 && keys_[slot] != key) slot = (slot + 1) & (kSlots - 1);
        keys_[slot] = key;
        codes_[slot] = static_cast<std::uint16_t>(child);
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
    std::array<std::uint32_t, kSlots> keys_{};
    std::array<std::uint16_t, kSlots> codes_{};
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
    auto coder = std::make_unique<LzwCoder>(destination);  // 56 KB of tables: not on the stack
    coder->Run(bytes);
}

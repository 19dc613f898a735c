#include "export/LZWEncoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<Byte> Compress(const std::vector<Byte>& input) {
    TMemoryStream source, destination;
    if (!input.empty()) source.WriteBuffer(input.data(), static_cast<Int64>(input.size()));
    CompressStreamLZW(source, destination);
    const Byte* p = static_cast<const Byte*>(destination.Memory());
    return std::vector<Byte>(p, p + destination.Size());
}

std::vector<Byte> Bytes(const std::string& text) { return std::vector<Byte>(text.begin(), text.end()); }

// A reader as PDF viewers implement LZWDecode with EarlyChange 1, written from the filter's
// description alone: codes MSB first, the width grows when the next entry to be added plus one
// reaches 512, 1024, 2048. It records the width of every code read and whether the stream was
// well formed (starts with a clear code, ends with the end code, only known codes, nothing after).
struct LzwReader {
    std::vector<Byte> output;
    std::vector<std::pair<unsigned, unsigned>> codes;  // (code, width)
    bool wellFormed = false;

    explicit LzwReader(const std::vector<Byte>& data) {
        std::size_t bitPos = 0;
        auto read = [&](unsigned width, unsigned& code) {
            if (bitPos + width > data.size() * 8) return false;
            code = 0;
            for (unsigned i = 0; i < width; ++i, ++bitPos)
                code = (code << 1) | ((data[bitPos / 8] >> (7 - bitPos % 8)) & 1u);
            return true;
        };
        std::vector<std::vector<Byte>> table;
        auto reset = [&] {
            table.assign(258, {});
            for (unsigned b = 0; b < 256; ++b) table[b] = {static_cast<Byte>(b)};
        };
        reset();
        unsigned width = 9;
        int previous = -1;
        bool first = true;
        for (;;) {
            unsigned code;
            if (!read(width, code)) return;
            codes.emplace_back(code, width);
            if (first && code != 256) return;
            first = false;
            if (code == 257) break;
            if (code == 256) {
                reset();
                width = 9;
                previous = -1;
                continue;
            }
            std::vector<Byte> entry;
            if (code < table.size()) {
                entry = table[code];
                if (previous >= 0) {
                    auto added = table[previous];
                    added.push_back(entry[0]);
                    table.push_back(added);
                }
            } else if (code == table.size() && previous >= 0) {
                entry = table[previous];
                entry.push_back(entry[0]);
                table.push_back(entry);
            } else {
                return;
            }
            if (table.size() > 4096) return;
            output.insert(output.end(), entry.begin(), entry.end());
            previous = static_cast<int>(code);
            if (table.size() + 1 >= 4096) width = 12;
            else if (table.size() + 1 >= 2048) width = 12;
            else if (table.size() + 1 >= 1024) width = 11;
            else if (table.size() + 1 >= 512) width = 10;
        }
        // Only the zero bits padding the last byte may follow the end code.
        wellFormed = (data.size() * 8 - bitPos) < 8;
        for (; bitPos < data.size() * 8; ++bitPos)
            if ((data[bitPos / 8] >> (7 - bitPos % 8)) & 1u) wellFormed = false;
    }
};

TEST(LZWEncoder, KnownVectors) {
    struct Case { std::string input; std::vector<Byte> expected; };
    const Case cases[] = {
        {"", {0x80, 0x40, 0x40}},
        {"abc", {0x80, 0x18, 0x4C, 0x46, 0x38, 0x08}},
    };
    for (const auto& c : cases) EXPECT_EQ(Compress(Bytes(c.input)), c.expected) << c.input;
}

TEST(LZWEncoder, AppendsAtTheDestinationsPositionAndReadsTheSourceFromItsStart) {
    TMemoryStream source, destination;
    source.WriteBuffer("abc", 3);  // leaves the source positioned at its end
    destination.WriteBuffer("XY", 2);
    CompressStreamLZW(source, destination);
    const Byte* p = static_cast<const Byte*>(destination.Memory());
    EXPECT_EQ(std::vector<Byte>(p, p + destination.Size()),
              (std::vector<Byte>{'X', 'Y', 0x80, 0x18, 0x4C, 0x46, 0x38, 0x08}));
}

TEST(LZWEncoder, RoundTripsThroughAnEarlyChangeReader) {
    std::mt19937 random(20);
    std::vector<std::vector<Byte>> inputs = {
        Bytes("a"), Bytes("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"), Bytes("abababababababababab"),
        Bytes("TOBEORNOTTOBEORTOBEORNOT#"), std::vector<Byte>(100000, 0),
    };
    std::vector<Byte> noise(70000);
    for (auto& b : noise) b = static_cast<Byte>(random());
    inputs.push_back(noise);
    // Picture-like samples: runs of a few colours, long enough to fill the table many times.
    std::vector<Byte> samples;
    while (samples.size() < 300000) {
        Byte r = static_cast<Byte>(random() % 4 * 60), g = static_cast<Byte>(random() % 3 * 90);
        for (unsigned run = random() % 40 + 1; run > 0; --run) samples.insert(samples.end(), {r, g, 200});
    }
    inputs.push_back(samples);
    std::vector<Byte> all(256 * 3);
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<Byte>(i);
    inputs.push_back(all);
    for (const auto& input : inputs) {
        LzwReader reader(Compress(input));
        EXPECT_TRUE(reader.wellFormed) << input.size();
        EXPECT_TRUE(reader.output == input) << input.size();
    }
}

TEST(LZWEncoder, WidensAtTheReadersPointsAndClearsAtTwelveBitsWhenFull) {
    std::mt19937 random(7);
    std::vector<Byte> noise(20000);
    for (auto& b : noise) b = static_cast<Byte>(random());
    LzwReader reader(Compress(noise));
    ASSERT_TRUE(reader.wellFormed);
    ASSERT_EQ(reader.output, noise);
    // Code i (counting from the first after the opening clear) is written after i entries were
    // added, entries starting at 258: 9 bits up to the one after entry 510, then 10, 11, 12.
    const auto& codes = reader.codes;
    ASSERT_GT(codes.size(), 4000u);
    EXPECT_EQ(codes[0], std::make_pair(256u, 9u));
    for (std::size_t i = 1; i <= 3838; ++i) {
        unsigned entries = static_cast<unsigned>(i - 1) + 258;  // next free code before code i
        unsigned width = entries <= 511 ? 9 : entries <= 1023 ? 10 : entries <= 2047 ? 11 : 12;
        ASSERT_EQ(codes[i].second, width) << i;
        ASSERT_NE(codes[i].first, 256u) << i;
    }
    // 3838 codes add entries 258..4095; the next code is the clear code, 12 bits wide, and the
    // codes after it are 9 bits wide again.
    EXPECT_EQ(codes[3839], std::make_pair(256u, 12u));
    EXPECT_EQ(codes[3840].second, 9u);
    EXPECT_EQ(codes[3841].second, 9u);
}

}  // namespace

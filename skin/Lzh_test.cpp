#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "skin/Lzh.h"
#include "skin/LzhEncode.h"

namespace {

using Bytes = std::vector<Byte>;

Bytes Unpack(const Bytes& stream, Int64 count) {
    Bytes out;
    std::size_t at = 0;
    TLZH lzh;
    lzh.LZHUnpack(
        count, [&](const Byte* buffer, Int64 n) { out.insert(out.end(), buffer, buffer + n); },
        [&](Byte* buffer, Int64 n) {
            const auto take = std::min<std::size_t>(static_cast<std::size_t>(n), stream.size() - at);
            std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), take, buffer);
            at += take;
            return static_cast<Int64>(take);
        });
    return out;
}

Bytes Random(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (Byte& b : bytes) b = static_cast<Byte>(random());
    return bytes;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Random bytes, then their start again: the only long match lies 4095 bytes back, the farthest
// the ring reaches.
Bytes FarMatch() {
    Bytes bytes = Random(4095, 7);
    bytes.insert(bytes.end(), bytes.begin(), bytes.begin() + 60);
    return bytes;
}

struct RoundTrip {
    const char* name;
    Bytes bytes;
};

TEST(Lzh, RoundTripsAndDecodesExactlyTheCount) {
    const RoundTrip cases[] = {
        {"one byte", {0x41}},
        {"a run of 60", Bytes(60, 'x')},
        {"a run of 61", Bytes(61, 'x')},
        {"spaces the ring starts with", Bytes(100, ' ')},
        {"a match 4095 back", FarMatch()},
        {"1 MB of one byte", Bytes(1 << 20, 0xAB)},
        {"1 MB random", Random(1 << 20, 1)},
        {"text", Text("Folhavida monta o seu curriculo; Folhavida monta, Folhavida imprime.")},
    };
    for (const RoundTrip& c : cases) {
        const Bytes packed = LzhPack(c.bytes);
        EXPECT_EQ(Unpack(packed, static_cast<Int64>(c.bytes.size())), c.bytes) << c.name;
    }
}

TEST(Lzh, NothingIsWrittenForCountZero) {
    EXPECT_TRUE(LzhPack({}).empty());
    int writes = 0, reads = 0;
    TLZH lzh;
    lzh.LZHUnpack(0, [&](const Byte*, Int64) { ++writes; }, [&](Byte*, Int64) { ++reads; return Int64{0}; });
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(reads, 0);
}

// Worked out from the starting tree (leaves 0..313 at nodes 0..313, node j pairing nodes
// 2(j - 314) and 2(j - 314) + 1): "A" is leaf 65 under nodes 346, 487, 557, 592, 610, 619, 623,
// 625: 111001101. Counting it swaps leaf 65 with leaf 313 (the last of frequency 1) and changes
// no other place, so "B" (leaf 66) keeps its path: 111001110; and "A" then sits at node 313 under
// 470, 549, 588, 608, 618, 623, 625: 11000101. 26 bits, padded with zeros.
TEST(Lzh, FirstLiteralsHaveTheCodesOfTheStartingTree) {
    const Bytes golden = {0xE6, 0xF3, 0xB1, 0x40};
    EXPECT_EQ(LzhPack(Text("ABA")), golden);
    EXPECT_EQ(Unpack(golden, 3), Text("ABA"));
}

TEST(Lzh, AMatchRunningPastTheCountIsCutThere) {
    // "x" then one match of 60: asking for 5 bytes must give 5, not 61.
    const Bytes packed = LzhPack(Bytes(61, 'x'));
    EXPECT_EQ(Unpack(packed, 5), Bytes(5, 'x'));
}

TEST(Lzh, AStreamCutShortStillYieldsTheCount) {
    const Bytes original = Random(20000, 3);
    Bytes packed = LzhPack(original);
    packed.resize(packed.size() / 2);
    const Bytes out = Unpack(packed, static_cast<Int64>(original.size()));
    ASSERT_EQ(out.size(), original.size());
    // The first part still decodes right; after the cut the bits read as zeros.
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 1000, original.begin()));
    EXPECT_EQ(Unpack({}, 100).size(), 100u);
}

}  // namespace

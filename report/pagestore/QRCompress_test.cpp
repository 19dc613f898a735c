#include "report/pagestore/QRCompress.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "report/pagestore/QRFileFormat.h"

namespace {

std::vector<Byte> Bytes(std::initializer_list<int> values) {
    std::vector<Byte> bytes;
    for (int v : values) bytes.push_back(static_cast<Byte>(v));
    return bytes;
}

std::vector<Byte> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

struct CoderVector {
    const char* name;
    std::vector<Byte> input;
    std::vector<Byte> coded;
};

TEST(QRCompress, CodesKnownVectors) {
    const CoderVector vectors[] = {
        {"single zero: seven left turns, one right", Bytes({0x00}), Bytes({0x80})},
        {"second zero is shorter after the splay", Bytes({0x00, 0x00}), Bytes({0x80, 0x0F})},
        {"abc", Bytes("abc"), Bytes({0x46, 0x3D, 0x01})},
        {"255 has a nine-bit code, flushed at the end", Bytes({0xFF}), Bytes({0x00, 0x00})},
        {"nothing", {}, {}},
    };
    for (const CoderVector& v : vectors) {
        SCOPED_TRACE(v.name);
        EXPECT_EQ(TQRCompress::Compress(v.input), v.coded);
        EXPECT_EQ(TQRCompress::Decompress(v.coded, v.input.size()), v.input);
    }
}

TEST(QRCompress, FreshTreeGivesEightBitCodesExceptFor255) {
    for (int b = 0; b < 256; ++b) {
        std::vector<Byte> coded = TQRCompress::Compress(Bytes({b}));
        ASSERT_EQ(coded.size(), b == 255 ? 2u : 1u) << "byte " << b;
    }
}

TEST(QRCompress, RoundTripsWithAFreshTreePerPage) {
    std::mt19937 random(20261210);
    std::vector<std::vector<Byte>> pages;
    std::vector<Byte> all(256);
    for (int i = 0; i < 256; ++i) all[i] = static_cast<Byte>(i);
    pages.push_back(all);
    pages.push_back(std::vector<Byte>(5000, 0x00));
    pages.push_back(std::vector<Byte>(5000, 0xFF));
    for (int n : {1, 7, 4096, 65537}) {
        std::vector<Byte> page(n);
        for (Byte& b : page) b = static_cast<Byte>(random());
        pages.push_back(page);
        for (Byte& b : page) b = static_cast<Byte>(random() % 5 == 0 ? random() : 0x20);  // skewed
        pages.push_back(page);
    }
    for (const std::vector<Byte>& page : pages) {
        std::vector<Byte> coded = TQRCompress::Compress(page);
        ASSERT_EQ(TQRCompress::Decompress(coded, page.size()), page) << "page of " << page.size() << " bytes";
    }
}

// A larger corpus, coded once by the coder as first written: the checksums pin every coded
// byte, so a faster coder must write exactly what that one did. The families reach the long
// codes (over 64 and over 128 bits) that only adversarial access orders produce.
class Xorshift {
public:
    explicit Xorshift(Cardinal seed) : state_(seed) {}
    Cardinal Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    Cardinal state_;
};

// Frequent bytes 0..k-1 in ruler order (k-1 every 2^k-th byte), the others in pairs between them.
std::vector<Byte> RulerAndPairs(int k, std::size_t size) {
    std::vector<Byte> page(size);
    unsigned rest = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const int zeros = std::countr_zero(static_cast<unsigned>(i + 1));
        page[i] = static_cast<Byte>(zeros < k ? zeros : k + (rest++ / 2) % (256 - k));
    }
    return page;
}

std::vector<std::vector<Byte>> CorpusFamily(int family) {
    Xorshift random(static_cast<Cardinal>(0x9E3779B9u + family));
    std::vector<std::vector<Byte>> pages;
    auto page = [&](std::size_t size, auto&& byteAt) {
        std::vector<Byte> bytes(size);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<Byte>(byteAt(i));
        pages.push_back(std::move(bytes));
    };
    switch (family) {
    case 0:  // uniform
        for (std::size_t size : {1u, 255u, 4096u, 262144u}) page(size, [&](std::size_t) { return random.Next() >> 7; });
        break;
    case 1:  // geometric: byte k with probability 2^-(k+1)
        page(262144, [&](std::size_t) { return std::countr_zero(random.Next() | 0x80000000u); });
        break;
    case 2:  // words of a small vocabulary, like a page's text
        page(262144, [&, word = std::string_view(), at = std::size_t{0}](std::size_t) mutable {
            static constexpr std::string_view words[] = {"Experiencia ", "profissional ", "analista ", "de ",
                                                         "sistemas, ", "2019 ", "a ", "2024. ", "Curriculo ", "Maria "};
            if (at == word.size()) word = words[random.Next() % 10], at = 0;
            return static_cast<unsigned char>(word[at++]);
        });
        break;
    case 3:  // runs of random length and value
        page(65536, [&, value = 0u, left = 0u](std::size_t) mutable {
            if (left == 0) value = random.Next() & 0xFF, left = 1 + random.Next() % 300;
            --left;
            return value;
        });
        break;
    case 4:  // every value in turn, forwards and backwards
        page(65536, [](std::size_t i) { return i; });
        page(65536, [](std::size_t i) { return 255 - i % 256; });
        break;
    default:  // access orders that drive codes past 64 and 128 bits
        for (int k = 1; k <= 5; ++k) pages.push_back(RulerAndPairs(k, 1100u << (k - 1)));
        pages.push_back(RulerAndPairs(8, 262144));
        break;
    }
    return pages;
}

std::uint64_t Fnv1a(std::uint64_t hash, std::span<const Byte> bytes) {
    for (Byte b : bytes) hash = (hash ^ b) * 0x100000001B3ull;
    return hash;
}

TEST(QRCompress, CodesALargerCorpusExactlyAsTheFirstCoderDid) {
    struct Family {
        const char* name;
        std::size_t codedSize;
        std::uint64_t checksum;
    };
    const Family families[] = {
        {"uniform", 321918, 0xB2827C5BF83D151Aull},
        {"geometric", 75832, 0x3871D73C1FC4AE3Cull},
        {"words", 167869, 0xC55E36214076B13Aull},
        {"runs", 9374, 0xEA49B25125AC9597ull},
        {"every value in turn", 123969, 0x7F43035999BF3D5Cull},
        {"long codes", 95084, 0x396B8C995FE00A22ull},
    };
    for (int f = 0; f < 6; ++f) {
        SCOPED_TRACE(families[f].name);
        std::size_t codedSize = 0;
        std::uint64_t checksum = 0xCBF29CE484222325ull;
        for (const std::vector<Byte>& page : CorpusFamily(f)) {
            const std::vector<Byte> coded = TQRCompress::Compress(page);
            codedSize += coded.size();
            checksum = Fnv1a(checksum, coded);
            ASSERT_EQ(TQRCompress::Decompress(coded, page.size()), page);
        }
        EXPECT_EQ(codedSize, families[f].codedSize);
        EXPECT_EQ(checksum, families[f].checksum);
    }
}

TEST(QRCompress, DecoderConsumesExactlyWhatTheCoderWrote) {
    std::vector<Byte> page = Bytes("Curriculo de Maria da Silva, analista de sistemas");
    std::vector<Byte> coded = TQRCompress::Compress(page);
    TQRCompress decoder{std::span<const Byte>(coded)};
    for (Byte expected : page) ASSERT_EQ(decoder.DecodeByte(), expected);
    EXPECT_EQ(decoder.BytesConsumed(), coded.size());
}

TEST(QRCompress, DamagedCodedDataIsAnError) {
    std::vector<Byte> page(1000, 'x');
    page[500] = 'y';
    std::vector<Byte> coded = TQRCompress::Compress(page);
    std::vector<Byte> shortened(coded.begin(), coded.end() - 1);
    std::vector<Byte> longer = coded;
    longer.push_back(0);
    EXPECT_THROW(TQRCompress::Decompress(shortened, page.size()), EQRCorruptFile);
    EXPECT_THROW(TQRCompress::Decompress(longer, page.size()), EQRCorruptFile);
    // A length no coded data of this size can hold is refused before anything is allocated.
    EXPECT_THROW(TQRCompress::Decompress(coded, 0x7FFFFFFF), EQRCorruptFile);
    // Eight left turns reach node 255, whose right child is the leaf that holds no byte.
    EXPECT_THROW(TQRCompress::Decompress(Bytes({0x00, 0x01}), 1), EQRCorruptFile);
}

TEST(QRCompress, CodedSizeBoundsTheLengthBothWays) {
    struct Case {
        std::uint64_t codedSize, length;
        bool possible;
    };
    const Case cases[] = {
        {0, 0, true},  {0, 1, false}, {1, 0, false},  {1, 8, true},  {1, 9, false},
        {32, 1, true}, {33, 1, false}, {3200, 100, true}, {3201, 100, false}, {0x10000000, 0x80000000, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TQRCompress::CodedSizeCanHold(c.codedSize, c.length), c.possible) << c.codedSize << " " << c.length;
    // A repeated byte climbs to the root's child (8, 4 and 2 bits, then 1 bit each): the
    // one-bit bound is reached.
    EXPECT_EQ(TQRCompress::Compress(std::vector<Byte>(8000, 0x41)).size(), (8 + 4 + 2 + 7997 + 7) / 8u);
}

}  // namespace

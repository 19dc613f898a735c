#include "report/pagestore/QRCompress.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

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
}

}  // namespace

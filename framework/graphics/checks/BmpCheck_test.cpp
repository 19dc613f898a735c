#include "framework/graphics/checks/BmpCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<Byte>;

void PutU32(Bytes& b, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<Byte>(value >> (8 * i));
}

void PutU16(Bytes& b, std::size_t at, unsigned value) {
    b[at] = static_cast<Byte>(value);
    b[at + 1] = static_cast<Byte>(value >> 8);
}

struct Bmp {
    std::int32_t width = 4, height = 4;
    unsigned bitCount = 24;
    std::uint32_t headerSize = 40, compression = 0, colorsUsed = 0, imageSize = 0;
    std::size_t tableEntries = 0, pixelBytes = 48, gap = 0;  // gap: bytes between the table and the pixels
};

// A BMP file: file header, bitmap header (its fields in the 12-byte or the longer form), the
// bit fields behind a 40-byte header, the colour table, a gap, and pixelBytes of zeros.
Bytes BmpFile(const Bmp& b) {
    const bool core = b.headerSize == 12;
    const std::size_t masks = b.compression == 3 && b.headerSize == 40 ? 12 : 0;
    const std::size_t table = b.tableEntries * (core ? 3 : 4);
    const std::size_t pixels = 14 + b.headerSize + masks + table + b.gap;
    Bytes file(pixels + b.pixelBytes, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, 2, static_cast<std::uint32_t>(file.size()));
    PutU32(file, 10, static_cast<std::uint32_t>(pixels));
    PutU32(file, 14, b.headerSize);
    if (core) {
        PutU16(file, 18, static_cast<unsigned>(b.width));
        PutU16(file, 20, static_cast<unsigned>(b.height));
        PutU16(file, 22, 1);
        PutU16(file, 24, b.bitCount);
    } else {
        PutU32(file, 18, static_cast<std::uint32_t>(b.width));
        PutU32(file, 22, static_cast<std::uint32_t>(b.height));
        PutU16(file, 26, 1);
        PutU16(file, 28, b.bitCount);
        PutU32(file, 30, b.compression);
        PutU32(file, 34, b.imageSize);
        PutU32(file, 46, b.colorsUsed);
        if (b.compression == 3) {
            const std::size_t at = 14 + 40;  // behind a 40-byte header, inside a longer one
            PutU32(file, at, 0xF800);
            PutU32(file, at + 4, 0x07E0);
            PutU32(file, at + 8, 0x001F);
        }
    }
    return file;
}

TBmpHeaderCheck Check(const Bytes& file) {
    const std::size_t head = std::min(file.size(), BmpHeadBytes);
    return CheckBmpHeader(std::span<const Byte>(file.data(), head), static_cast<Int64>(file.size()));
}

TEST(BmpCheck, HandsBackWhereTheTableAndThePixelsLie) {
    struct Case {
        const char* what;
        Bmp bmp;
        Int64 tableOffset, colorCount, stride, dataOffset, dataSize;
        bool core;
    } cases[] = {
        {"24 bits", Bmp{}, 54, 0, 12, 54, 48, false},
        {"8 bits, the whole table", Bmp{.bitCount = 8, .tableEntries = 256, .pixelBytes = 16}, 54, 256, 4, 54 + 1024, 16, false},
        {"4 bits, three colours used", Bmp{.bitCount = 4, .colorsUsed = 3, .tableEntries = 3, .pixelBytes = 16}, 54, 3, 4, 66, 16, false},
        {"12-byte header, 3-byte colours", Bmp{.bitCount = 1, .headerSize = 12, .tableEntries = 2, .pixelBytes = 16}, 26, 2, 4, 32, 16, true},
        {"bit fields behind a 40-byte header", Bmp{.bitCount = 16, .compression = 3, .pixelBytes = 32}, 66, 0, 8, 66, 32, false},
        {"bit fields inside a 108-byte header", Bmp{.bitCount = 32, .headerSize = 108, .compression = 3, .pixelBytes = 64}, 122, 0, 16, 122, 64, false},
        {"run-length data: the coded bytes", Bmp{.bitCount = 8, .compression = 1, .imageSize = 6, .tableEntries = 256, .pixelBytes = 6}, 54, 256, 4, 54 + 1024, 6, false},
        {"pixels behind a gap", Bmp{.gap = 10}, 54, 0, 12, 64, 48, false},
        {"a palette above 8 bits is skipped", Bmp{.colorsUsed = 2, .tableEntries = 2}, 54, 0, 12, 62, 48, false},
    };
    for (const Case& c : cases) {
        const TBmpHeaderCheck check = Check(BmpFile(c.bmp));
        ASSERT_TRUE(check.layout) << c.what;
        const TBmpLayout& bmp = *check.layout;
        EXPECT_EQ(bmp.width, c.bmp.width) << c.what;
        EXPECT_EQ(bmp.height, 4) << c.what;
        EXPECT_EQ(bmp.tableOffset, c.tableOffset) << c.what;
        EXPECT_EQ(bmp.colorCount, c.colorCount) << c.what;
        EXPECT_EQ(bmp.stride, c.stride) << c.what;
        EXPECT_EQ(bmp.dataOffset, c.dataOffset) << c.what;
        EXPECT_EQ(bmp.dataSize, c.dataSize) << c.what;
        EXPECT_EQ(bmp.core, c.core) << c.what;
    }
    const TBmpHeaderCheck fields = Check(BmpFile(Bmp{.bitCount = 16, .compression = 3, .pixelBytes = 32}));
    ASSERT_TRUE(fields.layout);
    EXPECT_EQ(fields.layout->masks[0], 0xF800u);
    EXPECT_EQ(fields.layout->masks[2], 0x001Fu);
    const TBmpHeaderCheck topDown = Check(BmpFile(Bmp{.height = -4}));
    ASSERT_TRUE(topDown.layout);
    EXPECT_TRUE(topDown.layout->topDown);
    EXPECT_EQ(topDown.layout->height, 4);
}

TEST(BmpCheck, RefusesHeadersTheReaderCannotFollow) {
    Bytes wrongMagic = BmpFile(Bmp{});
    wrongMagic[1] = 'A';
    Bytes twoPlanes = BmpFile(Bmp{});
    twoPlanes[26] = 2;
    const struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"wrong magic", wrongMagic},
        {"header size 41", BmpFile(Bmp{.headerSize = 41})},
        {"two planes", twoPlanes},
        {"zero width", BmpFile(Bmp{.width = 0, .pixelBytes = 0})},
        {"wider than a bitmap may be", BmpFile(Bmp{.width = 32768, .height = 1, .pixelBytes = 98304})},
        {"bit count 7", BmpFile(Bmp{.bitCount = 7})},
        {"run-length 8 on 24 bits", BmpFile(Bmp{.compression = 1, .imageSize = 48})},
        {"run-length 4 on 8 bits", BmpFile(Bmp{.bitCount = 8, .compression = 2, .imageSize = 6, .tableEntries = 256})},
        {"bit fields on 24 bits", BmpFile(Bmp{.compression = 3})},
        {"JPEG inside", BmpFile(Bmp{.compression = 4})},
        {"run-length top-down", BmpFile(Bmp{.height = -4, .bitCount = 8, .compression = 1, .imageSize = 6, .tableEntries = 256})},
        {"run-length without its size", BmpFile(Bmp{.bitCount = 8, .compression = 1, .tableEntries = 256, .pixelBytes = 6})},
        {"more colours than the depth has", BmpFile(Bmp{.bitCount = 1, .colorsUsed = 3, .tableEntries = 3, .pixelBytes = 16})},
        {"colour table past the end", BmpFile(Bmp{.bitCount = 8, .tableEntries = 16, .pixelBytes = 0})},
    };
    for (const Case& c : cases) {
        const TBmpHeaderCheck check = Check(c.file);
        EXPECT_FALSE(check.layout) << c.what;
        EXPECT_EQ(check.limit, TPictureLimit::None) << c.what;
    }
}

TEST(BmpCheck, AFileCutShortAnywhereIsRefused) {
    for (const Bmp& bmp : {Bmp{}, Bmp{.bitCount = 16, .compression = 3, .pixelBytes = 32},
                           Bmp{.bitCount = 8, .headerSize = 12, .tableEntries = 256, .pixelBytes = 16}}) {
        const Bytes whole = BmpFile(bmp);
        ASSERT_TRUE(Check(whole).layout);
        for (std::size_t size = 0; size < whole.size(); ++size)
            EXPECT_FALSE(Check(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))).layout)
                << size << " of " << whole.size();
    }
}

TEST(BmpCheck, NamesThePictureLimitBeforeLookingForThePixels) {
    // A kilobyte of run-length data that claims 8192 x 8192 pixels.
    const TBmpHeaderCheck rle =
        Check(BmpFile(Bmp{.width = 8192, .height = 8192, .bitCount = 8, .compression = 1, .imageSize = 1024,
                          .tableEntries = 256, .pixelBytes = 1024}));
    EXPECT_FALSE(rle.layout);
    EXPECT_EQ(rle.limit, TPictureLimit::Pixels);
    const TBmpHeaderCheck header = Check(BmpFile(Bmp{.width = 5000, .height = 4000, .pixelBytes = 0}));
    EXPECT_EQ(header.limit, TPictureLimit::Pixels);
    const TBmpHeaderCheck atTheLimit = Check(BmpFile(Bmp{.width = 4096, .height = 4096, .bitCount = 1,
                                                         .tableEntries = 2, .pixelBytes = 4096 * 4096 / 8}));
    EXPECT_TRUE(atTheLimit.layout);
}

}  // namespace

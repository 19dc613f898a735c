#include "framework/graphics/checks/IconCheck.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using Bytes = std::vector<Byte>;

void PutU32(Bytes& b, std::size_t at, unsigned value) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<Byte>(value >> (8 * i));
}

void PutBigEndian(Bytes& b, std::size_t at, unsigned value) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<Byte>(value >> (24 - 8 * i));
}

// An icon file of one image of size x size at 32 bits: the directory, the entry, the bitmap
// header (twice as tall: colours and mask), the colour bits and the mask bits.
Bytes BitmapIcon(int size) {
    const std::size_t colorBits = static_cast<std::size_t>(size) * size * 4;
    const std::size_t maskBits = static_cast<std::size_t>((size + 31) / 32 * 4) * size;
    Bytes file(6 + 16 + 40 + colorBits + maskBits, 0);
    file[2] = 1;
    file[4] = 1;
    file[6] = static_cast<Byte>(size);
    file[7] = static_cast<Byte>(size);
    file[12] = 32;
    PutU32(file, 14, static_cast<unsigned>(file.size() - 22));
    PutU32(file, 18, 22);
    PutU32(file, 22, 40);
    PutU32(file, 26, static_cast<unsigned>(size));
    PutU32(file, 30, static_cast<unsigned>(2 * size));
    file[34] = 1;
    file[36] = 32;
    return file;
}

// An icon file whose image is the start of a PNG of width x height in an entry of entrySize.
Bytes PngIcon(unsigned width, unsigned height, int entrySize) {
    Bytes file(6 + 16 + 33, 0);
    file[2] = 1;
    file[4] = 1;
    file[6] = file[7] = static_cast<Byte>(entrySize);
    PutU32(file, 14, 33);
    PutU32(file, 18, 22);
    const Byte signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    for (int i = 0; i < 8; ++i) file[22 + i] = signature[i];
    PutBigEndian(file, 30, 13);
    PutBigEndian(file, 34, 0x49484452);  // IHDR
    PutBigEndian(file, 38, width);
    PutBigEndian(file, 42, height);
    return file;
}

TEST(IconCheck, ChoosesSoundImages) {
    const std::optional<TIconImage> bitmap = ChooseIconImage(BitmapIcon(16));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->offset, 22u);
    EXPECT_EQ(bitmap->width, 16);
    EXPECT_TRUE(ChooseIconImage(BitmapIcon(48)));
    const std::optional<TIconImage> png = ChooseIconImage(PngIcon(256, 256, 0));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 256);
}

struct Damage {
    const char* name;
    std::function<Bytes()> make;
};

TEST(IconCheck, RefusesImagesTheIconMakerWouldTrust) {
    auto damaged = [](std::function<void(Bytes&)> apply) {
        return [apply] {
            Bytes file = BitmapIcon(16);
            apply(file);
            return file;
        };
    };
    const Damage damages[] = {
        {"inner bitmap of 65536 x 32768", damaged([](Bytes& f) { PutU32(f, 26, 65536); PutU32(f, 30, 65536); })},
        {"inner bitmap wider than its entry", damaged([](Bytes& f) { PutU32(f, 26, 17); })},
        {"inner bitmap taller than its entry", damaged([](Bytes& f) { PutU32(f, 30, 34); })},
        {"inner bitmap without its mask rows", damaged([](Bytes& f) { PutU32(f, 30, 15); })},
        {"inner bitmap top-down", damaged([](Bytes& f) { PutU32(f, 30, static_cast<unsigned>(-32)); })},
        {"colour table beyond the entry", damaged([](Bytes& f) { f[36] = 8; PutU32(f, 54, 100000); })},
        {"bits beyond the entry", damaged([](Bytes& f) { PutU32(f, 14, 40 + 16 * 16 * 4); })},
        {"compressed inner bitmap", damaged([](Bytes& f) { PutU32(f, 38, 1); f[36] = 8; })},
        {"header size beyond the entry", damaged([](Bytes& f) { PutU32(f, 22, 0x7FFFFFFF); })},
        {"entry beyond the file", damaged([](Bytes& f) { PutU32(f, 18, 0xFFFFFFF0); })},
        {"entry size beyond the file", damaged([](Bytes& f) { PutU32(f, 14, 0x7FFFFFFF); })},
        {"more entries than the file holds", damaged([](Bytes& f) { f[4] = 200; })},
        {"no entries", damaged([](Bytes& f) { f[4] = 0; })},
        {"a cursor", damaged([](Bytes& f) { f[2] = 2; })},
        {"PNG larger than its entry", [] { return PngIcon(512, 512, 0); }},
        {"PNG without a header chunk", [] { Bytes f = PngIcon(16, 16, 16); f[34] = 'X'; return f; }},
        {"too short for a directory", [] { return Bytes(10, 0); }},
    };
    for (const Damage& damage : damages) EXPECT_FALSE(ChooseIconImage(damage.make())) << damage.name;
}

}  // namespace

#include "framework/graphics/Icon.h"

#include <gtest/gtest.h>

#include "framework/rtl/Streams.h"
#include "testing/TestPixels.h"

namespace {

// A 16 x 16 icon: blue inside, transparent 4-pixel border.
UniqueIcon BlueIcon() {
    TBitmap color(16, 16, pf32bit);
    color.Canvas().Brush().SetColor(clBlack);
    color.Canvas().FillRect(Rect(0, 0, 16, 16));
    color.Canvas().Brush().SetColor(clBlue);
    color.Canvas().FillRect(Rect(4, 4, 12, 12));
    TBitmap mask(16, 16, pf1bit);  // white = transparent
    mask.Canvas().Brush().SetColor(clBlack);
    mask.Canvas().FillRect(Rect(4, 4, 12, 12));
    const UniqueBitmap colorHandle = color.ReleaseHandle(), maskHandle = mask.ReleaseHandle();
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colorHandle.get();
    info.hbmMask = maskHandle.get();
    return UniqueIcon(CreateIconIndirect(&info));
}

}  // namespace

TEST(Icon, SavesLoadsAndDrawsWithItsMask) {
    TIcon icon;
    icon.SetHandle(BlueIcon());
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);

    TMemoryStream stream;
    icon.SaveToStream(stream);
    stream.SetPosition(0);
    TIcon loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.Width(), 16);

    TBitmap target(16, 16);
    target.Canvas().Draw(0, 0, loaded);
    EXPECT_EQ(DibPixel(target, 8, 8), clBlue);
    EXPECT_EQ(DibPixel(target, 1, 1), clWhite);
}

TEST(Icon, InvalidDataRaisesAndKeepsTheIcon) {
    TIcon icon;
    icon.SetHandle(BlueIcon());
    const std::string cases[] = {std::string(), std::string("\0\0\1\0\0\0", 6) + std::string(16, '\0'),
                                 std::string("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\xFF\xFF\0\0\x16\0\0\0", 22)};
    for (const auto& bytes : cases) {
        TStringStream stream(bytes);
        EXPECT_THROW(icon.LoadFromStream(stream), EInvalidGraphic);
        EXPECT_FALSE(icon.Empty());
    }
}

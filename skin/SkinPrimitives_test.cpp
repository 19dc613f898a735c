#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "skin/SkinPrimitives.h"
#include "testing/TestPixels.h"

namespace {

constexpr TColor kGrey = 0x808080;

void Fill(TBitmap& bitmap, const TRect& r, TColor color) {
    bitmap.Canvas().Brush().SetColor(color);
    bitmap.Canvas().FillRect(r);
}

// Frame 1 black; frame 2 nine zones of 3 x 3 in nine colours, its centre zone marked in its
// first column, so that stretching and tiling tell apart.
constexpr TColor kZone[3][3] = {{0x000011, 0x000022, 0x000033}, {0x001100, 0x002200, 0x003300},
                                {0x110000, 0x220000, 0x330000}};  // [row][column]
constexpr TColor kCentreMark = 0x00FFFF;
std::unique_ptr<TBitmap> ZoneStrip() {
    auto strip = std::make_unique<TBitmap>(18, 9, pf24bit);
    Fill(*strip, Rect(0, 0, 9, 9), 0);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            Fill(*strip, Bounds(9 + 3 * column, 3 * row, 3, 3), kZone[row][column]);
    Fill(*strip, Bounds(12, 3, 1, 3), kCentreMark);
    return strip;
}

// The zone of dest pixel (x, y) in a W x H image with margins 3: 0, 1 or 2 per axis.
int ZoneIndex(int at, int size) { return at < 3 ? 0 : at >= size - 3 ? 2 : 1; }

std::string BorderZoneMismatches(TBitmap& image) {
    std::string wrong;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const int row = ZoneIndex(y, image.Height()), column = ZoneIndex(x, image.Width());
            if (row == 1 && column == 1) continue;
            if (DibPixel(image, x, y) != kZone[row][column]) {
                wrong += std::to_string(x);
                wrong += ',';
                wrong += std::to_string(y);
                wrong += ' ';
            }
        }
    return wrong;
}

TEST(SkinPrimitives, NineSliceStretchesAndTilesEachZoneIntoPlace) {
    auto strip = ZoneStrip();
    for (bool tile : {false, true}) {
        SCOPED_TRACE(tile ? "tiled" : "stretched");
        auto image = BuildSkinImage(Rect(5, 5, 35, 26), *strip, Rect(3, 3, 3, 3), 2, 2, tile, false);
        ASSERT_TRUE(image);
        ASSERT_EQ(image->Width(), 30);
        ASSERT_EQ(image->Height(), 21);
        EXPECT_EQ(BorderZoneMismatches(*image), "");
        // The centre (3..27 x 3..18): tiled, its marked column comes back every 3 pixels;
        // stretched 8 times, the mark is 8 pixels wide.
        EXPECT_EQ(DibPixel(*image, 3, 10), kCentreMark);
        EXPECT_EQ(DibPixel(*image, 12, 10), tile ? kCentreMark : kZone[1][1]);
        EXPECT_EQ(DibPixel(*image, 10, 17), tile ? kZone[1][1] : kCentreMark);
        EXPECT_EQ(DibPixel(*image, 26, 17), kZone[1][1]);
    }
}

TEST(SkinPrimitives, MarginsCollapseWhenTheRectangleIsTooSmall) {
    // A 16 x 16 frame in quarters; 10 x 10 with margins 6 is the whole frame stretched.
    TBitmap strip(16, 16, pf24bit);
    Fill(strip, Rect(0, 0, 8, 8), clRed);
    Fill(strip, Rect(8, 0, 16, 8), clLime);
    Fill(strip, Rect(0, 8, 8, 16), clBlue);
    Fill(strip, Rect(8, 8, 16, 16), clYellow);
    auto image = BuildSkinImage(Rect(0, 0, 10, 10), strip, Rect(6, 6, 6, 6), 1, 1, false, false);
    ASSERT_TRUE(image);
    EXPECT_EQ(DibPixel(*image, 4, 4), clRed);
    EXPECT_EQ(DibPixel(*image, 5, 4), clLime);
    EXPECT_EQ(DibPixel(*image, 4, 5), clBlue);
    EXPECT_EQ(DibPixel(*image, 5, 5), clYellow);  // a 6 x 6 corner copied as it is would be red here
    EXPECT_EQ(DibPixel(*image, 9, 9), clYellow);
}

TEST(SkinPrimitives, FrameCentredInASmallerRectangleReachesBeyondIt) {
    TBitmap strip(32, 16, pf24bit);
    Fill(strip, Rect(0, 0, 16, 16), clBlack);
    Fill(strip, Rect(16, 0, 32, 16), clBlue);
    Fill(strip, Bounds(16 + 3, 3, 1, 1), clRed);
    Fill(strip, Bounds(16 + 12, 12, 1, 1), clLime);
    TBitmap target(10, 10, pf24bit);
    DrawSkinFrameCentered(target.Canvas().Handle(), Rect(0, 0, 10, 10), strip, 2, 2, false);
    EXPECT_EQ(DibPixel(target, 0, 0), clRed);  // frame pixel (3, 3): drawn at (-3, -3)
    EXPECT_EQ(DibPixel(target, 9, 9), clLime);
    EXPECT_EQ(DibPixel(target, 1, 1), clBlue);
}

TEST(SkinPrimitives, TransparentDrawingLeavesMagentaOut) {
    auto strip = ZoneStrip();
    Fill(*strip, Rect(9, 0, 12, 3), kSkinKeyColor);  // frame 2's top-left zone
    TBitmap target(40, 40, pf24bit);
    Fill(target, Rect(0, 0, 40, 40), kGrey);
    DrawSkinImage(target.Canvas().Handle(), Rect(5, 5, 20, 20), *strip, Rect(3, 3, 3, 3), 2, 2, true, false, false);
    EXPECT_EQ(DibPixel(target, 5, 5), kGrey);
    EXPECT_EQ(DibPixel(target, 7, 7), kGrey);
    EXPECT_EQ(DibPixel(target, 8, 5), kZone[0][1]);
    EXPECT_EQ(DibPixel(target, 19, 19), kZone[2][2]);
    EXPECT_EQ(DibPixel(target, 20, 20), kGrey);

    DrawSkinImage(target.Canvas().Handle(), Rect(5, 5, 20, 20), *strip, Rect(3, 3, 3, 3), 2, 2, false, false, false);
    EXPECT_EQ(DibPixel(target, 5, 5), kSkinKeyColor);

    // The frame stretched 9 -> 15, through the monochrome mask.
    Fill(target, Rect(0, 0, 40, 40), kGrey);
    DrawSkinFrame(target.Canvas().Handle(), Rect(5, 5, 20, 20), *strip, 2, 2, true);
    EXPECT_EQ(DibPixel(target, 5, 5), kGrey);
    EXPECT_EQ(DibPixel(target, 9, 9), kGrey);
    EXPECT_EQ(DibPixel(target, 12, 12), kZone[1][1]);
    EXPECT_EQ(DibPixel(target, 19, 19), kZone[2][2]);
    EXPECT_EQ(DibPixel(target, 20, 20), kGrey);
}

TEST(SkinPrimitives, OpaqueDrawingStaysInsideItsRectangle) {
    // Without margins the tiled centre's last column and row run past the rectangle; they are
    // cut at its edges as they would be at the image's.
    auto strip = ZoneStrip();
    for (bool transparent : {false, true}) {
        SCOPED_TRACE(transparent ? "transparent" : "opaque");
        TBitmap target(30, 30, pf24bit);
        Fill(target, Rect(0, 0, 30, 30), kGrey);
        DrawSkinImage(target.Canvas().Handle(), Rect(2, 2, 14, 14), *strip, Rect(0, 0, 0, 0), 2, 2, transparent, true,
                      false);
        EXPECT_EQ(DibPixel(target, 2, 2), kZone[0][0]);
        EXPECT_EQ(DibPixel(target, 13, 5), kZone[1][0]);  // the 9 x 9 frame's (2, 3), tiled at (11, 2)
        EXPECT_EQ(DibPixel(target, 13, 13), kZone[0][0]);
        EXPECT_EQ(DibPixel(target, 14, 5), kGrey);
        EXPECT_EQ(DibPixel(target, 5, 14), kGrey);
        EXPECT_EQ(DibPixel(target, 1, 1), kGrey);
    }
}

TEST(SkinPrimitives, FramesOutsideTheStripDrawNothing) {
    auto strip = ZoneStrip();
    TBitmap target(20, 20, pf24bit);
    Fill(target, Rect(0, 0, 20, 20), kGrey);
    HDC dc = target.Canvas().Handle();
    for (int frame : {0, 3, -1}) {
        DrawSkinImage(dc, Rect(0, 0, 20, 20), *strip, Rect(3, 3, 3, 3), frame, 2, false, false, false);
        DrawSkinFrame(dc, Rect(0, 0, 20, 20), *strip, frame, 2, false);
        DrawSkinFrameCentered(dc, Rect(0, 0, 20, 20), *strip, frame, 2, false);
        DrawSkinThreeSliceStretch(dc, Rect(0, 0, 20, 20), *strip, Rect(3, 0, 3, 0), frame, 2, false);
        DrawSkinBar(target.Canvas(), Rect(0, 0, 20, 20), *strip, Rect(3, 0, 3, 0), frame, 2, false, false);
    }
    DrawSkinImage(dc, Rect(10, 10, 5, 20), *strip, Rect(3, 3, 3, 3), 1, 2, false, false, false);  // inverted
    EXPECT_EQ(DibPixel(target, 0, 0), kGrey);
    EXPECT_EQ(DibPixel(target, 10, 10), kGrey);
    EXPECT_EQ(DibPixel(target, 19, 19), kGrey);

    // A count of 0 is one frame: the whole strip.
    DrawSkinFrame(dc, Rect(0, 0, 18, 9), *strip, 1, 0, false);
    EXPECT_EQ(DibPixel(target, 0, 0), clBlack);
    EXPECT_EQ(DibPixel(target, 17, 8), kZone[2][2]);
}

TEST(SkinPrimitives, BarRepeatsItsMiddleAndStretchesAFrameWithoutOne) {
    // Frame 2 of 2, 9 wide: caps of 3, a middle of 3 whose first column is marked.
    auto strip = ZoneStrip();
    TBitmap target(30, 9, pf24bit);
    DrawSkinBar(target.Canvas(), Rect(0, 0, 30, 9), *strip, Rect(3, 0, 3, 0), 2, 2, false, false);
    EXPECT_EQ(DibPixel(target, 0, 4), kZone[1][0]);
    EXPECT_EQ(DibPixel(target, 3, 4), kCentreMark);
    EXPECT_EQ(DibPixel(target, 24, 4), kCentreMark);
    EXPECT_EQ(DibPixel(target, 25, 4), kZone[1][1]);
    EXPECT_EQ(DibPixel(target, 29, 4), kZone[1][2]);

    // Caps of 5 and 5 leave no middle: the whole frame is stretched, once.
    DrawSkinBar(target.Canvas(), Rect(0, 0, 18, 9), *strip, Rect(5, 0, 5, 0), 2, 2, false, false);
    EXPECT_EQ(DibPixel(target, 1, 1), kZone[0][0]);
    EXPECT_EQ(DibPixel(target, 17, 8), kZone[2][2]);
    EXPECT_EQ(DibPixel(target, 8, 8), kZone[2][1]);
}

TEST(SkinPrimitives, ThreeSliceStretchDrawsStraightOnTheDC) {
    auto strip = ZoneStrip();
    TBitmap target(40, 20, pf24bit);
    Fill(target, Rect(0, 0, 40, 20), kGrey);
    DrawSkinThreeSliceStretch(target.Canvas().Handle(), Rect(10, 2, 40, 20), *strip, Rect(3, 0, 3, 0), 2, 2, false);
    EXPECT_EQ(DibPixel(target, 9, 10), kGrey);
    EXPECT_EQ(DibPixel(target, 10, 2), kZone[0][0]);
    EXPECT_EQ(DibPixel(target, 12, 19), kZone[2][0]);
    EXPECT_EQ(DibPixel(target, 37, 19), kZone[2][2]);
    EXPECT_EQ(DibPixel(target, 30, 19), kZone[2][1]);
}

// One rectangle per pixel outside magenta: the region the runs must equal.
UniqueRegion PerPixelRegion(TBitmap& bitmap, int dx, int dy) {
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (DibPixel(bitmap, x, y) != kSkinKeyColor) {
                UniqueRegion pixel(CreateRectRgn(x + dx, y + dy, x + dx + 1, y + dy + 1));
                CombineRgn(region.get(), region.get(), pixel.get(), RGN_OR);
            }
    return region;
}

int RectangleCount(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<std::byte> data(size);
    GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data()));
    return static_cast<int>(reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount);
}

TEST(SkinPrimitives, RegionOfTheOpaquePixels) {
    UniqueRegion region;
    for (TPixelFormat format : {pf24bit, pf32bit, pf8bit}) {
        TBitmap strip(4, 2, format);
        Fill(strip, Rect(0, 0, 4, 2), kSkinKeyColor);
        Fill(strip, Rect(1, 0, 3, 2), clRed);
        region = BitmapToRegion(strip, 5, 7, kSkinKeyColor, 1, 1, 1);
        ASSERT_TRUE(region);
        UniqueRegion expected(CreateRectRgn(6, 7, 8, 9));
        EXPECT_TRUE(EqualRgn(region.get(), expected.get())) << "format " << format;
        EXPECT_EQ(strip.PixelFormat(), format);  // the caller's bitmap keeps its format
    }

    // 64 x 64 checkerboard: 2048 one-pixel runs, more than one batch.
    TBitmap board(64, 64, pf24bit);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) Fill(board, Bounds(x, y, 1, 1), (x + y) % 2 ? kSkinKeyColor : clNavy);
    region = BitmapToRegion(board, -3, 2, kSkinKeyColor, 1, 1, 1);
    ASSERT_TRUE(region);
    EXPECT_TRUE(EqualRgn(region.get(), PerPixelRegion(board, -3, 2).get()));
    EXPECT_EQ(RectangleCount(region.get()), 2048);

    TBitmap clear(8, 8, pf24bit);
    Fill(clear, Rect(0, 0, 8, 8), 0xFF01FF);  // within the tolerance
    region = BitmapToRegion(clear, 0, 0, kSkinKeyColor, 1, 1, 1);
    ASSERT_TRUE(region);
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);
}

}  // namespace

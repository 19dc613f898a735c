#include "hints/HintRenderer.h"

#include <gtest/gtest.h>

#include "framework/graphics/Bitmap.h"
#include "testing/TestPixels.h"

namespace {

std::unique_ptr<TBitmap> FilledBitmap(int width, int height, TColor color) {
    auto image = WhiteBitmap(width, height);
    image->Canvas().Brush().SetColor(color);
    image->Canvas().FillRect(Rect(0, 0, width, height));
    return image;
}

UniqueRegion RectRegion(int left, int top, int right, int bottom) {
    return UniqueRegion(CreateRectRgn(left, top, right, bottom));
}

const TColor kGrey185 = RGBColor(185, 185, 185);

TEST(HintRenderer, AShadowDarkensWhatIsThereButNeverToBlack) {
    const struct {
        TColor Under, Expected;
    } cases[] = {{clWhite, kGrey185}, {clBlack, RGBColor(1, 1, 1)}, {RGBColor(128, 255, 16), RGBColor(58, 185, 1)}};
    for (const auto& c : cases) {
        auto image = FilledBitmap(20, 20, c.Under);
        const UniqueRegion region = RectRegion(0, 0, 20, 20);
        ShadeRegion(image->Canvas().Handle(), Rect(2, 2, 9, 9), region.get(), 70, quHi);
        EXPECT_EQ(DibPixel(*image, 5, 5), c.Expected);
        EXPECT_EQ(DibPixel(*image, 9, 9), c.Expected) << "the rectangle's right and bottom edges are shaded too";
        EXPECT_EQ(DibPixel(*image, 10, 10), c.Under);
        EXPECT_EQ(DibPixel(*image, 1, 5), c.Under);
    }
    EXPECT_EQ(DarkenColor(clWhite, -70), kGrey185);
}

TEST(HintRenderer, LowQualityShadesEveryOtherPixelFromTheOrigin) {
    auto image = FilledBitmap(4, 4, clWhite);
    const UniqueRegion region = RectRegion(0, 0, 4, 4);
    ShadeRegion(image->Canvas().Handle(), Rect(0, 0, 3, 3), region.get(), 70, quLow);
    EXPECT_EQ(DibPixel(*image, 0, 0), kGrey185);
    EXPECT_EQ(DibPixel(*image, 1, 0), clWhite);
    EXPECT_EQ(DibPixel(*image, 0, 1), clWhite);
    EXPECT_EQ(DibPixel(*image, 1, 1), kGrey185);
}

TEST(HintRenderer, ShadingKeepsToTheRegionAndLeavesTheExcludedPart) {
    auto image = FilledBitmap(20, 20, clWhite);
    const UniqueRegion region = RectRegion(0, 0, 10, 20);
    const UniqueRegion excluded = RectRegion(0, 0, 10, 5);
    ShadeRegionExcept(image->Canvas().Handle(), Rect(0, 0, 19, 19), region.get(), 70, quHi, excluded.get());
    EXPECT_EQ(DibPixel(*image, 5, 10), kGrey185);
    EXPECT_EQ(DibPixel(*image, 5, 2), clWhite) << "excluded";
    EXPECT_EQ(DibPixel(*image, 15, 10), clWhite) << "outside the region";
    ShadeRegion(image->Canvas().Handle(), Rect(0, 0, 19, 19), region.get(), 70, static_cast<TQuality>(2));
    EXPECT_EQ(DibPixel(*image, 5, 10), kGrey185) << "an unknown quality shades nothing";
}

THintDrawing RoundHint(THintPosition corner) {
    THintDrawing hint;
    hint.Width = 120;
    hint.Height = 80;
    hint.TextHeight = 16;
    hint.Color = clYellow;
    hint.Corner = corner;
    hint.Style = hiRoundrect;
    hint.Link = liArrow;
    hint.LinkHeight = 15;
    hint.ShadowQuality = quHi;
    hint.ShadowWidth = 4;
    hint.BorderColor = clBlue;
    return hint;
}

TEST(HintRenderer, TheLinksTipTouchesTheCursorsCorner) {
    const struct {
        THintPosition Corner;
        TPoint Tip;
    } cases[] = {{hiTopRight, Point(0, 76)}, {hiTopLeft, Point(116, 76)}, {hiBottomRight, Point(0, 0)},
                 {hiBottomLeft, Point(116, 0)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Corner);
        auto image = FilledBitmap(120, 80, clWhite);
        DrawStyledHint(image->Canvas().Handle(), RoundHint(c.Corner));
        EXPECT_EQ(DibPixel(*image, c.Tip.X, c.Tip.Y), clBlue);
        // The opposite corner of the window keeps what was under it.
        const int farX = c.Tip.X == 0 ? 119 : 0, farY = c.Tip.Y == 0 ? 79 : 0;
        EXPECT_EQ(DibPixel(*image, farX, farY), clWhite);
    }
}

TEST(HintRenderer, TheBodysShadowFallsRightOfAndBelowIt) {
    auto image = FilledBitmap(120, 80, clWhite);
    DrawStyledHint(image->Canvas().Handle(), RoundHint(hiTopRight));  // body 116 x 61, shadow from (4, 4)
    EXPECT_EQ(DibPixel(*image, 118, 30), kGrey185);
    EXPECT_EQ(DibPixel(*image, 60, 63), kGrey185);
    EXPECT_EQ(DibPixel(*image, 60, 30), clYellow);
    EXPECT_EQ(DibPixel(*image, 119, 2), clWhite);
}

TEST(HintRenderer, ATextHintShadesItsBodyOnlyAndFillsNothing) {
    auto image = FilledBitmap(100, 60, clWhite);
    THintDrawing hint;
    hint.Width = 100;
    hint.Height = 60;
    hint.Style = hiText;
    hint.Link = liNone;
    hint.LinkHeight = 10;
    hint.ShadowQuality = quHi;
    DrawStyledHint(image->Canvas().Handle(), hint);
    EXPECT_EQ(DibPixel(*image, 0, 0), kGrey185);
    EXPECT_EQ(DibPixel(*image, 99, 49), kGrey185);
    EXPECT_EQ(DibPixel(*image, 50, 50), clWhite);
    EXPECT_EQ(DibPixel(*image, 99, 59), clWhite);
}

std::unique_ptr<TBitmap> TextHint(int fontSize, const String& text, int width = 300, int height = 120) {
    auto image = FilledBitmap(width, height, clWhite);
    THintDrawing hint;
    hint.Width = width;
    hint.Height = height;
    hint.Style = hiText;
    hint.Link = liNone;
    hint.Shadow = false;
    hint.FontSize = fontSize;
    hint.Text = text;
    DrawStyledHint(image->Canvas().Handle(), hint);
    return image;
}

bool SamePixels(TBitmap& a, TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (DibPixel(a, x, y) != DibPixel(b, x, y)) return false;
    return true;
}

TEST(HintRenderer, TextIsDrawnAtThirtyPointsAtMost) {
    auto at36 = TextHint(36, L"Ag & Wy");
    auto at30 = TextHint(30, L"Ag & Wy");
    auto at29 = TextHint(29, L"Ag & Wy");
    EXPECT_TRUE(SamePixels(*at36, *at30));
    EXPECT_FALSE(SamePixels(*at30, *at29));
}

TEST(HintRenderer, ALongTextIsDrawnWhole) {
    String text;
    while (text.size() < 303) text += L"palavra ";
    auto cut = TextHint(8, text.substr(0, 303), 400, 300);
    auto whole = TextHint(8, text + L"FIM DO TEXTO", 400, 300);
    EXPECT_FALSE(SamePixels(*cut, *whole));
}

TEST(HintRenderer, ATileCoversTheAreaFromItsTopLeftAndIsCut) {
    auto tile = FilledBitmap(10, 10, clBlue);
    tile->Canvas().Brush().SetColor(clRed);
    tile->Canvas().FillRect(Rect(0, 0, 1, 1));
    auto image = FilledBitmap(40, 40, clWhite);
    TileBitmap(image->Canvas().Handle(), 5, 5, tile->Handle(), 25, 25);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(DibPixel(*image, 5 + 10 * column, 5 + 10 * row), clRed) << row << "," << column;
    EXPECT_EQ(DibPixel(*image, 29, 29), clBlue);
    EXPECT_EQ(DibPixel(*image, 30, 30), clWhite) << "the last row and column are cut";
    EXPECT_EQ(DibPixel(*image, 4, 4), clWhite);
    TileBitmap(image->Canvas().Handle(), 0, 0, nullptr, 25, 25);  // nothing to tile: nothing drawn
    EXPECT_EQ(DibPixel(*image, 0, 0), clWhite);
}

}  // namespace

#include "hints/HintPlacement.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HintPlacement, LongTextsCountFortyFiveCharactersALine) {
    const struct {
        int Length, Lines, CharsPerLine;
    } cases[] = {{0, 1, 0}, {44, 1, 44}, {45, 2, 45}, {46, 2, 45}, {100, 3, 45}};
    for (const auto& c : cases) {
        const THintLines lines = HintLineLayout(c.Length);
        EXPECT_EQ(lines.Count, c.Lines) << c.Length;
        EXPECT_EQ(lines.CharsPerLine, c.CharsPerLine) << c.Length;
    }
}

struct TSizeCase {
    const char* Name;
    THintStyle Style;
    TLinkStyle Link;
    bool Border;
    bool Shadow;
    TRect Text;
    int Width, Height, LinkHeight;
    TLinkStyle DrawnLink;
};

// Text rectangles as the hint window measures them; the rounded hints hold 100 characters.
const TSizeCase kSizes[] = {
    {"rounded", hiRoundrect, liArrow, false, false, Rect(0, 0, 600, 16), 315, 78 + 15, 15, liArrow},
    {"rounded, border", hiRoundrect, liArrow, true, false, Rect(0, 0, 600, 16), 317, 80 + 15, 15, liArrow},
    {"rounded, border, shadow", hiRoundrect, liArrow, true, true, Rect(0, 0, 600, 16), 321, 99, 15, liArrow},
    {"rounded, bubbles asked", hiRoundrect, liBubble, true, false, Rect(0, 0, 600, 16), 317, 100, 20, liArrow},
    {"rounded, no link asked", hiRoundrect, liNone, true, false, Rect(0, 0, 600, 16), 317, 100, 20, liArrow},
    {"bubble, flat text", hiBubble, liArrow, true, true, Rect(0, 0, 200, 16), 220, 54 + 15 + 4, 15, liArrow},
    {"bubble, short text", hiBubble, liBubble, true, false, Rect(0, 0, 20, 16), 36, 32 + 20, 20, liBubble},
    {"bubble, no height", hiBubble, liArrow, true, false, Rect(0, 0, 100, 0), 100, 25 + 15, 15, liArrow},
    {"bubble, nothing", hiBubble, liArrow, true, false, Rect(0, 0, 0, 0), 35, 15, 15, liArrow},
    {"rectangle, narrow", hiRectangle, liArrow, true, false, Rect(0, 0, 20, 16), 35, 31, 15, liArrow},
    {"rectangle, no link", hiRectangle, liNone, true, true, Rect(0, 0, 20, 16), 24, 30, 10, liNone},
    {"texture", hiTexture, liArrow, true, true, Rect(0, 0, 120, 30), 124, 44, 10, liNone},
    {"text", hiText, liArrow, true, true, Rect(0, 0, 120, 30), 120, 40, 10, liNone},
};

TEST(HintPlacement, WindowSizeByStyleLinkBorderAndShadow) {
    const String hundred(100, L'x');
    for (const TSizeCase& c : kSizes) {
        SCOPED_TRACE(c.Name);
        THintSizeRequest request;
        request.Style = c.Style;
        request.Link = c.Link;
        request.Border = c.Border;
        request.Shadow = c.Shadow;
        request.ShadowWidth = 4;
        request.TextRect = c.Text;
        request.TextLength = static_cast<int>(hundred.size());
        const THintSize size = HintWindowSize(request);
        EXPECT_EQ(size.Width, c.Width);
        EXPECT_EQ(size.Height, c.Height);
        EXPECT_EQ(size.LinkHeight, c.LinkHeight);
        EXPECT_EQ(size.Link, c.DrawnLink);
        EXPECT_EQ(size.TextHeight, c.Text.Height());
    }
}

TEST(HintPlacement, APictureHintTakesThePicturesSize) {
    THintSizeRequest request;
    request.Style = hiImage;
    request.TextRect = Rect(0, 0, 300, 16);
    request.PictureWidth = 50;
    request.PictureHeight = 40;
    const THintSize size = HintWindowSize(request);  // border and shadow of 4: the defaults
    EXPECT_EQ(size.Width, 56);
    EXPECT_EQ(size.Height, 42 + 10 + 4);
    EXPECT_EQ(size.Link, liNone);
}

struct TPlaceCase {
    const char* Where;
    TPoint Cursor;
    THintPosition Designed;
    THintPosition Corner;
    int X, Y;
};

// A 200 x 100 window on a 1280 x 1024 screen.
const TPlaceCase kPlaces[] = {
    {"middle", Point(640, 512), hiTopRight, hiTopRight, 640, 402},
    {"middle", Point(640, 512), hiTopLeft, hiTopLeft, 440, 402},
    {"middle", Point(640, 512), hiBottomRight, hiBottomRight, 640, 522},
    {"middle", Point(640, 512), hiBottomLeft, hiBottomLeft, 440, 522},
    {"right edge", Point(1200, 512), hiTopRight, hiTopLeft, 1000, 402},
    {"right edge", Point(1200, 512), hiBottomRight, hiBottomLeft, 1000, 522},
    {"left edge", Point(50, 512), hiTopLeft, hiTopRight, 50, 402},
    {"left edge", Point(50, 512), hiBottomLeft, hiBottomRight, 50, 522},
    {"top edge", Point(640, 50), hiTopRight, hiBottomRight, 640, 60},
    {"top edge", Point(640, 50), hiTopLeft, hiBottomLeft, 440, 60},
    {"bottom edge", Point(640, 1000), hiBottomRight, hiTopRight, 640, 890},
    {"bottom edge", Point(640, 1000), hiBottomLeft, hiTopLeft, 440, 890},
    {"top right corner", Point(1200, 50), hiTopRight, hiBottomLeft, 1000, 60},
    {"bottom left corner", Point(50, 1000), hiBottomLeft, hiTopRight, 50, 890},
    {"top left corner", Point(50, 50), hiTopLeft, hiBottomRight, 50, 60},
    {"bottom right corner", Point(1200, 1000), hiBottomRight, hiTopLeft, 1000, 890},
};

TEST(HintPlacement, ACornerWhereTheWindowDoesNotFitHandsOver) {
    for (const TPlaceCase& c : kPlaces) {
        SCOPED_TRACE(std::string(c.Where) + ", designed " + std::to_string(c.Designed));
        const THintPlace place = PlaceHint(c.Designed, c.Cursor, 200, 100, 1280, 1024);
        EXPECT_EQ(place.Corner, c.Corner);
        EXPECT_EQ(place.X, c.X);
        EXPECT_EQ(place.Y, c.Y);
    }
}

TEST(HintPlacement, AWindowWiderThanTheScreenSideLeansOnAnEdge) {
    EXPECT_EQ(PlaceHint(hiTopRight, Point(640, 512), 1300, 100, 1280, 1024).X, -20);
    EXPECT_EQ(PlaceHint(hiBottomLeft, Point(640, 512), 1300, 100, 1280, 1024).X, 0);
}

}  // namespace

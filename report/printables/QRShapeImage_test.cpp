// Shapes and pictures: the primitives each shape kind draws, and pictures drawn into bitmaps.
#include <gmock/gmock.h>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ScreenMetrics.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"

namespace {

TEST(QRShape, KindTable) {
    using P = TQRShapePrimitive;
    const TRect r = Rect(10, 20, 110, 80);
    struct TCase {
        TQRShapeType kind;
        std::vector<P> drawn;
    };
    const TCase cases[] = {
        {qrsRectangle, {{P::Rectangle, r}}},
        {qrsCircle, {{P::Ellipse, r}}},
        {qrsVertLine, {{P::Line, Rect(60, 20, 60, 80)}}},
        {qrsHorLine, {{P::Line, Rect(10, 50, 110, 50)}}},
        {qrsTopAndBottom, {{P::Line, Rect(10, 20, 110, 20)}, {P::Line, Rect(10, 80, 110, 80)}}},
        {qrsRightAndLeft, {{P::Line, Rect(10, 20, 10, 80)}, {P::Line, Rect(110, 20, 110, 80)}}},
        {qrsRoundRect, {{P::RoundRect, r, 7}}},
        {qrsLeftDiagonal, {{P::Line, Rect(110, 20, 10, 80)}}},
        {qrsRightDiagonal, {{P::Line, Rect(10, 20, 110, 80)}}},
    };
    for (const TCase& c : cases) EXPECT_EQ(ShapePrimitives(c.kind, r, 7), c.drawn) << static_cast<int>(c.kind);
}

// Red on the left half, blue on the right.
std::unique_ptr<TBitmap> TwoColourBitmap(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>(width, height);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(Rect(0, 0, width / 2, height));
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(Rect(width / 2, 0, width, height));
    return bitmap;
}

std::unique_ptr<TBitmap> WhitePage(int width, int height) {
    auto page = std::make_unique<TBitmap>(width, height);
    page->Canvas().Brush().SetColor(clWhite);
    page->Canvas().FillRect(Rect(0, 0, width, height));
    return page;
}

TEST(QRImage, StretchFillsTheRectangle) {
    auto source = TwoColourBitmap(4, 2);
    TLocal<TQRImage> image{nullptr};
    image.Picture()->Assign(*source);
    image.SetStretch(true);
    auto page = WhitePage(100, 60);
    image.DrawPicture(page->Canvas(), Rect(10, 10, 90, 50), 1, 1);
    EXPECT_EQ(page->Canvas().Pixels(15, 15), clRed);
    EXPECT_EQ(page->Canvas().Pixels(85, 45), clBlue);
    EXPECT_EQ(page->Canvas().Pixels(95, 55), clWhite);
}

TEST(QRImage, NaturalSizeIsClippedAndCanBeCentred) {
    auto source = TwoColourBitmap(80, 20);
    TLocal<TQRImage> image{nullptr};
    image.Picture()->Assign(*source);
    const Extended factor = ScreenMetrics::PixelsPerInch() / 254.0;  // one device unit per pixel
    auto page = WhitePage(100, 60);
    image.DrawPicture(page->Canvas(), Rect(10, 10, 50, 50), factor, factor);
    EXPECT_EQ(page->Canvas().Pixels(12, 12), clRed);
    EXPECT_EQ(page->Canvas().Pixels(55, 12), clWhite) << "clipped at the right edge";
    EXPECT_EQ(page->Canvas().Pixels(12, 35), clWhite) << "natural height";

    image.SetCenter(true);
    auto centred = WhitePage(100, 60);
    image.DrawPicture(centred->Canvas(), Rect(10, 10, 50, 50), factor, factor);
    EXPECT_EQ(centred->Canvas().Pixels(12, 12), clWhite);
    EXPECT_EQ(centred->Canvas().Pixels(12, 30), clRed) << "moved down by (40 - 20) / 2";
}

TEST(QRImage, NaturalSizeFollowsTheScreenNotThePrinter) {
    const Extended ppi = ScreenMetrics::PixelsPerInch();
    for (Extended dpi : {96.0, 300.0, 600.0}) {
        const Extended factor = dpi / 254;
        TRect r = NaturalPictureRect(Rect(0, 0, 5000, 5000), 100, 50, factor, factor, false);
        EXPECT_NEAR(r.Right, 100 / ppi * dpi, 1) << dpi;
        EXPECT_NEAR(r.Bottom, 50 / ppi * dpi, 1) << dpi;
    }
}

TEST(QRImage, EmptyPictureDrawsNothingAndKeepsTheSize) {
    TLocal<TQRImage> image{nullptr};
    image.SetAutoSize(true);
    image.SetStretch(true);
    auto page = WhitePage(20, 20);
    image.DrawPicture(page->Canvas(), Rect(0, 0, 20, 20), 1, 1);
    EXPECT_EQ(page->Canvas().Pixels(5, 5), clWhite);
    EXPECT_EQ(image.Width(), 105);
    TBitmap empty;
    EXPECT_FALSE(DrawBitmapAsDIB(page->Canvas(), Rect(0, 0, 20, 20), empty));
}

TEST(QRImage, AutoSizeTakesThePictureSize) {
    TLocal<TQRImage> image{nullptr};
    image.SetAutoSize(true);
    auto source = TwoColourBitmap(30, 12);
    image.Picture()->Assign(*source);
    EXPECT_EQ(image.Width(), 30);
    EXPECT_EQ(image.Height(), 12);
}

}  // namespace

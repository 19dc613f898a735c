#include "framework/graphics/Canvas.h"

#include <gtest/gtest.h>

#include "framework/graphics/Bitmap.h"
#include "testing/TestPixels.h"

namespace {

int CountPixels(TBitmap& bitmap, const TRect& area, TColor color) {
    int count = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (DibPixel(bitmap, x, y) == color) ++count;
    return count;
}

// Text may be smoothed: count pixels close to the colour.
int CountNear(TBitmap& bitmap, const TRect& area, TColor color) {
    int count = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (ColorsNear(DibPixel(bitmap, x, y), color, 60)) ++count;
    return count;
}

}  // namespace

TEST(Canvas, ShapesLandInTheBitmapInTheirColours) {
    TBitmap bitmap(100, 100);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetColor(clRed);
    canvas.Rectangle(10, 10, 30, 30);
    canvas.Brush().SetColor(clLime);
    canvas.Ellipse(40, 10, 80, 50);
    canvas.Pen().SetColor(clBlue);
    canvas.MoveTo(0, 90);
    canvas.LineTo(100, 90);
    canvas.Brush().SetColor(clYellow);
    canvas.Pen().SetStyle(psClear);
    canvas.Polygon({{10, 60}, {40, 60}, {10, 80}});
    canvas.Pen().SetStyle(psSolid);
    canvas.Brush().SetColor(clNavy);
    canvas.FillRect(Rect(60, 60, 70, 70));

    EXPECT_EQ(DibPixel(bitmap, 20, 20), clRed);
    EXPECT_EQ(DibPixel(bitmap, 10, 10), clBlack);   // outline
    EXPECT_EQ(DibPixel(bitmap, 29, 20), clBlack);   // right edge is exclusive of x2
    EXPECT_EQ(DibPixel(bitmap, 30, 20), clWhite);
    EXPECT_EQ(DibPixel(bitmap, 60, 30), clLime);    // centre of the ellipse
    EXPECT_EQ(DibPixel(bitmap, 41, 11), clWhite);   // outside its curve, inside its box
    EXPECT_EQ(DibPixel(bitmap, 50, 90), clBlue);
    EXPECT_EQ(DibPixel(bitmap, 50, 89), clWhite);
    EXPECT_EQ(DibPixel(bitmap, 15, 65), clYellow);
    EXPECT_EQ(DibPixel(bitmap, 35, 75), clWhite);   // beyond the hypotenuse
    EXPECT_EQ(CountPixels(bitmap, Rect(55, 55, 75, 75), clNavy), 100);
    EXPECT_EQ(canvas.PenPos(), Point(100, 90));
}

TEST(Canvas, ClearBrushKeepsTheInteriorAndFrameRectDrawsOnlyTheBorder) {
    TBitmap bitmap(40, 40);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetColor(clRed);
    canvas.Rectangle(5, 5, 20, 20);
    EXPECT_EQ(DibPixel(bitmap, 5, 5), clRed);
    EXPECT_EQ(DibPixel(bitmap, 12, 12), clWhite);

    canvas.Brush().SetColor(clBlue);  // a colour makes the brush solid again
    EXPECT_EQ(canvas.Brush().Style(), bsSolid);
    canvas.FrameRect(Rect(22, 22, 38, 38));
    EXPECT_EQ(DibPixel(bitmap, 22, 30), clBlue);
    EXPECT_EQ(DibPixel(bitmap, 37, 30), clBlue);
    EXPECT_EQ(DibPixel(bitmap, 30, 30), clWhite);
}

TEST(Canvas, TextIsDrawnInTheFontColourAndMeasured) {
    TBitmap bitmap(200, 60);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font().SetName(L"Arial");
    canvas.Font().SetSize(14);
    canvas.Font().SetColor(clRed);
    canvas.Brush().SetStyle(bsClear);
    const String text = L"Curr\u00EDculo";
    const TPoint extent = canvas.TextExtent(text);
    EXPECT_GT(extent.X, 40);
    EXPECT_GT(extent.Y, 12);
    canvas.TextOut(5, 5, text);
    EXPECT_GT(CountNear(bitmap, Bounds(5, 5, extent.X, extent.Y), clRed), 30);
    EXPECT_EQ(CountNear(bitmap, Rect(0, 5 + extent.Y, 200, 60), clRed), 0);
    EXPECT_EQ(canvas.PenPos(), Point(5 + extent.X, 5));

    // A bigger font measures bigger: the new font reached the DC.
    canvas.Font().SetSize(28);
    EXPECT_GT(canvas.TextHeight(text), extent.Y * 3 / 2);
}

TEST(Canvas, TextRectClipsAndPaintsTheBackground) {
    TBitmap bitmap(120, 40);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font().SetColor(clBlack);
    canvas.Font().SetSize(20);
    canvas.Brush().SetColor(clYellow);
    canvas.TextRect(Rect(10, 5, 40, 35), 12, 5, L"WWWWWWWWWW");
    EXPECT_EQ(CountPixels(bitmap, Rect(40, 0, 120, 40), clWhite), 80 * 40);
    EXPECT_GT(CountNear(bitmap, Rect(10, 5, 40, 35), clBlack), 10);
    EXPECT_GT(CountPixels(bitmap, Rect(10, 5, 40, 35), clYellow), 10);
    EXPECT_EQ(DibPixel(bitmap, 5, 20), clWhite);
}

TEST(Canvas, BrushBitmapPaintsAPattern) {
    TBitmap pattern(8, 8);
    pattern.Canvas().Brush().SetColor(clBlack);
    pattern.Canvas().FillRect(Rect(0, 0, 4, 8));
    TBitmap bitmap(16, 16);
    bitmap.Canvas().Brush().SetBitmap(&pattern);
    bitmap.Canvas().FillRect(Rect(0, 0, 16, 16));
    EXPECT_EQ(DibPixel(bitmap, 1, 1), clBlack);
    EXPECT_EQ(DibPixel(bitmap, 5, 1), clWhite);
    EXPECT_EQ(DibPixel(bitmap, 9, 9), clBlack);
    EXPECT_EQ(DibPixel(bitmap, 13, 9), clWhite);
    bitmap.Canvas().Brush().SetBitmap(nullptr);
}

TEST(Canvas, PixelsAndCopyRect) {
    TBitmap source(10, 10);
    source.Canvas().SetPixels(3, 4, clFuchsia);
    EXPECT_EQ(source.Canvas().Pixels(3, 4), clFuchsia);
    EXPECT_EQ(DibPixel(source, 3, 4), clFuchsia);

    TBitmap target(20, 20);
    target.Canvas().CopyRect(Rect(0, 0, 20, 20), source.Canvas(), Rect(0, 0, 10, 10));  // scaled 2x
    EXPECT_EQ(DibPixel(target, 6, 8), clFuchsia);
    EXPECT_EQ(DibPixel(target, 7, 9), clFuchsia);
    EXPECT_EQ(DibPixel(target, 5, 8), clWhite);
}

TEST(Canvas, PenModeXorInvertsWhatIsUnderneath) {
    TBitmap bitmap(20, 20);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().SetColor(clWhite);
    canvas.Pen().SetMode(pmXor);
    canvas.MoveTo(0, 5);
    canvas.LineTo(20, 5);
    EXPECT_EQ(DibPixel(bitmap, 10, 5), clBlack);
    canvas.MoveTo(0, 5);
    canvas.LineTo(20, 5);
    EXPECT_EQ(DibPixel(bitmap, 10, 5), clWhite);
}

TEST(Canvas, BindsAForeignDCWithoutOwningIt) {
    TBitmap bitmap(10, 10);
    UniqueDC dc(CreateCompatibleDC(nullptr));
    const UniqueBitmap image = bitmap.ReleaseHandle();
    SelectionGuard selected(dc.get(), image.get());
    {
        TCanvas canvas;
        EXPECT_FALSE(canvas.HandleAllocated());
        EXPECT_THROW(canvas.Rectangle(0, 0, 1, 1), EInvalidOperation);  // no DC of its own
        canvas.SetHandle(dc.get());
        canvas.Brush().SetColor(clGreen);
        canvas.FillRect(Rect(0, 0, 10, 10));
        EXPECT_EQ(canvas.Pixels(5, 5), clGreen);
    }
    EXPECT_EQ(static_cast<TColor>(GetPixel(dc.get(), 5, 5)), clGreen);  // the DC outlived the canvas
}

TEST(Canvas, ChangeEventsWrapDrawingAndLocksNest) {
    TBitmap bitmap(10, 10);
    TCanvas& canvas = bitmap.Canvas();
    struct Counter {
        int changing = 0, changed = 0;
        void Changing(TObject*) { ++changing; }
        void Changed(TObject*) { ++changed; }
    } counter;
    canvas.OnChanging = TNotifyEvent(&counter, &Counter::Changing);
    canvas.OnChange = TNotifyEvent(&counter, &Counter::Changed);
    canvas.FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(counter.changing, 1);
    EXPECT_EQ(counter.changed, 1);

    canvas.Lock();
    canvas.Lock();
    EXPECT_EQ(canvas.LockCount(), 2);
    canvas.Unlock();
    canvas.Unlock();
    EXPECT_EQ(canvas.LockCount(), 0);
}

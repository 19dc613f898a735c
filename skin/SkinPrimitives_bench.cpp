// Figures of the skin primitives at window size: nine-slicing one frame of a strip into a
// 1024 x 768 image (stretched and tiled centre), drawing it transparent, and the window region of
// that image. Prints them; asserts nothing.
#include <cstdio>
#include <memory>

#include "skin/SkinPrimitives.h"
#include "testing/BenchTiming.h"

namespace {

// Two frames of 120 x 90 like a window frame's: a border in three colours round a patterned
// face, magenta outside its rounded top corners.
std::unique_ptr<TBitmap> FrameStrip() {
    auto strip = std::make_unique<TBitmap>(240, 90, pf24bit);
    TCanvas& canvas = strip->Canvas();
    for (int frame = 0; frame < 2; ++frame) {
        const int ox = frame * 120;
        canvas.Brush().SetColor(0x804020 + frame);
        canvas.FillRect(Bounds(ox, 0, 120, 90));
        canvas.Brush().SetColor(0xC0C0C0);
        canvas.FillRect(Bounds(ox + 8, 30, 104, 52));
        for (int y = 30; y < 82; y += 4)
            for (int x = ox + 8; x < ox + 112; x += 4) canvas.SetPixels(x, y, 0xA0A0A0);
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6 - i; ++j) {
                canvas.SetPixels(ox + j, i, kSkinKeyColor);
                canvas.SetPixels(ox + 119 - j, i, kSkinKeyColor);
            }
    }
    return strip;
}

}  // namespace

int main() {
    auto stripOwner = FrameStrip();
    TBitmap& strip = *stripOwner;
    const TRect window = Rect(0, 0, 1024, 768);
    const TRect margins = Rect(8, 30, 8, 8);
    constexpr int runs = 21;

    for (bool tile : {false, true}) {
        const double ms = benchtiming::MedianMs(runs, [&] {
            auto image = BuildSkinImage(window, strip, margins, 2, 2, tile, false);
            GdiFlush();
        });
        std::printf("BuildSkinImage of a 1024 x 768 frame, centre %s (a new image each time): %.2f ms\n",
                    tile ? "tiled" : "stretched", ms);
    }

    TBitmap target(1024, 768, pf24bit);
    HDC dc = target.Canvas().Handle();
    for (bool transparent : {false, true}) {
        const double ms = benchtiming::MedianMs(runs, [&] {
            DrawSkinImage(dc, window, strip, margins, 2, 2, transparent, false, false);
            GdiFlush();
        });
        std::printf("DrawSkinImage of a 1024 x 768 frame, %s: %.2f ms%s\n", transparent ? "transparent" : "opaque", ms,
                    transparent ? "" : " (target < 2 ms)");
    }

    auto image = BuildSkinImage(window, strip, margins, 2, 2, false, false);
    const double region = benchtiming::MedianMs(runs, [&] {
        UniqueRegion r = BitmapToRegion(*image, 0, 0, kSkinKeyColor, 1, 1, 1);
    });
    std::printf("its window region: %.2f ms (target < 5 ms)\n", region);

    TBitmap board(1024, 768, pf24bit);
    for (int y = 0; y < 768; ++y) {
        auto* row = static_cast<Byte*>(board.ScanLine(y));
        for (int x = y % 2; x < 1024; x += 2) {
            row[3 * x] = 0xFF;
            row[3 * x + 1] = 0;
            row[3 * x + 2] = 0xFF;
        }
    }
    const double worst = benchtiming::MedianMs(5, [&] {
        UniqueRegion r = BitmapToRegion(board, 0, 0, kSkinKeyColor, 1, 1, 1);
    });
    std::printf("region of a 1024 x 768 checkerboard (393216 rectangles): %.1f ms\n", worst);
    return 0;
}

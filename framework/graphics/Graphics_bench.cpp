// Prints how long the picture paths take that previews and photos depend on:
// JPEG encode and decode of a 1024 x 768 photo at quality 90, and drawing a full résumé page
// (an enhanced metafile) into a screen-sized bitmap.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/JpegImage.h"
#include "framework/graphics/Metafile.h"
#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/Streams.h"
#include "testing/BenchTiming.h"

using benchtiming::MedianMs;

namespace {

// Gradients with detail, so the codec has real work.
std::unique_ptr<TBitmap> Photo(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<Byte*>(bitmap->ScanLine(y));
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<Byte>(x * 255 / width);
            row[x * 3 + 1] = static_cast<Byte>(y * 255 / height);
            row[x * 3 + 2] = static_cast<Byte>((x * y) % 251);
        }
    }
    return bitmap;
}

// An A4 page as the report engine records one: frames, about sixty lines of text and a photo.
std::unique_ptr<TMetafile> ResumePage(TBitmap& photo) {
    auto page = std::make_unique<TMetafile>();
    page->SetMMWidth(21000);
    page->SetMMHeight(29700);
    TMetafileCanvas canvas(*page, 0);
    const int width = page->Width(), height = page->Height();
    canvas.Pen().SetColor(clNavy);
    canvas.Rectangle(20, 20, width - 20, height - 20);
    canvas.StretchDraw(Rect(width - 180, 40, width - 40, 215), photo);
    canvas.Font().SetName(L"Arial");
    canvas.Brush().SetStyle(bsClear);
    for (int line = 0; line < 60; ++line) {
        canvas.Font().SetSize(line % 10 == 0 ? 14 : 9);
        canvas.Font().SetStyle(line % 10 == 0 ? TFontStyles{fsBold} : TFontStyles{});
        canvas.TextOut(50, 60 + line * 17, L"Experi\u00EAncia profissional e forma\u00E7\u00E3o acad\u00EAmica - linha " +
                                               std::to_wstring(line));
        if (line % 10 == 0) {
            canvas.MoveTo(50, 78 + line * 17);
            canvas.LineTo(width - 60, 78 + line * 17);
        }
    }
    return page;
}

}  // namespace

int main() {
    auto photo = Photo(1024, 768);
    TJPEGImage jpeg;
    std::string encoded;
    const double encodeMs = MedianMs(9, [&] {
        jpeg.Assign(*photo);  // quality 90 by default
        TStringStream stream;
        jpeg.SaveToStream(stream);
        encoded = stream.DataString();
    });
    const double decodeMs = MedianMs(9, [&] {
        TStringStream stream(encoded);
        TJPEGImage loaded;
        loaded.LoadFromStream(stream);
    });
    std::printf("JPEG 1024x768 q%d: encode %.1f ms, decode %.1f ms (%zu bytes)\n", jpeg.CompressionQuality(),
                encodeMs, decodeMs, encoded.size());

    auto small = Photo(300, 375);
    auto page = ResumePage(*small);
    TBitmap screen(ScreenMetrics::Width(), ScreenMetrics::Height(), pf24bit);
    const double drawMs = MedianMs(9, [&] {
        screen.Canvas().StretchDraw(Rect(0, 0, screen.Width(), screen.Height()), *page);
        GdiFlush();
    });
    std::printf("StretchDraw of an A4 metafile into %dx%d: %.1f ms\n", screen.Width(), screen.Height(), drawMs);
    return 0;
}

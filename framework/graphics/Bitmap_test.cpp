#include "framework/graphics/Bitmap.h"

#include <cstring>

#include <gtest/gtest.h>

#include "framework/rtl/Streams.h"
#include "testing/TestPixels.h"

namespace {

// A BMP image: file header, 40-byte info header, palette and pixel bytes as given.
std::string BmpBytes(int32_t width, int32_t height, uint16_t bitCount, uint32_t colors, size_t pixelBytes,
                     uint32_t compression = 0) {
    std::string bytes(14 + 40 + colors * 4 + pixelBytes, '\0');
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); };
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&bytes[at], &v, 2); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(10, 14 + 40 + colors * 4);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put16(26, 1);
    put16(28, bitCount);
    put32(30, compression);
    put32(46, colors);
    return bytes;
}

struct Counter {
    int changes = 0;
    void Changed(TObject*) { ++changes; }
};

}  // namespace

class BitmapFormats : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(BitmapFormats, SavedAndLoadedKeepsFormatSizeAndColours) {
    TBitmap original(13, 7, GetParam());
    original.Canvas().Brush().SetColor(clBlack);
    original.Canvas().FillRect(Rect(0, 0, 5, 7));
    original.Canvas().Brush().SetColor(clWhite);
    original.Canvas().FillRect(Rect(5, 0, 13, 7));
    original.Canvas().SetPixels(12, 6, clBlack);

    TMemoryStream stream;
    original.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(stream);

    EXPECT_EQ(loaded.PixelFormat(), GetParam());
    EXPECT_EQ(loaded.Width(), 13);
    EXPECT_EQ(loaded.Height(), 7);
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_EQ(loaded.Canvas().Pixels(2, 3), clBlack);
    EXPECT_EQ(loaded.Canvas().Pixels(8, 3), clWhite);
    EXPECT_EQ(loaded.Canvas().Pixels(12, 6), clBlack);
    EXPECT_EQ(loaded.Canvas().Pixels(12, 0), clWhite);
    EXPECT_EQ(loaded.BytesPerScanLine(), ((13 * BitsPerPixel(GetParam()) + 31) / 32) * 4);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, BitmapFormats, ::testing::Values(pf1bit, pf4bit, pf8bit, pf24bit, pf32bit));

TEST(Bitmap, ScanLineZeroIsTheTopRow) {
    TBitmap bitmap(4, 3, pf24bit);
    auto* top = static_cast<Byte*>(bitmap.ScanLine(0));
    top[0] = 0xFF;  // blue
    top[1] = 0;
    top[2] = 0;
    EXPECT_EQ(bitmap.Canvas().Pixels(0, 0), clBlue);
    EXPECT_EQ(bitmap.Canvas().Pixels(0, 2), clWhite);
    EXPECT_THROW(bitmap.ScanLine(3), EInvalidGraphicOperation);
}

TEST(Bitmap, PixelFormatChangesConvertTheImage) {
    TBitmap bitmap(8, 8, pf24bit);
    bitmap.Canvas().Brush().SetColor(clRed);
    bitmap.Canvas().FillRect(Rect(0, 0, 4, 8));
    bitmap.SetPixelFormat(pf8bit);
    EXPECT_EQ(bitmap.Canvas().Pixels(1, 1), clRed);  // red is in the colour cube
    bitmap.SetPixelFormat(pf32bit);
    EXPECT_EQ(DibPixel(bitmap, 1, 1), clRed);
    EXPECT_EQ(DibPixel(bitmap, 6, 1), clWhite);

    bitmap.Canvas().Brush().SetColor(clBlack);
    bitmap.Canvas().FillRect(Rect(0, 0, 4, 8));
    bitmap.SetMonochrome(true);
    EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
    EXPECT_EQ(bitmap.Canvas().Pixels(1, 1), clBlack);
    EXPECT_EQ(bitmap.Canvas().Pixels(6, 1), clWhite);
    bitmap.SetMonochrome(false);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
}

TEST(Bitmap, ResizingKeepsTheTopLeftAndFillsWhite) {
    TBitmap bitmap(4, 4);
    bitmap.Canvas().Brush().SetColor(clGreen);
    bitmap.Canvas().FillRect(Rect(0, 0, 4, 4));
    bitmap.SetSize(8, 6);
    EXPECT_EQ(DibPixel(bitmap, 3, 3), clGreen);
    EXPECT_EQ(DibPixel(bitmap, 6, 5), clWhite);
    bitmap.SetWidth(0);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, AdoptsHandlesAndGivesThemBack) {
    TBitmap bitmap;
    Counter counter;
    bitmap.OnChange = TNotifyEvent(&counter, &Counter::Changed);

    const auto screen = ScreenDC();
    UniqueBitmap ddb(CreateCompatibleBitmap(screen.get(), 6, 5));  // device-dependent
    {
        UniqueDC dc(CreateCompatibleDC(screen.get()));
        SelectionGuard selected(dc.get(), ddb.get());
        RECT all{0, 0, 6, 5};
        UniqueBrush brush(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(dc.get(), &all, brush.get());
    }
    bitmap.SetHandle(std::move(ddb));
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(bitmap.Width(), 6);
    EXPECT_EQ(bitmap.Height(), 5);
    EXPECT_NE(bitmap.ScanLine(0), nullptr);  // now addressable
    EXPECT_EQ(bitmap.Canvas().Pixels(2, 2), clRed);

    const UniqueBitmap released = bitmap.ReleaseHandle();
    EXPECT_TRUE(bitmap.Empty());
    ASSERT_TRUE(released);
    BITMAP info{};
    EXPECT_EQ(GetObjectW(released.get(), sizeof info, &info), static_cast<int>(sizeof info));
}

TEST(Bitmap, DrawingOnItsCanvasSignalsAChange) {
    TBitmap bitmap(5, 5);
    Counter counter;
    bitmap.OnChange = TNotifyEvent(&counter, &Counter::Changed);
    bitmap.Canvas().FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(counter.changes, 1);
    EXPECT_TRUE(bitmap.Modified());
}

TEST(Bitmap, TransparentDrawingLeavesTheTransparentColourOut) {
    TBitmap sprite(10, 10);
    sprite.Canvas().Brush().SetColor(clFuchsia);
    sprite.Canvas().FillRect(Rect(0, 0, 10, 10));
    sprite.Canvas().Brush().SetColor(clBlue);
    sprite.Canvas().FillRect(Rect(3, 3, 7, 7));
    sprite.SetTransparent(true);
    EXPECT_EQ(sprite.TransparentColor(), clFuchsia);  // the bottom-left pixel

    TBitmap target(20, 20);
    target.Canvas().Draw(5, 5, sprite);
    EXPECT_EQ(DibPixel(target, 6, 6), clWhite);
    EXPECT_EQ(DibPixel(target, 10, 10), clBlue);

    sprite.SetTransparentColor(clBlue);
    EXPECT_EQ(sprite.TransparentMode(), tmFixed);
    target.Canvas().Draw(5, 5, sprite);
    EXPECT_EQ(DibPixel(target, 6, 6), clFuchsia);
}

TEST(Bitmap, StretchDrawScales) {
    TBitmap small(2, 2);
    small.Canvas().SetPixels(0, 0, clRed);
    TBitmap target(20, 20);
    target.Canvas().StretchDraw(Rect(0, 0, 20, 20), small);
    EXPECT_EQ(DibPixel(target, 5, 5), clRed);
    EXPECT_EQ(DibPixel(target, 15, 15), clWhite);
}

TEST(Bitmap, InvalidFilesRaiseAndKeepThePreviousImage) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string wrongMagic = BmpBytes(4, 4, 24, 0, 48);
    wrongMagic[0] = 'X';
    std::string badHeaderSize = BmpBytes(4, 4, 24, 0, 48);
    badHeaderSize[14] = 41;
    std::string truncated = BmpBytes(4, 4, 24, 0, 48);
    truncated.resize(truncated.size() - 1);
    const Case cases[] = {
        {"empty", std::string()},
        {"wrong magic", wrongMagic},
        {"header size", badHeaderSize},
        {"pixels cut short", truncated},
        {"huge dimensions, few bytes", BmpBytes(30000, 30000, 24, 0, 16)},
        {"beyond any limit", BmpBytes(100000, 2, 24, 0, 16)},
        {"zero width", BmpBytes(0, 4, 24, 0, 0)},
        {"bit count 7", BmpBytes(4, 4, 7, 0, 64)},
        {"palette too long", BmpBytes(4, 4, 1, 3, 16)},
        {"run length on 24 bits", BmpBytes(4, 4, 24, 0, 48, 1)},
    };
    TBitmap bitmap(3, 2);
    bitmap.Canvas().SetPixels(0, 0, clRed);
    for (const auto& c : cases) {
        TStringStream stream(c.bytes);
        EXPECT_THROW(bitmap.LoadFromStream(stream), EInvalidGraphic) << c.what;
        EXPECT_EQ(bitmap.Width(), 3) << c.what;
        EXPECT_EQ(bitmap.Canvas().Pixels(0, 0), clRed) << c.what;
    }
    TStringStream valid(BmpBytes(4, 4, 24, 0, 48));
    bitmap.LoadFromStream(valid);
    EXPECT_EQ(bitmap.Width(), 4);
}

TEST(Bitmap, APictureBeyondThePictureLimitsIsRefusedWithTheLimitNamed) {
    // A kilobyte of run-length data that claims 8192 x 8192 pixels.
    TStringStream rle(BmpBytes(8192, 8192, 8, 256, 1024, 1));
    TBitmap bitmap;
    try {
        bitmap.LoadFromStream(rle);
        FAIL() << "loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message().find(L"16 megapixels"), String::npos) << e.what();
    }
    TStringStream atTheLimit(BmpBytes(4096, 4096, 1, 2, 4096 * 4096 / 8));
    bitmap.LoadFromStream(atTheLimit);
    EXPECT_EQ(bitmap.Width(), 4096);
}

TEST(Bitmap, ReadsTopDownAndSixteenBitFiles) {
    std::string topDown = BmpBytes(2, -2, 24, 0, 16);
    // First stored row is the top row in a top-down file: make its first pixel blue.
    topDown[54] = static_cast<char>(0xFF);
    TStringStream stream(topDown);
    TBitmap bitmap;
    bitmap.LoadFromStream(stream);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(DibPixel(bitmap, 0, 0), clBlue);
    EXPECT_EQ(DibPixel(bitmap, 0, 1), clBlack);

    std::string sixteen = BmpBytes(2, 1, 16, 0, 4);
    const uint16_t white555 = 0x7FFF;
    std::memcpy(&sixteen[54], &white555, 2);
    TStringStream stream16(sixteen);
    bitmap.LoadFromStream(stream16);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    EXPECT_TRUE(ColorsNear(DibPixel(bitmap, 0, 0), clWhite, 8));
    EXPECT_EQ(DibPixel(bitmap, 1, 0), clBlack);
}

TEST(Bitmap, AssignCopiesIndependently) {
    TBitmap source(5, 5, pf8bit);
    source.Canvas().SetPixels(1, 1, clRed);
    TBitmap copy;
    copy.Assign(source);
    EXPECT_EQ(copy.PixelFormat(), pf8bit);
    EXPECT_EQ(copy.Canvas().Pixels(1, 1), clRed);
    source.Canvas().SetPixels(1, 1, clBlue);
    EXPECT_EQ(copy.Canvas().Pixels(1, 1), clRed);
    EXPECT_NE(copy.Handle(), source.Handle());
}

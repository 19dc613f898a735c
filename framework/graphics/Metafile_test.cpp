#include "framework/graphics/Metafile.h"

#include <cstring>

#include <gtest/gtest.h>

#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/Streams.h"
#include "testing/TestPixels.h"

namespace {

// A 100 x 100 pixel metafile: red top-left quarter, blue bottom-right quarter.
std::unique_ptr<TMetafile> QuartersMetafile() {
    auto metafile = std::make_unique<TMetafile>();
    metafile->SetWidth(100);
    metafile->SetHeight(100);
    {
        TMetafileCanvas canvas(*metafile, 0);
        canvas.Brush().SetColor(clRed);
        canvas.FillRect(Rect(0, 0, 50, 50));
        canvas.Brush().SetColor(clBlue);
        canvas.FillRect(Rect(50, 50, 100, 100));
    }
    return metafile;
}

std::string Bytes(TMetafile& metafile) {
    TStringStream stream;
    metafile.SaveToStream(stream);
    return stream.DataString();
}

}  // namespace

TEST(Metafile, RecordingCompletesWhenTheCanvasIsFreed) {
    TMetafile metafile;
    metafile.SetWidth(100);
    metafile.SetHeight(50);
    {
        TMetafileCanvas canvas(metafile, 0);
        canvas.Rectangle(0, 0, 10, 10);
        EXPECT_TRUE(metafile.Empty());
    }
    EXPECT_FALSE(metafile.Empty());
    EXPECT_EQ(metafile.Width(), 100);
    EXPECT_EQ(metafile.Height(), 50);
    EXPECT_EQ(metafile.MMWidth(), MulDiv(100, 2540, ScreenMetrics::PixelsPerInch()));
}

TEST(Metafile, PlaysBackIntoPixelsAtAnySize) {
    auto metafile = QuartersMetafile();
    TBitmap target(100, 100);
    target.Canvas().StretchDraw(Rect(0, 0, 100, 100), *metafile);
    EXPECT_EQ(DibPixel(target, 25, 25), clRed);
    EXPECT_EQ(DibPixel(target, 75, 75), clBlue);
    EXPECT_EQ(DibPixel(target, 75, 25), clWhite);

    TBitmap half(50, 50);
    half.Canvas().StretchDraw(Rect(0, 0, 50, 50), *metafile);
    EXPECT_EQ(DibPixel(half, 10, 10), clRed);
    EXPECT_EQ(DibPixel(half, 40, 40), clBlue);
}

TEST(Metafile, PlaybackLeavesTheCanvasStateAlone) {
    auto metafile = QuartersMetafile();
    TBitmap target(100, 100);
    target.Canvas().Brush().SetColor(clLime);
    target.Canvas().Draw(0, 0, *metafile);
    target.Canvas().FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(DibPixel(target, 5, 5), clLime);
}

TEST(Metafile, LoadingReadsExactlyTheMetafilesBytes) {
    auto metafile = QuartersMetafile();
    const std::string emf = Bytes(*metafile);
    TStringStream stream(emf + "trailing data");
    TMetafile loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), static_cast<Int64>(emf.size()));
    EXPECT_EQ(loaded.MMWidth(), metafile->MMWidth());
    TBitmap target(100, 100);
    target.Canvas().StretchDraw(Rect(0, 0, 100, 100), loaded);
    EXPECT_EQ(DibPixel(target, 25, 25), clRed);
}

TEST(Metafile, InvalidDataRaisesAndKeepsThePreviousMetafile) {
    auto metafile = QuartersMetafile();
    const std::string emf = Bytes(*metafile);
    auto patch32 = [](std::string bytes, size_t at, uint32_t value) {
        std::memcpy(&bytes[at], &value, 4);
        return bytes;
    };
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", std::string()},
        {"a bitmap", std::string("BM") + std::string(200, '\0')},
        {"truncated", emf.substr(0, emf.size() - 20)},
        {"wrong signature", patch32(emf, 40, 0x12345678)},
        {"byte count beyond the data", patch32(emf, 48, static_cast<uint32_t>(emf.size() + 4))},
        {"byte count before the end record", patch32(emf, 48, static_cast<uint32_t>(emf.size() - 20))},
        {"record size zero", patch32(emf, *reinterpret_cast<const uint32_t*>(&emf[4]) + 4, 0)},
    };
    TMetafile target;
    target.Assign(*metafile);
    for (const auto& c : cases) {
        TStringStream stream(c.bytes);
        EXPECT_THROW(target.LoadFromStream(stream), EInvalidGraphic) << c.what;
        EXPECT_FALSE(target.Empty()) << c.what;
        EXPECT_EQ(target.MMWidth(), metafile->MMWidth()) << c.what;
    }
}

TEST(Metafile, AssignCopiesAndOtherGraphicsAreRefused) {
    auto metafile = QuartersMetafile();
    TMetafile copy;
    copy.Assign(*metafile);
    EXPECT_NE(copy.Handle(), metafile->Handle());
    EXPECT_EQ(Bytes(copy), Bytes(*metafile));
    TBitmap bitmap(2, 2);
    EXPECT_THROW(copy.Assign(bitmap), EConvertError);
}

namespace {

// A Windows metafile of a red rectangle filling 0..1000 x 0..1000 logical units, optionally with
// the placeable header saying 1000 units per inch.
std::string WindowsMetafileBytes(bool placeable) {
    using UniqueWindowsMetafile = UniqueHandle<HMETAFILE, ReleaseBy<&DeleteMetaFile>>;
    HDC dc = CreateMetaFileW(nullptr);
    SetWindowExtEx(dc, 1000, 1000, nullptr);
    UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    SelectObject(dc, red.get());
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 0, 0, 1001, 1001);
    const UniqueWindowsMetafile wmf(CloseMetaFile(dc));
    std::string bytes(GetMetaFileBitsEx(wmf.get(), 0, nullptr), '\0');
    GetMetaFileBitsEx(wmf.get(), static_cast<UINT>(bytes.size()), bytes.data());
    if (!placeable) return bytes;
    uint16_t header[11] = {0xCDD7, 0x9AC6, 0, 0, 0, 1000, 1000, 1000, 0, 0, 0};
    for (int i = 0; i < 10; ++i) header[10] ^= header[i];
    return std::string(reinterpret_cast<const char*>(header), sizeof header) + bytes;
}

}  // namespace

TEST(Metafile, ReadsPlaceableWindowsMetafiles) {
    TStringStream stream(WindowsMetafileBytes(true));
    TMetafile metafile;
    metafile.LoadFromStream(stream);
    EXPECT_EQ(metafile.MMWidth(), 2540);  // one inch
    EXPECT_EQ(metafile.MMHeight(), 2540);
    TBitmap target(50, 50);
    target.Canvas().StretchDraw(Rect(0, 0, 50, 50), metafile);
    EXPECT_EQ(DibPixel(target, 25, 25), clRed);

    std::string broken = WindowsMetafileBytes(true);
    broken[20] ^= 1;  // checksum
    TStringStream brokenStream(broken);
    EXPECT_THROW(metafile.LoadFromStream(brokenStream), EInvalidGraphic);
    EXPECT_EQ(metafile.MMWidth(), 2540);
}

#include "framework/graphics/JpegImage.h"

#include <gtest/gtest.h>

#include "framework/graphics/Metafile.h"
#include "framework/rtl/Streams.h"
#include "testing/TestJpegs.h"
#include "testing/TestPixels.h"

namespace {

// Smooth gradients with a solid block: what photos look like to a codec.
std::unique_ptr<TBitmap> Gradient(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<Byte*>(bitmap->ScanLine(y));
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<Byte>(x * 255 / width);
            row[x * 3 + 1] = static_cast<Byte>(y * 255 / height);
            row[x * 3 + 2] = 128;
        }
    }
    bitmap->Canvas().Brush().SetColor(clRed);
    bitmap->Canvas().FillRect(Rect(8, 8, 24, 24));
    return bitmap;
}

std::string Encoded(TJPEGImage& jpeg) {
    TStringStream stream;
    jpeg.SaveToStream(stream);
    return stream.DataString();
}

// The message loading bytes raises, or "" when they load.
std::wstring LoadError(const std::string& bytes) {
    TJPEGImage jpeg;
    TStringStream stream(bytes);
    try {
        jpeg.LoadFromStream(stream);
        return L"";
    } catch (const EJPEG& e) {
        return e.Message();
    }
}

}  // namespace

TEST(JpegImage, RoundTripStaysWithinTolerance) {
    auto original = Gradient(64, 48);
    TJPEGImage jpeg;
    EXPECT_EQ(jpeg.CompressionQuality(), 90);
    jpeg.Assign(*original);
    const std::string data = Encoded(jpeg);
    ASSERT_GT(data.size(), 4u);
    EXPECT_EQ(static_cast<Byte>(data[0]), 0xFF);
    EXPECT_EQ(static_cast<Byte>(data[1]), 0xD8);
    EXPECT_NE(data.find("\xFF\xC0"), std::string::npos);  // baseline frame

    TStringStream stream(data);
    TJPEGImage loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.Width(), 64);
    EXPECT_EQ(loaded.Height(), 48);
    auto& decoded = const_cast<TBitmap&>(loaded.Bitmap());
    for (int y = 0; y < 48; y += 5)
        for (int x = 0; x < 64; x += 5)
            EXPECT_TRUE(ColorsNear(DibPixel(decoded, x, y), DibPixel(*original, x, y), 24)) << x << "," << y;
    EXPECT_TRUE(ColorsNear(DibPixel(decoded, 16, 16), clRed, 12));
}

TEST(JpegImage, QualityChangesTheSize) {
    auto original = Gradient(64, 48);
    TJPEGImage high, low;
    high.Assign(*original);
    low.SetCompressionQuality(20);
    low.Assign(*original);
    EXPECT_LT(Encoded(low).size(), Encoded(high).size());
}

TEST(JpegImage, DrawsDecodedOnACanvas) {
    auto original = Gradient(64, 48);
    TJPEGImage jpeg;
    jpeg.Assign(*original);
    TStringStream stream(Encoded(jpeg));
    TJPEGImage loaded;
    loaded.LoadFromStream(stream);
    TBitmap target(64, 48);
    target.Canvas().Draw(0, 0, loaded);
    EXPECT_TRUE(ColorsNear(DibPixel(target, 16, 16), clRed, 12));
}

TEST(JpegImage, CorruptDataRaisesAJpegErrorAndKeepsThePicture) {
    auto original = Gradient(32, 32);
    TJPEGImage jpeg;
    jpeg.Assign(*original);
    const std::string valid = Encoded(jpeg);
    std::string brokenTables = valid;
    for (size_t i = 2; i < 200 && i < brokenTables.size(); ++i) brokenTables[i] = static_cast<char>(0x5A);
    const std::string cases[] = {std::string(), "not a jpeg at all", valid.substr(0, 2), brokenTables};
    for (const auto& bytes : cases) {
        TStringStream stream(bytes);
        try {
            jpeg.LoadFromStream(stream);
            ADD_FAILURE() << "no error for " << bytes.size() << " bytes";
        } catch (const EJPEG& e) {
            EXPECT_EQ(e.Message().rfind(L"JPEG error #", 0), 0u) << std::string(e.what());
        }
        EXPECT_EQ(jpeg.Width(), 32);
        EXPECT_EQ(Encoded(jpeg), valid);
    }
}

TEST(JpegImage, PicturesCutShortTooLargeOrOfTooManyScansAreRefusedSaySo) {
    auto original = Gradient(64, 64);
    TJPEGImage jpeg;
    jpeg.Assign(*original);
    const std::string valid = Encoded(jpeg);
    ASSERT_EQ(LoadError(valid), L"");

    // Cut a little after the scan header: libjpeg alone would fill the rest with grey.
    EXPECT_EQ(LoadError(testjpeg::CutAfterScanHeader(valid)).rfind(L"JPEG error #", 0), 0u);

    // 5000 x 5000 in the frame header: refused before anything is decoded.
    std::string huge = valid;
    const std::size_t frame = huge.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    huge[frame + 5] = huge[frame + 7] = static_cast<char>(5000 >> 8);
    huge[frame + 6] = huge[frame + 8] = static_cast<char>(5000 & 0xFF);
    EXPECT_NE(LoadError(huge).find(L"16 megapixels"), std::wstring::npos);

    EXPECT_EQ(LoadError(testjpeg::ProgressiveOfScans(0)), L"") << "64 scans";
    EXPECT_NE(LoadError(testjpeg::ProgressiveOfScans(1)).find(L"64 passes"), std::wstring::npos) << "65 scans";
}

TEST(JpegImage, AssignFromOtherGraphicsAndItsSizeIsFixed) {
    TMetafile metafile;
    metafile.SetWidth(20);
    metafile.SetHeight(10);
    {
        TMetafileCanvas canvas(metafile, 0);
        canvas.Brush().SetColor(clBlue);
        canvas.FillRect(Rect(0, 0, 20, 10));
    }
    TJPEGImage jpeg;
    jpeg.Assign(metafile);
    EXPECT_EQ(jpeg.Width(), 20);
    EXPECT_EQ(jpeg.Height(), 10);
    EXPECT_THROW(jpeg.SetWidth(5), EInvalidGraphicOperation);

    TJPEGImage copy;
    copy.Assign(jpeg);
    EXPECT_EQ(Encoded(copy), Encoded(jpeg));
}

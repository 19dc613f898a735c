#include "framework/graphics/Clipboard.h"

#include <gtest/gtest.h>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Metafile.h"
#include "framework/graphics/Picture.h"

// The clipboard is shared by every program of the prefix: CTest runs these tests alone.

TEST(Clipboard, BitmapsGoOnAsDibs) {
    TBitmap bitmap(7, 5);
    bitmap.Canvas().SetPixels(0, 0, clRed);
    Clipboard().Assign(bitmap);
    ASSERT_TRUE(Clipboard().HasFormat(CF_DIB));
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, 7);
    EXPECT_EQ(header->biHeight, 5);
    EXPECT_EQ(header->biBitCount, 24);
    GlobalUnlock(GetClipboardData(CF_DIB));
    CloseClipboard();
}

TEST(Clipboard, MetafilesGoOnAsEnhancedMetafiles) {
    TMetafile metafile;
    {
        TMetafileCanvas canvas(metafile, 0);
        canvas.Rectangle(0, 0, 20, 10);
    }
    TPicture picture;
    picture.Assign(metafile);
    Clipboard().Assign(picture);
    EXPECT_TRUE(Clipboard().HasFormat(CF_ENHMETAFILE));
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB) && !Clipboard().HasFormat(CF_ENHMETAFILE));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HENHMETAFILE copy = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    EXPECT_NE(copy, nullptr);
    EXPECT_NE(copy, metafile.Handle());  // the clipboard has its own copy
    CloseClipboard();

    Clipboard().Clear();
    EXPECT_FALSE(Clipboard().HasFormat(CF_ENHMETAFILE));
}

TEST(Clipboard, EmptyPicturesAreRefused) {
    TBitmap empty;
    EXPECT_THROW(Clipboard().Assign(empty), EClipboardException);
}

namespace {

// A bitmap whose image comes out cut short: no more than a file header, or not even that.
class TCutBitmap : public TBitmap {
public:
    TCutBitmap(int width, int height, size_t keep) : TBitmap(width, height), keep_(keep) {}
    void SaveToStream(TStream& stream) override {
        TMemoryStream whole;
        TBitmap::SaveToStream(whole);
        stream.WriteBuffer(whole.Memory(), static_cast<Int64>(keep_));
    }

private:
    size_t keep_;
};

}  // namespace

TEST(Clipboard, ABitmapImageNoLongerThanItsFileHeaderIsRefusedAndTheClipboardKept) {
    TBitmap before(3, 2);
    Clipboard().Assign(before);
    ASSERT_TRUE(Clipboard().HasFormat(CF_DIB));
    for (size_t keep : {size_t{0}, size_t{13}, size_t{14}}) {
        TCutBitmap cut(7, 5, keep);
        EXPECT_THROW(Clipboard().Assign(cut), EClipboardException) << keep << " bytes";
        ASSERT_TRUE(OpenClipboard(nullptr));
        auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)));
        EXPECT_TRUE(header != nullptr && header->biWidth == 3) << "the clipboard lost its picture, " << keep << " bytes";
        if (header != nullptr) GlobalUnlock(GetClipboardData(CF_DIB));
        CloseClipboard();
    }
}

#include "framework/graphics/Picture.h"

#include <gtest/gtest.h>

#include "framework/classes/Component.h"
#include "framework/classes/Reader.h"
#include "framework/classes/Writer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Icon.h"
#include "framework/graphics/JpegImage.h"
#include "framework/graphics/Metafile.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Streams.h"
#include "testing/TestPixels.h"

namespace {

class TempFolder {
public:
    TempFolder() : path_(GetTempDirectory() + L"fv-picture-" + std::to_wstring(GetCurrentProcessId()) + L"\\") {
        ForceDirectories(path_);
    }
    ~TempFolder() {
        for (const auto& name : created_) DeleteFile(name);
        RemoveDirectoryW(path_.c_str());
    }
    String File(const String& name) {
        created_.push_back(path_ + name);
        return created_.back();
    }
    void Write(const String& fileName, const std::string& bytes) {
        TFileStream stream(fileName, fmCreate);
        stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    }

private:
    String path_;
    std::vector<String> created_;
};

struct Counter {
    int changes = 0;
    void Changed(TObject*) { ++changes; }
};

std::unique_ptr<TBitmap> RedSquare() {
    auto bitmap = std::make_unique<TBitmap>(16, 16);
    bitmap->Canvas().Brush().SetColor(clRed);
    bitmap->Canvas().FillRect(Rect(0, 0, 16, 16));
    return bitmap;
}

}  // namespace

TEST(Picture, FileFormatsAreChosenByExtension) {
    TempFolder folder;
    TBitmap bitmap(16, 16);
    bitmap.Canvas().Brush().SetColor(clRed);
    bitmap.Canvas().FillRect(Rect(0, 0, 16, 16));
    TJPEGImage jpeg;
    jpeg.Assign(bitmap);
    TMetafile metafile;
    {
        TMetafileCanvas canvas(metafile, 0);
        canvas.Rectangle(0, 0, 10, 10);
    }
    const String bmpName = folder.File(L"red.bmp"), jpgName = folder.File(L"red.JPG"),
                 jpegName = folder.File(L"red.jpeg"), emfName = folder.File(L"shape.emf");
    bitmap.SaveToFile(bmpName);
    jpeg.SaveToFile(jpgName);
    jpeg.SaveToFile(jpegName);
    metafile.SaveToFile(emfName);

    struct Case {
        String file;
        const wchar_t* className;
    };
    const Case cases[] = {{bmpName, L"TBitmap"}, {jpgName, L"TJPEGImage"}, {jpegName, L"TJPEGImage"},
                          {emfName, L"TMetafile"}};
    for (const auto& c : cases) {
        TPicture picture;
        picture.LoadFromFile(c.file);
        ASSERT_NE(picture.Graphic(), nullptr);
        EXPECT_EQ(picture.Graphic()->ClassName(), c.className);
    }
    TPicture picture;
    picture.LoadFromFile(bmpName);
    EXPECT_EQ(picture.Width(), 16);
    EXPECT_THROW(picture.LoadFromFile(folder.File(L"notes.txt")), EInvalidGraphic);
}

TEST(Picture, AFileThatCannotBeReadLeavesThePreviousPicture) {
    TempFolder folder;
    const String good = folder.File(L"good.bmp");
    RedSquare()->SaveToFile(good);
    const String corruptBmp = folder.File(L"corrupt.bmp"), corruptJpg = folder.File(L"corrupt.jpg"),
                 corruptEmf = folder.File(L"corrupt.emf");
    folder.Write(corruptBmp, "BM not really a bitmap");
    folder.Write(corruptJpg, "\xFF\xD8 not really a jpeg");
    folder.Write(corruptEmf, std::string(120, '\x01'));

    TPicture picture;
    picture.LoadFromFile(good);
    TGraphic* before = picture.Graphic();
    for (const String& name : {corruptBmp, corruptJpg, corruptEmf, folder.File(L"missing.bmp")}) {
        EXPECT_ANY_THROW(picture.LoadFromFile(name));
        EXPECT_EQ(picture.Graphic(), before);
        EXPECT_EQ(picture.Width(), 16);
    }
}

TEST(Picture, BitmapAccessorReplacesOtherGraphics) {
    TPicture picture;
    Counter counter;
    picture.OnChange = TNotifyEvent(&counter, &Counter::Changed);
    TMetafile metafile;
    picture.Assign(metafile);
    EXPECT_EQ(picture.Graphic()->ClassName(), L"TMetafile");
    TBitmap& bitmap = picture.Bitmap();
    EXPECT_EQ(picture.Graphic(), &bitmap);
    EXPECT_TRUE(bitmap.Empty());
    const int before = counter.changes;
    bitmap.SetSize(4, 4);
    EXPECT_GT(counter.changes, before);  // changes of the graphic reach the picture's OnChange
    EXPECT_EQ(&picture.Bitmap(), &bitmap);
}

TEST(Picture, AssignCopiesTheGraphic) {
    TPicture source;
    source.Assign(*RedSquare());
    TPicture copy;
    copy.Assign(&source);
    ASSERT_NE(copy.Graphic(), nullptr);
    EXPECT_NE(copy.Graphic(), source.Graphic());
    EXPECT_EQ(DibPixel(copy.Bitmap(), 3, 3), clRed);
    copy.Assign(static_cast<const TPersistent*>(nullptr));
    EXPECT_EQ(copy.Graphic(), nullptr);
}

TEST(Picture, StoredDataRoundTrips) {
    TPicture picture;
    picture.Assign(*RedSquare());
    TMemoryStream stream;
    picture.WriteData(stream);
    stream.SetPosition(0);
    Byte length = 0;
    stream.ReadBuffer(&length, 1);
    std::string className(length, '\0');
    stream.ReadBuffer(className.data(), length);
    EXPECT_EQ(className, "TBitmap");

    stream.SetPosition(0);
    TPicture loaded;
    loaded.ReadData(stream);
    ASSERT_NE(loaded.Graphic(), nullptr);
    EXPECT_EQ(loaded.Graphic()->ClassName(), L"TBitmap");
    EXPECT_EQ(DibPixel(loaded.Bitmap(), 8, 8), clRed);

    TStringStream unknown(std::string("\x07TWidget", 8));
    EXPECT_THROW(loaded.ReadData(unknown), EInvalidGraphic);
    EXPECT_EQ(loaded.Width(), 16);
}

// ---- stored descriptions ----

namespace {

class TPictureHolder : public TComponent {
    FV_CLASS(TPictureHolder, TComponent)
public:
    explicit TPictureHolder(TComponent* owner) : TComponent(owner) {}
    static void Publish(TPublisher<TPictureHolder>& p) {
        p.Property(L"Font", &TPictureHolder::Font);
        p.Property(L"Picture", &TPictureHolder::Picture);
    }
    TFont* Font() const { return &font_; }
    TPicture* Picture() const { return &picture_; }

private:
    mutable TFont font_;
    mutable TPicture picture_;
};

}  // namespace

TEST(Picture, StoredAsPictureDataInDescriptions) {
    TLocal<TPictureHolder> holder(nullptr);
    holder.SetName(L"Holder1");
    holder.Picture()->Assign(*RedSquare());
    holder.Font()->SetCharset(204);
    holder.Font()->SetColor(clBtnText);
    const String text = WriteComponentToText(&holder);
    EXPECT_NE(text.find(L"Picture.Data = {"), String::npos) << std::string(text.begin(), text.end());
    EXPECT_NE(text.find(L"Font.Charset = RUSSIAN_CHARSET"), String::npos);
    EXPECT_NE(text.find(L"Font.Color = clBtnText"), String::npos);

    TLocal<TPictureHolder> loaded(nullptr);
    ReadComponentFromText(&loaded, text, L"Holder1");
    ASSERT_NE(loaded.Picture()->Graphic(), nullptr);
    EXPECT_EQ(loaded.Picture()->Graphic()->ClassName(), L"TBitmap");
    EXPECT_EQ(DibPixel(loaded.Picture()->Bitmap(), 4, 4), clRed);
    EXPECT_EQ(loaded.Font()->Charset(), 204);
    EXPECT_EQ(loaded.Font()->Color(), clBtnText);
}

TEST(Picture, FontPropertiesReadFromAHandWrittenDescription) {
    TLocal<TPictureHolder> holder(nullptr);
    ReadComponentFromText(&holder,
                          L"object Holder1: TPictureHolder\n"
                          L"  Font.Charset = DEFAULT_CHARSET\n"
                          L"  Font.Color = clWindowText\n"
                          L"  Font.Height = -11\n"
                          L"  Font.Name = 'MS Sans Serif'\n"
                          L"  Font.Style = [fsBold]\n"
                          L"end\n",
                          L"hand.desc");
    EXPECT_EQ(holder.Font()->Charset(), 1);
    EXPECT_EQ(holder.Font()->Height(), -11);
    EXPECT_TRUE(holder.Font()->Style().Contains(fsBold));
    EXPECT_EQ(holder.Picture()->Graphic(), nullptr);
    EXPECT_THROW(ReadComponentFromText(&holder, L"object Holder1: TPictureHolder\n  Font.Charset = KLINGON_CHARSET\nend\n",
                                       L"bad.desc"),
                 EReadError);
}

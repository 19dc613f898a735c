// A database picture measures the height its picture needs, and a band holding one reaches as low
// as that picture does.
#include "report/bands/QRDBImage.h"

#include <gtest/gtest.h>

#include "framework/graphics/Bitmap.h"
#include "report/bands/QRBandsTestSupport_test.h"
#include "report/bands/QRPagination.h"

namespace {

// One record with a text field "nome" and a picture field "foto" of the given height (0: empty).
class TPictureDataSet : public TDataSet {
    FV_CLASS(TPictureDataSet, TDataSet)
public:
    explicit TPictureDataSet(TComponent* owner) : TDataSet(owner) {}
    int PictureHeight = 0;

    bool Active() const override { return true; }
    void First() override {}
    void Next() override {}
    void Prior() override {}
    bool Eof() const override { return false; }
    int RecordCount() const override { return 1; }

protected:
    int FieldCount() const override { return 2; }
    TQRField* FieldAt(int index) override { return index == 0 ? static_cast<TQRField*>(&text_) : &picture_; }

private:
    class TText : public TQRField {
    public:
        String FieldName() const override { return L"nome"; }
        TQRFieldKind Kind() const override { return TQRFieldKind::Text; }
        String AsString() const override { return L"Maria"; }
        Int64 AsInteger() const override { return 0; }
        double AsFloat() const override { return 0; }
        bool AsBoolean() const override { return false; }
        String DisplayText() const override { return AsString(); }
    };
    class TPictureField : public TQRBlobField {
    public:
        explicit TPictureField(TPictureDataSet& owner) : owner_(owner) {}
        String FieldName() const override { return L"FOTO"; }
        String AsString() const override { return String(); }
        Int64 AsInteger() const override { return 0; }
        double AsFloat() const override { return 0; }
        bool AsBoolean() const override { return false; }
        String DisplayText() const override { return L"(picture)"; }
        void LoadPicture(TPicture& picture) const override {
            if (owner_.PictureHeight <= 0) return;
            TBitmap bitmap(30, owner_.PictureHeight);
            picture.Assign(bitmap);
        }

    private:
        TPictureDataSet& owner_;
    };
    TText text_;
    TPictureField picture_{*this};
};

struct TImageFixture : ::testing::Test {
    TImageFixture() {
        band = MakeBand(report, L"Detalhe", rbDetail);
        report.SetUnits(TQRUnit::Native);
        band->Size()->SetHeight(300);
        image = new TQRDBImage(&report);
        image->SetParent(band);
        image->SetBounds(10, 20, 50, 40);
        image->SetDataSet(data);
        image->SetDataField(L"foto");
    }
    // The band's height in 0.1 mm when its picture is pictureHeight pixels tall.
    Extended BandHeightFor(int pictureHeight) {
        data->PictureHeight = pictureHeight;
        image->PrepareForRun();
        Extended height = TQRPagination::HeightToLowestControl(*band);
        image->ReleaseAfterRun();
        return height;
    }

    TLocal<TQRReport> report{nullptr};
    TPictureDataSet* data = new TPictureDataSet(&report);
    TQRBand* band = nullptr;
    TQRDBImage* image = nullptr;
};

TEST_F(TImageFixture, NeededHeightIsThePicturesForAPictureFieldElseTheControls) {
    struct {
        const wchar_t* field;
        int pictureHeight;
        Extended needed;
    } const cases[] = {
        {L"foto", 200, 200},  // field names match without regard to case
        {L"foto", 0, 0},      // an empty picture needs nothing
        {L"nome", 200, 40},   // not a picture field: the control's own height
        {L"outro", 200, 40},  // no such field
    };
    for (const auto& c : cases) {
        image->SetDataField(c.field);
        data->PictureHeight = c.pictureHeight;
        image->PrepareForRun();
        Extended needed = -1;
        image->NeededHeight(needed);
        image->ReleaseAfterRun();
        EXPECT_EQ(needed, c.needed) << c.field << " " << c.pictureHeight;
    }
}

TEST_F(TImageFixture, ABandReachesAsLowAsItsPictureAndKeepsTheRoomBelowIt) {
    EXPECT_EQ(BandHeightFor(10), 300) << "a short picture leaves the band as it stands";
    // The picture's bottom at 20 + 200 pixels, plus what the band leaves below the control.
    const Extended below = band->Height() - 20 - 40 + 1;
    EXPECT_NEAR(BandHeightFor(200), (220 + below) * 254 / 96, 1e-6);
    image->SetEnabled(false);
    EXPECT_EQ(BandHeightFor(200), 300) << "a disabled picture does not count";
    image->SetEnabled(true);
    image->SetDataSet(nullptr);
    EXPECT_EQ(BandHeightFor(200), 300) << "without a dataset the control needs its own height";
}

TEST_F(TImageFixture, AFreedDataSetIsForgotten) {
    image->PrepareForRun();
    ASSERT_NE(image->Field(), nullptr);
    delete data;
    EXPECT_EQ(image->DataSet(), nullptr);
    EXPECT_EQ(image->Field(), nullptr);
    Extended needed = 0;
    image->NeededHeight(needed);
    EXPECT_EQ(needed, 40);
}

}  // namespace

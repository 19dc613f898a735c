#include "report/printables/QRUnits.h"

#include <gmock/gmock.h>

#include <cmath>

#include "framework/classes/Reader.h"
#include "framework/classes/Writer.h"
#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/Numeric.h"
#include "report/printables/QRTestPanels_test.h"

namespace {

constexpr bool H = true;   // horizontal
constexpr bool V = false;  // vertical

struct ConversionCase {
    TQRUnit Units;
    bool Horizontal;
    int Zoom;
    Extended Stored;  // 0.1 mm
    Extended Shown;   // in Units
};

// At 96 pixels per inch and a report font of 10 points: a character is 80 / 10 / 2.54 mm wide
// and a line 145.3 / 10 / 2.54 mm high.
const ConversionCase conversions[] = {
    {TQRUnit::MM, H, 100, 100, 10},
    {TQRUnit::MM, V, 100, 2970, 297},
    {TQRUnit::Inches, H, 100, 127, 0.5L},
    {TQRUnit::Inches, V, 100, 254, 1},
    {TQRUnit::Pixels, H, 100, 254, 96},
    {TQRUnit::Pixels, V, 100, 2100, 2100 * 96 / 254.0L},
    {TQRUnit::Pixels, H, 50, 254, 48},
    {TQRUnit::Pixels, V, 200, 254, 192},
    {TQRUnit::Characters, H, 100, 80 / 2.54L, 1},
    {TQRUnit::Characters, V, 100, 145.3L / 2.54L, 1},
    {TQRUnit::Characters, H, 100, 254, 254 / (80 / 10 / 2.54L) / 10},
    {TQRUnit::Characters, V, 100, 254, 254 / (145.3L / 10 / 2.54L) / 10},
    {TQRUnit::Native, H, 100, 100.0125L, 100.0125L},
    {TQRUnit::Native, V, 200, 2970, 2970},
};

class UnitConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(UnitConversion, StoredToUnitsAndBack) {
    const ConversionCase& c = GetParam();
    TLocal<TTestReport> report(nullptr);
    TQRBandSize size;
    ASSERT_EQ(size.Resolution(), 96) << "the table is worked out for 96 pixels per inch";
    size.SetReport(&report);
    size.SetZoom(c.Zoom);
    EXPECT_NEAR(static_cast<double>(size.StoredToUnits(c.Units, c.Horizontal, c.Stored)),
                static_cast<double>(c.Shown), 1e-9);
    EXPECT_NEAR(static_cast<double>(size.UnitsToStored(c.Units, c.Horizontal, c.Shown)),
                static_cast<double>(c.Stored), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Table, UnitConversion, ::testing::ValuesIn(conversions));

TEST(Units, CharactersWithoutAFontSizeCountAsTenPoints) {
    TLocal<TTestReport> report(nullptr);
    TQRBandSize size;
    size.SetReport(&report);
    Extended tenPoints = size.StoredToUnits(TQRUnit::Characters, H, 254);
    report.FontSize = 0;
    EXPECT_EQ(size.StoredToUnits(TQRUnit::Characters, H, 254), tenPoints);
    EXPECT_EQ(size.UnitsToStored(TQRUnit::Characters, V, 2), size.UnitsToStored(TQRUnit::Characters, V, 2));
    EXPECT_TRUE(std::isfinite(static_cast<double>(size.UnitsToStored(TQRUnit::Characters, V, 2))));
    report.FontSize = -10;  // a font height in pixels: its absolute value counts
    EXPECT_EQ(size.StoredToUnits(TQRUnit::Characters, H, 254), tenPoints);
    TQRBandSize noReport;
    EXPECT_EQ(noReport.StoredToUnits(TQRUnit::Characters, H, 254), tenPoints);
}

TEST(Page, StartsOnTheLocalesPaperInItsUnits) {
    struct Row {
        bool Inches;
        TQRUnit Units;
        TQRPaperSize Paper;
        Extended Margin;  // 0.1 mm
        Extended Width;
    } rows[] = {{false, TQRUnit::MM, TQRPaperSize::A4, 100, 2100}, {true, TQRUnit::Inches, TQRPaperSize::Letter, 127, 2159}};
    const TFormatSettings saved = DefaultFormatSettings();
    for (const Row& r : rows) {
        TFormatSettings settings = saved;
        settings.MeasureInInches = r.Inches;
        SetDefaultFormatSettings(settings);
        TLocal<TTestReport> report(nullptr);
        const TQRPage& page = *report.Page();
        EXPECT_EQ(page.Units(), r.Units);
        EXPECT_EQ(page.PaperSize(), r.Paper);
        for (int i : {TQRPage::iTopMargin, TQRPage::iBottomMargin, TQRPage::iLeftMargin, TQRPage::iRightMargin})
            EXPECT_EQ(page.StoredValue(i), r.Margin) << "inches " << r.Inches << ", value " << i;
        EXPECT_EQ(page.StoredValue(TQRPage::iColumnSpace), 0);
        EXPECT_NEAR(static_cast<double>(page.StoredValue(TQRPage::iWidth)), static_cast<double>(r.Width), 1e-9);
        EXPECT_EQ(page.Columns(), 1);
        EXPECT_TRUE(page.Ruler());
    }
    SetDefaultFormatSettings(saved);
}

TEST(Page, MarginsAreStoredInTenthsOfAMillimetre) {
    TLocal<TTestReport> report(nullptr);
    TQRPage& page = *report.Page();
    page.SetUnits(TQRUnit::MM);
    page.SetTopMargin(10);
    EXPECT_EQ(page.StoredValue(TQRPage::iTopMargin), 100);
    page.SetUnits(TQRUnit::Inches);
    page.SetTopMargin(0.5L);
    EXPECT_EQ(page.StoredValue(TQRPage::iTopMargin), 127);
    EXPECT_EQ(page.TopMargin(), 0.5L);
}

TEST(Page, WidthAndLengthAreWrittenOnlyOnCustomPaper) {
    TLocal<TTestReport> report(nullptr);
    TQRPage& page = *report.Page();
    page.SetUnits(TQRUnit::MM);
    ASSERT_EQ(page.PaperSize(), TQRPaperSize::A4);
    page.SetWidth(100);
    page.SetLength(100);
    EXPECT_EQ(page.StoredValue(TQRPage::iWidth), 2100);
    EXPECT_EQ(page.StoredValue(TQRPage::iLength), 2970);
    page.SetPaperSize(TQRPaperSize::Custom);
    page.SetWidth(100);
    page.SetLength(150);
    EXPECT_EQ(page.StoredValue(TQRPage::iWidth), 1000);
    EXPECT_EQ(page.StoredValue(TQRPage::iLength), 1500);
}

TEST(Page, LandscapeTurnsThePaperWhateverTheUnits) {
    TLocal<TTestReport> report(nullptr);
    TQRPage& page = *report.Page();
    page.SetUnits(TQRUnit::Inches);
    page.SetOrientation(poLandscape);
    page.SetPaperSize(TQRPaperSize::A4);
    EXPECT_EQ(page.StoredValue(TQRPage::iWidth), 2970);
    EXPECT_EQ(page.StoredValue(TQRPage::iLength), 2100);
    EXPECT_EQ(page.Units(), TQRUnit::Inches);
    EXPECT_EQ(page.PaperSize(), TQRPaperSize::A4);
    page.SetOrientation(poPortrait);
    EXPECT_EQ(page.StoredValue(TQRPage::iWidth), 2100);
    EXPECT_EQ(page.StoredValue(TQRPage::iLength), 2970);
}

TEST(Page, PushesThePaperIntoTheReportAsPixels) {
    TLocal<TTestReport> report(nullptr);
    report.Page()->SetPaperSize(TQRPaperSize::A4);
    EXPECT_EQ(report.Width(), 794);    // 2100 * 96 / 254 = 793.7
    EXPECT_EQ(report.Height(), 1123);  // 2970 * 96 / 254 = 1122.5
    report.Page()->SetColumns(0);
    EXPECT_EQ(report.Page()->Columns(), 1);
}

TEST(Page, RefusesAPaperOutsideTheTable) {
    TLocal<TTestReport> report(nullptr);
    EXPECT_THROW(report.Page()->SetPaperSize(static_cast<TQRPaperSize>(QRPaperSizeCount)), EInvalidArgument);
    EXPECT_EQ(report.Page()->PaperSize(), TQRPaperSize::A4);
    for (const wchar_t* value : {L"70", L"qrNoSuchPaper"}) {
        TLocal<TTestReport> read(nullptr);
        String text = String(L"object R: TTestReport\n  Page.PaperSize = ") + value + L"\nend\n";
        try {
            ReadComponentFromText(&read, text, L"R");
            ADD_FAILURE() << "PaperSize = " << value << " was taken";
        } catch (const EParserError& e) {
            EXPECT_THAT(e.Message(), ::testing::HasSubstr(L"Page.PaperSize")) << e.Message();
        }
    }
}

// The résumé template's A4 page, as its description stores it.
const Extended a4Values[7] = {100.0125L, 2970, 100.0125L, 2100, 100.0125L, 100.0125L, 0};
// The same list as x87 extended values, little endian.
const Byte a4Bytes[7][10] = {
    {0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x06, 0xC8, 0x05, 0x40},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xA0, 0xB9, 0x0A, 0x40},
    {0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x06, 0xC8, 0x05, 0x40},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x83, 0x0A, 0x40},
    {0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x06, 0xC8, 0x05, 0x40},
    {0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x06, 0xC8, 0x05, 0x40},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
};

void ExpectA4Bytes(const TQRPage& page) {
    for (int i = 0; i < 7; ++i) {
        Byte bytes[10];
        EncodeExtended(page.StoredValue(i), bytes);
        EXPECT_TRUE(std::equal(bytes, bytes + 10, a4Bytes[i])) << "value " << i;
    }
}

TEST(Page, TheTemplatesA4ValuesRoundTripToTheSameBytes) {
    TLocal<TTestReport> first(nullptr);
    ReadComponentFromText(&first,
                          L"object R: TTestReport\n"
                          L"  Page.Values = (\n    100.0125\n    2970\n    100.0125\n    2100\n"
                          L"    100.0125\n    100.0125\n    0)\n"
                          L"  Page.PaperSize = A4\nend\n",
                          L"R");
    ExpectA4Bytes(*first.Page());
    for (int i = 0; i < 7; ++i) EXPECT_EQ(first.Page()->StoredValue(i), a4Values[i]);

    String written = WriteComponentToText(&first);
    EXPECT_THAT(written, ::testing::HasSubstr(L"Page.Values"));
    EXPECT_THAT(written, ::testing::Not(::testing::HasSubstr(L"Page.TopMargin")));
    TLocal<TTestReport> second(nullptr);
    ReadComponentFromText(&second, written, L"R");
    ExpectA4Bytes(*second.Page());
    String again = WriteComponentToText(&second);
    EXPECT_EQ(again.substr(again.find(L"Page.")), written.substr(written.find(L"Page.")));
}

TEST(Page, AValuesListOfTheWrongLengthIsAReadingError) {
    TLocal<TTestReport> report(nullptr);
    try {
        ReadComponentFromText(&report, L"object R: TTestReport\n  Page.Values = (1 2 3)\nend\n", L"R");
        ADD_FAILURE() << "a list of 3 was taken";
    } catch (const EParserError& e) {
        EXPECT_THAT(e.Message(), ::testing::HasSubstr(L"3 values instead of 7")) << e.Message();
    }
}

TEST(BandSize, SetsTheBandsBoundsInPixelsAtItsZoom) {
    TLocal<TTestBand> band(nullptr);
    TQRBandSize& size = *band.BandSize();
    size.SetUnits(TQRUnit::MM);
    size.SetHeight(25.4L);
    size.SetWidth(50.8L);
    EXPECT_EQ(band.Height(), 96);
    EXPECT_EQ(band.Width(), 192);
    size.SetZoom(50);
    size.PushToParent();
    EXPECT_EQ(band.Height(), 48);
    EXPECT_EQ(size.Height(), 25.4L);
}

}  // namespace

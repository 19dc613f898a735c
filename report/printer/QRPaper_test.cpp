#include "report/printer/QRPaper.h"

#include <gtest/gtest.h>

#include <set>

#include "framework/rtl/FormatSettings.h"

TEST(QRPaper, TableRowsKeepIndexCodeAndSize) {
    struct Case {
        TQRPaperSize size;
        int code, width, length;  // 0.1 mm
    } cases[] = {
        {TQRPaperSize::Default, 0, 0, 0},         {TQRPaperSize::Letter, 1, 2159, 2794},
        {TQRPaperSize::A4, 9, 2100, 2970},        {TQRPaperSize::Note, 18, 2159, 2794},
        {TQRPaperSize::Env9, 19, 984, 2254},      {TQRPaperSize::ESheet, 26, 8636, 11176},
        {TQRPaperSize::EnvB6, 35, 1760, 1250},    {TQRPaperSize::EnvMonarch, 37, 984, 1905},
        {TQRPaperSize::EnvPersonal, 38, 920, 1651}, {TQRPaperSize::A3ExtraTrans, 68, 4450, 3220},
        {TQRPaperSize::Custom, 256, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(EnumInfoOf(static_cast<TQRPaperSize*>(nullptr)).Name(static_cast<int>(c.size)));
        EXPECT_EQ(QRPaperCode(c.size), c.code);
        EXPECT_EQ(QRPaperWidth(c.size), c.width);
        EXPECT_EQ(QRPaperLength(c.size), c.length);
    }
}

TEST(QRPaper, EveryPaperButCustomHasItsIndexAsCode) {
    const TEnumInfo& names = EnumInfoOf(static_cast<TQRPaperSize*>(nullptr));
    ASSERT_EQ(names.Count(), QRPaperSizeCount);
    EXPECT_EQ(names.Name(static_cast<int>(TQRPaperSize::qr10X14)), L"qr10X14");
    EXPECT_EQ(names.ValueOf(L"A4"), static_cast<int>(TQRPaperSize::A4));
    for (int i = 0; i + 1 < QRPaperSizeCount; ++i) EXPECT_EQ(QRPaperCode(static_cast<TQRPaperSize>(i)), i);
}

TEST(QRPaper, CodesLookUpTheFirstPaperAndNeverWrap) {
    struct Case {
        int code;
        TQRPaperSize size;
    } cases[] = {
        {9, TQRPaperSize::A4},
        {1, TQRPaperSize::Letter},  // not LetterSmall or Note, which share its size
        {256, TQRPaperSize::Custom},
        {300, TQRPaperSize::Default},  // not listed
        {256 + 9, TQRPaperSize::Default},  // a byte would make it A4
        {69, TQRPaperSize::Default},   // beyond the codes 0 to 68
        {-1, TQRPaperSize::Default},
        {0, TQRPaperSize::Default},
    };
    for (const Case& c : cases) EXPECT_EQ(QRPaperSizeOfCode(c.code), c.size) << "code " << c.code;
}

TEST(QRPaper, BinCodesBothWays) {
    EXPECT_EQ(QRBinOfCode(1), TQRBin::First);
    EXPECT_EQ(QRBinOfCode(7), TQRBin::Auto);
    EXPECT_EQ(QRBinOfCode(11), TQRBin::LargeCapacity);
    EXPECT_EQ(QRBinOfCode(14), TQRBin::Cassette);
    EXPECT_EQ(QRBinOfCode(12), TQRBin::First);  // not listed
    EXPECT_EQ(QRBinOfCode(256 + 2), TQRBin::First);
    EXPECT_EQ(QRBinCode(TQRBin::Upper), 1);
    EXPECT_EQ(QRBinCode(TQRBin::Middle), 3);
    EXPECT_EQ(QRBinCode(TQRBin::Cassette), 14);
    EXPECT_EQ(QRBinCode(TQRBin::Last), 14);
}

TEST(QRPaper, FallbackFollowsTheLocalesMeasurement) {
    const TFormatSettings saved = DefaultFormatSettings();
    TFormatSettings settings = saved;
    settings.MeasureInInches = false;
    SetDefaultFormatSettings(settings);
    EXPECT_EQ(QRFallbackPaperSize(), TQRPaperSize::A4);
    settings.MeasureInInches = true;
    SetDefaultFormatSettings(settings);
    EXPECT_EQ(QRFallbackPaperSize(), TQRPaperSize::Letter);
    SetDefaultFormatSettings(saved);
}

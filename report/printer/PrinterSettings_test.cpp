#include "report/printer/PrinterSettings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/rtl/FormatSettings.h"
#include "testing/FakePrinters.h"

namespace {

class PrinterSettingsTest : public ::testing::Test {
protected:
    FakePrinterModel& Model() { return machine.Printers[0]; }
    // Settings bound to a new printer object of the machine as it is now.
    TPrinterSettings& Bound() {
        printer = std::make_unique<TPrinter>();
        settings.SetPrinter(printer.get());
        return settings;
    }
    // The DEVMODE the printer object holds now.
    DEVMODEW Held() {
        const std::vector<Byte> bytes = printer->DeviceMode();
        DEVMODEW dm{};
        std::memcpy(&dm, bytes.data(), sizeof dm);
        return dm;
    }

    FakePrintMachine machine;
    ScopedFakePrinters installed{machine};
    std::unique_ptr<TPrinter> printer;
    TPrinterSettings settings;
};

}  // namespace

TEST_F(PrinterSettingsTest, ReadsResolutionOffsetsAndPaperFromTheDevice) {
    Model().PixelsPerInch = 600;
    Model().OffsetX = 100;  // 100 / 600 * 254 = 42.3
    Model().OffsetY = 150;  // 63.5: halves to even
    Model().Copies = 2;
    TPrinterSettings& s = Bound();
    EXPECT_EQ(s.PixelsPerInchX(), 600);
    EXPECT_EQ(s.LeftOffset(), 42);
    EXPECT_EQ(s.TopOffset(), 64);
    EXPECT_EQ(s.PaperSize(), TQRPaperSize::A4);
    EXPECT_EQ(s.PaperWidth(), 2100);
    EXPECT_EQ(s.Copies(), 2);
    EXPECT_EQ(s.DeviceName(), L"Fake Printer");
    EXPECT_EQ(s.DriverName(), L"FAKEPS.DRV");  // the driver's file, without its folder
    EXPECT_EQ(s.PrinterIndexRead(), 0);
    EXPECT_TRUE(s.SupportedPapersRead());
    EXPECT_TRUE(s.IsPaperSupported(TQRPaperSize::Letter));
    EXPECT_FALSE(s.IsPaperSupported(TQRPaperSize::Legal));
}

TEST_F(PrinterSettingsTest, DriverCodesReadThroughTheTables) {
    struct Case {
        short paper, source, duplex;
        TQRPaperSize size;
        TQRBin bin;
        bool duplexed;
    } cases[] = {
        {9, 1, DMDUP_SIMPLEX, TQRPaperSize::A4, TQRBin::First, false},
        {1, 14, DMDUP_VERTICAL, TQRPaperSize::Letter, TQRBin::Cassette, true},
        {256, 7, DMDUP_HORIZONTAL, TQRPaperSize::Custom, TQRBin::Auto, true},
        {300, 99, DMDUP_SIMPLEX, TQRPaperSize::Default, TQRBin::First, false},
    };
    for (const Case& c : cases) {
        Model().PaperCode = c.paper;
        Model().DefaultSource = c.source;
        Model().Duplex = c.duplex;
        TPrinterSettings s;
        TPrinter own;
        s.SetPrinter(&own);
        EXPECT_EQ(s.PaperSize(), c.size) << "paper code " << c.paper;
        EXPECT_EQ(s.OutputBin(), c.bin) << "source " << c.source;
        EXPECT_EQ(s.Duplex(), c.duplexed);
        EXPECT_EQ(s.ExtendedDuplex(), c.duplex);
    }
}

TEST_F(PrinterSettingsTest, FieldsTheDriverLacksAreNotRead) {
    Model().PixelsPerInch = 127;  // the page in whole device units
    Model().Fields = DM_ORIENTATION;
    Model().Copies = 5;
    TPrinterSettings& s = Bound();
    EXPECT_EQ(s.Copies(), 1);
    EXPECT_EQ(s.OutputBin(), TQRBin::First);
    EXPECT_EQ(s.PaperSize(), TQRPaperSize::Default);
    EXPECT_EQ(s.PaperWidth(), 2100);  // the device's physical page
    EXPECT_EQ(s.PaperLength(), 2970);
    EXPECT_FALSE(s.TrySetCopies(3));
    EXPECT_FALSE(s.TrySetDuplex(true));
    EXPECT_FALSE(s.TrySetOutputBin(TQRBin::Manual));
    EXPECT_TRUE(s.TrySetOrientation(poLandscape));
    EXPECT_FALSE(s.TrySetPaperSize(TQRPaperSize::Legal));  // not among the driver's papers
    EXPECT_TRUE(s.TrySetPaperSize(TQRPaperSize::Letter));
    EXPECT_TRUE(s.TrySetPaperSize(TQRPaperSize::Default));
}

TEST_F(PrinterSettingsTest, AZeroResolutionNeverDivides) {
    Model().PixelsPerInch = 0;
    Model().Fields = DM_ORIENTATION;
    Model().OffsetX = 100;
    TPrinterSettings& s = Bound();
    EXPECT_EQ(s.PixelsPerInchX(), 0);
    EXPECT_EQ(s.LeftOffset(), 0);
    EXPECT_EQ(s.PaperSize(), TQRPaperSize::Default);
    // The paper the settings had: A4.
    EXPECT_EQ(s.PaperWidth(), 2100);
    EXPECT_EQ(s.PaperLength(), 2970);
}

TEST_F(PrinterSettingsTest, TheSettingsKeepACopyOfTheDeviceMode) {
    TPrinterSettings& s = Bound();
    const DEVMODEW* copy = s.DeviceMode();
    ASSERT_NE(copy, nullptr);
    // The printer object replaces and frees its block; the settings' copy is their own.
    printer->SetPrinter(L"Fake Printer", L"Fake Driver", L"LPT1:", HGLOBAL{nullptr});
    printer->SetCopies(4);
    EXPECT_EQ(s.DeviceMode(), copy);
    EXPECT_EQ(copy->dmPaperSize, DMPAPER_A4);
    EXPECT_EQ(copy->dmCopies, 1);
    EXPECT_TRUE(s.Supports(DM_COPIES | DM_PAPERSIZE));
}

TEST_F(PrinterSettingsTest, ApplyingWritesTheWishesIntoThePrintersSettings) {
    TPrinterSettings& s = Bound();
    ASSERT_TRUE(s.TrySetPaperSize(TQRPaperSize::Letter));
    ASSERT_TRUE(s.TrySetCopies(3));
    ASSERT_TRUE(s.TrySetOutputBin(TQRBin::Upper));
    ASSERT_TRUE(s.TrySetOrientation(poLandscape));
    ASSERT_TRUE(s.TrySetDuplex(true));
    s.SetExtendedDuplex(0);  // reading took the driver's code; a report sets its own before a run
    s.SetCollate(DMCOLLATE_TRUE);
    s.ApplyToPrinter();
    DEVMODEW dm = Held();
    EXPECT_EQ(dm.dmPaperSize, DMPAPER_LETTER);
    EXPECT_EQ(dm.dmPaperWidth, 2159);
    EXPECT_EQ(dm.dmPaperLength, 2794);
    EXPECT_TRUE(dm.dmFields & DM_PAPERWIDTH);
    EXPECT_EQ(dm.dmCopies, 3);
    EXPECT_EQ(dm.dmDefaultSource, 1);
    EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(dm.dmDuplex, DMDUP_HORIZONTAL);  // duplex without an extended code
    EXPECT_EQ(dm.dmCollate, DMCOLLATE_TRUE);

    s.SetExtendedDuplex(DMDUP_VERTICAL);
    ASSERT_TRUE(s.TrySetDuplex(false));
    ASSERT_TRUE(s.TrySetOutputBin(TQRBin::Last));
    s.ApplyToPrinter();
    dm = Held();
    EXPECT_EQ(dm.dmDuplex, DMDUP_VERTICAL);  // the extended code, whatever duplex says
    EXPECT_EQ(dm.dmDefaultSource, 14);

    s.SetUseCustomBinCode(true);
    s.SetCustomBinCode(260);
    s.SetUseCustomPaperCode(true);
    s.SetCustomPaperCode(300);
    s.ApplyToPrinter();
    dm = Held();
    EXPECT_EQ(dm.dmDefaultSource, 260);
    EXPECT_EQ(dm.dmPaperSize, 300);
}

TEST_F(PrinterSettingsTest, SixteenBitFieldsAreClampedNotWrapped) {
    Model().Papers = std::vector<Word>{DMPAPER_A4, DMPAPER_USER};
    TPrinterSettings& s = Bound();
    ASSERT_TRUE(s.TrySetPaperSize(TQRPaperSize::Custom));
    s.SetCustomPaperWidth(70000);
    s.SetCustomPaperLength(40000);
    s.SetUseCustomBinCode(true);
    s.SetCustomBinCode(-70000);
    s.ApplyToPrinter();
    const DEVMODEW dm = Held();
    EXPECT_EQ(dm.dmPaperSize, DMPAPER_USER);
    EXPECT_EQ(dm.dmPaperWidth, 32767);
    EXPECT_EQ(dm.dmPaperLength, 32767);
    EXPECT_EQ(dm.dmDefaultSource, -32768);
}

TEST_F(PrinterSettingsTest, FieldsTheDriverLacksAreNotWrittenExceptTheAlwaysWrittenOnes) {
    Model().Fields = DM_ORIENTATION;
    TPrinterSettings& s = Bound();
    s.SetCollate(DMCOLLATE_TRUE);
    s.ApplyToPrinter();
    const DEVMODEW dm = Held();
    EXPECT_FALSE(dm.dmFields & DM_PAPERSIZE);
    EXPECT_FALSE(dm.dmFields & DM_DUPLEX);
    EXPECT_FALSE(dm.dmFields & DM_COLLATE);
    EXPECT_EQ(dm.dmCollate, DMCOLLATE_FALSE);
    EXPECT_TRUE(dm.dmFields & DM_COPIES);
    EXPECT_TRUE(dm.dmFields & DM_DEFAULTSOURCE);
    EXPECT_TRUE(dm.dmFields & DM_PAPERLENGTH);
}

TEST_F(PrinterSettingsTest, ApplyingWithoutAHeldDeviceModeStartsFromTheDriversDefaults) {
    TPrinterSettings& s = Bound();
    ASSERT_TRUE(s.TrySetCopies(2));
    printer->SetPrinter(L"Fake Printer", L"Fake Driver", L"LPT1:", HGLOBAL{nullptr});  // holds none now
    s.ApplyToPrinter();
    EXPECT_EQ(Held().dmCopies, 2);
}

TEST_F(PrinterSettingsTest, EventsMayCancelReadingAndApplying) {
    struct Handler {
        bool cancel = false;
        int calls = 0;
        void Run(TObject*, bool& cancelled, DEVMODEW* dm) {
            ++calls;
            dm->dmCopies = 7;  // what a handler changes is what gets applied
            cancelled = cancel;
        }
    } handler;
    Model().Copies = 3;
    settings.OnGetPrinterSettings = TQRPrinterEvent(&handler, &Handler::Run);
    handler.cancel = true;
    TPrinterSettings& s = Bound();
    EXPECT_EQ(handler.calls, 1);
    EXPECT_EQ(s.Copies(), 1) << "nothing read";
    EXPECT_EQ(s.PrinterIndexRead(), -1);

    settings.OnGetPrinterSettings = nullptr;
    settings.OnApplyPrinterSettings = TQRPrinterEvent(&handler, &Handler::Run);
    s.ApplyToPrinter();
    EXPECT_EQ(Held().dmCopies, 3) << "cancelled: the printer keeps its settings";
    handler.cancel = false;
    s.ApplyToPrinter();
    EXPECT_EQ(Held().dmCopies, 7);
}

TEST_F(PrinterSettingsTest, AFailureWhileReadingUnbindsThePrinter) {
    machine.FailPapers = true;
    TPrinterSettings& s = Bound();
    EXPECT_EQ(s.Printer(), nullptr);
    EXPECT_FALSE(s.Supports(DM_ORIENTATION));
    s.ApplyToPrinter();  // does nothing unbound
}

TEST_F(PrinterSettingsTest, ADriverWithoutSettingsSupportsNothing) {
    Model().GivesDevMode = false;
    TPrinterSettings& s = Bound();
    EXPECT_EQ(s.DeviceMode(), nullptr);
    EXPECT_FALSE(s.Supports(DM_ORIENTATION));
    EXPECT_FALSE(s.TrySetPaperSize(TQRPaperSize::A4));
    s.ApplyToPrinter();
}

TEST_F(PrinterSettingsTest, WithoutPrintersOnlyDefaultPaperIsTakenAndA4StaysWhateverTheLocale) {
    machine.Printers.clear();
    const TFormatSettings saved = DefaultFormatSettings();
    for (bool inches : {false, true}) {
        TFormatSettings format = saved;
        format.MeasureInInches = inches;
        SetDefaultFormatSettings(format);
        TPrinterSettings s;
        TPrinter none;
        s.SetPrinter(&none);
        EXPECT_EQ(s.PaperSize(), TQRPaperSize::A4) << "inches " << inches;
        EXPECT_FALSE(s.Supports(DM_ORIENTATION));
        EXPECT_FALSE(s.TrySetPaperSize(TQRPaperSize::Letter));
        EXPECT_EQ(s.PaperSize(), TQRPaperSize::A4);
        EXPECT_FALSE(s.TrySetPaperSize(TQRPaperSize::Legal));
        EXPECT_TRUE(s.TrySetPaperSize(TQRPaperSize::Default));
        // Default keeps the stored paper, which is A4's.
        EXPECT_EQ(s.PaperWidth(), 2100) << "inches " << inches;
        EXPECT_EQ(s.PaperLength(), 2970) << "inches " << inches;
        s.ApplyToPrinter();
    }
    SetDefaultFormatSettings(saved);
}

TEST_F(PrinterSettingsTest, CurrentPrinterPaperSize) {
    struct Case {
        DWORD fields;
        short code;
        TQRPaperSize expected;
    } cases[] = {
        {DM_PAPERSIZE, 9, TQRPaperSize::A4},
        {DM_PAPERSIZE, 256, TQRPaperSize::Custom},
        {DM_PAPERSIZE, 300, TQRPaperSize::Default},
        {DM_ORIENTATION, 9, TQRPaperSize::Default},
    };
    for (const Case& c : cases) {
        Model().Fields = c.fields;
        Model().PaperCode = c.code;
        ScopedFakePrinters again(machine);  // a fresh process-wide printer object
        EXPECT_EQ(CurrentPrinterPaperSize(), c.expected) << "code " << c.code;
    }
    machine.Printers.clear();
    ScopedFakePrinters none(machine);
    const TFormatSettings saved = DefaultFormatSettings();
    for (bool inches : {false, true}) {
        TFormatSettings format = saved;
        format.MeasureInInches = inches;
        SetDefaultFormatSettings(format);
        EXPECT_EQ(CurrentPrinterPaperSize(), TQRPaperSize::A4) << "no printer, inches " << inches;
    }
    SetDefaultFormatSettings(saved);
}

TEST_F(PrinterSettingsTest, ResetPrinterDeviceModeTakesTheDriversDefaults) {
    TPrinter own;
    own.SetCopies(5);
    ResetPrinterDeviceMode(own);
    EXPECT_EQ(own.Copies(), 1);
}

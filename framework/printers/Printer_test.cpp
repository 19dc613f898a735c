#include "framework/printers/Printer.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Metafile.h"
#include "framework/rtl/FileUtils.h"
#include "testing/TestPrinter.h"

namespace {

// A spooler with a fixed list of printers whose default DEVMODE is a plain public block.
class FakeSpooler : public TPrintSpooler {
public:
    FakeSpooler(std::vector<TPrinterInfo> printers, String defaultPrinter)
        : printers_(std::move(printers)), default_(std::move(defaultPrinter)) {}

    std::vector<TPrinterInfo> EnumPrinters() override { return printers_; }
    String DefaultPrinter() override { return default_; }
    std::vector<Byte> DefaultDevMode(const TPrinterInfo& printer) override {
        std::vector<Byte> block(sizeof(DEVMODEW));
        auto* dm = reinterpret_cast<DEVMODEW*>(block.data());
        lstrcpynW(dm->dmDeviceName, printer.Device.c_str(), CCHDEVICENAME);
        dm->dmSize = sizeof(DEVMODEW);
        dm->dmFields = DM_ORIENTATION | DM_COPIES;
        dm->dmOrientation = DMORIENT_PORTRAIT;
        dm->dmCopies = 1;
        return block;
    }
    UniqueDC CreateDC(const TPrinterInfo&, const DEVMODEW* settings) override {
        lastOrientation = settings ? settings->dmOrientation : 0;
        return {};  // no device behind it
    }
    std::optional<std::vector<Word>> Papers(const TPrinterInfo&, const DEVMODEW*) override { return std::nullopt; }
    String DriverPath(const TPrinterInfo&) override { return {}; }

    std::vector<TPrinterInfo> printers_;
    String default_;
    int lastOrientation = 0;
};

std::unique_ptr<TPrinter> PrinterWith(std::vector<TPrinterInfo> printers, String defaultPrinter,
                                      FakeSpooler** spooler = nullptr) {
    auto fake = std::make_unique<FakeSpooler>(std::move(printers), std::move(defaultPrinter));
    if (spooler) *spooler = fake.get();
    return std::make_unique<TPrinter>(std::move(fake));
}

const DEVMODEW* Lock(HGLOBAL block) { return static_cast<const DEVMODEW*>(GlobalLock(block)); }

}  // namespace

TEST(Printer, WithoutPrintersItSaysSoInsteadOfCrashing) {
    auto printer = PrinterWith({}, L"");
    EXPECT_TRUE(printer->Printers().empty());
    EXPECT_EQ(printer->PrinterIndex(), -1);
    EXPECT_FALSE(printer->Printing());
    String device, driver, port;
    HGLOBAL devMode = nullptr;
    EXPECT_THROW(printer->GetPrinter(device, driver, port, devMode), EPrinter);
    EXPECT_THROW(printer->BeginDoc(), EPrinter);
    EXPECT_THROW(printer->Handle(), EPrinter);
    EXPECT_THROW(printer->Orientation(), EPrinter);
    EXPECT_THROW(printer->SetPrinterIndex(0), EPrinter);
    EXPECT_THROW(printer->EndDoc(), EPrinter);
    EXPECT_THROW(printer->NewPage(), EPrinter);
}

TEST(Printer, SelectsTheDefaultPrinterUntilAnotherIsChosen) {
    auto printer = PrinterWith({{L"Laser", L"drv", L"LPT1:"}, {L"Inkjet", L"drv", L"USB1:"}}, L"inkjet");
    EXPECT_EQ(printer->Printers(), (std::vector<String>{L"Laser", L"Inkjet"}));
    EXPECT_EQ(printer->PrinterIndex(), 1);
    printer->SetPrinterIndex(0);
    EXPECT_EQ(printer->PrinterIndex(), 0);
    EXPECT_THROW(printer->SetPrinterIndex(2), EPrinter);
    printer->SetPrinterIndex(-1);
    EXPECT_EQ(printer->PrinterIndex(), 1);
}

TEST(Printer, RefreshKeepsTheSelectionWhileItExists) {
    FakeSpooler* spooler = nullptr;
    auto printer = PrinterWith({{L"A", L"d", L"p"}, {L"B", L"d", L"p"}}, L"A", &spooler);
    printer->SetPrinterIndex(1);
    spooler->printers_.insert(spooler->printers_.begin(), TPrinterInfo{L"New", L"d", L"p"});
    printer->Refresh();
    EXPECT_EQ(printer->Printers().size(), 3u);
    EXPECT_EQ(printer->PrinterIndex(), 2);  // still "B"
    spooler->printers_.clear();
    printer->Refresh();
    EXPECT_EQ(printer->PrinterIndex(), -1);
}

TEST(Printer, DeviceModeIsSharedForEditingAndCopiedWhenForeign) {
    FakeSpooler* spooler = nullptr;
    auto printer = PrinterWith({{L"Laser", L"drv", L"LPT1:"}}, L"Laser", &spooler);
    String device, driver, port;
    HGLOBAL devMode = nullptr;
    printer->GetPrinter(device, driver, port, devMode);
    EXPECT_EQ(device, L"Laser");
    EXPECT_EQ(driver, L"drv");
    EXPECT_EQ(port, L"LPT1:");
    ASSERT_NE(devMode, nullptr);

    // Edited in place, then handed back: the printer object keeps using the same block.
    auto* dm = static_cast<DEVMODEW*>(GlobalLock(devMode));
    dm->dmOrientation = DMORIENT_LANDSCAPE;
    GlobalUnlock(devMode);
    printer->SetPrinter(device, driver, port, devMode);
    EXPECT_EQ(printer->Orientation(), poLandscape);

    // A block of the caller's own is copied; the caller may free it.
    UniqueGlobal own(GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVMODEW)));
    auto* ownDm = static_cast<DEVMODEW*>(GlobalLock(own.get()));
    *ownDm = *Lock(devMode);
    GlobalUnlock(devMode);
    ownDm->dmCopies = 3;
    GlobalUnlock(own.get());
    printer->SetPrinter(L"Laser", L"drv", L"LPT1:", own.get());
    own.reset();
    EXPECT_EQ(printer->Copies(), 3);

    // 0 goes back to the driver's defaults.
    printer->SetPrinter(L"Laser", L"drv", L"LPT1:", nullptr);
    EXPECT_EQ(printer->Copies(), 1);
    EXPECT_EQ(printer->Orientation(), poPortrait);

    printer->SetOrientation(poLandscape);
    printer->SetCopies(2);
    printer->GetPrinter(device, driver, port, devMode);
    EXPECT_EQ(Lock(devMode)->dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(Lock(devMode)->dmCopies, 2);
    GlobalUnlock(devMode);
    GlobalUnlock(devMode);

    // The settings reach the device context request.
    EXPECT_THROW(printer->Handle(), EPrinter);  // the fake has no device
    EXPECT_EQ(spooler->lastOrientation, DMORIENT_LANDSCAPE);
}

TEST(Printer, SetPrinterAddsAnUnknownPrinter) {
    auto printer = PrinterWith({{L"Laser", L"drv", L"LPT1:"}}, L"Laser");
    printer->SetPrinter(L"Remote", L"drv2", L"\\\\server\\q", nullptr);
    EXPECT_EQ(printer->Printers().size(), 2u);
    EXPECT_EQ(printer->PrinterIndex(), 1);
}

TEST(Printer, ProcessWidePrinterCanBeReplaced) {
    auto previous = SetPrinterObject(PrinterWith({}, L""));
    EXPECT_TRUE(Printer().Printers().empty());
    auto fake = SetPrinterObject(std::move(previous));
    EXPECT_NE(fake, nullptr);
}

// ---- with the test printer the harness installs (a PostScript printer on FILE:) ----

namespace {

void SelectTestPrinter(TPrinter& printer) {
    const int index = TestPrinterIndex(printer);
    if (index < 0) FAIL() << "the test printer is not installed";
    printer.SetPrinterIndex(index);
}

}  // namespace

TEST(PrinterOnTestPrinter, TwoPagesMakeATwoPagePostScriptFile) {
    TPrinter printer;
    SelectTestPrinter(printer);
    const String output = GetTempDirectory() + L"fv-two-pages.ps";
    DeleteFile(output);
    printer.SetTitle(L"Curriculo");
    printer.SetOutputFile(output);
    EXPECT_GT(printer.PageWidth(), 1000);  // printer resolution, not the screen's

    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 1);
    EXPECT_THROW(printer.SetPrinterIndex(0), EPrinter);
    printer.Canvas().Font().SetSize(12);
    printer.Canvas().TextOut(100, 100, L"P\u00E1gina 1");
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.Canvas().Rectangle(100, 100, 600, 600);
    printer.Canvas().TextOut(100, 700, L"P\u00E1gina 2");
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());

    EXPECT_EQ(CountLinesStartingWith(output, "%%Page:"), 2);
    EXPECT_EQ(CountLinesStartingWith(output, "%!PS"), 1);
    EXPECT_EQ(CountLinesStartingWith(output, "%%Title: Curr"), 1);  // the job's title
    DeleteFile(output);
}

TEST(PrinterOnTestPrinter, AbortEndsTheJob) {
    TPrinter printer;
    SelectTestPrinter(printer);
    const String output = GetTempDirectory() + L"fv-aborted.ps";
    printer.SetOutputFile(output);
    printer.BeginDoc();
    printer.Canvas().Rectangle(0, 0, 10, 10);
    printer.Abort();
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(printer.Aborted());
    EXPECT_THROW(printer.EndDoc(), EPrinter);
    printer.BeginDoc();  // usable again
    printer.EndDoc();
    EXPECT_FALSE(printer.Aborted());
    DeleteFile(output);
}

TEST(PrinterOnTestPrinter, OrientationReachesTheDevice) {
    TPrinter printer;
    SelectTestPrinter(printer);
    printer.SetOrientation(poPortrait);
    const int portraitWidth = printer.PageWidth(), portraitHeight = printer.PageHeight();
    printer.SetOrientation(poLandscape);
    EXPECT_EQ(printer.Orientation(), poLandscape);
    EXPECT_EQ(printer.PageWidth(), portraitHeight);
    EXPECT_EQ(printer.PageHeight(), portraitWidth);
}

TEST(PrinterOnTestPrinter, PagesRecordedAsMetafilesForThePrinterPrint) {
    TPrinter printer;
    SelectTestPrinter(printer);
    TMetafile page;
    {
        TMetafileCanvas canvas(page, printer.Handle());  // measured at the printer's resolution
        canvas.Brush().SetColor(clBlue);
        canvas.FillRect(Rect(0, 0, printer.PageWidth() / 2, printer.PageHeight() / 2));
        canvas.TextOut(100, printer.PageHeight() / 2 + 100, L"Folhavida");
        TBitmap photo(60, 80);
        photo.Canvas().Brush().SetColor(clRed);
        photo.Canvas().FillRect(Rect(10, 10, 50, 70));
        canvas.StretchDraw(Rect(printer.PageWidth() / 2, 0, printer.PageWidth() / 2 + 600, 800), photo);
    }
    ASSERT_FALSE(page.Empty());
    const String output = GetTempDirectory() + L"fv-metafile-page.ps";
    printer.SetOutputFile(output);
    printer.BeginDoc();
    printer.Canvas().StretchDraw(Rect(0, 0, printer.PageWidth(), printer.PageHeight()), page);
    printer.EndDoc();
    EXPECT_EQ(CountLinesStartingWith(output, "%%Page:"), 1);
    EXPECT_GT(FileSize(output), 2000);
    DeleteFile(output);
}

TEST(PrinterOnTestPrinter, BitmapsPrintDirectly) {
    TPrinter printer;
    SelectTestPrinter(printer);
    const String output = GetTempDirectory() + L"fv-bitmap-page.ps";
    printer.SetOutputFile(output);
    TBitmap photo(60, 80);
    photo.Canvas().Brush().SetColor(clRed);
    photo.Canvas().FillRect(Rect(10, 10, 50, 70));
    printer.BeginDoc();
    printer.Canvas().StretchDraw(Rect(100, 100, 700, 900), photo);
    printer.EndDoc();
    EXPECT_EQ(CountLinesStartingWith(output, " /Width 60"), 1);  // the pixels went to the printer
    DeleteFile(output);
}

TEST(PrinterOnTestPrinter, PrintingIntoAnExistingFileReplacesIt) {
    TPrinter printer;
    SelectTestPrinter(printer);
    const String output = GetTempDirectory() + L"fv-replaced.ps";
    printer.SetOutputFile(output);
    printer.BeginDoc();
    for (int page = 1; page < 3; ++page) {
        printer.Canvas().TextOut(100, 100, L"Uma p\u00E1gina com bastante texto para ocupar o arquivo");
        printer.NewPage();
    }
    printer.EndDoc();
    ASSERT_EQ(CountLinesStartingWith(output, "%%Page:"), 3);
    printer.BeginDoc();
    printer.EndDoc();
    EXPECT_EQ(CountLinesStartingWith(output, "%%Page:"), 1);
    EXPECT_EQ(CountLinesStartingWith(output, "%%EOF"), 1);
    DeleteFile(output);
}

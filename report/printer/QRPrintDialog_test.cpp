#include "report/printer/QRPrintDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "framework/classes/PropertyAccess.h"
#include "report/printer/ReportPrinterRegistration.h"
#include "framework/rtl/StringUtils.h"
#include "testing/FakePrinters.h"

namespace {

// The dialog as a person would answer it: records what it was given and changes it.
struct ScriptedDialog {
    static inline TPrintDialogData given;
    static inline std::function<bool(TPrintDialogData&)> answer;
    static bool Run(TPrintDialogData& data) {
        given = data;
        if (data.OnShow) data.OnShow();
        const bool confirmed = answer(data);
        if (data.OnClose) data.OnClose();
        return confirmed;
    }
};

class QRPrintDialogTest : public ::testing::Test {
protected:
    QRPrintDialogTest() : previous_(SetPrintDialogRunner(&ScriptedDialog::Run)) {
        FakePrinterModel second;
        second.Info = {L"Second", L"Other Driver", L"LPT2:"};
        machine.Printers.push_back(second);
        installed = std::make_unique<ScopedFakePrinters>(machine);
        ScriptedDialog::answer = [](TPrintDialogData&) { return false; };
    }
    ~QRPrintDialogTest() override { SetPrintDialogRunner(previous_); }

    FakePrintMachine machine;
    std::unique_ptr<ScopedFakePrinters> installed;
    TLocal<TQRPrintDialog> dialog{nullptr};

private:
    TPrintDialogRunner previous_;
};

DEVMODEW& DevModeIn(TPrintDialogData& data) { return *reinterpret_cast<DEVMODEW*>(data.DevMode.data()); }

}  // namespace

TEST_F(QRPrintDialogTest, OptionsAndRangeBecomeTheDialogsFlags) {
    struct Case {
        TQRPrintDialogOptions options;
        TQRPrintRange range;
        int collate;
        bool toFile;
        DWORD flags;
    } cases[] = {
        {{}, prAllPages, 0, false, PD_HIDEPRINTTOFILE | PD_NOPAGENUMS | PD_NOSELECTION | PD_NOWARNING},
        {{poPageNums, poWarning}, prPageNums, 0, false, PD_PAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION},
        {{poSelection, poPrintToFile, poHelp}, prSelection, 1, true,
         PD_SELECTION | PD_COLLATE | PD_NOPAGENUMS | PD_PRINTTOFILE | PD_SHOWHELP | PD_NOWARNING},
        {{poPrintToFile, poDisablePrintToFile}, prAllPages, 0, false,
         PD_DISABLEPRINTTOFILE | PD_NOPAGENUMS | PD_NOSELECTION | PD_NOWARNING},
    };
    for (const Case& c : cases) {
        dialog.SetOptions(c.options);
        dialog.SetPrintRange(c.range);
        dialog.SetCollate(c.collate);
        dialog.SetPrintToFile(c.toFile);
        EXPECT_FALSE(dialog.Execute());
        EXPECT_EQ(ScriptedDialog::given.Flags, c.flags);
    }
}

TEST_F(QRPrintDialogTest, OffersThePrintersNamesSettingsAndPages) {
    Printer().SetPrinterIndex(1);
    dialog.SetMinPage(1);
    dialog.SetMaxPage(4);
    dialog.SetFromPage(1);
    dialog.SetToPage(4);
    dialog.SetHelpContext(12);
    EXPECT_FALSE(dialog.Execute());
    const TPrintDialogData& given = ScriptedDialog::given;
    EXPECT_EQ(given.Device, L"Second");
    EXPECT_EQ(given.Driver, L"Other Driver");
    EXPECT_EQ(given.Port, L"LPT2:");
    ASSERT_GE(given.DevMode.size(), sizeof(DEVMODEW));
    EXPECT_EQ(given.MinPage, 1);
    EXPECT_EQ(given.MaxPage, 4);
    EXPECT_EQ(given.ToPage, 4);
    EXPECT_EQ(given.HelpContext, 12);
}

TEST_F(QRPrintDialogTest, ConfirmedChoicesReachThePrinterAndTheProperties) {
    struct Events {
        int shown = 0, closed = 0;
        void Show(TObject*) { ++shown; }
        void Close(TObject*) { ++closed; }
    } events;
    dialog.OnShow = TNotifyEvent(&events, &Events::Show);
    dialog.OnClose = TNotifyEvent(&events, &Events::Close);
    ScriptedDialog::answer = [](TPrintDialogData& data) {
        data.Device = L"Second";
        data.Driver = L"driver the dialog names";
        data.Flags = PD_PAGENUMS | PD_PRINTTOFILE;
        data.FromPage = 2;
        data.ToPage = 3;
        data.Copies = 1;  // the copies are in the settings
        DEVMODEW& dm = DevModeIn(data);
        dm.dmCopies = 3;
        dm.dmPaperSize = 300;  // a driver's own paper: kept as its code
        dm.dmPaperWidth = 1500;
        dm.dmPaperLength = 2500;
        dm.dmDefaultSource = 260;
        dm.dmOrientation = DMORIENT_LANDSCAPE;
        dm.dmDuplex = DMDUP_VERTICAL;
        dm.dmCollate = DMCOLLATE_TRUE;
        dm.dmColor = DMCOLOR_MONOCHROME;
        dm.dmPrintQuality = 300;
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(events.shown, 1);
    EXPECT_EQ(events.closed, 1);

    TPrinter& printer = Printer();
    EXPECT_EQ(printer.PrinterIndex(), 1);
    String device, driver, port;
    HGLOBAL unused = nullptr;
    printer.GetPrinter(device, driver, port, unused);
    EXPECT_EQ(driver, L"Other Driver") << "the printer keeps the driver name it had";
    EXPECT_EQ(printer.Copies(), 3);
    EXPECT_EQ(printer.Orientation(), poLandscape);

    EXPECT_TRUE(dialog.PrintToFile());
    EXPECT_EQ(dialog.PrintRange(), prPageNums);
    EXPECT_EQ(dialog.FromPage(), 2);
    EXPECT_EQ(dialog.ToPage(), 3);
    EXPECT_EQ(dialog.Copies(), 3);
    EXPECT_EQ(dialog.PaperSize(), 300);
    EXPECT_EQ(dialog.Paperwidth(), 1500);
    EXPECT_EQ(dialog.Paperlength(), 2500);
    EXPECT_EQ(dialog.OutputBin(), 260);
    EXPECT_EQ(dialog.Orientation(), poLandscape);
    EXPECT_TRUE(dialog.Duplex());
    EXPECT_EQ(dialog.DuplexCode(), DMDUP_VERTICAL);
    EXPECT_EQ(dialog.Collate(), DMCOLLATE_TRUE);
    EXPECT_EQ(dialog.ColorOption(), DMCOLOR_MONOCHROME);
    EXPECT_EQ(dialog.PrintQuality(), 300);
    EXPECT_EQ(dialog.DeviceModeFields(), machine.Printers[1].Fields);
}

TEST_F(QRPrintDialogTest, CopiesTheDialogCountsAreTaken) {
    ScriptedDialog::answer = [](TPrintDialogData& data) {
        data.Copies = 4;
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Copies(), 4);
    EXPECT_EQ(Printer().Copies(), 4);
}

TEST_F(QRPrintDialogTest, CancellingChangesNothing) {
    dialog.SetFromPage(1);
    Printer().SetCopies(2);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FromPage(), 1);
    EXPECT_EQ(Printer().Copies(), 2);
    EXPECT_EQ(dialog.PaperSize(), 0);
}

TEST_F(QRPrintDialogTest, WithoutAPrinterTheDialogSaysSo) {
    machine.Printers.clear();
    ScopedFakePrinters none(machine);
    dialog.ChangeCopies(2);  // kept, with no printer to hold it
    EXPECT_EQ(dialog.Copies(), 2);
    try {
        dialog.Execute();
        ADD_FAILURE() << "ran without a printer";
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.Message(), SNoDefaultPrinter);
    }
}

TEST_F(QRPrintDialogTest, WithoutAWindowingLayerThereIsNoDialog) {
    SetPrintDialogRunner(nullptr);
    EXPECT_THROW(dialog.Execute(), EPrinter);
}

TEST(ReportPrinterRegistration, StoredDescriptionsCanNameTheFamilysComponents) {
    RegisterReportPrinterClasses();
    RegisterReportPrinterClasses();  // again: nothing changes
    for (const wchar_t* name : {L"TQRPrintDialog", L"TQRPreviewInterface"})
        EXPECT_NE(GetClass(name), nullptr) << StringToUtf8(name);
    TLocal<TQRPrintDialog> dialog(nullptr);
    SetPropValue(&dialog, L"Options", L"[poPageNums, poWarning]");
    SetPropValue(&dialog, L"PrintRange", L"prPageNums");
    EXPECT_EQ(dialog.Options(), (TQRPrintDialogOptions{poPageNums, poWarning}));
    EXPECT_EQ(GetPropValue(&dialog, L"PrintRange"), L"prPageNums");
}

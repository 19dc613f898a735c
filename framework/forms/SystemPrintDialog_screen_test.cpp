#include "framework/forms/SystemPrintDialog.h"

#include <gtest/gtest.h>

#include "framework/forms/ApplicationScope.h"
#include "framework/forms/Form.h"
#include "framework/printers/Printer.h"
#include "testing/ControlTestSupport.h"
#include "testing/TestPrinter.h"

namespace {

// The test printer (installed by the harness) with its settings, offering pages 1 to 5.
TPrintDialogData TestPrinterData() {
    TPrinter printer;
    const int index = TestPrinterIndex(printer);
    if (index >= 0) printer.SetPrinterIndex(index);
    TPrintDialogData data;
    HGLOBAL unused = nullptr;
    printer.GetPrinter(data.Device, data.Driver, data.Port, unused);
    data.DevMode = printer.DeviceMode();
    data.Flags = PD_PAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE | PD_NOWARNING;
    data.MinPage = 1;
    data.MaxPage = 5;
    data.FromPage = 2;
    data.ToPage = 3;
    return data;
}

}  // namespace

TEST(SystemPrintDialog, RunsCentredOverDisabledWindowsAndHandsBackTheChoices) {
    TLocal<TForm> form(nullptr);
    form.SetBounds(50, 50, 300, 200);
    form.Show();
    TPrintDialogData data = TestPrinterData();
    ASSERT_EQ(data.Device, kTestPrinterName) << "the test printer is not installed";
    int shown = 0, closed = 0;
    data.OnShow = [&] { ++shown; };
    data.OnClose = [&] { ++closed; };

    RECT bounds{};
    bool formEnabled = true;
    TWindowWatcher watcher(L"#32770", [&](HWND dialog) {
        GetWindowRect(dialog, &bounds);
        formEnabled = IsWindowEnabled(form.Handle());
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(ExecutePrintDialog(data)) << "the application scope installs the system dialog";
    ASSERT_TRUE(watcher.Found());

    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(bounds.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 3);
    EXPECT_FALSE(formEnabled) << "the other windows are disabled while it runs";
    EXPECT_TRUE(IsWindowEnabled(form.Handle()));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(data.Device, kTestPrinterName);
    EXPECT_TRUE(data.Flags & PD_PAGENUMS);
    EXPECT_EQ(data.FromPage, 2);
    EXPECT_EQ(data.ToPage, 3);
    EXPECT_GE(data.Copies, 1);
    ASSERT_GE(data.DevMode.size(), offsetof(DEVMODEW, dmFormName));
    EXPECT_EQ(String(reinterpret_cast<const DEVMODEW*>(data.DevMode.data())->dmDeviceName), kTestPrinterName);
}

TEST(SystemPrintDialog, CancellingHandsBackNothing) {
    TPrintDialogData data = TestPrinterData();
    TWindowWatcher watcher(L"#32770", [](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); });
    EXPECT_FALSE(RunSystemPrintDialog(data));
    EXPECT_TRUE(watcher.Found());
    EXPECT_EQ(data.FromPage, 2);
}

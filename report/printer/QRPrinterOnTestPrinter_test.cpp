// Printing on the PostScript test printer the harness installs (a CTest fixture).
#include <gtest/gtest.h>

#include "framework/rtl/FileUtils.h"
#include "report/printer/QRPrinter.h"
#include "testing/TestPrinter.h"

TEST(QRPrinterOnTestPrinter, AStoredThreePageReportPrintsThreePages) {
    const String stored = GetTempDirectory() + L"fv-qrprinter-three.QRP";
    const String output = GetTempDirectory() + L"fv-qrprinter-three.ps";
    {
        TQRPrinter builder;
        ASSERT_TRUE(builder.PrintersInstalled());
        builder.OpenDocument();
        for (int page = 1; page <= 3; ++page) {
            builder.StartNewPage();
            TCanvas& canvas = *builder.PageCanvas();
            canvas.Font().SetName(L"Arial");
            canvas.Font().SetSize(14);
            canvas.TextOut(builder.ToDeviceX(200), builder.ToDeviceY(200), L"P\u00E1gina " + std::to_wstring(page));
            canvas.Rectangle(builder.ToDeviceX(100), builder.ToDeviceY(100), builder.ToDeviceX(2000),
                             builder.ToDeviceY(2870));
        }
        builder.CloseDocument();
        ASSERT_TRUE(builder.SavePreparedReport(stored));
    }

    TQRPrinter printer;
    printer.LoadPreparedReport(stored);
    ASSERT_EQ(printer.PageCount(), 3);
    const int index = TestPrinterIndex(printer.PrinterObject());
    ASSERT_NE(index, -1) << "the test printer is not installed";
    printer.SelectPrinter(index);
    printer.SetTitle(L"Curriculo");
    printer.PrinterObject().SetOutputFile(output);
    printer.PrintStoredPages();
    EXPECT_FALSE(printer.PrinterObject().Printing());
    EXPECT_EQ(CountLinesStartingWith(output, "%%Page:"), 3);
    EXPECT_EQ(CountLinesStartingWith(output, "%%Title: Curriculo"), 1);
    DeleteFile(output);
    DeleteFile(stored);
}

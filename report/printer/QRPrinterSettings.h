// The printer settings a report asks for (its PrinterSettings), copied into its report printer
// before every run; and the same values as the print dialog leaves them for the preview's setup.
#pragma once

#include "framework/classes/Persistent.h"
#include "framework/printers/Printer.h"
#include "report/printer/QRPaper.h"

class TQRPrinterSettings : public TPersistent {
    FV_CLASS(TQRPrinterSettings, TPersistent)
public:
    int Copies() const { return copies_; }
    void SetCopies(int value) { copies_ = value; }
    bool Duplex() const { return duplex_; }
    void SetDuplex(bool value) { duplex_ = value; }
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation value) { orientation_ = value; }
    TQRBin OutputBin() const { return outputBin_; }
    void SetOutputBin(TQRBin value) { outputBin_ = value; }
    TQRPaperSize PaperSize() const { return paperSize_; }
    void SetPaperSize(TQRPaperSize value) { paperSize_ = value; }
    int PrinterIndex() const { return printerIndex_; }
    void SetPrinterIndex(int value) { printerIndex_ = value; }
    const String& Title() const { return title_; }
    void SetTitle(const String& value) { title_ = value; }
    // The pages to print; 0 means from the first and to the last.
    int FirstPage() const { return firstPage_; }
    void SetFirstPage(int value) { firstPage_ = value; }
    int LastPage() const { return lastPage_; }
    void SetLastPage(int value) { lastPage_ = value; }
    bool PrintMetaFile() const { return printMetaFile_; }
    void SetPrintMetaFile(bool value) { printMetaFile_ = value; }
    bool UseStandardprinter() const { return useStandardPrinter_; }
    void SetUseStandardprinter(bool value) { useStandardPrinter_ = value; }
    bool UseExtendedDuplex() const { return useExtendedDuplex_; }
    void SetUseExtendedDuplex(bool value) { useExtendedDuplex_ = value; }
    int ExtendedDuplex() const { return extendedDuplex_; }
    void SetExtendedDuplex(int value) { extendedDuplex_ = value; }
    int MemoryLimit() const { return memoryLimit_; }
    void SetMemoryLimit(int value) { memoryLimit_ = value; }
    int PrintQuality() const { return printQuality_; }
    void SetPrintQuality(int value) { printQuality_ = value; }
    int Collate() const { return collate_; }
    void SetCollate(int value) { collate_ = value; }
    int ColorOption() const { return colorOption_; }
    void SetColorOption(int value) { colorOption_ = value; }
    bool UseCustomBinCode() const { return useCustomBinCode_; }
    void SetUseCustomBinCode(bool value) { useCustomBinCode_ = value; }
    int CustomBinCode() const { return customBinCode_; }
    void SetCustomBinCode(int value) { customBinCode_ = value; }
    bool UseCustomPaperCode() const { return useCustomPaperCode_; }
    void SetUseCustomPaperCode(bool value) { useCustomPaperCode_ = value; }
    int CustomPaperCode() const { return customPaperCode_; }
    void SetCustomPaperCode(int value) { customPaperCode_ = value; }

private:
    int copies_ = 1;
    bool duplex_ = false;
    TPrinterOrientation orientation_ = poPortrait;
    TQRBin outputBin_ = TQRBin::Auto;
    TQRPaperSize paperSize_ = TQRPaperSize::Letter;
    int printerIndex_ = -1;
    String title_;
    int firstPage_ = 0;
    int lastPage_ = 0;
    bool printMetaFile_ = false;
    bool useStandardPrinter_ = false;
    bool useExtendedDuplex_ = false;
    int extendedDuplex_ = 0;
    int memoryLimit_ = 250000;
    int printQuality_ = 0;
    int collate_ = 0;
    int colorOption_ = 0;
    bool useCustomBinCode_ = false;
    int customBinCode_ = 0;
    bool useCustomPaperCode_ = false;
    int customPaperCode_ = 0;
};

// A report's PrinterSettings, as its stored description writes them.
class TQRReportPrinterSettings : public TQRPrinterSettings {
    FV_CLASS(TQRReportPrinterSettings, TQRPrinterSettings)
public:
    static void Publish(TPublisher<TQRReportPrinterSettings>& p);
};

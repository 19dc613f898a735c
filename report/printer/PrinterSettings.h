// TPrinterSettings: the report printer's link to a framework printer object. Reading takes the
// selected printer's settings (its DEVMODE), resolution, physical offsets, paper and the papers
// its driver offers, once per printer index; applying writes the report's wishes (paper, copies,
// duplex, source, orientation, collation) back before a print job. Print quality and colour are
// read but never written.
//
// The settings keep a copy of the DEVMODE block of their own, taken at each reading and each
// application; nothing points into a block the printer object may move or free. Without a
// printer (none installed, or unbound after a failure) every test of driver support is false,
// only the paper size Default can be set, and the paper stays A4 whatever the locale's
// measurement system: without a printer nothing says the paper is any other.
#pragma once

#include <array>
#include <vector>

#include "framework/classes/Method.h"
#include "framework/printers/Printer.h"
#include "report/printer/QRPaper.h"

// Sender, var Cancel, the settings' DEVMODE (changes to it are what gets applied).
using TQRPrinterEvent = TMethod<void(TObject* Sender, bool& Cancel, DEVMODEW* DevMode)>;

class TPrinterSettings : public TObject {
public:
    TPrinterSettings();
    String ClassName() const override { return L"TPrinterSettings"; }

    TPrinter* Printer() const { return printer_; }
    // Binds the printer object (not owned; null unbinds) and reads it when it lists printers.
    void SetPrinter(TPrinter* printer);
    // Reads the printer's values unless they are current for its selected index. A failure
    // while reading unbinds the printer.
    void ReadFromPrinter();
    // Writes the settings into the printer's DEVMODE (its driver's defaults when it holds none);
    // nothing without a printer.
    void ApplyToPrinter();

    // True when a printer and a DEVMODE exist and the DEVMODE carries every field in mask.
    bool Supports(DWORD mask) const;
    bool TrySetCopies(int copies);
    bool TrySetOrientation(TPrinterOrientation orientation);
    bool TrySetDuplex(bool duplex);
    bool TrySetOutputBin(TQRBin bin);
    // Default is always taken; another size only when the driver lists it.
    bool TrySetPaperSize(TQRPaperSize size);

    // The paper in 0.1 mm, unrotated: the table's for a listed size, the stored one for Default
    // (the device's page) and Custom.
    int PaperWidth() const;
    int PaperLength() const;
    void SetCustomPaperWidth(int width) { paperWidth_ = width; }
    void SetCustomPaperLength(int length) { paperLength_ = length; }

    TQRPaperSize PaperSize() const { return paperSize_; }
    TPrinterOrientation Orientation() const { return orientation_; }
    TQRBin OutputBin() const { return outputBin_; }
    int Copies() const { return copies_; }
    bool Duplex() const { return duplex_; }
    int PixelsPerInchX() const { return pixelsPerInchX_; }
    int PixelsPerInchY() const { return pixelsPerInchY_; }
    int TopOffset() const { return topOffset_; }    // 0.1 mm: the unprintable margin
    int LeftOffset() const { return leftOffset_; }
    bool IsPaperSupported(TQRPaperSize size) const;
    bool SupportedPapersRead() const { return supportedPapersRead_; }
    int PrinterIndexRead() const { return printerIndexRead_; }
    const String& DeviceName() const { return device_; }
    const String& DriverName() const { return driver_; }  // the driver's file name
    const String& PortName() const { return port_; }
    // The settings' copy of the DEVMODE; null when they hold none.
    const DEVMODEW* DeviceMode() const;

    bool PrintMetaFile() const { return printMetaFile_; }
    void SetPrintMetaFile(bool value) { printMetaFile_ = value; }
    bool UseStandardPrinter() const { return useStandardPrinter_; }
    void SetUseStandardPrinter(bool value) { useStandardPrinter_ = value; }
    bool UseExtendedDuplex() const { return useExtendedDuplex_; }
    void SetUseExtendedDuplex(bool value) { useExtendedDuplex_ = value; }
    int ExtendedDuplex() const { return extendedDuplex_; }  // a dmDuplex code, or 0
    void SetExtendedDuplex(int value) { extendedDuplex_ = value; }
    bool UseCustomBinCode() const { return useCustomBinCode_; }
    void SetUseCustomBinCode(bool value) { useCustomBinCode_ = value; }
    int CustomBinCode() const { return customBinCode_; }
    void SetCustomBinCode(int value) { customBinCode_ = value; }
    bool UseCustomPaperCode() const { return useCustomPaperCode_; }
    void SetUseCustomPaperCode(bool value) { useCustomPaperCode_ = value; }
    int CustomPaperCode() const { return customPaperCode_; }
    void SetCustomPaperCode(int value) { customPaperCode_ = value; }
    int PrintQuality() const { return printQuality_; }
    void SetPrintQuality(int value) { printQuality_ = value; }
    int Collate() const { return collate_; }
    void SetCollate(int value) { collate_ = value; }
    int ColorOption() const { return colorOption_; }
    void SetColorOption(int value) { colorOption_ = value; }
    // Bytes the page store keeps in memory before it moves to a temporary file.
    int MemoryLimit() const { return memoryLimit_; }
    void SetMemoryLimit(int value) { memoryLimit_ = value; }

    TQRPrinterEvent OnGetPrinterSettings;
    TQRPrinterEvent OnApplyPrinterSettings;

private:
    bool ReadDeviceMode();
    void ReadValues();
    void ReadSupportedPapers();
    DEVMODEW* MutableDeviceMode();

    int printerIndexRead_ = -1;
    String device_;
    String driver_;
    String port_;
    std::vector<Byte> devMode_;
    int copies_ = 1;
    bool duplex_ = false;
    bool printMetaFile_ = false;
    bool useStandardPrinter_ = false;
    bool useExtendedDuplex_ = false;
    int extendedDuplex_ = 0;
    bool useCustomBinCode_ = false;
    int customBinCode_ = 0;
    int printQuality_ = 0;
    int collate_ = 0;
    int colorOption_ = 0;
    int memoryLimit_ = 250000;
    bool useCustomPaperCode_ = false;
    int customPaperCode_ = 0;
    TPrinterOrientation orientation_ = poPortrait;
    TQRBin outputBin_ = TQRBin::First;
    TQRPaperSize paperSize_;
    std::array<bool, QRPaperSizeCount - 1> supportedPapers_{};  // sizes 1 to 69
    bool supportedPapersRead_ = false;
    int paperWidth_;
    int paperLength_;
    int pixelsPerInchX_ = 0;
    int pixelsPerInchY_ = 0;
    int topOffset_ = 0;
    int leftOffset_ = 0;
    TPrinter* printer_ = nullptr;
};

// Selects the printer's printer again with the driver's default settings.
void ResetPrinterDeviceMode(TPrinter& printer);

// The paper of the process-wide printer's settings: Default when they name no paper or one the
// table does not list; A4 when no printer can be asked.
TQRPaperSize CurrentPrinterPaperSize();

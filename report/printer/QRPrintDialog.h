// The print dialog of reports: the system print dialog over a printer object, which beyond the
// page range and copies hands back the chosen settings' paper, source, duplex, quality, colour
// and collation (as the driver's codes). The dialog window itself is the platform's
// (framework/printers/PrintDialog.h), so that the report engine links no windowing layer.
#pragma once

#include "framework/classes/Component.h"
#include "framework/printers/PrintDialog.h"
#include "framework/printers/Printer.h"

class TQRCommonDialog : public TComponent {
    FV_CLASS(TQRCommonDialog, TComponent)
public:
    explicit TQRCommonDialog(TComponent* owner) : TComponent(owner) {}
    static void Publish(TPublisher<TQRCommonDialog>& p);

    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value) { ctl3D_ = value; }
    // Help requests from the dialog count as handled when this is not 0 (the program has no help
    // file to open).
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }

    TNotifyEvent OnShow;   // the dialog window has been made
    TNotifyEvent OnClose;  // the dialog window goes

private:
    bool ctl3D_ = true;
    int helpContext_ = 0;
};

class TQRBasePrintDialog : public TQRCommonDialog {
    FV_CLASS(TQRBasePrintDialog, TQRCommonDialog)
public:
    explicit TQRBasePrintDialog(TComponent* owner) : TQRCommonDialog(owner) {}

    // The printer object worked on: the process-wide one unless another is set.
    TPrinter& PrinterObject() const { return printer_ ? *printer_ : Printer(); }
    void SetPrinterObject(TPrinter* printer) { printer_ = printer; }

private:
    TPrinter* printer_ = nullptr;
};

FV_ENUM(TQRPrintDialogOption, poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile)
using TQRPrintDialogOptions = TSet<TQRPrintDialogOption>;
FV_ENUM(TQRPrintRange, prAllPages, prSelection, prPageNums)

class TQRPrintDialog : public TQRBasePrintDialog {
    FV_CLASS(TQRPrintDialog, TQRBasePrintDialog)
public:
    explicit TQRPrintDialog(TComponent* owner) : TQRBasePrintDialog(owner) {}
    static void Publish(TPublisher<TQRPrintDialog>& p);

    // Runs the dialog; true when the user confirmed (the printer object then holds the chosen
    // printer and settings, and the properties the choices). EPrinter when there is no printer.
    bool Execute();

    int FromPage() const { return fromPage_; }
    void SetFromPage(int value) { fromPage_ = value; }
    int ToPage() const { return toPage_; }
    void SetToPage(int value) { toPage_ = value; }
    int MinPage() const { return minPage_; }
    void SetMinPage(int value) { minPage_ = value; }
    int MaxPage() const { return maxPage_; }
    void SetMaxPage(int value) { maxPage_ = value; }
    TQRPrintDialogOptions Options() const { return options_; }
    void SetOptions(TQRPrintDialogOptions value) { options_ = value; }
    bool PrintToFile() const { return printToFile_; }
    void SetPrintToFile(bool value) { printToFile_ = value; }
    TQRPrintRange PrintRange() const { return printRange_; }
    void SetPrintRange(TQRPrintRange value) { printRange_ = value; }
    int Collate() const { return collate_; }
    void SetCollate(int value) { collate_ = value; }
    int Copies() const { return copies_; }
    // Also the printer object's copy count, where it has settings to hold one.
    void ChangeCopies(int value);
    int PrintQuality() const { return printQuality_; }
    void SetPrintQuality(int value) { printQuality_ = value; }
    int ColorOption() const { return colorOption_; }
    void SetColorOption(int value) { colorOption_ = value; }
    // The chosen paper source and paper as the driver's codes (dmDefaultSource, dmPaperSize).
    int OutputBin() const { return outputBin_; }
    void SetOutputBin(int value) { outputBin_ = value; }
    int PaperSize() const { return paperSize_; }
    void SetPaperSize(int value) { paperSize_ = value; }
    Extended Paperwidth() const { return paperWidth_; }  // 0.1 mm, as the settings state it
    void SetPaperwidth(Extended value) { paperWidth_ = value; }
    Extended Paperlength() const { return paperLength_; }
    void SetPaperlength(Extended value) { paperLength_ = value; }
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation value) { orientation_ = value; }
    bool Duplex() const { return duplex_; }
    void SetDuplex(bool value) { duplex_ = value; }
    int DuplexCode() const { return duplexCode_; }  // dmDuplex
    void SetDuplexCode(int value) { duplexCode_ = value; }
    // The fields (dmFields) the chosen settings carry.
    DWORD DeviceModeFields() const { return deviceModeFields_; }

private:
    DWORD Flags() const;
    void TakeChoices(const TPrintDialogData& data, const String& driver, const String& port);

    int fromPage_ = 0;
    int toPage_ = 0;
    int minPage_ = 0;
    int maxPage_ = 0;
    TQRPrintDialogOptions options_;
    bool printToFile_ = false;
    TQRPrintRange printRange_ = prAllPages;
    int collate_ = 0;
    int copies_ = 0;
    int printQuality_ = 0;
    int colorOption_ = 0;
    int outputBin_ = 0;
    int paperSize_ = 0;
    Extended paperWidth_ = 0;
    Extended paperLength_ = 0;
    TPrinterOrientation orientation_ = poPortrait;
    bool duplex_ = false;
    int duplexCode_ = 0;
    DWORD deviceModeFields_ = 0;
};

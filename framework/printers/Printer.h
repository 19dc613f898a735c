// The printer object: the list of installed printers, the selected one with its device settings
// (DEVMODE), and print jobs drawn through a canvas. With no printer installed, Printers() is
// empty, PrinterIndex() is -1 and anything that needs a printer raises EPrinter.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "framework/classes/Properties.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/GdiHandles.h"
#include "framework/printers/PrintSpooler.h"

FV_DECLARE_EXCEPTION(EPrinter, Exception);
// EPrinter's text when no printer is installed.
inline constexpr wchar_t SNoDefaultPrinter[] = L"There is no default printer currently selected";

FV_ENUM(TPrinterOrientation, poPortrait, poLandscape)

class TPrinter : public TObject {
public:
    explicit TPrinter(std::unique_ptr<TPrintSpooler> spooler = CreateSpooler());
    ~TPrinter() override;  // a running job is aborted
    String ClassName() const override { return L"TPrinter"; }

    // Names of the installed printers, read on first use and by Refresh.
    const std::vector<String>& Printers();
    // The selected printer; the default printer until one is chosen; -1 when none is installed.
    int PrinterIndex();
    // -1 selects the default printer. Raises EPrinter for an index outside the list.
    void SetPrinterIndex(int index);
    // Reads the printer list again; the selected printer stays selected if it is still there.
    void Refresh();

    // The selected printer's names and its DEVMODE block. The block belongs to the printer object
    // and stays valid until the next selection; callers may lock it and change fields in place,
    // then pass it back through SetPrinter.
    void GetPrinter(String& device, String& driver, String& port, HGLOBAL& devMode);
    // Selects the printer named device (adding it to the list when unknown). devMode 0 takes the
    // driver's default settings; another block is copied (the caller keeps its own).
    void SetPrinter(const String& device, const String& driver, const String& port, HGLOBAL devMode);
    // The same with settings held in memory: a copy of them is taken (empty: the driver's defaults).
    void SetPrinter(const String& device, const String& driver, const String& port, std::span<const Byte> devMode);
    // A copy of the selected printer's DEVMODE block with the driver's private part: the settings
    // chosen, or the driver's defaults; empty when the driver gives none.
    std::vector<Byte> DeviceMode();

    // A capability of the selected printer with its settings (a GetDeviceCaps index).
    int DeviceCaps(int index);
    // The paper codes the selected printer's driver offers with its settings; nothing when the
    // driver cannot tell.
    std::optional<std::vector<Word>> PaperCodes();
    // The full name of the selected printer's driver file; empty when it cannot be read.
    String DriverPath();

    void BeginDoc();
    void EndDoc();
    void Abort();
    void NewPage();  // the canvas starts the new page fresh: pen, brush and font are selected again
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    int PageNumber() const { return pageNumber_; }

    const String& Title() const { return title_; }
    void SetTitle(const String& title) { title_ = title; }
    // A file to print into instead of the printer's port; empty for the port.
    const String& OutputFile() const { return outputFile_; }
    void SetOutputFile(const String& fileName) { outputFile_ = fileName; }

    int Copies();
    void SetCopies(int copies);
    TPrinterOrientation Orientation();
    void SetOrientation(TPrinterOrientation orientation);

    // The printing area in device pixels.
    int PageWidth();
    int PageHeight();

    TCanvas& Canvas();
    // The printer's device context: the job's while printing, otherwise one for measuring.
    HDC Handle();

private:
    class PrinterCanvas;
    class DevModeLock;

    void LoadPrinters();
    int RequireSelection();
    DEVMODEW* LockDevMode();
    void UnlockDevMode();
    void SettingsChanged();
    void CheckNotPrinting() const;
    void CheckPrinting() const;
    void ReleaseDC();

    std::unique_ptr<TPrintSpooler> spooler_;
    std::vector<TPrinterInfo> infos_;
    std::vector<String> names_;
    bool loaded_ = false;
    int index_ = -1;
    UniqueGlobal devMode_;
    UniqueDC dc_;
    std::unique_ptr<PrinterCanvas> canvas_;
    String title_;
    String outputFile_;
    bool printing_ = false;
    bool aborted_ = false;
    int pageNumber_ = 0;
};

// The process-wide printer object, created on first use over the system spooler.
TPrinter& Printer();
// Replaces the process-wide printer object (tests); returns the previous one.
std::unique_ptr<TPrinter> SetPrinterObject(std::unique_ptr<TPrinter> printer);

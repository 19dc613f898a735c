// The system print dialog as printing code sees it: a printer and its settings go in, the
// printer, settings, page range and copies the user chose come out. The dialog is a window, so
// it lives in the forms layer, which installs it here for as long as its application scope
// lasts; code below the windowing layers (the report engine) runs it through this page.
#pragma once

#include <functional>
#include <vector>

#include "framework/rtl/System.h"
#include "framework/rtl/WinApi.h"

struct TPrintDialogData {
    // The printer offered, and the one chosen.
    String Device;
    String Driver;
    String Port;
    // Its DEVMODE block (empty: the driver's defaults), and the one chosen.
    std::vector<Byte> DevMode;
    // PRINTDLG flags (PD_...) given to the dialog, and those it returned.
    DWORD Flags = 0;
    int FromPage = 0;
    int ToPage = 0;
    int MinPage = 0;
    int MaxPage = 0;
    int Copies = 1;
    // Help requests ("commdlg_help") count as handled when this is not 0.
    int HelpContext = 0;
    // Run when the dialog window has been made and when it goes.
    std::function<void()> OnShow;
    std::function<void()> OnClose;
};

// Runs the dialog over data; true when the user confirmed (data then holds the choices).
using TPrintDialogRunner = bool (*)(TPrintDialogData& data);

// Installs the dialog (null: none); returns the one installed before.
TPrintDialogRunner SetPrintDialogRunner(TPrintDialogRunner runner);
// Runs the installed dialog. Raises EPrinter "No print dialog is available" when none is.
bool ExecutePrintDialog(TPrintDialogData& data);

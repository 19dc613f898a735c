// The system print dialog (comdlg32) over the printer layer's dialog data. It runs task-modally
// over this thread's windows (the application's window owns it; every other window is disabled
// until it closes and the active one is active again afterwards) and stands centred across the
// screen at a third of its height. The application scope installs it as the printer layer's
// print dialog (framework/printers/PrintDialog.h) for its own lifetime.
#pragma once

#include "framework/printers/PrintDialog.h"

// True when the user confirmed. EPrinter when the dialog cannot run (no printer installed, or
// another failure of the dialog), so that a failure is not taken for the user cancelling.
bool RunSystemPrintDialog(TPrintDialogData& data);

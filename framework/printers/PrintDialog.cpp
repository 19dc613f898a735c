#include "framework/printers/PrintDialog.h"

#include "framework/printers/Printer.h"

namespace {
TPrintDialogRunner& RunnerSlot() {
    static TPrintDialogRunner runner = nullptr;
    return runner;
}
}  // namespace

TPrintDialogRunner SetPrintDialogRunner(TPrintDialogRunner runner) {
    TPrintDialogRunner previous = RunnerSlot();
    RunnerSlot() = runner;
    return previous;
}

bool ExecutePrintDialog(TPrintDialogData& data) {
    TPrintDialogRunner runner = RunnerSlot();
    if (!runner) throw EPrinter(L"No print dialog is available");
    return runner(data);
}

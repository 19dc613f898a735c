// The progress window of printing and exporting: the report printer's client while it runs, it
// shows the printer's progress in steps of 5 percent, and its Cancel stops the run.
#pragma once

#include "framework/forms/Form.h"
#include "report/previewwindow/QRPreviewRules.h"
#include "report/printer/QRPrinter.h"

class TProgressBar;
class TLabel;
class TButton;

class TQRProgressForm : public TForm, public IQRPrinterClient {
    FV_CLASS(TQRProgressForm, TForm)
public:
    explicit TQRProgressForm(TComponent* owner);
    ~TQRProgressForm() override;

    TQRPrinter* QRPrinter() const { return printer_; }
    void SetQRPrinter(TQRPrinter* printer) { printer_ = printer; }
    // Reads the printer's progress and shows it when it reached a new step of 5 percent.
    void ProgressMessage();

    TProgressBar* Gauge;
    TLabel* Info;
    TButton* CancelButton;

    // IQRPrinterClient
    HWND ClientHandle() override { return HandleIfAllocated(); }
    void PrinterDestroyed(TQRPrinter& printer) override;

    void WndProc(TMessage& message) override;

private:
    void CancelButtonClick(TObject*);

    TQRPrinter* printer_ = nullptr;
    TProgressFormSteps steps_;
};

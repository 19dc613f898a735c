#include "report/previewwindow/QRProgressForm.h"

#include "framework/controls/ComCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Application.h"
#include "report/previewwindow/QRPreviewRules.h"

TQRProgressForm::TQRProgressForm(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetCaption(L"Printing progress");
    SetClientWidth(149);
    SetClientHeight(97);
    Gauge = new TProgressBar(this);
    Gauge->SetName(L"Gauge");
    Gauge->SetParent(this);
    Gauge->SetBounds(8, 8, 133, 17);
    Info = new TLabel(this);
    Info->SetName(L"Info");
    Info->SetParent(this);
    Info->SetAlignment(taCenter);
    Info->SetAutoSize(false);
    Info->SetBounds(8, 32, 133, 15);
    CancelButton = new TButton(this);
    CancelButton->SetName(L"CancelButton");
    CancelButton->SetParent(this);
    CancelButton->SetCaption(L"Cancel");
    CancelButton->SetBounds(37, 60, 75, 25);
    CancelButton->SetCancel(true);
    CancelButton->OnClick = TNotifyEvent(this, &TQRProgressForm::CancelButtonClick);
}

TQRProgressForm::~TQRProgressForm() = default;

void TQRProgressForm::PrinterDestroyed(TQRPrinter& printer) {
    if (&printer == printer_) printer_ = nullptr;
}

void TQRProgressForm::ProgressMessage() {
    if (printer_ == nullptr) return;
    const int progress = printer_->Progress();
    if (const auto text = steps_.Update(progress)) {
        Gauge->SetPosition(progress);
        Info->SetCaption(*text);
        Application().ProcessMessages();
    }
}

void TQRProgressForm::CancelButtonClick(TObject*) {
    // The printer's cancel also ends a generation run: the data loop checks it.
    if (printer_ != nullptr) printer_->RequestCancel();
}

void TQRProgressForm::WndProc(TMessage& message) {
    if (message.Msg == CM_QRPROGRESS) {
        ProgressMessage();
        return;
    }
    TForm::WndProc(message);
}

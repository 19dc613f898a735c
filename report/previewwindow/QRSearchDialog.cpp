#include "report/previewwindow/QRSearchDialog.h"

#include "framework/controls/SpeedButton.h"
#include "framework/controls/StdCtrls.h"

TSearchDlg::TSearchDlg(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetCaption(L"Report Preview : Text Search");
    SetClientWidth(305);
    SetClientHeight(118);

    Label1 = new TLabel(this);
    Label1->SetName(L"Label1");
    Label1->SetParent(this);
    Label1->SetBounds(12, 12, 280, 15);
    Edit1 = new TEdit(this);
    Edit1->SetName(L"Edit1");
    Edit1->SetParent(this);
    Edit1->SetBounds(12, 30, 281, 21);
    CheckBox1 = new TCheckBox(this);
    CheckBox1->SetName(L"CheckBox1");
    CheckBox1->SetParent(this);
    CheckBox1->SetBounds(12, 58, 180, 17);
    SpeedButton2 = new TSpeedButton(this);
    SpeedButton2->SetName(L"SpeedButton2");
    SpeedButton2->SetParent(this);
    SpeedButton2->SetBounds(132, 84, 77, 25);
    SpeedButton1 = new TSpeedButton(this);
    SpeedButton1->SetName(L"SpeedButton1");
    SpeedButton1->SetParent(this);
    SpeedButton1->SetBounds(216, 84, 77, 25);
    SpeedButton2->OnClick = TNotifyEvent(this, &TSearchDlg::SearchClick);
    SpeedButton1->OnClick = TNotifyEvent(this, &TSearchDlg::CancelClick);

    // The texts of the engine's string table.
    Label1->SetCaption(L"Search Text");
    CheckBox1->SetCaption(L"Match case");
    SpeedButton2->SetCaption(L"Search");
    SpeedButton1->SetCaption(L"Cancel");
    SetCaption(L"Search for Text");
    SetActiveControl(Edit1);
}

String TSearchDlg::SearchText() const { return Edit1->Text(); }
bool TSearchDlg::MatchCase() const { return CheckBox1->Checked(); }

// The dialog's buttons are speed buttons, which take no focus and answer no dialog key: the
// dialog answers Enter and Escape for them, as a dialog's default and cancel buttons would.
void TSearchDlg::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGKEY && (KeyboardShiftState() * TShiftState{ssShift, ssAlt, ssCtrl}).Empty()) {
        TSpeedButton* button = message.WParam == VK_RETURN   ? SpeedButton2
                               : message.WParam == VK_ESCAPE ? SpeedButton1
                                                             : nullptr;
        if (button != nullptr && button->Enabled()) {
            button->Click();
            message.Result = 1;
            return;
        }
    }
    TForm::WndProc(message);
}

void TSearchDlg::SearchClick(TObject*) {
    cancelled_ = false;
    Close();
}

void TSearchDlg::CancelClick(TObject*) {
    cancelled_ = true;
    Close();
}

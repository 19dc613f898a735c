// The search dialog of the preview window: a text and whether its case must match.
#pragma once

#include "framework/forms/Form.h"

class TLabel;
class TEdit;
class TCheckBox;
class TSpeedButton;

class TSearchDlg : public TForm {
    FV_CLASS(TSearchDlg, TForm)
public:
    explicit TSearchDlg(TComponent* owner);

    String SearchText() const;
    bool MatchCase() const;
    // True when the dialog was left with Cancel; Search and closing it otherwise leave it False.
    bool Cancelled() const { return cancelled_; }

    TLabel* Label1;
    TEdit* Edit1;
    TCheckBox* CheckBox1;
    TSpeedButton* SpeedButton1;  // Cancel
    TSpeedButton* SpeedButton2;  // Search

    void WndProc(TMessage& message) override;

private:
    void SearchClick(TObject*);
    void CancelClick(TObject*);

    bool cancelled_ = false;
};

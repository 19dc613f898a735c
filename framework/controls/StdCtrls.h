// The standard controls: labels, edits, push buttons, check boxes, radio buttons, group boxes
// and combo boxes. The windowed ones superclass the system controls (EDIT, BUTTON, COMBOBOX) under
// a window class named after their framework class.
#pragma once

#include <memory>

#include "framework/controls/Control.h"
#include "framework/rtl/StringList.h"

FV_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
FV_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)

// Text drawn on the parent's window.
class TLabel : public TGraphicControl {
    FV_CLASS(TLabel, TGraphicControl)
public:
    explicit TLabel(TComponent* owner);
    static void Publish(TPublisher<TLabel>& p);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    // Sizes the label to its text (the width stays when WordWrap is on).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // The parent's background shows through instead of Color.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    // '&' underlines the next character (drawn, not a shortcut); "&&" is one '&'.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);

    void SetText(const String& text) override;

protected:
    void Paint() override;
    void FontChanged() override;
    void Loaded() override;

private:
    unsigned DrawFlags() const;
    void AdjustBounds();

    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
};

FV_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)

class TCustomEdit : public TWinControl {
    FV_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);

    // 0: no limit beyond the system's.
    int MaxLength() const { return maxLength_; }
    virtual void SetMaxLength(int value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // Selects the whole text when the focus arrives.
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    // Changed by the user since the text was last set from code.
    bool Modified() const;
    void SetModified(bool value);

    int SelStart();
    void SetSelStart(int value);
    int SelLength();
    void SetSelLength(int value);
    void SelectAll();
    void Clear() { SetText(L""); }

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void DoEnter() override;
    // The text changed (by the user or from code).
    virtual void Change();
    // The limit given to the window.
    virtual int WindowMaxLength() const { return maxLength_; }
    void ApplyMaxLength();

private:
    int maxLength_ = 0;
    TEditCharCase charCase_ = ecNormal;
    bool readOnly_ = false;
    bool autoSelect_ = true;
    bool modified_ = false;
};

class TEdit : public TCustomEdit {
    FV_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* owner);
    static void Publish(TPublisher<TEdit>& p);
};

// Push button. Default answers Enter and Cancel answers Esc anywhere in its form; ModalResult
// is given to the form when the button is clicked.
class TButton : public TWinControl {
    FV_CLASS(TButton, TWinControl)
public:
    explicit TButton(TComponent* owner);
    static void Publish(TPublisher<TButton>& p);

    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    void Click() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    // Whether Enter currently belongs to this button (the focused button, or the default one
    // while no other button has the focus).
    bool Active() const { return active_; }
    virtual void SetButtonStyle(bool isDefault);

private:
    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;
    TModalResult modalResult_ = mrNone;
};

// Hands the modal result of a clicked button to the form that holds control.
void SetParentModalResult(TControl* control, TModalResult result);

FV_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

// Setting Checked or State from code fires OnClick when the state changes, as a click does.
class TCheckBox : public TWinControl {
    FV_CLASS(TCheckBox, TWinControl)
public:
    explicit TCheckBox(TComponent* owner);
    static void Publish(TPublisher<TCheckBox>& p);

    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    // taRightJustify: the caption right of the box (default); taLeftJustify: left of it.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    // The next state of a click: unchecked, checked, grayed (when allowed), unchecked...
    virtual void Toggle();

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

// Checking a radio button unchecks the other radio buttons of its parent.
class TRadioButton : public TWinControl {
    FV_CLASS(TRadioButton, TWinControl)
public:
    explicit TRadioButton(TComponent* owner);
    static void Publish(TPublisher<TRadioButton>& p);

    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};

// A captioned frame around other controls; paints itself.
class TGroupBox : public TCustomControl {
    FV_CLASS(TGroupBox, TCustomControl)
public:
    explicit TGroupBox(TComponent* owner);
    static void Publish(TPublisher<TGroupBox>& p);

    void SetText(const String& text) override;

protected:
    void Paint() override;
    void AlignControls(TRect& rect) override;
};

FV_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList)

// Items are kept by the control and copied into the window whenever either exists or changes.
class TComboBox : public TWinControl {
    FV_CLASS(TComboBox, TWinControl)
public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;
    static void Publish(TPublisher<TComboBox>& p);

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    TStringList* Items() const { return items_.get(); }
    // -1: nothing selected (the field is empty).
    int ItemIndex() const;
    void SetItemIndex(int value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool DroppedDown() const;
    void SetDroppedDown(bool value);

    String GetText() const override;
    void SetText(const String& text) override;

    // The selection or the typed text changed by the user.
    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    virtual void Change();

private:
    void ItemsChanged(TObject*);
    void FillWindow();

    TComboBoxStyle style_ = csDropDown;
    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;  // kept while there is no window
    int dropDownCount_ = 8;
    int maxLength_ = 0;
    bool filling_ = false;
};

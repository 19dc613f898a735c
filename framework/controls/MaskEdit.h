// Edits with an edit mask (Mask.h): the window shows EditText, Text is the value. Typing, deleting,
// cutting and pasting keep the mask's literals and positions; Esc brings back the text the field
// had when the focus arrived; leaving the field with an incomplete text after editing it is
// refused with EMaskEditError, and the caret goes to the first empty required position.
#pragma once

#include "framework/controls/Mask.h"
#include "framework/controls/StdCtrls.h"

FV_DECLARE_EXCEPTION(EMaskEditError, Exception);

class TCustomMaskEdit : public TCustomEdit {
    FV_CLASS(TCustomMaskEdit, TCustomEdit)
public:
    explicit TCustomMaskEdit(TComponent* owner);

    const String& EditMask() const { return mask_.Source(); }
    // Keeps the current Text, fitted into the new mask.
    void SetEditMask(const String& mask);
    bool IsMasked() const { return !mask_.Empty(); }
    const TEditMask& Mask() const { return mask_; }

    // What the window shows: literals and blanks included.
    String EditText() const;
    void SetEditText(const String& editText);
    String GetText() const override;
    void SetText(const String& text) override;

    // Raises EMaskEditError when the field was edited and a required position is empty; an
    // entirely empty field is accepted (the value is simply not given).
    virtual void ValidateEdit();
    // Undoes the edits made since the focus arrived.
    void Reset();

    void WndProc(TMessage& message) override;

protected:
    int WindowMaxLength() const override;
    void CreateHandleDone() override;
    void DoEnter() override;
    void KeyDown(Word& key, TShiftState shift) override;

private:
    TMaskEditState ReadState();
    void WriteState(const TMaskEditState& state);
    bool HandleMaskMessage(TMessage& message);
    void TypeText(const String& text);
    wchar_t WithCharCase(wchar_t ch) const;

    TEditMask mask_;
    String enterValue_;
    bool edited_ = false;
};

class TMaskEdit : public TCustomMaskEdit {
    FV_CLASS(TMaskEdit, TCustomMaskEdit)
public:
    explicit TMaskEdit(TComponent* owner);
    static void Publish(TPublisher<TMaskEdit>& p);
};

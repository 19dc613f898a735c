// The input box: a small modal dialog that asks for one line of text under a prompt.
#pragma once

#include "framework/forms/Form.h"

class TEdit;
class TLabel;

// The dialog's form: the prompt (a label "Prompt"), the field ("Value"), OK and Cancelar.
class TInputQueryForm : public TForm {
    FV_CLASS(TInputQueryForm, TForm)
public:
    TInputQueryForm(TComponent* owner, const String& caption, const String& prompt, const String& value);
    explicit TInputQueryForm(TComponent* owner) : TInputQueryForm(owner, L"", L"", L"") {}

    TEdit& ValueEdit() const { return *edit_; }
    TLabel& PromptLabel() const { return *label_; }

private:
    TLabel* label_;
    TEdit* edit_;
};

// Shows the dialog; true when confirmed with OK (value then holds the text typed).
bool InputQuery(const String& caption, const String& prompt, String& value);
// The text typed, or defaultValue when the dialog was cancelled.
String InputBox(const String& caption, const String& prompt, const String& defaultValue);

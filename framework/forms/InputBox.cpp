#include "framework/forms/InputBox.h"

#include <algorithm>

#include "framework/controls/StdCtrls.h"

namespace {
constexpr int Margin = 8;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
}  // namespace

TInputQueryForm::TInputQueryForm(TComponent* owner, const String& caption, const String& prompt, const String& value)
    : TForm(owner) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        Font()->SetName(ncm.lfMessageFont.lfFaceName);
        Font()->SetHeight(ncm.lfMessageFont.lfHeight);
    }
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetCaption(caption);
    const int clientWidth = 300;

    label_ = new TLabel(this);
    label_->SetName(L"Prompt");
    label_->SetParent(this);
    label_->SetCaption(prompt);
    label_->SetBounds(Margin, Margin, clientWidth - 2 * Margin, 15);

    edit_ = new TEdit(this);
    edit_->SetName(L"Value");
    edit_->SetParent(this);
    edit_->SetBounds(Margin, Margin + 20, clientWidth - 2 * Margin, 21);
    edit_->SetText(value);

    const int buttonTop = Margin + 20 + 21 + 2 * Margin;
    auto* ok = new TButton(this);
    ok->SetName(L"OK");
    ok->SetParent(this);
    ok->SetCaption(L"OK");
    ok->SetBounds(clientWidth - 2 * (ButtonWidth + Margin), buttonTop, ButtonWidth, ButtonHeight);
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    auto* cancel = new TButton(this);
    cancel->SetName(L"Cancel");
    cancel->SetParent(this);
    cancel->SetCaption(L"Cancelar");
    cancel->SetBounds(clientWidth - ButtonWidth - Margin, buttonTop, ButtonWidth, ButtonHeight);
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);

    SetClientWidth(clientWidth);
    SetClientHeight(buttonTop + ButtonHeight + Margin);
    SetActiveControl(edit_);
}

bool InputQuery(const String& caption, const String& prompt, String& value) {
    TLocal<TInputQueryForm> form(nullptr, caption, prompt, value);
    if (form.ShowModal() != mrOk) return false;
    value = form.ValueEdit().Text();
    return true;
}

String InputBox(const String& caption, const String& prompt, const String& defaultValue) {
    String value = defaultValue;
    InputQuery(caption, prompt, value);
    return value;
}

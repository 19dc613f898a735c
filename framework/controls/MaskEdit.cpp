#include "framework/controls/MaskEdit.h"

#include "framework/graphics/Clipboard.h"
#include "framework/rtl/StringUtils.h"

namespace {

const wchar_t* const IncompleteInputMessage =
    L"Invalid input value: the field is incomplete. Complete it, or press Esc to abandon the changes.";

bool AllBlank(const TEditMask& mask, const String& editText) {
    for (int i = 0; i < mask.Length() && i < static_cast<int>(editText.size()); ++i) {
        const wchar_t c = editText[static_cast<size_t>(i)];
        if (!mask.Position(i).IsLiteral() && c != mask.Blank() && c != L' ') return false;
    }
    return true;
}

}  // namespace

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TCustomMaskEdit::SetEditMask(const String& mask) {
    if (mask == mask_.Source()) return;
    const String text = GetText();
    mask_ = TEditMask(mask);
    SetText(text);
    ApplyMaxLength();
}

String TCustomMaskEdit::EditText() const { return TCustomEdit::GetText(); }

void TCustomMaskEdit::SetEditText(const String& editText) {
    TCustomEdit::SetText(IsMasked() ? mask_.TextToEditText(mask_.EditTextToText(editText)) : editText);
    edited_ = false;
}

String TCustomMaskEdit::GetText() const {
    return IsMasked() ? mask_.EditTextToText(EditText()) : EditText();
}

void TCustomMaskEdit::SetText(const String& text) {
    TCustomEdit::SetText(IsMasked() ? mask_.TextToEditText(text) : text);
    edited_ = false;
}

int TCustomMaskEdit::WindowMaxLength() const { return IsMasked() ? mask_.Length() : MaxLength(); }

void TCustomMaskEdit::CreateHandleDone() {
    TCustomEdit::CreateHandleDone();
    // The window may have been made with the value rather than the shown text.
    if (IsMasked()) SetWindowTextW(HandleIfAllocated(), mask_.TextToEditText(mask_.EditTextToText(text_)).c_str());
}

void TCustomMaskEdit::ValidateEdit() {
    if (!IsMasked() || !edited_) return;
    const String edit = EditText();
    if (mask_.IsComplete(edit) || AllBlank(mask_, edit)) return;
    const int missing = mask_.FirstMissing(edit);
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), EM_SETSEL, missing, missing);
    throw EMaskEditError(IncompleteInputMessage);
}

void TCustomMaskEdit::Reset() {
    if (!edited_) return;
    SetEditText(enterValue_);
    SelectAll();
}

// A refused exit keeps the focus without entering again, so the value to reset to stays.
void TCustomMaskEdit::DoEnter() {
    enterValue_ = EditText();
    TCustomEdit::DoEnter();
}

void TCustomMaskEdit::KeyDown(Word& key, TShiftState shift) {
    if (IsMasked() && key == VK_ESCAPE && edited_ && !shift.Contains(ssAlt)) {
        Reset();
        key = 0;
        return;
    }
    TCustomEdit::KeyDown(key, shift);
}

wchar_t TCustomMaskEdit::WithCharCase(wchar_t ch) const {
    switch (CharCase()) {
    case ecUpperCase: return AnsiUpperCase(String(1, ch))[0];
    case ecLowerCase: return AnsiLowerCase(String(1, ch))[0];
    default: return ch;
    }
}

TMaskEditState TCustomMaskEdit::ReadState() {
    TMaskEditState state;
    state.EditText = EditText();
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    state.SelStart = static_cast<int>(start);
    state.SelLength = static_cast<int>(end - start);
    return state;
}

void TCustomMaskEdit::WriteState(const TMaskEditState& state) {
    const HWND h = Handle();
    const bool changed = state.EditText != EditText();
    edited_ = edited_ || changed;
    if (changed) SetWindowTextW(h, state.EditText.c_str());
    SendMessageW(h, EM_SETSEL, state.SelStart, state.SelStart + state.SelLength);
    SendMessageW(h, EM_SCROLLCARET, 0, 0);
    if (edited_) SendMessageW(h, EM_SETMODIFY, TRUE, 0);
}

void TCustomMaskEdit::TypeText(const String& text) {
    TMaskEditState state = ReadState();
    bool any = false;
    for (wchar_t ch : text) any = mask_.TypeChar(state, WithCharCase(ch)) || any;
    if (any) WriteState(state);
    else MessageBeep(0);
}

// Editing messages of a masked field; true when handled here.
bool TCustomMaskEdit::HandleMaskMessage(TMessage& message) {
    if (ReadOnly()) return message.Msg == WM_PASTE || message.Msg == WM_CUT || message.Msg == WM_CLEAR;
    switch (message.Msg) {
    case WM_CHAR: {
        const auto ch = static_cast<wchar_t>(message.WParam);
        if (ch == VK_BACK) {
            TMaskEditState state = ReadState();
            mask_.Backspace(state);
            WriteState(state);
            return true;
        }
        if (ch == 0x1A || ch == VK_ESCAPE) return true;  // Ctrl+Z would undo past the mask
        if (ch == 0x16 || ch == 0x18) {                  // Ctrl+V, Ctrl+X
            TMessage clipboard{ch == 0x16 ? static_cast<UINT>(WM_PASTE) : static_cast<UINT>(WM_CUT), 0, 0, 0};
            return HandleMaskMessage(clipboard);
        }
        if (ch < L' ') return false;  // Enter, Tab, Ctrl+C
        TypeText(String(1, ch));
        return true;
    }
    case WM_KEYDOWN:
        if (message.WParam != VK_DELETE) return false;
        {
            TMaskEditState state = ReadState();
            if (KeyboardShiftState().Contains(ssShift) && state.SelLength > 0) {  // Shift+Del cuts
                TMessage copy{WM_COPY, 0, 0, 0};
                DefaultHandler(copy);
            }
            mask_.DeleteForward(state);
            WriteState(state);
        }
        return true;
    case WM_PASTE: TypeText(Clipboard().AsText()); return true;
    case WM_CUT:
    case WM_CLEAR: {
        if (message.Msg == WM_CUT) {
            TMessage copy{WM_COPY, 0, 0, 0};
            DefaultHandler(copy);
        }
        TMaskEditState state = ReadState();
        mask_.ClearSelection(state);
        WriteState(state);
        return true;
    }
    case WM_UNDO:
    case EM_UNDO: return true;
    default: return false;
    }
}

void TCustomMaskEdit::WndProc(TMessage& message) {
    if (IsMasked()) {
        if (message.Msg == CM_EXIT) ValidateEdit();
        else if (HandleMaskMessage(message)) return;
    }
    TCustomEdit::WndProc(message);
}

TMaskEdit::TMaskEdit(TComponent* owner) : TCustomMaskEdit(owner) {}

void TMaskEdit::Publish(TPublisher<TMaskEdit>& p) {
    p.Property(L"EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask).Default(L"");
    p.Property(L"MaxLength", &TMaskEdit::MaxLength, &TMaskEdit::SetMaxLength).Default(0);
    p.Property(L"CharCase", &TMaskEdit::CharCase, &TMaskEdit::SetCharCase).Default(ecNormal);
    p.Property(L"ReadOnly", &TMaskEdit::ReadOnly, &TMaskEdit::SetReadOnly).Default(false);
    p.Property(L"AutoSelect", &TMaskEdit::AutoSelect, &TMaskEdit::SetAutoSelect).Default(true);
    p.Property(L"Text", &TControl::Text, &TControl::SetText);
    p.Event(L"OnChange", &TMaskEdit::OnChange);
}

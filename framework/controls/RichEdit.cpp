#include "framework/controls/RichEdit.h"

#include <richedit.h>

namespace {

// riched20.dll registers the editor's window class; it stays loaded for the process.
void LoadRichEditLibrary() {
    static const HMODULE library = LoadLibraryW(L"riched20.dll");
    if (library == nullptr) throw EOSError(L"The rich-text editor library riched20.dll cannot be loaded");
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TRichEditLines

std::unique_ptr<TStringList> TRichEditLines::Split() const {
    auto lines = std::make_unique<TStringList>();
    lines->SetText(editor_.GetText());
    return lines;
}

void TRichEditLines::Join(const TStringList& lines) {
    String text;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i > 0) text += L"\r\n";
        text += lines.Get(i);
    }
    editor_.SetText(text);
}

int TRichEditLines::Count() const { return Split()->Count(); }
String TRichEditLines::Get(int index) const { return Split()->Get(index); }

void TRichEditLines::Put(int index, const String& text) {
    auto lines = Split();
    lines->Put(index, text);
    Join(*lines);
}

void TRichEditLines::Insert(int index, const String& text) {
    auto lines = Split();
    lines->Insert(index, text);
    Join(*lines);
}

void TRichEditLines::Delete(int index) {
    auto lines = Split();
    lines->Delete(index);
    Join(*lines);
}

void TRichEditLines::Clear() { editor_.SetText(L""); }

String TRichEditLines::Text() const { return Split()->Text(); }

void TRichEditLines::SetText(const String& text) {
    TStringList lines;
    lines.SetText(text);
    Join(lines);
}

// ---------------------------------------------------------------------------------------------
// TRichEdit

TRichEdit::TRichEdit(TComponent* owner) : TWinControl(owner), lines_(std::make_unique<TRichEditLines>(*this)) {
    SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
    SetBounds(0, 0, 185, 89);
    SetTabStop(true);
    SetColor(clWindow);
}

void TRichEdit::Publish(TPublisher<TRichEdit>& p) {
    p.Property(L"Lines", &TRichEdit::Lines);
    p.Property(L"MaxLength", &TRichEdit::MaxLength, &TRichEdit::SetMaxLength).Default(0);
    p.Property(L"ScrollBars", &TRichEdit::ScrollBars, &TRichEdit::SetScrollBars).Default(ssNone);
    p.Property(L"WordWrap", &TRichEdit::WordWrap, &TRichEdit::SetWordWrap).Default(true);
    p.Property(L"ReadOnly", &TRichEdit::ReadOnly, &TRichEdit::SetReadOnly).Default(false);
    p.Event(L"OnChange", &TRichEdit::OnChange);
}

void TRichEdit::CreateParams(TCreateParams& params) {
    LoadRichEditLibrary();
    TWinControl::CreateParams(params);
    CreateSubClass(params, RICHEDIT_CLASSW);
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP;
    if (!wordWrap_) params.Style |= ES_AUTOHSCROLL;
    if (readOnly_) params.Style |= ES_READONLY;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TRichEdit::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    const HWND h = HandleIfAllocated();
    // Without a limit of its own the control stops at 32767 characters.
    SendMessageW(h, EM_EXLIMITTEXT, 0, maxLength_ > 0 ? maxLength_ : 0x7FFFFFF0);
    SendMessageW(h, EM_SETEVENTMASK, 0, ENM_CHANGE);
    ApplyColors();
}

void TRichEdit::ApplyColors() {
    if (!HandleAllocated()) return;
    const HWND h = HandleIfAllocated();
    SendMessageW(h, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = ColorToRGB(Font()->Color());
    SendMessageW(h, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void TRichEdit::ColorChanged() {
    TWinControl::ColorChanged();
    ApplyColors();
}

void TRichEdit::FontChanged() {
    TWinControl::FontChanged();
    ApplyColors();
}

void TRichEdit::SetMaxLength(int value) {
    maxLength_ = value > 0 ? value : 0;
    if (HandleAllocated())
        SendMessageW(HandleIfAllocated(), EM_EXLIMITTEXT, 0, maxLength_ > 0 ? maxLength_ : 0x7FFFFFF0);
}

void TRichEdit::SetScrollBars(TScrollStyle value) {
    if (scrollBars_ == value) return;
    scrollBars_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TRichEdit::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TRichEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), EM_SETREADONLY, value, 0);
}

// The control ends paragraphs with CR alone; the framework's text uses CR LF.
String TRichEdit::GetText() const {
    const String raw = TWinControl::GetText();
    String text;
    for (size_t i = 0; i < raw.size(); ++i) {
        text += raw[i];
        if (raw[i] == L'\r' && (i + 1 >= raw.size() || raw[i + 1] != L'\n')) text += L'\n';
    }
    return text;
}

void TRichEdit::Change() { OnChange(this); }

void TRichEdit::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND && message.WParamHi() == EN_CHANGE) {
        Change();
        return;
    }
    TWinControl::WndProc(message);
}

#include "framework/controls/RichEdit.h"

#include <algorithm>

#include <richedit.h>

#include "framework/graphics/Clipboard.h"

namespace {

// riched20.dll registers the editor's window class; it stays loaded for the process.
void LoadRichEditLibrary() {
    static const HMODULE library = LoadLibraryW(L"riched20.dll");
    if (library == nullptr) throw EOSError(L"The rich-text editor library riched20.dll cannot be loaded");
}

// The first count characters of text as the editor counts them: a line break (CR LF) is one.
// A character made of two UTF-16 units is never cut in half.
String FirstCharacters(const String& text, int count) {
    size_t end = 0;
    for (int taken = 0; end < text.size() && taken < count; ++taken) {
        const bool pair = (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ||
                          (IS_HIGH_SURROGATE(text[end]) && end + 1 < text.size() && IS_LOW_SURROGATE(text[end + 1]));
        end += pair ? 2 : 1;
    }
    return text.substr(0, end);
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

// ---- the length limit on insertions ----

// How many characters may replace the selection without exceeding MaxLength.
int TRichEdit::RoomForInsertion() const {
    const HWND h = HandleIfAllocated();
    GETTEXTLENGTHEX count{GTL_PRECISE | GTL_NUMCHARS, 1200};  // UTF-16 units, a line break as one
    const auto length = static_cast<int>(SendMessageW(h, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&count), 0));
    CHARRANGE selection{};
    SendMessageW(h, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    return std::max(0, maxLength_ - (length - static_cast<int>(selection.cpMax - selection.cpMin)));
}

// A paste that does not fit puts what fits of the clipboard's text in place of the selection;
// one that fits (or holds no text) is the control's own.
void TRichEdit::Paste(TMessage& message) {
    const String text = readOnly_ ? String() : Clipboard().AsText();
    const String fitting = FirstCharacters(text, RoomForInsertion());
    if (fitting.size() == text.size()) {
        TWinControl::WndProc(message);
        return;
    }
    SendMessageW(HandleIfAllocated(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fitting.c_str()));
}

void TRichEdit::ReplaceSelection(TMessage& message) {
    const auto* text = reinterpret_cast<const wchar_t*>(message.LParam);
    const String fitting = FirstCharacters(text != nullptr ? text : L"", RoomForInsertion());
    message.LParam = reinterpret_cast<LPARAM>(fitting.c_str());
    TWinControl::WndProc(message);
}

// The control pastes on Ctrl+V and Shift+Insert without a WM_PASTE; the editor's paste runs instead.
void TRichEdit::KeyDown(Word& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    const bool ctrlV = key == 'V' && shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
    const bool shiftInsert = key == VK_INSERT && shift.Contains(ssShift) && !shift.Contains(ssCtrl) &&
                             !shift.Contains(ssAlt);
    if (maxLength_ > 0 && (ctrlV || shiftInsert)) {
        Perform(WM_PASTE, 0, 0);
        key = 0;
    }
}

void TRichEdit::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND && message.WParamHi() == EN_CHANGE) {
        Change();
        return;
    }
    if (maxLength_ > 0 && HandleAllocated()) {
        if (message.Msg == WM_PASTE) {
            Paste(message);
            return;
        }
        if (message.Msg == EM_REPLACESEL) {
            ReplaceSelection(message);
            return;
        }
    }
    TWinControl::WndProc(message);
}

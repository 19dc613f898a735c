#include "framework/controls/RichEdit.h"

#include <gtest/gtest.h>

#include <functional>

#include "framework/rtl/StringUtils.h"
#include "testing/ControlTestSupport.h"

namespace {

struct ChangeCounter : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
};

TEST(RichEdit, PhraseEditorLimitsScrollsColoursAndReportsChanges) {
    TestHost host;
    auto* editor = host.Add<TRichEdit>(8, 8, 300, 96);
    editor->SetMaxLength(150);
    editor->SetScrollBars(ssVertical);
    ChangeCounter changes;
    editor->OnChange = TNotifyEvent(&changes, &ChangeCounter::Changed);
    const HWND h = editor->Handle();
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & ES_MULTILINE);

    // Typed text stops at MaxLength.
    editor->SetFocus();
    PumpMessages();
    for (int i = 0; i < 160; ++i) PostMessageW(h, WM_CHAR, i % 10 == 9 ? L' ' : L'a', 1);
    PumpMessages();
    EXPECT_EQ(editor->Text().size(), 150u);
    EXPECT_GE(changes.Count, 1);

    // A vertical scroll bar once the lines overflow; never a horizontal one.
    editor->Lines()->SetText(L"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10");
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);

    editor->Lines()->SetText(L"Primeira linha\r\nSegunda linha");
    EXPECT_EQ(editor->Lines()->Count(), 2);
    EXPECT_EQ(editor->Lines()->Get(1), L"Segunda linha");
    EXPECT_EQ(editor->Text(), L"Primeira linha\r\nSegunda linha");
    editor->Lines()->Delete(0);
    EXPECT_EQ(editor->Text(), L"Segunda linha");

    // The control asks nobody for its colour: Color is handed to it.
    editor->SetColor(clYellow);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    auto screen = ScreenImage(h);
    EXPECT_GT(CountPixels(*screen, Rect(0, 30, 200, 80), clYellow), 200 * 50 / 2);

    editor->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(h));
}

// Replaces the clipboard's contents with text, as copying it elsewhere would.
void CopyToClipboard(HWND owner, const String& text) {
    ASSERT_TRUE(OpenClipboard(owner)) << "the clipboard cannot be opened, error " << GetLastError();
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    ASSERT_NE(memory, nullptr);
    memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
    CloseClipboard();
}

// Ctrl+V as a person presses it: the key with Ctrl held down.
void PressCtrlV(HWND editor) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(editor, WM_KEYDOWN, 'V', 1);
    PostMessageW(editor, WM_KEYUP, 'V', 0xC0000001);
    PumpMessages();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// The phrase editor holds at most MaxLength characters however text arrives: pasted with Ctrl+V,
// by WM_PASTE, or put in place of the selection by EM_REPLACESEL. What fits is inserted.
TEST(RichEdit, PastedTextStopsAtMaxLength) {
    TestHost host;
    auto* editor = host.Add<TRichEdit>(8, 8, 300, 96);
    editor->SetMaxLength(150);
    const HWND h = editor->Handle();
    editor->SetFocus();
    PumpMessages();
    const String copied = L"Tenho grande interesse em contribuir com a equipe e crescer profissionalmente.";
    ASSERT_EQ(copied.size(), 78u);
    const String full(100, L'a'), some(60, L'a');
    const auto ctrlV = [&] { PressCtrlV(h); };
    const auto wmPaste = [&] { SendMessageW(h, WM_PASTE, 0, 0); };
    const auto replaceSel = [&] { SendMessageW(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(copied.c_str())); };

    struct TCase {
        const char* how;
        String before;
        int selStart, selEnd;  // the selection the inserted text replaces
        std::function<void()> insert;
        String after;
    };
    const TCase cases[] = {
        {"Ctrl+V at the end", full, 100, 100, ctrlV, full + copied.substr(0, 50)},
        {"WM_PASTE at the end", full, 100, 100, wmPaste, full + copied.substr(0, 50)},
        {"EM_REPLACESEL at the end", full, 100, 100, replaceSel, full + copied.substr(0, 50)},
        {"WM_PASTE over 20 selected", full, 10, 30, wmPaste, String(10, L'a') + copied.substr(0, 70) + String(70, L'a')},
        {"Ctrl+V that fits", some, 60, 60, ctrlV, some + copied},
    };
    for (const TCase& c : cases) {
        editor->SetText(c.before);
        CopyToClipboard(host.Window(), copied);
        SendMessageW(h, EM_SETSEL, c.selStart, c.selEnd);
        c.insert();
        PumpMessages();
        EXPECT_EQ(editor->Text().size(), c.after.size()) << c.how;
        EXPECT_EQ(StringToUtf8(editor->Text()), StringToUtf8(c.after)) << c.how;
    }
}

}  // namespace

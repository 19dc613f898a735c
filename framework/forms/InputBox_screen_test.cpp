// The input box as a person answers it: the typed text comes back on OK, the default on Cancel.
#include "framework/forms/InputBox.h"

#include <gtest/gtest.h>

#include "framework/controls/StdCtrls.h"
#include "testing/ControlTestSupport.h"
#include "testing/KeyInput.h"

namespace {
String WindowText(HWND window) {
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
}
}  // namespace

TEST(InputBoxScreen, TypedTextOnOkDefaultOnCancel) {
    String caption, prompt, shown;
    {
        TWindowWatcher watcher(L"TInputQueryForm", [&](HWND form) {
            caption = WindowText(form);
            HWND edit = FindChild(form, L"TEdit", nullptr);
            shown = WindowText(edit);
            SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2x"));
            PostMessageW(FindChild(form, L"TButton", L"OK"), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(InputBox(L"Select a page from 1 to 3", L"Enter page number", L"1"), L"2x");
        EXPECT_TRUE(watcher.Found());
    }
    EXPECT_EQ(caption, L"Select a page from 1 to 3");
    EXPECT_EQ(shown, L"1");
    {
        TWindowWatcher watcher(L"TInputQueryForm", [&](HWND form) {
            SendMessageW(FindChild(form, L"TEdit", nullptr), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
            PostMessageW(FindChild(form, L"TButton", L"Cancelar"), BM_CLICK, 0, 0);
        });
        String value = L"3";
        EXPECT_FALSE(InputQuery(L"c", L"p", value));
        EXPECT_EQ(value, L"3");
        EXPECT_TRUE(watcher.Found());
    }
    TLocal<TInputQueryForm> form(nullptr, L"c", L"Enter page number", L"7");
    EXPECT_EQ(form.PromptLabel().Caption(), L"Enter page number");
    EXPECT_EQ(form.ValueEdit().Text(), L"7");
}

// Typed into the box: Enter and the OK button take the text, Escape and the Cancel button keep the
// value given, whichever way Tab went.
TEST(InputBoxScreen, AnswersTheKeyboard) {
    struct TRow {
        const char* Name;
        std::vector<TKeyStroke> Keys;  // after "2x" is typed
        const wchar_t* Answer;
    };
    const TRow rows[] = {
        {"Enter", {{VK_RETURN}}, L"2x"},
        {"Escape", {{VK_ESCAPE}}, L"1"},
        {"Tab to OK, Space", {{VK_TAB}, {VK_SPACE}}, L"2x"},
        {"Tab, Tab to Cancel, Enter", {{VK_TAB}, {VK_TAB}, {VK_RETURN}}, L"1"},
        {"Tab, Tab, Shift+Tab back to OK, Enter", {{VK_TAB}, {VK_TAB}, {VK_TAB, TShiftState{ssShift}}, {VK_RETURN}},
         L"2x"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TWindowWatcher watcher(L"TInputQueryForm", [&](HWND form) {
            SetForegroundWindow(form);
            PressKeys({{VK_HOME}, {VK_END, TShiftState{ssShift}}});
            TypeText(L"2x");
            for (const TKeyStroke& key : row.Keys) PressKey(key.Key, key.Shift);
        });
        EXPECT_EQ(InputBox(L"Select a page from 1 to 3", L"Enter page number", L"1"), row.Answer);
        EXPECT_TRUE(watcher.Found());
    }
}

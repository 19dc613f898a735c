#include "framework/controls/RichEdit.h"

#include <gtest/gtest.h>

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

}  // namespace

#include "framework/controls/MaskEdit.h"

#include <gtest/gtest.h>

#include "testing/ControlTestSupport.h"

namespace {

const wchar_t* const PhoneMask = L"!\\(99\\)0000-0000;1;_";

// Queues keys as the keyboard would and lets the framework handle them: '\b' is Backspace (a
// character), '\x7F' the Delete key, '\x1B' the Esc key.
void TypeKeys(HWND window, const String& keys) {
    for (wchar_t k : keys) {
        if (k == L'\x7F' || k == L'\x1B') {
            const WPARAM key = k == L'\x7F' ? VK_DELETE : VK_ESCAPE;
            PostMessageW(window, WM_KEYDOWN, key, 1);
            PostMessageW(window, WM_KEYUP, key, 0xC0000001);
        } else {
            PostMessageW(window, WM_CHAR, k, 1);
        }
        PumpMessages();
    }
}

struct EventCounter : TObject {
    int Count = 0;
    void Happened(TObject*) { ++Count; }
};

struct KeyTypingCase {
    const wchar_t* Mask;
    TEditCharCase CharCase;
    const wchar_t* Keys;
    const wchar_t* EditText;
    const wchar_t* Text;
};

TEST(MaskEdit, TypingIntoTheWindowFollowsTheMask) {
    const KeyTypingCase cases[] = {
        {PhoneMask, ecNormal, L"1198765432", L"(11)9876-5432", L"(11)9876-5432"},
        {PhoneMask, ecNormal, L"11a98\b", L"(11)9___-____", L"(11)9   -    "},
        {PhoneMask, ecUpperCase, L"(11)98x76", L"(11)9876-____", L"(11)9876-    "},
        {L">LL-00;0;_", ecNormal, L"sp12", L"SP-12", L"SP12"},
        {L"LLL;1;_", ecUpperCase, L"a\u00e7o", L"A\u00c7O", L"A\u00c7O"},
        {L"LLL;1;_", ecNormal, L"a1b", L"ab_", L"ab "},
    };
    for (const KeyTypingCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(String(c.Mask)) + " " + testing::PrintToString(String(c.Keys)));
        TestHost host;
        auto* edit = host.Add<TMaskEdit>(8, 8, 120, 21);
        edit->SetEditMask(c.Mask);
        edit->SetCharCase(c.CharCase);
        EventCounter changes;
        edit->OnChange = TNotifyEvent(&changes, &EventCounter::Happened);
        edit->SetFocus();
        PumpMessages();
        TypeKeys(edit->Handle(), c.Keys);
        EXPECT_EQ(edit->EditText(), c.EditText);
        EXPECT_EQ(edit->Text(), c.Text);
        EXPECT_GT(changes.Count, 0);
    }
}

TEST(MaskEdit, DeleteAndPasteKeepTheLiterals) {
    TestHost host;
    auto* edit = host.Add<TMaskEdit>(8, 8, 120, 21);
    edit->SetEditMask(PhoneMask);
    edit->SetText(L"(11)9876-5432");
    EXPECT_EQ(edit->EditText(), L"(11)9876-5432");
    edit->SetFocus();
    PumpMessages();
    SendMessageW(edit->Handle(), EM_SETSEL, 3, 3);  // before ')': Delete skips to the next digit
    TypeKeys(edit->Handle(), L"\x7F");
    EXPECT_EQ(edit->EditText(), L"(11)_876-5432");
    SendMessageW(edit->Handle(), EM_SETSEL, 6, 10);
    TypeKeys(edit->Handle(), L"\x7F");
    EXPECT_EQ(edit->EditText(), L"(11)_8__-_432");

    // Pasting (Ctrl+V) types the clipboard's characters; those that fit no position are dropped.
    const String pasted = L"(21) 3456-7890x";
    ASSERT_TRUE(OpenClipboard(host.Window()));
    EmptyClipboard();
    UniqueGlobal data(GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t)));
    memcpy(GlobalLock(data.get()), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data.get());
    if (SetClipboardData(CF_UNICODETEXT, data.get())) (void)data.release();  // the clipboard's now
    CloseClipboard();
    edit->SelectAll();
    TypeKeys(edit->Handle(), L"\x16");
    EXPECT_EQ(edit->EditText(), L"(21)3456-7890");
}

TEST(MaskEdit, DescriptionValuesAndMaxLength) {
    TestHost host;
    auto* edit = host.Add<TMaskEdit>(8, 8, 120, 21);
    edit->SetEditMask(PhoneMask);
    edit->SetMaxLength(13);
    edit->SetText(L"(  )    -    ");
    EXPECT_EQ(edit->EditText(), L"(__)____-____");
    EXPECT_EQ(edit->Text(), L"(  )    -    ");
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 13);
    wchar_t shown[32] = {};
    GetWindowTextW(edit->Handle(), shown, 32);
    EXPECT_STREQ(shown, L"(__)____-____");
}

TEST(MaskEdit, AnIncompleteFieldRefusesToLoseTheFocusUntilCompletedOrReset) {
    ExceptionRecorder recorder;
    TestHost host;
    auto* phone = host.Add<TMaskEdit>(8, 8, 120, 21);
    phone->SetEditMask(PhoneMask);
    auto* other = host.Add<TEdit>(8, 40, 120, 21);
    EventCounter exits;
    phone->OnExit = TNotifyEvent(&exits, &EventCounter::Happened);

    // Entering and leaving without typing is fine.
    phone->SetFocus();
    PumpMessages();
    other->SetFocus();
    PumpMessages();
    EXPECT_TRUE(recorder.Messages.empty());
    EXPECT_EQ(exits.Count, 1);

    phone->SetFocus();
    PumpMessages();
    TypeKeys(phone->Handle(), L"119");
    other->SetFocus();
    PumpMessages();
    ASSERT_EQ(recorder.Messages.size(), 1u);
    EXPECT_EQ(recorder.Messages[0],
              L"Invalid input value: the field is incomplete. Complete it, or press Esc to abandon the changes.");
    EXPECT_EQ(GetFocus(), phone->Handle());
    EXPECT_EQ(exits.Count, 1);
    EXPECT_EQ(phone->SelStart(), 5);  // the first empty required position
    EXPECT_EQ(phone->EditText(), L"(11)9___-____");

    // Esc brings back the text the field had when the focus arrived; then it may be left.
    TypeKeys(phone->Handle(), L"\x1B");
    EXPECT_EQ(phone->EditText(), L"(__)____-____");
    other->SetFocus();
    PumpMessages();
    EXPECT_EQ(GetFocus(), other->Handle());
    EXPECT_EQ(recorder.Messages.size(), 1u);
    EXPECT_EQ(exits.Count, 2);

    // A field emptied again after typing carries no value and is not refused.
    phone->SetFocus();
    PumpMessages();
    TypeKeys(phone->Handle(), L"5\b");
    other->SetFocus();
    PumpMessages();
    EXPECT_EQ(GetFocus(), other->Handle());
    EXPECT_EQ(recorder.Messages.size(), 1u);

    // A complete number leaves without a word.
    phone->SetFocus();
    PumpMessages();
    TypeKeys(phone->Handle(), L"1187654321");
    other->SetFocus();
    PumpMessages();
    EXPECT_EQ(GetFocus(), other->Handle());
    EXPECT_EQ(phone->Text(), L"(11)8765-4321");
    EXPECT_EQ(recorder.Messages.size(), 1u);
}

}  // namespace

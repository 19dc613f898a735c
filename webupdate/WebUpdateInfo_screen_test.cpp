// The information dialog as TWebUpdate shows it: captions and check box from the component,
// the page readable without an HTML engine, the buttons centred, and how it ends.
#include <gtest/gtest.h>

#include "framework/controls/StdCtrls.h"
#include "framework/forms/Forms.h"
#include "testing/ControlTestSupport.h"
#include "testing/KeyInput.h"
#include "webupdate/WebUpdate.h"
#include "webupdate/WebUpdateInfo.h"

namespace {

class InfoDialog : public ::testing::Test {
protected:
    InfoDialog() : wu(nullptr) {
        wu.InfoCaption()->SetOkButton(L"&OK");
        wu.InfoCaption()->SetCancelButton(L"&Cancelar");
        wu.InfoCaption()->SetCheckForUpdate(L"Perguntar no futuro.");
        wu.ProductInfo()->SetURL(L"http://127.0.0.1/folhavida/update.htm");
        wu.OnBeforeShowInfo = TShowInfoEvent(this, &InfoDialog::BeforeShowInfo);
        wu.OnAfterShowInfo = TAfterShowInfoEvent(this, &InfoDialog::AfterShowInfo);
    }

    void BeforeShowInfo(TObject*, bool& showInfo, bool& checkForUpdate) {
        showInfo = ShowInfo;
        checkForUpdate = CheckForUpdate;
        ++before;
    }
    void AfterShowInfo(TObject*, bool checkForUpdate) { after.push_back(checkForUpdate); }

    static HWND Button(HWND dialog, const wchar_t* caption) {
        return FindWindowExW(FindWindowExW(dialog, nullptr, L"TWuButtonPanel", nullptr), nullptr, L"TButton", caption);
    }

    TLocal<TWebUpdate> wu;
    bool ShowInfo = true;
    bool CheckForUpdate = true;
    int before = 0;
    std::vector<bool> after;
};

TEST_F(InfoDialog, ShowsThePageWithTheComponentsCaptionsAndEndsWithOk) {
    CheckForUpdate = false;
    bool ok = false;
    {
        TWindowWatcher watcher(L"Tfrm_ShowInfoUpdate",
                               [](HWND dialog) { PostMessageW(Button(dialog, L"&OK"), BM_CLICK, 0, 0); });
        ok = wu.ShowInfoDialog();
        EXPECT_TRUE(watcher.Found());
    }
    EXPECT_TRUE(ok);
    ASSERT_NE(wu.InfoDialog(), nullptr);
    Tfrm_ShowInfoUpdate& d = *wu.InfoDialog();
    EXPECT_EQ(d.Caption(), L"WebUpdate");
    EXPECT_EQ(d.btn_OK->Caption(), L"&OK");
    EXPECT_EQ(d.btn_Cancel->Caption(), L"&Cancelar");
    EXPECT_EQ(d.chk_FutureUpdate->Caption(), L"Perguntar no futuro.");
    EXPECT_TRUE(d.WebBrowser->Html().empty()) << "nothing read, so nothing shown, and no address";
    EXPECT_FALSE(d.WebBrowser->BrowserShown()) << "this system has no HTML engine";
    EXPECT_EQ(after, std::vector<bool>{false}) << "the check box's state, as OnBeforeShowInfo set it";
}

TEST_F(InfoDialog, CancelAndEscapeEndIt) {
    for (const bool escape : {false, true}) {
        TWindowWatcher watcher(L"Tfrm_ShowInfoUpdate", [escape](HWND dialog) {
            if (escape) {
                GUITHREADINFO info{};
                info.cbSize = sizeof(info);
                GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
                HWND target = info.hwndFocus != nullptr ? info.hwndFocus : dialog;
                PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
                PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
            } else {
                PostMessageW(Button(dialog, L"&Cancelar"), BM_CLICK, 0, 0);
            }
        });
        EXPECT_FALSE(wu.ShowInfoDialog()) << (escape ? "Escape" : "Cancel");
        EXPECT_TRUE(watcher.Found());
    }
    EXPECT_EQ(after.size(), 2u);
}

// Pressed as a person presses them: Enter is OK, Escape is Cancelar, and Tab leads from OK to
// Cancelar, which Enter then presses.
TEST_F(InfoDialog, AnswersTheKeyboard) {
    struct TRow {
        const char* Name;
        std::vector<TKeyStroke> Keys;
        bool Ok;
    };
    const TRow rows[] = {
        {"Enter", {{VK_RETURN}}, true},
        {"Escape", {{VK_ESCAPE}}, false},
        {"Tab to Cancelar, Enter", {{VK_TAB}, {VK_RETURN}}, false},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        after.clear();
        TWindowWatcher watcher(L"Tfrm_ShowInfoUpdate", [&](HWND dialog) {
            SetForegroundWindow(dialog);
            for (const TKeyStroke& key : row.Keys) PressKey(key.Key, key.Shift);
        });
        EXPECT_EQ(wu.ShowInfoDialog(), row.Ok);
        EXPECT_TRUE(watcher.Found());
        EXPECT_EQ(after, std::vector<bool>{CheckForUpdate});
    }
}

TEST_F(InfoDialog, SkippedByTheEventWithoutAfterShowInfo) {
    ShowInfo = false;
    EXPECT_TRUE(wu.ShowInfoDialog());
    EXPECT_EQ(before, 1);
    EXPECT_TRUE(after.empty());
    EXPECT_EQ(wu.InfoDialog(), nullptr);
}

TEST(InfoDialogLayout, ButtonsStayCentredInTheirPanel) {
    TLocal<Tfrm_ShowInfoUpdate> dialog(nullptr);
    dialog.Panel_Bottom->SetAlign(alNone);  // a width of its own
    dialog.Panel_Bottom->SetBounds(0, 0, 400, 41);
    EXPECT_EQ(dialog.btn_OK->Left(), 122);
    EXPECT_EQ(dialog.btn_Cancel->Left(), 200);
    dialog.Panel_Bottom->SetBounds(0, 0, 157, 41);
    EXPECT_EQ(dialog.btn_OK->Left(), 0);
    EXPECT_EQ(dialog.btn_Cancel->Left(), 78);
    // Through the form's own layout: the bottom panel spans the client width.
    dialog.Panel_Bottom->SetAlign(alBottom);
    dialog.Show();
    EXPECT_EQ(dialog.Panel_Bottom->Width(), dialog.ClientWidth());
    EXPECT_EQ(dialog.btn_OK->Left(), (dialog.Panel_Bottom->Width() - 156) / 2);
    dialog.Hide();
}

TEST(InfoDialogLayout, ThePageTextFillsTheBrowserArea) {
    TLocal<Tfrm_ShowInfoUpdate> dialog(nullptr);
    dialog.WebBrowser->SetPage(L"<html>Folhavida 3.1<br>Novidades</html>", L"Folhavida 3.1\nNovidades");
    dialog.Show();
    HWND text = FindWindowExW(dialog.WebBrowser->Handle(), nullptr, L"Edit", nullptr);
    ASSERT_NE(text, nullptr);
    wchar_t buffer[64] = {};
    GetWindowTextW(text, buffer, 64);
    EXPECT_STREQ(buffer, L"Folhavida 3.1\r\nNovidades");
    RECT area{}, field{};
    GetClientRect(dialog.WebBrowser->Handle(), &area);
    GetWindowRect(text, &field);
    EXPECT_EQ(field.right - field.left, area.right);
    EXPECT_EQ(field.bottom - field.top, area.bottom);
    dialog.Hide();
}

}  // namespace

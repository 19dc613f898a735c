#include "framework/forms/Dialogs.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "framework/controls/Hooks.h"
#include "testing/ControlTestSupport.h"

namespace {

String ClassNameOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The system's dialogs, which the skin takes over by their class when they are activated; pinned
// in the word size the suite runs in. Each is answered Cancel by a watcher.
TEST(WineFacts, TheSystemsDialogsAreOfClass32770AndPassActivation) {
    struct TCase {
        const char* Name;
        std::function<void()> Open;
    };
    const TCase cases[] = {
        {"MessageBoxW", [] { MessageBoxW(nullptr, L"Salvar o currículo?", L"Folhavida", MB_OKCANCEL); }},
        {"GetOpenFileNameW",
         [] {
             wchar_t file[MAX_PATH] = {};
             OPENFILENAMEW ofn{};
             ofn.lStructSize = sizeof(ofn);
             ofn.lpstrFile = file;
             ofn.nMaxFile = MAX_PATH;
             ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
             GetOpenFileNameW(&ofn);
         }},
        {"PrintDlgW",
         [] {
             PRINTDLGW pd{};
             pd.lStructSize = sizeof(pd);
             pd.Flags = PD_NOSELECTION | PD_HIDEPRINTTOFILE;
             PrintDlgW(&pd);
         }},
    };
    for (const TCase& c : cases) {
        std::vector<String> activated;
        THookSubscription cbt(hkCbt, nullptr, [&activated](THookCall& call) {
            if (call.Code == HCBT_ACTIVATE) activated.push_back(ClassNameOf(reinterpret_cast<HWND>(call.WParam)));
        });
        TWindowWatcher watcher(L"#32770",
                               [](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); });
        c.Open();
        EXPECT_TRUE(watcher.Found()) << c.Name << ": no visible \"#32770\" window";
        EXPECT_NE(std::find(activated.begin(), activated.end(), String(L"#32770")), activated.end())
            << c.Name << ": HCBT_ACTIVATE never named a \"#32770\" window";
    }
}

}  // namespace

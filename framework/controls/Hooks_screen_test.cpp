#include "framework/controls/Hooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/controls/Menus.h"
#include "framework/controls/WindowSubclass.h"
#include "testing/ControlTestSupport.h"

namespace {

String ClassNameOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// A hidden window, made to give the CBT hook something to see.
UniqueWindow MakeStaticWindow() {
    return UniqueWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
}

TEST(Hooks, AMessageBoxSubclassedAtActivationAnswersAndEndsAsUsual) {
    constexpr UINT Question = 0x3523;
    std::unique_ptr<TWindowSubclass> subclass;
    THookSubscription cbt(hkCbt, nullptr, [&subclass](THookCall& call) {
        if (call.Code != HCBT_ACTIVATE || subclass != nullptr) return;
        const auto box = reinterpret_cast<HWND>(call.WParam);
        if (ClassNameOf(box) != L"#32770") return;
        subclass = std::make_unique<TWindowSubclass>(box, nullptr, [](TChainedMessage& m) {
            if (m.Msg == Question) m.Result = 1;
            else m.PassOn();
        });
    });
    std::atomic<LRESULT> answer{-1};
    TWindowWatcher watcher(L"#32770", [&answer](HWND box) {
        answer = SendMessageW(box, Question, 0, 0);
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(MessageBoxW(nullptr, L"Currículo salvo.", L"Folhavida", MB_OK), IDOK);
    EXPECT_TRUE(watcher.Found());
    ASSERT_NE(subclass, nullptr) << "HCBT_ACTIVATE never came for the message box";
    EXPECT_EQ(answer, 1);
    EXPECT_FALSE(subclass->Attached()) << "the box's end did not detach the subscription";
    EXPECT_EQ(TWindowSubclass::RecordCount(), 0);
}

TEST(Hooks, ARaisingMenuFilterClosesTheMenuAndLeavesNoHook) {
    ExceptionRecorder recorder;
    TestHost host;
    const UniqueMenu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 1, L"Abrir");
    AppendMenuW(menu.get(), MF_STRING, 2, L"Salvar");
    std::atomic<bool> rescued{false};
    {
        THookSubscription filter(hkMsgFilter, nullptr, [](THookCall& call) {
            if (call.Code == MSGF_MENU) throw Exception(L"filter failed");
        });
        EXPECT_TRUE(THookSubscription::HookInstalled(hkMsgFilter));
        // Something for the menu's loop to filter.
        PostMessageW(host.Window(), WM_KEYDOWN, VK_DOWN, 1);
        // Should the menu stay open, a key closes it so that the failure is reported, not hung.
        const UniqueKernelHandle closed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::thread rescue([&] {
            if (WaitForSingleObject(closed.get(), 30000) == WAIT_TIMEOUT) {
                rescued = true;
                PostMessageW(FindWindowW(L"#32768", nullptr), WM_KEYDOWN, VK_ESCAPE, 1);
            }
        });
        const BOOL chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD, 60, 60, 0, host.Window(), nullptr);
        SetEvent(closed.get());
        rescue.join();
        EXPECT_EQ(chosen, 0);
    }
    EXPECT_FALSE(rescued) << "the menu stayed open after its filter raised";
    ASSERT_FALSE(recorder.Messages.empty());
    EXPECT_EQ(recorder.Messages.front(), L"filter failed");
    EXPECT_FALSE(THookSubscription::HookInstalled(hkMsgFilter));
}

TEST(Hooks, CallbacksRunInOrderAndSubscriptionsMadeOrEndedInsideOneTakeEffectNextCall) {
    std::vector<std::string> log;
    std::unique_ptr<THookSubscription> z;
    // The windows the test makes (the system may make others of its own meanwhile).
    auto created = [](const THookCall& call) {
        return call.Code == HCBT_CREATEWND && _wcsicmp(ClassNameOf(reinterpret_cast<HWND>(call.WParam)).c_str(), L"Static") == 0;
    };
    THookSubscription x(hkCbt, nullptr, [&](THookCall& call) {
        if (created(call)) log.push_back("X");
    });
    std::unique_ptr<THookSubscription> y;
    y = std::make_unique<THookSubscription>(hkCbt, nullptr, [&](THookCall& call) {
        if (!created(call)) return;
        log.push_back("Y");
        y.reset();
        z = std::make_unique<THookSubscription>(hkCbt, nullptr, [&](THookCall& c) {
            if (created(c)) log.push_back("Z");
        });
        // A window made inside the callback: the hook is entered again, or skipped by the system;
        // either way nothing breaks.
        (void)MakeStaticWindow();
    });
    (void)MakeStaticWindow();
    const size_t first = log.size();
    EXPECT_GE(first, 2u);
    EXPECT_EQ(log[0], "X");
    EXPECT_EQ(log[1], "Y");
    log.clear();
    (void)MakeStaticWindow();
    EXPECT_EQ(log, (std::vector<std::string>{"X", "Z"}));

    z.reset();
    EXPECT_TRUE(THookSubscription::HookInstalled(hkCbt));
    x.Remove();
    EXPECT_FALSE(THookSubscription::HookInstalled(hkCbt));
}

TEST(Hooks, TheLastSubscriptionEndingInsideItsCallbackTakesTheHookOffAfterwards) {
    std::unique_ptr<THookSubscription> watch;
    bool installedInside = false;
    watch = std::make_unique<THookSubscription>(hkCallWndProc, nullptr, [&](THookCall&) {
        if (watch == nullptr) return;
        watch.reset();
        installedInside = THookSubscription::HookInstalled(hkCallWndProc);
    });
    const UniqueWindow window = MakeStaticWindow();
    SendMessageW(window.get(), WM_NULL, 0, 0);
    EXPECT_EQ(watch, nullptr);
    EXPECT_TRUE(installedInside) << "the hook came off while its callback ran";
    EXPECT_FALSE(THookSubscription::HookInstalled(hkCallWndProc));
}

// What the system does with popup menus that the skin's menus depend on, pinned in the word size
// the suite runs in.

TEST(WineFacts, ThePopupMenusWindowIsSeenAtCreationAndASubclassSetThereWorks) {
    TestHost host;
    const UniqueMenu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 1, L"Abrir");
    std::vector<std::unique_ptr<TWindowSubclass>> subclasses;
    std::vector<UINT> seen;
    THookSubscription cbt(hkCbt, nullptr, [&](THookCall& call) {
        const auto window = reinterpret_cast<HWND>(call.WParam);
        if (call.Code != HCBT_CREATEWND || ClassNameOf(window) != L"#32768") return;
        subclasses.push_back(std::make_unique<TWindowSubclass>(window, nullptr, [&seen](TChainedMessage& m) {
            seen.push_back(m.Msg);
            m.PassOn();
        }));
    });
    TWindowWatcher watcher(L"#32768", [](HWND popup) { PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 1); });
    TrackPopupMenu(menu.get(), TPM_RETURNCMD, 60, 60, 0, host.Window(), nullptr);
    EXPECT_TRUE(watcher.Found());
    ASSERT_EQ(subclasses.size(), 1u) << "HCBT_CREATEWND did not show the menu's window";
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_NCCREATE)), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_PAINT)), seen.end());
}

TEST(WineFacts, TheMenuLoopFiltersItsMessagesAndAPostedKeyMovesTheHighlight) {
    TestHost host;
    const UniqueMenu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 1, L"Abrir");
    AppendMenuW(menu.get(), MF_STRING, 2, L"Salvar");
    int menuCalls = 0;
    THookSubscription filter(hkMsgFilter, nullptr, [&menuCalls](THookCall& call) {
        if (call.Code == MSGF_MENU) ++menuCalls;
    });
    // Down twice: the first highlights "Abrir", the second "Salvar"; Enter chooses it.
    PostMessageW(host.Window(), WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(host.Window(), WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(host.Window(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(TrackPopupMenu(menu.get(), TPM_RETURNCMD, 60, 60, 0, host.Window(), nullptr), 2);
    EXPECT_GT(menuCalls, 0);
}

TEST(WineFacts, AFormerMenuBarFailsToTrackButItsSubmenusTrack) {
    TestHost host;
    UniqueMenu bar(CreateMenu());
    HMENU file = CreatePopupMenu();  // the bar owns it once appended
    AppendMenuW(file, MF_STRING, 1, L"Abrir");
    AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"Arquivo");
    ASSERT_TRUE(SetMenu(host.Window(), bar.get()));
    ASSERT_TRUE(SetMenu(host.Window(), nullptr));
    SetLastError(0);
    EXPECT_FALSE(TrackPopupMenu(bar.get(), TPM_RETURNCMD, 60, 60, 0, host.Window(), nullptr));
    EXPECT_EQ(GetLastError(), 1446u);
    TWindowWatcher watcher(L"#32768", [](HWND popup) { PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 1); });
    TrackPopupMenu(GetSubMenu(bar.get(), 0), TPM_RETURNCMD, 60, 60, 0, host.Window(), nullptr);
    EXPECT_TRUE(watcher.Found()) << "the submenu did not open";
}

}  // namespace

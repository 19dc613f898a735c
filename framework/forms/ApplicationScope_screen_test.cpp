#include "framework/forms/ApplicationScope.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "framework/controls/Timer.h"
#include "framework/forms/Forms.h"

namespace {

// What a form sees of the framework while the end of its scope frees it.
struct TTeardownWitness : TObject {
    TMenuItem* item = nullptr;
    std::vector<String> seen;
    void FormDestroy(TObject*) {
        seen.push_back(L"forms on screen: " + std::to_wstring(Screen().FormCount()));
        seen.push_back(FindMenuItemByCommand(item->Command()) == item ? L"menu command known" : L"menu command lost");
        seen.push_back(IsWindow(Application().Handle()) ? L"application window" : L"no application window");
    }
};

// Tests of this suite make their own scopes (the test program makes none for them).
TEST(ApplicationScope, ItsEndFreesTheFormsWhileTheScreenAndTheRegistriesStillExist) {
    TTeardownWitness witness;
    HWND formWindow = nullptr;
    {
        TApplicationScope scope;
        TForm* main = nullptr;
        Application().CreateForm(main);
        TForm* second = nullptr;
        Application().CreateForm(second);
        witness.item = new TMenuItem(main);
        (new TTimer(main))->SetInterval(10);
        main->OnDestroy = TNotifyEvent(&witness, &TTeardownWitness::FormDestroy);
        formWindow = main->Handle();
    }
    // The second form went first (last first), so one form was left on the screen.
    EXPECT_EQ(witness.seen,
              (std::vector<String>{L"forms on screen: 1", L"menu command known", L"application window"}));
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_EQ(TApplicationScope::Current(), nullptr);
    EXPECT_EQ(TControlsScope::Current(), nullptr);
    EXPECT_EQ(TComponentScope::Current(), nullptr);
    EXPECT_THROW(Application(), EInvalidOperation);
    EXPECT_THROW(new TForm(nullptr), EInvalidOperation);  // a form needs a scope
}

TEST(ApplicationScope, EachScopeStartsWithAFreshApplication) {
    {
        TApplicationScope scope;
        TForm* main = nullptr;
        Application().CreateForm(main);
        Application().Terminate();
        Application().ProcessMessages();
        EXPECT_TRUE(Application().Terminated());
    }
    TApplicationScope scope;
    EXPECT_FALSE(Application().Terminated());
    EXPECT_EQ(Application().MainForm(), nullptr);
    EXPECT_EQ(Screen().FormCount(), 0);
    // No quit request of the ended application is waiting for this one.
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST(ApplicationScope, OnlyOneExistsAtATime) {
    TApplicationScope scope;
    EXPECT_THROW(TApplicationScope(), EInvalidOperation);
    EXPECT_THROW(TControlsScope(), EInvalidOperation);
    EXPECT_EQ(TApplicationScope::Current(), &scope);
    EXPECT_NO_THROW(Application().MainForm());
}

TEST(ApplicationScope, OneHiddenApplicationWindowTakesTheTicksAndItsClosingEndsTheApplication) {
    using namespace std::chrono_literals;
    TApplicationScope scope;
    HWND window = Application().Handle();
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    EXPECT_STREQ(name, L"TApplication");
    EXPECT_FALSE(IsWindowVisible(window));

    TLocal<TTimer> timer(nullptr);
    timer.SetInterval(1);
    MSG msg{};
    const auto end = std::chrono::steady_clock::now() + 2s;
    bool ticked = false;
    while (!ticked && std::chrono::steady_clock::now() < end) {
        ticked = PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE) != FALSE;
        if (!ticked) std::this_thread::sleep_for(5ms);
    }
    ASSERT_TRUE(ticked);
    EXPECT_EQ(msg.hwnd, window);

    SendMessageW(window, WM_CLOSE, 0, 0);
    Application().ProcessMessages();
    EXPECT_TRUE(Application().Terminated());
}

}  // namespace

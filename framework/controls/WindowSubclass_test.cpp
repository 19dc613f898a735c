#include "framework/controls/WindowSubclass.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/ControlsHost.h"
#include "framework/controls/ControlsScope.h"
#include "framework/graphics/GdiHandles.h"
#include "testing/ControlTestSupport.h"

namespace {

constexpr UINT Probe = WM_USER + 7;
constexpr LRESULT SavedAnswer = 5;

// What reached whom, in order.
std::vector<std::string> g_log;

// The window's own procedure: the one a subclass saves.
LRESULT CALLBACK SavedProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == Probe) {
        g_log.push_back("saved");
        return SavedAnswer;
    }
    if (msg == WM_NCDESTROY) g_log.push_back("saved ncdestroy");
    return DefWindowProcW(window, msg, wParam, lParam);
}

// A hidden window of a class of the test's own.
UniqueWindow MakeWindow() {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = SavedProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SubclassTestWindow";
        return RegisterClassW(&wc);
    }();
    (void)atom;
    g_log.clear();
    return UniqueWindow(CreateWindowExW(0, L"SubclassTestWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
}

// A handler that notes the probe (and WM_NCDESTROY) under name, then passes the message on.
TWindowSubclass::THandler Noting(std::string name) {
    return [name](TChainedMessage& m) {
        if (m.Msg == Probe) g_log.push_back(name);
        if (m.Msg == WM_NCDESTROY) g_log.push_back(name + " ncdestroy");
        m.PassOn();
    };
}

// Someone else subclassing the usual way: it saves the procedure it replaces and calls it.
struct TThirdParty {
    static inline WNDPROC previous = nullptr;
    static inline bool recordLeftAtEnd = true;
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == Probe) g_log.push_back("third");
        const LRESULT result = CallWindowProcW(previous, window, msg, wParam, lParam);
        if (msg == WM_NCDESTROY) recordLeftAtEnd = TWindowSubclass::HasRecord(window);
        return result;
    }
    static void Install(HWND window) {
        previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TThirdParty::Proc)));
    }
};

LONG_PTR ProcOf(HWND window) { return GetWindowLongPtrW(window, GWLP_WNDPROC); }
const LONG_PTR SavedProcValue = reinterpret_cast<LONG_PTR>(&SavedProc);

using Log = std::vector<std::string>;

TEST(WindowSubclass, RemovedInAnyOrderTheSavedProcedureComesBackAfterTheLast) {
    UniqueWindow window = MakeWindow();
    auto a = std::make_unique<TWindowSubclass>(window.get(), nullptr, Noting("A"));
    TWindowSubclass b(window.get(), nullptr, Noting("B"));
    EXPECT_EQ(SendMessageW(window.get(), Probe, 0, 0), SavedAnswer);
    EXPECT_EQ(g_log, (Log{"B", "A", "saved"}));

    g_log.clear();
    a.reset();
    EXPECT_EQ(SendMessageW(window.get(), Probe, 0, 0), SavedAnswer);
    EXPECT_EQ(g_log, (Log{"B", "saved"}));
    EXPECT_NE(ProcOf(window.get()), SavedProcValue);

    b.Remove();
    EXPECT_EQ(ProcOf(window.get()), SavedProcValue);
    EXPECT_FALSE(TWindowSubclass::HasRecord(window.get()));
    EXPECT_EQ(TWindowSubclass::RecordCount(), 0);
}

TEST(WindowSubclass, ALaterSubclassKeepsWorkingWhenTheEarlierOneEnds) {
    UniqueWindow window = MakeWindow();
    TWindowSubclass a(window.get(), nullptr, Noting("A"));
    TThirdParty::Install(window.get());
    a.Remove();
    // Ours stays under the third party's procedure, passing everything on.
    EXPECT_EQ(ProcOf(window.get()), reinterpret_cast<LONG_PTR>(&TThirdParty::Proc));
    EXPECT_TRUE(TWindowSubclass::HasRecord(window.get()));
    EXPECT_EQ(SendMessageW(window.get(), Probe, 0, 0), SavedAnswer);
    EXPECT_EQ(g_log, (Log{"third", "saved"}));

    // A new subscription joins the record left behind.
    g_log.clear();
    TWindowSubclass c(window.get(), nullptr, Noting("C"));
    EXPECT_EQ(TWindowSubclass::RecordCount(), 1);
    EXPECT_EQ(SendMessageW(window.get(), Probe, 0, 0), SavedAnswer);
    EXPECT_EQ(g_log, (Log{"third", "C", "saved"}));

    TThirdParty::recordLeftAtEnd = true;
    window.reset();
    EXPECT_FALSE(TThirdParty::recordLeftAtEnd);
    EXPECT_FALSE(c.Attached());
    EXPECT_EQ(TWindowSubclass::RecordCount(), 0);
}

TEST(WindowSubclass, AHandlerThatEndsItsSubscriptionStillPassesTheMessageOnOnce) {
    UniqueWindow window = MakeWindow();
    std::unique_ptr<TWindowSubclass> a;
    a = std::make_unique<TWindowSubclass>(window.get(), nullptr, [&a](TChainedMessage& m) {
        if (m.Msg == Probe) {
            g_log.push_back("A");
            a.reset();
        }
        m.PassOn();
        m.PassOn();  // a second call hands nothing on
    });
    TWindowSubclass b(window.get(), nullptr, Noting("B"));
    EXPECT_EQ(SendMessageW(window.get(), Probe, 0, 0), SavedAnswer);
    EXPECT_EQ(g_log, (Log{"B", "A", "saved"}));

    g_log.clear();
    EXPECT_EQ(SendMessageW(window.get(), Probe, 0, 0), SavedAnswer);
    EXPECT_EQ(g_log, (Log{"B", "saved"}));
}

TEST(WindowSubclass, ASubscriptionEndedBeforeTheMessageReachesItSeesNothingOfIt) {
    UniqueWindow window = MakeWindow();
    TWindowSubclass a(window.get(), nullptr, Noting("A"));
    TWindowSubclass b(window.get(), nullptr, [&a](TChainedMessage& m) {
        if (m.Msg == Probe) {
            g_log.push_back("B");
            a.Remove();
        }
        m.PassOn();
    });
    EXPECT_EQ(SendMessageW(window.get(), Probe, 0, 0), SavedAnswer);
    EXPECT_EQ(g_log, (Log{"B", "saved"}));
    EXPECT_FALSE(a.Attached());
}

TEST(WindowSubclass, AHandlerAnswersWithoutPassingOnOrAfterPassingOn) {
    UniqueWindow window = MakeWindow();
    TWindowSubclass a(window.get(), nullptr, [](TChainedMessage& m) {
        if (m.Msg == Probe && m.WParam == 1) {
            m.Result = 100;  // taken here: the saved procedure never sees it
            return;
        }
        m.PassOn();
        if (m.Msg == Probe) m.Result += 10;
    });
    EXPECT_EQ(SendMessageW(window.get(), Probe, 1, 0), 100);
    EXPECT_TRUE(g_log.empty());
    EXPECT_EQ(SendMessageW(window.get(), Probe, 0, 0), SavedAnswer + 10);
    EXPECT_EQ(g_log, (Log{"saved"}));
}

TEST(WindowSubclass, DestroyedWindowEveryoneSeesNcDestroyOnceAndNoPropertyIsLeft) {
    UniqueWindow window = MakeWindow();
    TWindowSubclass a(window.get(), nullptr, Noting("A"));
    // B passes nothing on: WM_NCDESTROY goes on all the same.
    TWindowSubclass b(window.get(), nullptr, [](TChainedMessage& m) {
        if (m.Msg == WM_NCDESTROY) g_log.push_back("B ncdestroy");
    });
    TThirdParty::Install(window.get());
    TThirdParty::recordLeftAtEnd = true;
    window.reset();
    EXPECT_EQ(g_log, (Log{"B ncdestroy", "A ncdestroy", "saved ncdestroy"}));
    EXPECT_FALSE(TThirdParty::recordLeftAtEnd);
    EXPECT_FALSE(a.Attached());
    EXPECT_FALSE(b.Attached());
    EXPECT_EQ(TWindowSubclass::RecordCount(), 0);
    a.Remove();  // detached: nothing to do
}

TEST(WindowSubclass, AHandlerThatRaisesReachesTheApplicationsHandler) {
    ExceptionRecorder recorder;
    UniqueWindow window = MakeWindow();
    TWindowSubclass a(window.get(), nullptr, [](TChainedMessage& m) {
        if (m.Msg == Probe) throw Exception(L"handler failed");
        m.PassOn();
    });
    SendMessageW(window.get(), Probe, 0, 0);
    EXPECT_EQ(recorder.Messages, std::vector<String>{L"handler failed"});
    EXPECT_TRUE(g_log.empty()) << "the message went on after the handler raised";
}

// An ANSI window: its procedure gets ANSI text, ours wide text.
std::string g_ansiText;
LRESULT CALLBACK AnsiProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT && lParam != 0) g_ansiText = reinterpret_cast<const char*>(lParam);
    return DefWindowProcA(window, msg, wParam, lParam);
}

TEST(WindowSubclass, AnAnsiWindowsTextSurvivesTheWideSubclass) {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = AnsiProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = "SubclassTestAnsiWindow";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    UniqueWindow window(CreateWindowExA(0, "SubclassTestAnsiWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
    ASSERT_FALSE(IsWindowUnicode(window.get()));
    const String text = L"Currículo ção";
    String seen;
    TWindowSubclass a(window.get(), nullptr, [&seen](TChainedMessage& m) {
        if (m.Msg == WM_SETTEXT) seen = reinterpret_cast<const wchar_t*>(m.LParam);
        m.PassOn();
    });
    SetWindowTextW(window.get(), text.c_str());
    EXPECT_EQ(seen, text);
    wchar_t converted[64] = {};
    MultiByteToWideChar(CP_ACP, 0, g_ansiText.c_str(), -1, converted, 64);
    EXPECT_EQ(String(converted), text) << "the ANSI procedure got other text";
    wchar_t back[64] = {};
    GetWindowTextW(window.get(), back, 64);
    EXPECT_EQ(String(back), text);
    a.Remove();
    GetWindowTextW(window.get(), back, 64);
    EXPECT_EQ(String(back), text);
}

TEST(WindowSubclass, OnlyAWindowOfThisThreadCanBeSubclassed) {
    EXPECT_THROW(TWindowSubclass(nullptr, nullptr, Noting("A")), EInvalidOperation);
    EXPECT_THROW(TWindowSubclass(GetDesktopWindow(), nullptr, Noting("A")), EInvalidOperation);
}

// The suite makes its own scopes (its name ends in "Scope").
TEST(WindowSubclassOutlivingScope, ARecordUnderALaterSubclassPassesMessagesOnUntilItsWindowGoes) {
    UniqueWindow window;
    {
        TControlsScope scope;
        window = MakeWindow();
        TWindowSubclass a(window.get(), nullptr, Noting("A"));
        TThirdParty::Install(window.get());
    }
    EXPECT_EQ(SendMessageW(window.get(), Probe, 0, 0), SavedAnswer);
    EXPECT_EQ(g_log, (Log{"third", "saved"}));
    {
        TControlsScope scope;
        g_log.clear();
        EXPECT_EQ(SendMessageW(window.get(), Probe, 0, 0), SavedAnswer);
        EXPECT_EQ(g_log, (Log{"third", "saved"}));
    }
    TThirdParty::recordLeftAtEnd = true;
    g_log.clear();
    window.reset();
    EXPECT_EQ(g_log, (Log{"saved ncdestroy"}));
    EXPECT_FALSE(TThirdParty::recordLeftAtEnd);
}

}  // namespace

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "framework/controls/ControlInternals.h"
#include "framework/controls/ControlsHost.h"
#include "framework/controls/Timer.h"
#include "testing/ControlTestSupport.h"
#include "testing/TestPixels.h"

namespace {

// Records what passes through a replaced WindowProc and hands it on to the saved one.
struct TSpy {
    TWndMethod saved;
    std::vector<UINT> seen;
    void Proc(TMessage& m) {
        seen.push_back(m.Msg);
        saved(m);
    }
};

// Records exceptions reaching the barrier.
struct TRecordingHost : TControlsHost {
    std::vector<String> messages;
    std::vector<std::pair<TWinControl*, HWND>> created;  // the control and its window when told
    void ControlWindowCreated(TWinControl* control) override {
        created.emplace_back(control, control->HandleIfAllocated());
    }
    TRecordingHost() { SetControlsHost(this); }
    ~TRecordingHost() override { SetControlsHost(nullptr); }
    void HandleException(TObject*) override {
        try {
            throw;
        } catch (const EAbort&) {
        } catch (const Exception& e) {
            messages.push_back(e.Message());
        }
    }
};

struct TFocusLog : TObject {
    std::vector<String> events;
    void Enter(TObject* s) { events.push_back(L"enter " + static_cast<TComponent*>(s)->Name()); }
    void Exit(TObject* s) { events.push_back(L"exit " + static_cast<TComponent*>(s)->Name()); }
    void KeyPress(TObject*, wchar_t& key) {
        if (key == L'x') key = 0;
        else if (key == L'a') key = L'b';
    }
    void Throw(TObject*) { throw Exception(L"timer failed"); }
};

class Controls : public ::testing::Test {
protected:
    TLocal<TTestRoot> root{nullptr};
    TRecordingHost host;

    TTestEdit* AddEdit(const wchar_t* name, int top, TWinControl* parent = nullptr) {
        auto* edit = new TTestEdit(&root);
        edit->SetName(name);
        edit->SetParent(parent != nullptr ? parent : &root);
        edit->SetTop(top);
        return edit;
    }
    void ShowRoot() {
        root.Show();
        root.Handle();
        SetForegroundWindow(root.Handle());
        EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == root.Handle(); }))
            << "the root did not come to the front; in front: " << DescribeWindow(GetForegroundWindow());
    }
};

TEST_F(Controls, WindowProcReplacedAndRestoredKeepsEveryMessageArriving) {
    ShowRoot();
    const TWndMethod original = root.WindowProc;
    TSpy spy;
    spy.saved = root.WindowProc;
    root.WindowProc = TWndMethod(&spy, &TSpy::Proc);
    EXPECT_NE(root.WindowProc, original);

    // Posted, sent and performed messages all pass the replacement and still reach the control.
    PostMessageW(root.Handle(), WM_USER + 1, 0, 0);
    PumpUntil([&] { return root.handled.size() == 1; });
    EXPECT_EQ(SendMessageW(root.Handle(), WM_USER + 2, 0, 0), 42);
    EXPECT_EQ(root.Perform(WM_USER + 3), 42);
    SetWindowTextW(root.Handle(), L"via default");
    EXPECT_EQ(root.Text(), L"via default");
    EXPECT_EQ(root.handled, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
    for (UINT m : {UINT{WM_USER + 1}, UINT{WM_USER + 2}, UINT{WM_USER + 3}, UINT{WM_SETTEXT}})
        EXPECT_NE(std::find(spy.seen.begin(), spy.seen.end(), m), spy.seen.end()) << m;

    root.WindowProc = spy.saved;
    EXPECT_EQ(root.WindowProc, original);
    size_t seenBefore = spy.seen.size();
    EXPECT_EQ(root.Perform(WM_USER + 4), 42);
    EXPECT_EQ(spy.seen.size(), seenBefore);
    EXPECT_EQ(root.handled.back(), UINT{WM_USER + 4});
}

TEST_F(Controls, TabMovesFocusInTabOrderAndRunsEnterAndExit) {
    auto* first = AddEdit(L"First", 0);
    auto* panel = new TTestPanel(&root);
    panel->SetName(L"Panel");
    panel->SetParent(&root);
    panel->SetBounds(0, 40, 200, 100);
    auto* inner = AddEdit(L"Inner", 10, panel);
    auto* last = AddEdit(L"Last", 150);
    auto* skipped = AddEdit(L"Skipped", 180);
    skipped->SetTabStop(false);
    TFocusLog log;
    for (TWinControl* c : std::vector<TWinControl*>{first, panel, inner, last}) {
        c->OnEnter = TNotifyEvent(&log, &TFocusLog::Enter);
        c->OnExit = TNotifyEvent(&log, &TFocusLog::Exit);
    }
    ShowRoot();
    first->SetFocus();
    EXPECT_TRUE(PumpUntil([&] { return first->Focused(); })) << "focus in " << DescribeWindow(GetFocus());

    PostKey(VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return inner->Focused(); })) << "focus in " << DescribeWindow(GetFocus());
    PostKey(VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return last->Focused(); })) << "focus in " << DescribeWindow(GetFocus());
    PostKey(VK_TAB);  // wraps around, skipping the control without TabStop
    EXPECT_TRUE(PumpUntil([&] { return first->Focused(); })) << "focus in " << DescribeWindow(GetFocus());
    EXPECT_EQ(root.FocusedControl(), first);

    // Entering a child enters its container first; leaving it exits the child, then the container.
    EXPECT_EQ(log.events, (std::vector<String>{L"enter First", L"exit First", L"enter Panel", L"enter Inner",
                                               L"exit Inner", L"exit Panel", L"enter Last", L"exit Last",
                                               L"enter First"}));
}

TEST_F(Controls, OnKeyPressConsumesOrChangesTheCharacter) {
    auto* edit = AddEdit(L"Edit", 0);
    TFocusLog log;
    edit->OnKeyPress = TKeyPressEvent(&log, &TFocusLog::KeyPress);
    ShowRoot();
    edit->SetFocus();
    for (wchar_t c : String(L"xaxc")) PostChar(c);
    PumpUntil([&] { return edit->Text().size() == 2; });
    EXPECT_EQ(edit->Text(), L"bc");

    // A character sent straight to the window (not through the loop) gets the same treatment.
    SendMessageW(edit->Handle(), WM_CHAR, L'x', 1);
    SendMessageW(edit->Handle(), WM_CHAR, L'd', 1);
    EXPECT_EQ(edit->Text(), L"bcd");
}

TEST_F(Controls, SetFocusOnAHiddenControlRaises) {
    auto* edit = AddEdit(L"Edit", 0);
    ShowRoot();
    edit->Hide();
    EXPECT_FALSE(edit->CanFocus());
    EXPECT_THROW(edit->SetFocus(), EInvalidOperation);
}

TEST_F(Controls, PaintsItselfAndItsChildrenIntoAGivenDC) {
    root.SetColor(clWhite);
    auto* panel = new TTestPanel(&root);
    panel->SetParent(&root);
    panel->SetBounds(10, 10, 40, 40);
    panel->Fill = clRed;
    auto* shape = new TTestShape(&root);  // windowless, on the panel
    shape->SetParent(panel);
    shape->SetBounds(5, 5, 10, 10);
    shape->Fill = clBlue;
    auto* direct = new TTestShape(&root);  // windowless, on the root
    direct->SetParent(&root);
    direct->SetBounds(100, 20, 10, 10);
    direct->Fill = clLime;
    root.Handle();  // never shown: painting does not need the screen

    auto bitmap = WhiteBitmap(300, 200);
    bitmap->Canvas().Brush().SetColor(clBlack);
    bitmap->Canvas().FillRect(Rect(0, 0, 300, 200));
    root.PaintTo(bitmap->Canvas().Handle(), 0, 0);

    EXPECT_EQ(DibPixel(*bitmap, 2, 2), clWhite);     // root background
    EXPECT_EQ(DibPixel(*bitmap, 12, 12), clRed);     // windowed child
    EXPECT_EQ(DibPixel(*bitmap, 17, 17), clBlue);    // its windowless child, offset by both
    EXPECT_EQ(DibPixel(*bitmap, 105, 25), clLime);   // a windowless child of the root
    EXPECT_EQ(DibPixel(*bitmap, 111, 25), clWhite);

    // WM_PAINT with a DC paints the control and its windowless children only.
    auto second = WhiteBitmap(60, 60);
    panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(second->Canvas().Handle()), 0);
    EXPECT_EQ(DibPixel(*second, 1, 1), clRed);
    EXPECT_EQ(DibPixel(*second, 7, 7), clBlue);
}

TEST_F(Controls, MouseEnterAndLeaveReachWindowlessControls) {
    auto* shape = new TTestShape(&root);
    shape->SetParent(&root);
    shape->SetBounds(50, 50, 20, 20);
    ShowRoot();
    SendMessageW(root.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(55, 55));
    EXPECT_EQ(MouseControl(), shape);
    SendMessageW(root.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(MouseControl(), &root);
    SendMessageW(root.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
    SendMessageW(root.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(MouseControl(), nullptr);
    EXPECT_EQ(shape->notes, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE, CM_MOUSEENTER, CM_MOUSELEAVE}));
}

TEST_F(Controls, ClickOnAWindowlessControlRunsOnClick) {
    auto* shape = new TTestShape(&root);
    shape->SetParent(&root);
    shape->SetBounds(50, 50, 20, 20);
    int clicks = 0;
    struct TCounter : TObject {
        int* count;
        void Click(TObject*) { ++*count; }
    } counter;
    counter.count = &clicks;
    shape->OnClick = TNotifyEvent(&counter, &TCounter::Click);
    ShowRoot();
    SendMessageW(root.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 55));
    SendMessageW(root.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(56, 56));
    SendMessageW(root.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 55));
    SendMessageW(root.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(150, 150));  // released outside: no click
    EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, ChildColourRequestsAreAnsweredByTheChild) {
    auto* edit = AddEdit(L"Edit", 0);
    edit->SetColor(clYellow);
    edit->Font()->SetColor(clRed);
    ShowRoot();
    const UniqueWindowDC editDC = ClientDC(edit->Handle());
    const HDC dc = editDC.get();
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(root.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit->Handle())));
    EXPECT_EQ(GetBkColor(dc), ColorToRGB(clYellow));
    EXPECT_EQ(GetTextColor(dc), ColorToRGB(clRed));
    LOGBRUSH lb{};
    GetObjectW(brush, sizeof(lb), &lb);
    EXPECT_EQ(lb.lbColor, ColorToRGB(clYellow));
}

TEST_F(Controls, WindowClassIsNamedAfterTheFrameworkClassAndSuperclassesTheSystemOne) {
    auto* edit = AddEdit(L"Edit", 0);
    wchar_t name[64] = {};
    GetClassNameW(edit->Handle(), name, 64);
    EXPECT_STREQ(name, L"TTestEdit");
    GetClassNameW(root.Handle(), name, 64);
    EXPECT_STREQ(name, L"TTestRoot");
    EXPECT_EQ(FindControl(edit->Handle()), edit);
    SendMessageW(edit->Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"typed"));
    EXPECT_EQ(edit->Text(), L"typed");  // the system EDIT behaviour is there
}

TEST_F(Controls, AWindowOfAnotherThreadCarryingTheControlPropertyIsNoControl) {
    auto* edit = AddEdit(L"Edit", 0);
    // A window made, kept and destroyed by another thread; this one marks it as the edit's.
    std::atomic<HWND> other{nullptr};
    std::atomic<bool> done{false};
    std::thread owner([&] {
        UniqueWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                            GetModuleHandleW(nullptr), nullptr));
        other = window.get();
        while (!done) Sleep(1);  // holds the window alive for the checks; nothing to wait on
    });
    ASSERT_TRUE(PumpUntil([&] { return other.load() != nullptr; }));
    fv_controls::BindWindow(other, edit);
    EXPECT_EQ(GetPropW(other, MAKEINTATOM(GlobalFindAtomW(
                                   (L"FolhavidaControl" + std::to_wstring(GetCurrentProcessId())).c_str()))),
              edit)
        << "the property is there, by the atom of its name";
    EXPECT_EQ(FindControl(other), nullptr);
    EXPECT_EQ(FindControl(edit->Handle()), edit);
    done = true;
    owner.join();
}

TEST_F(Controls, TheHostIsToldOfEveryWindowMadeAndMadeAgain) {
    auto* edit = AddEdit(L"Edit", 0);
    root.HandleNeeded();
    using TCreated = std::pair<TWinControl*, HWND>;
    const HWND first = edit->Handle();
    EXPECT_EQ(host.created, (std::vector<TCreated>{{edit, first}, {&root, root.Handle()}}))
        << "the children's windows are made with the root's, and told before it";

    host.created.clear();
    edit->RecreateWnd();
    ASSERT_EQ(host.created.size(), 1u);
    EXPECT_EQ(host.created[0].first, edit);
    EXPECT_EQ(host.created[0].second, edit->Handle()) << "told once the new window is there";
    EXPECT_TRUE(IsWindow(host.created[0].second));

    host.created.clear();
    edit->DestroyHandle();
    EXPECT_TRUE(host.created.empty());
    edit->HandleNeeded();
    EXPECT_EQ(host.created, (std::vector<TCreated>{{edit, edit->Handle()}}));
}

TEST_F(Controls, HandlesAreCreatedOnlyWhenNeeded) {
    auto* edit = AddEdit(L"Edit", 0);
    edit->SetText(L"before");
    EXPECT_FALSE(root.HandleAllocated());
    EXPECT_FALSE(edit->HandleAllocated());
    HWND h = edit->Handle();  // the parent's window comes first
    EXPECT_TRUE(root.HandleAllocated());
    EXPECT_EQ(GetParent(h), root.Handle());
    wchar_t text[32] = {};
    GetWindowTextW(h, text, 32);
    EXPECT_STREQ(text, L"before");
    root.DestroyHandle();
    EXPECT_FALSE(edit->HandleAllocated());
    EXPECT_EQ(edit->Text(), L"before");

    TLocal<TTestEdit> orphan(nullptr);
    EXPECT_THROW(orphan.Handle(), EInvalidOperation);
}

TEST_F(Controls, ExceptionInAWindowProcedureGoesToTheHandler) {
    struct TThrowing : TTestRoot {
        using TTestRoot::TTestRoot;
        void WndProc(TMessage& m) override {
            if (m.Msg == WM_USER + 50) throw Exception(L"broken handler");
            if (m.Msg == WM_USER + 51) Abort();
            TTestRoot::WndProc(m);
        }
    };
    TLocal<TThrowing> throwing(nullptr);
    HWND h = throwing.Handle();
    SendMessageW(h, WM_USER + 50, 0, 0);
    SendMessageW(h, WM_USER + 51, 0, 0);  // EAbort is silent
    EXPECT_EQ(host.messages, std::vector<String>{L"broken handler"});
    EXPECT_TRUE(IsWindow(h));
}

// A windowless control that remembers the DC of each paint; the first paint fails.
class TFailingFirstPaint : public TGraphicControl {
public:
    explicit TFailingFirstPaint(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 20, 20); }
    std::vector<HDC> dcs;

protected:
    void Paint() override {
        dcs.push_back(Canvas().Handle());
        if (dcs.size() == 1) throw Exception(L"paint failed");
    }
};

TEST_F(Controls, APaintThatThrowsGivesTheWindowsDCBack) {
    // The system hands a window the DC it gave back last; one kept by a failed paint would be
    // in use, and the next paint would get another.
    auto* edit = AddEdit(L"Edit", 100);
    struct Case {
        const wchar_t* parent;
        TWinControl* control;
    } cases[] = {{L"a control painting itself", &root}, {L"a system control", edit}};
    ShowRoot();
    for (const Case& c : cases) {
        auto* shape = new TFailingFirstPaint(&root);
        shape->SetParent(c.control);
        shape->SetBounds(2, 2, 10, 10);
        host.messages.clear();
        for (int paint = 0; paint < 2; ++paint) {
            RedrawWindow(c.control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
            PumpMessages();
        }
        ASSERT_EQ(shape->dcs.size(), 2u) << c.parent;
        EXPECT_EQ(host.messages, std::vector<String>{L"paint failed"}) << c.parent;
        EXPECT_EQ(shape->dcs[1], shape->dcs[0]) << c.parent;
        delete shape;
    }
}

TEST_F(Controls, AlignedChildrenFillTheClientArea) {
    auto* top = new TTestPanel(&root);
    top->SetParent(&root);
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* client = new TTestPanel(&root);
    client->SetParent(&root);
    client->SetAlign(alClient);
    root.Handle();
    TRect area = root.ClientRect();
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, area.Width(), 30));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, area.Width(), area.Height()));
    root.SetBounds(100, 100, 400, 300);
    area = root.ClientRect();
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, area.Width(), area.Height()));
}

TEST_F(Controls, ParentFontAndColourFollowTheParent) {
    auto* edit = AddEdit(L"Edit", 0);
    root.Font()->SetName(L"Arial");
    EXPECT_EQ(edit->Font()->Name(), L"Arial");
    edit->Font()->SetSize(12);
    EXPECT_FALSE(edit->ParentFont());
    root.Font()->SetName(L"Courier New");
    EXPECT_EQ(edit->Font()->Name(), L"Arial");

    auto* shape = new TTestShape(&root);
    shape->SetParent(&root);
    shape->SetParentColor(true);
    root.SetColor(clAqua);
    EXPECT_EQ(shape->Color(), clAqua);
}

TEST_F(Controls, TimerTicksAndItsExceptionsGoToTheHandler) {
    TLocal<TTimer> timer(nullptr);
    TFocusLog log;
    int ticks = 0;
    struct TTicker : TObject {
        int* n;
        void Tick(TObject*) { ++*n; }
    } ticker;
    ticker.n = &ticks;
    timer.SetInterval(10);
    timer.OnTimer = TNotifyEvent(&ticker, &TTicker::Tick);
    PumpUntil([&] { return ticks >= 3; });
    EXPECT_GE(ticks, 3);
    timer.SetEnabled(false);
    int stopped = ticks;
    PumpMessagesFor(60);  // six intervals without a tick
    EXPECT_EQ(ticks, stopped);

    timer.OnTimer = TNotifyEvent(&log, &TFocusLog::Throw);
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return !host.messages.empty(); })) << "no exception reached the handler";
    EXPECT_EQ(host.messages.front(), L"timer failed");
}


// A top-level control and its windowed child that log, at WM_DESTROY, a member of their own
// derived class and whether the other one is still whole.
std::vector<String> destroyLog;

class TLoggingRoot : public TTestRoot {
public:
    explicit TLoggingRoot(TComponent* owner) : TTestRoot(owner) {}
    String label = L"root";
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_DESTROY) destroyLog.push_back(L"WndProc " + label);
        TTestRoot::WndProc(message);
    }
};

class TLoggingChild : public TTestPanel {
public:
    explicit TLoggingChild(TComponent* owner) : TTestPanel(owner) {}
    String label = L"child";
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_DESTROY) {
            auto* root = dynamic_cast<TLoggingRoot*>(Parent());
            destroyLog.push_back(L"WndProc " + label + L" in " + (root != nullptr ? root->label : L"?"));
        }
        TTestPanel::WndProc(message);
    }
};

// Installed in place of the root's WindowProc, the way a skin engine hooks a window.
struct TDestroyHook : TObject {
    TControl* control = nullptr;
    TWndMethod saved;
    void Proc(TMessage& message) {
        if (message.Msg == WM_DESTROY) {
            auto* root = dynamic_cast<TLoggingRoot*>(control);
            destroyLog.push_back(L"WindowProc " + (root != nullptr ? root->label : L"?"));
        }
        saved(message);
    }
};

TEST(WinControl, DerivedAndInstalledWindowProcsSeeWMDestroyOnTheWholeObject) {
    struct TCase {
        const char* path;
        std::function<void(const std::function<TLoggingRoot*(TComponent*)>&)> run;
    } cases[] = {
        {"delete", [](const auto& make) { delete make(nullptr); }},
        {"owner", [](const auto& make) {
             TLocal<TComponent> owner(nullptr);
             make(&owner);
         }},
        {"unique_ptr", [](const auto& make) { std::unique_ptr<TLoggingRoot>(make(nullptr)).reset(); }},
    };
    for (const TCase& c : cases) {
        destroyLog.clear();
        TDestroyHook hook;
        c.run([&hook](TComponent* owner) {
            auto* root = new TLoggingRoot(owner);
            auto* child = new TLoggingChild(root);
            child->SetParent(root);
            root->HandleNeeded();
            hook.control = root;
            hook.saved = root->WindowProc;
            root->WindowProc = TWndMethod(&hook, &TDestroyHook::Proc);
            return root;
        });
        // The children's windows go first, all while every object is whole.
        EXPECT_EQ(destroyLog, (std::vector<String>{L"WndProc child in root", L"WindowProc root", L"WndProc root"}))
            << c.path;
    }
}

}  // namespace

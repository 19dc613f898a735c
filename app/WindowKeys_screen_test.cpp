// The keyboard in each of the program's windows, pressed as a person presses it: Enter presses the
// default button (or the focused one), Escape the cancel button, Tab and Shift+Tab follow the tab
// order, and Ctrl+Tab switches pages.
#include <gtest/gtest.h>

#include <memory>

#include "app/Generation.h"
#include "app/MainForm.h"
#include "app/PhotoForm.h"
#include "app/SaveForm.h"
#include "app/Splash.h"
#include "app/StyleForm.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/FileCtrl.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"
#include "testing/ControlTestSupport.h"
#include "testing/KeyInput.h"

namespace {

// Generation and saving without the report template: the windows' keys are under test here.
class QuietTemplate : public TResumeTemplate {
public:
    void Apply(const TCurriculoState&, const TPicture&, const TStepDone& done) override {
        for (int step = 0; step <= static_cast<int>(TFillStep::Further); ++step) done(static_cast<TFillStep>(step));
    }
    void ShowPreview() override {}
    void SavePreparedReport(const String& fileName) override { Saved.push_back(fileName); }
    void OpenPreparedReport(const String&) override {}
    std::vector<String> Saved;
};

// The name of the control a window belongs to (an inner window of a combo box counts as the box).
String ControlName(HWND window) {
    for (HWND h = window; h != nullptr; h = GetParent(h))
        if (TWinControl* control = FindControl(h)) return control->Name();
    return window == nullptr ? L"(focus did not move)" : L"(not a control)";
}

std::vector<String> Names(const std::vector<HWND>& windows) {
    std::vector<String> names;
    for (HWND window : windows) names.push_back(ControlName(window));
    return names;
}

std::string Joined(const std::vector<String>& names) {
    std::string all;
    for (const String& name : names) all += StringToUtf8(name) + " ";
    return all;
}

// A row of keys that ends a modal window, and the result it ends with.
struct TAnswerRow {
    const char* Name;
    std::vector<TKeyStroke> Keys;
    int Result;
};

// Shows the form modally and presses the row's keys in it; EXPECTs the row's result.
void ExpectAnswer(TCustomForm& form, const wchar_t* className, const TAnswerRow& row) {
    SCOPED_TRACE(row.Name);
    form.SetModalResult(mrNone);
    TWindowWatcher watcher(className, [&](HWND window) {
        SetForegroundWindow(window);
        for (const TKeyStroke& key : row.Keys) PressKey(key.Key, key.Shift);
    });
    EXPECT_EQ(form.ShowModal(), row.Result);
    EXPECT_TRUE(watcher.Found());
}

// Shows the form modally, notes where the focus starts, walks steps times with Tab and steps times
// back with Shift+Tab, and closes the form.
struct TTabWalk {
    String Start;
    std::vector<String> Forward, Backward;
};
TTabWalk WalkTabOrder(TCustomForm& form, const wchar_t* className, int steps) {
    const DWORD uiThread = GetCurrentThreadId();
    std::vector<HWND> forward, backward;
    HWND start = nullptr;
    {
        TWindowWatcher watcher(className, [&](HWND window) {
            SetForegroundWindow(window);
            WaitOnWatcher([&] { return ThreadFocus(uiThread) != nullptr; });
            start = ThreadFocus(uiThread);
            forward = WalkFocus(uiThread, {VK_TAB}, steps);
            backward = WalkFocus(uiThread, {VK_TAB, TShiftState{ssShift}}, steps);
            PostMessageW(window, WM_CLOSE, 0, 0);
        });
        form.ShowModal();
        EXPECT_TRUE(watcher.Found());
    }
    return {ControlName(start), Names(forward), Names(backward)};
}

std::vector<String> Reversed(std::vector<String> names) { return {names.rbegin(), names.rend()}; }

class WindowKeys : public ::testing::Test {
protected:
    void SetUp() override {
        Application().CreateForm(Form1);
        Application().CreateForm(impressao);
        Application().CreateForm(frm_salvar);
        SetResumeTemplate(&quiet);
        Form1->edt_nome->SetText(L"Maria");
    }
    void TearDown() override {
        SetResumeTemplate(nullptr);
        Application().DestroyComponents();
        Form1 = nullptr;
        impressao = nullptr;
        frm_salvar = nullptr;
    }
    QuietTemplate quiet;
};

TEST_F(WindowKeys, StyleForm) {
    // fonte is hidden: Tab passes it by.
    const TTabWalk walk = WalkTabOrder(*impressao, L"Timpressao", 7);
    EXPECT_EQ(walk.Start, L"Modelo1");
    const std::vector<String> order = {L"Modelo2", L"Modelo3", L"cor", L"paginas", L"BitBtn1", L"BitBtn2", L"Modelo1"};
    EXPECT_EQ(walk.Forward, order) << Joined(walk.Forward);
    std::vector<String> back = Reversed(order);
    back.erase(back.begin());
    back.push_back(L"Modelo1");
    EXPECT_EQ(walk.Backward, back) << Joined(walk.Backward);

    // Each row starts on Modelo1, where the walk left the focus; a form shown again keeps its
    // last focused control, so the rows that move the focus come last.
    const TShiftState shift{ssShift};
    const TAnswerRow rows[] = {
        {"Enter presses OK", {{VK_RETURN}}, mrOk},
        {"Escape presses Cancel", {{VK_ESCAPE}}, mrCancel},
        {"Tab, Space ticks Modelo2, Escape", {{VK_TAB}, {VK_SPACE}, {VK_ESCAPE}}, mrCancel},
        {"Shift+Tab from Modelo2 to Modelo1, Shift+Tab to Cancel, Enter", {{VK_TAB, shift}, {VK_TAB, shift}, {VK_RETURN}},
         mrCancel},
        {"Shift+Tab from Cancel to OK, Space", {{VK_TAB, shift}, {VK_SPACE}}, mrOk},
    };
    for (const TAnswerRow& row : rows) {
        ExpectAnswer(*impressao, L"Timpressao", row);
        if (std::string(row.Name).find("ticks") != std::string::npos) {
            EXPECT_TRUE(impressao->Modelo2->Checked());
            EXPECT_FALSE(impressao->Modelo1->Checked());
        }
    }
}

TEST_F(WindowKeys, SaveForm) {
    const String folder = GetTempDirectory() + L"teclas-" + std::to_wstring(GetCurrentProcessId());
    ForceDirectories(folder);
    frm_salvar->lista->SetDirectory(folder);

    const TTabWalk walk = WalkTabOrder(*frm_salvar, L"Tfrm_salvar", 4);
    EXPECT_EQ(walk.Start, L"DriveComboBox1");
    EXPECT_EQ(walk.Forward, (std::vector<String>{L"lista", L"BitBtn1", L"BitBtn2", L"DriveComboBox1"}))
        << Joined(walk.Forward);
    EXPECT_EQ(walk.Backward, (std::vector<String>{L"BitBtn2", L"BitBtn1", L"lista", L"DriveComboBox1"}))
        << Joined(walk.Backward);

    // From the drive box, where the walk left the focus.
    const TAnswerRow rows[] = {
        {"Escape presses Cancelar", {{VK_ESCAPE}}, mrCancel},
        {"Enter presses Salvar", {{VK_RETURN}}, mrOk},
        {"Tab to Cancelar, Enter", {{VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_RETURN}}, mrCancel},
    };
    for (const TAnswerRow& row : rows) ExpectAnswer(*frm_salvar, L"Tfrm_salvar", row);
    EXPECT_EQ(quiet.Saved.size(), 1u) << "only Enter saved";
    for (const String& saved : quiet.Saved) DeleteFile(saved);
    RemoveDir(folder);
}

// The video comes first in the tab order and takes no key of its own: Enter still presses OK.
TEST_F(WindowKeys, WebcamForm) {
    {
        TLocal<Tfrm_foto> form(nullptr);
        const TTabWalk walk = WalkTabOrder(form, L"Tfrm_foto", 3);
        EXPECT_EQ(walk.Start, L"VideoWindow");
        EXPECT_EQ(walk.Forward, (std::vector<String>{L"BitBtn3", L"BitBtn1", L"VideoWindow"})) << Joined(walk.Forward);
        EXPECT_EQ(walk.Backward, (std::vector<String>{L"BitBtn1", L"BitBtn3", L"VideoWindow"})) << Joined(walk.Backward);
    }
    const TAnswerRow rows[] = {
        {"Escape presses Cancel", {{VK_ESCAPE}}, mrCancel},
        {"Enter presses OK", {{VK_RETURN}}, mrOk},
        {"Tab to OK, Enter", {{VK_TAB}, {VK_RETURN}}, mrOk},
        {"Tab, Tab to Cancel, Enter", {{VK_TAB}, {VK_TAB}, {VK_RETURN}}, mrCancel},
        {"Shift+Tab to Cancel, Space", {{VK_TAB, TShiftState{ssShift}}, {VK_SPACE}}, mrCancel},
    };
    for (const TAnswerRow& row : rows) {
        TLocal<Tfrm_foto> form(nullptr);  // each row from the window as it opens
        ExpectAnswer(form, L"Tfrm_foto", row);
    }
}

// The about box has no buttons: the keyboard closes it as its close button does.
TEST_F(WindowKeys, AboutBox) {
    TLocal<Tsobre> about(nullptr);
    ExpectAnswer(about, L"Tsobre", {"Alt+F4", {{VK_F4, TShiftState{ssAlt}}}, mrCancel});
}

// The main window is not modal: the keys go in while the test handles messages as the program's
// own loop does.
class MainWindowKeys : public WindowKeys {
protected:
    void SetUp() override {
        WindowKeys::SetUp();
        Form1->Show();
        SetForegroundWindow(Form1->Handle());
        ASSERT_TRUE(PumpAppUntil([&] { return GetActiveWindow() == Form1->Handle(); }));
    }
    static void ProcessApplicationMessages() { Application().ProcessMessages(); }
    static bool PumpAppUntil(const std::function<bool()>& done) {
        return PumpUntil(done, 10000, ProcessApplicationMessages);
    }
    void Focus(TWinControl* control) {
        for (TControl* c = control; c != nullptr; c = c->Parent())
            if (auto* sheet = dynamic_cast<TTabSheet*>(c)) sheet->PageControl()->SetActivePage(sheet);
        control->SetFocus();
        ASSERT_TRUE(PumpAppUntil([&] { return control->Focused(); }));
    }
};

TEST_F(MainWindowKeys, PagesSwitchWithCtrlTabInTheInnermostPageControl) {
    struct TRow {
        const char* Name;
        const wchar_t* From;  // the control with the focus
        TShiftState Shift;    // with Ctrl
        const wchar_t* Outer;  // PageControl1's page after
        const wchar_t* Inner;  // PageControl2's page after
    };
    const TRow rows[] = {
        {"forward", L"edt_nome", {ssCtrl}, L"TabSheet2", L"TabSheet8"},
        {"backward wraps round", L"edt_nome", {ssCtrl, ssShift}, L"TabSheet7", L"TabSheet8"},
        {"inside the experiences", L"edt_exnome1", {ssCtrl}, L"TabSheet2", L"TabSheet9"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        Form1->PageControl2->SetActivePageIndex(0);
        Focus(dynamic_cast<TWinControl*>(Form1->FindComponent(row.From)));
        ASSERT_TRUE(PressKey(VK_TAB, row.Shift));
        const auto pageName = [](TPageControl* pages) {
            return pages->ActivePage() != nullptr ? pages->ActivePage()->Name() : String(L"none");
        };
        EXPECT_TRUE(PumpAppUntil([&] {
            return pageName(Form1->PageControl1) == row.Outer && pageName(Form1->PageControl2) == row.Inner;
        })) << StringToUtf8(pageName(Form1->PageControl1)) << " / " << StringToUtf8(pageName(Form1->PageControl2));
    }
}

TEST_F(MainWindowKeys, TabFollowsThePersonalData) {
    Focus(Form1->edt_nome);
    const std::vector<String> order = {L"edt_nasc", L"edt_sexo", L"edt_ec", L"edt_tel1", L"edt_tel2"};
    for (const String& name : order) {
        const HWND before = GetFocus();
        ASSERT_TRUE(PressKey(VK_TAB));
        ASSERT_TRUE(PumpAppUntil([&] { return GetFocus() != before; }));
        EXPECT_EQ(ControlName(GetFocus()), name);
    }
    for (auto it = order.rbegin() + 1; it != order.rend(); ++it) {
        const HWND before = GetFocus();
        ASSERT_TRUE(PressKey(VK_TAB, TShiftState{ssShift}));
        ASSERT_TRUE(PumpAppUntil([&] { return GetFocus() != before; }));
        EXPECT_EQ(ControlName(GetFocus()), *it);
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/classes/ComponentResource.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/Timer.h"
#include "framework/forms/Dialogs.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/Bitmap.h"
#include "framework/rtl/StringUtils.h"
#include "testing/ControlTestSupport.h"
#include "testing/KeyInput.h"

// A form built from its description resource "TTestForm1" (Forms_test.desc), declared the way the
// program's forms are.
class TTestForm1 : public TForm {
    FV_CLASS(TTestForm1, TForm)
public:
    explicit TTestForm1(TComponent* owner) : TForm(owner) {
        ReadForm([this] {
            FV_BIND(Edit1);
            FV_BIND(Edit2);
            FV_BIND(File1);
            FV_BIND(Save1);
            FV_BIND(MainMenu1);
        });
    }
    static void Publish(TPublisher<TTestForm1>& p) {
        p.Handler(L"FormCreate", &TTestForm1::FormCreate);
        p.Handler(L"FormKeyPress", &TTestForm1::FormKeyPress);
        p.Handler(L"Edit1KeyPress", &TTestForm1::Edit1KeyPress);
        p.Handler(L"Save1Click", &TTestForm1::Save1Click);
        p.Handler(L"About1Click", &TTestForm1::About1Click);
    }

    TTestEdit* Edit1 = nullptr;
    TTestEdit* Edit2 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Save1 = nullptr;

    bool created = false;
    bool fieldsBoundAtCreate = false;
    int saves = 0;
    int abouts = 0;
    int menuChanges = 0;

    void WndProc(TMessage& message) override {
        if (message.Msg == CM_MENUCHANGED) ++menuChanges;
        TForm::WndProc(message);
    }

private:
    void FormCreate(TObject*) {
        created = true;
        fieldsBoundAtCreate = Edit1 != nullptr && Save1 != nullptr;
    }
    void FormKeyPress(TObject*, wchar_t& key) {
        if (key == L'q') key = 0;  // the form sees keys first (KeyPreview)
    }
    void Edit1KeyPress(TObject*, wchar_t& key) {
        if (key == L'\r') {
            key = 0;
            Edit2->SetFocus();
        }
    }
    void Save1Click(TObject*) { ++saves; }
    void About1Click(TObject*) { ++abouts; }
};

namespace {

struct TEvents : TObject {
    std::vector<String> log;
    TCloseAction action = caHide;
    bool canClose = true;
    void Close(TObject*, TCloseAction& a) {
        log.push_back(L"close");
        a = action;
    }
    void CloseQuery(TObject*, bool& can) {
        log.push_back(L"query");
        can = canClose;
    }
    void Destroyed(TObject*) { log.push_back(L"destroy"); }
    void Shown(TObject*) { log.push_back(L"show"); }
    void Clicked(TObject*) { log.push_back(L"click"); }
    void OnError(TObject*, Exception& e) { log.push_back(e.Message()); }
};

// Records the hints it is asked to show.
class TTestHintWindow : public THintWindow {
    FV_CLASS(TTestHintWindow, THintWindow)
public:
    explicit TTestHintWindow(TComponent* owner) : THintWindow(owner) {}
    std::vector<String> shown;
    void ActivateHint(TRect rect, const String& hint) override {
        shown.push_back(hint);
        THintWindow::ActivateHint(rect, hint);
    }
};

String WindowText(HWND h) {
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    return text;
}

// The texts of a dialog's static controls: its message among them (the icon's is empty).
std::vector<String> StaticTexts(HWND dialog) {
    std::vector<String> texts;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM param) CALLBACK -> BOOL {
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            if (_wcsicmp(name, L"Static") == 0) reinterpret_cast<std::vector<String>*>(param)->push_back(WindowText(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Clicks the button with this text inside window (from the watcher's thread).
void ClickButton(HWND window, const wchar_t* className, const wchar_t* text) {
    if (HWND button = FindChild(window, className, text)) PostMessageW(button, BM_CLICK, 0, 0);
}

TEST(Forms, DescriptionBuildsTheFormBindsFieldsAndRunsOnCreate) {
    TLocal<TTestForm1> form(nullptr);
    EXPECT_EQ(form.Name(), L"TestForm1");
    EXPECT_TRUE(form.created);
    EXPECT_TRUE(form.fieldsBoundAtCreate);
    EXPECT_EQ(form.Edit1->Parent(), &form);
    EXPECT_EQ(form.Menu(), form.MainMenu1);
    EXPECT_EQ(form.ActiveControl(), form.Edit2);
    EXPECT_EQ(form.Edit2->TabOrder(), 0);
    EXPECT_EQ(form.Edit1->TabOrder(), 1);
    EXPECT_EQ(form.Caption(), L"Formulário de teste");
    EXPECT_FALSE(form.Visible());

    HWND h = form.Handle();
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 300);  // the client size holds with the menu bar
    EXPECT_EQ(client.bottom, 200);
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    EXPECT_STREQ(name, L"TTestForm1");

    form.Show();
    EXPECT_TRUE(PumpUntil([&] { return form.Edit2->Focused(); })) << "focus in " << DescribeWindow(GetFocus());
    TRect area = Screen().WorkAreaRect();
    EXPECT_NEAR(form.Left(), area.Left + (area.Width() - form.Width()) / 2, 1);
    EXPECT_NEAR(form.Top(), area.Top + (area.Height() - form.Height()) / 2, 1);
    EXPECT_EQ(Screen().ActiveForm(), &form);
}

class TFormWithoutDescription : public TForm {
    FV_CLASS(TFormWithoutDescription, TForm)
public:
    explicit TFormWithoutDescription(TComponent* owner) : TForm(owner) { ReadForm(); }
};

TEST(Forms, AFormWithoutItsDescriptionIsNotCreated) {
    int before = Screen().FormCount();
    EXPECT_THROW(TFormWithoutDescription(nullptr), EResNotFound);
    EXPECT_EQ(Screen().FormCount(), before);
}

TEST(Forms, KeyPreviewAndOnKeyPressDecideWhatTheFieldGets) {
    TLocal<TTestForm1> form(nullptr);
    form.Show();
    form.Edit1->SetFocus();
    for (wchar_t c : String(L"aqb")) PostChar(c);
    PostChar(L'\r');  // Edit1's handler consumes Enter and moves on
    EXPECT_TRUE(PumpUntil([&] { return form.Edit2->Focused(); })) << "focus in " << DescribeWindow(GetFocus());
    EXPECT_EQ(form.Edit1->Text(), L"ab");
    EXPECT_EQ(Screen().ActiveControl(), form.Edit2);
}

TEST(Forms, MenuCommandsShortcutsAndRunTimeItems) {
    TLocal<TTestForm1> form(nullptr);
    form.Show();
    HWND h = form.Handle();
    HMENU bar = GetMenu(h);
    ASSERT_EQ(bar, form.MainMenu1->Handle());
    EXPECT_EQ(GetMenuItemCount(bar), 2);

    SendMessageW(h, WM_COMMAND, form.Save1->Command(), 0);
    EXPECT_EQ(form.saves, 1);
    TMenuItem* about = form.MainMenu1->Items()->Items(1);
    PostMessageW(h, WM_COMMAND, about->Command(), 0);
    PumpUntil([&] { return form.abouts == 1; });
    EXPECT_EQ(form.abouts, 1);

    // Ctrl+S runs the item's OnClick through the key handling.
    form.Edit1->SetFocus();
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostKey('S');
    PumpUntil([&] { return form.saves == 2; });
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(form.saves, 2);
    EXPECT_EQ(form.Edit1->Text(), L"");

    // An item added at run time shows in the menu, dispatches its command and tells the form.
    TEvents events;
    int changesBefore = form.menuChanges;
    auto* added = new TMenuItem(&form);
    added->SetCaption(L"&Novo");
    added->OnClick = TNotifyEvent(&events, &TEvents::Clicked);
    form.File1->Add(added);
    EXPECT_GT(form.menuChanges, changesBefore);
    HMENU sub = form.File1->Handle();
    ASSERT_EQ(GetMenuItemCount(sub), 2);
    wchar_t text[32] = {};
    GetMenuStringW(sub, 1, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Novo");
    GetMenuStringW(sub, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Salvar\tCtrl+S");
    SendMessageW(h, WM_COMMAND, added->Command(), 0);
    EXPECT_EQ(events.log, std::vector<String>{L"click"});

    added->SetEnabled(false);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE;
    GetMenuItemInfoW(sub, 1, TRUE, &mii);
    EXPECT_TRUE(mii.fState & MFS_DISABLED);
    delete added;
    EXPECT_EQ(GetMenuItemCount(sub), 1);

    // A bar entry that gains its first sub-item at run time opens a menu from then on, and is a
    // command again once its last sub-item goes.
    EXPECT_EQ(GetSubMenu(bar, 1), nullptr);
    auto* version = new TMenuItem(&form);
    version->SetCaption(L"Versão");
    about->Add(version);
    EXPECT_EQ(GetSubMenu(bar, 1), about->Handle());
    delete version;
    EXPECT_EQ(GetSubMenu(bar, 1), nullptr);
}

TEST(Forms, OwnerDrawnMenuItemsAreMeasuredAndDrawnByTheirHandlers) {
    TLocal<TTestForm1> form(nullptr);
    struct TDrawer : TObject {
        int measured = 0;
        int drawn = 0;
        void Measure(TObject*, TCanvas*, int& w, int& h) {
            ++measured;
            w = 120;
            h = 30;
        }
        void Draw(TObject*, TCanvas* canvas, TRect r, bool) {
            ++drawn;
            canvas->Brush().SetColor(clRed);
            canvas->FillRect(r);
        }
    } drawer;
    form.Save1->OnMeasureItem = TMethod<void(TObject*, TCanvas*, int&, int&)>(&drawer, &TDrawer::Measure);
    form.Save1->OnDrawItem = TMenuDrawItemEvent(&drawer, &TDrawer::Draw);
    form.MainMenu1->RebuildMenu();
    form.Show();
    HWND h = form.Handle();
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, form.Save1->Command(), 0, 0, 0};
    SendMessageW(h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(mis.itemWidth, 120u);
    EXPECT_EQ(mis.itemHeight, 30u);
    auto bitmap = std::make_unique<TBitmap>(130, 40);
    DRAWITEMSTRUCT dis{ODT_MENU, 0, form.Save1->Command(), ODA_DRAWENTIRE, 0, nullptr,
                       bitmap->Canvas().Handle(), RECT{0, 0, 120, 30}, 0};
    SendMessageW(h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(drawer.drawn, 1);
    EXPECT_EQ(bitmap->Canvas().Pixels(5, 5), clRed);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(form.File1->Handle(), 0, TRUE, &mii);
    EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
}

TEST(Forms, ModalFormDisablesOnlyTheWindowsThatExistedAndEndsOnModalResult) {
    TLocal<TForm> owner(nullptr);
    owner.SetCaption(L"owner");
    owner.Show();
    TLocal<TForm> dialog(nullptr);
    dialog.SetCaption(L"dialog");
    std::unique_ptr<TForm> later;
    bool ownerDisabledDuringModal = false;
    bool laterUsable = false;
    int step = 0;

    TLocal<TTimer> timer(nullptr);
    timer.SetInterval(20);
    struct TScript : TObject {
        std::function<void()> tick;
        void Tick(TObject*) { tick(); }
    } script;
    script.tick = [&] {
        ++step;
        if (step == 1) {
            ownerDisabledDuringModal = !IsWindowEnabled(owner.Handle());
            later = std::make_unique<TForm>(nullptr);  // made while the modal loop runs
            later->SetCaption(L"later");
            later->Show();
        } else if (step == 2) {
            laterUsable = IsWindowEnabled(later->Handle()) != FALSE;
            SetWindowTextW(later->Handle(), L"typed into");
        } else if (step == 3) {
            dialog.SetModalResult(mrOk);
        }
    };
    timer.OnTimer = TNotifyEvent(&script, &TScript::Tick);
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    timer.SetEnabled(false);

    EXPECT_TRUE(ownerDisabledDuringModal);
    EXPECT_TRUE(laterUsable);
    EXPECT_EQ(later->Caption(), L"typed into");
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_FALSE(dialog.Visible());
    EXPECT_THROW(owner.ShowModal(), EInvalidOperation);  // already visible
}

TEST(Forms, CloseOnAModalFormAnswersCancelAndCloseQueryCanRefuse) {
    TLocal<TForm> dialog(nullptr);
    TEvents events;
    events.canClose = false;
    dialog.OnCloseQuery = TCloseQueryEvent(&events, &TEvents::CloseQuery);
    TLocal<TTimer> timer(nullptr);
    timer.SetInterval(20);
    struct TScript : TObject {
        std::function<void()> tick;
        void Tick(TObject*) { tick(); }
    } script;
    int ticks = 0;
    script.tick = [&] {
        ++ticks;
        if (ticks == 1) PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0);  // refused by OnCloseQuery
        if (ticks == 3) {
            events.canClose = true;
            dialog.Close();
        }
    };
    timer.OnTimer = TNotifyEvent(&script, &TScript::Tick);
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(events.log, (std::vector<String>{L"query", L"query"}));
}

TEST(Forms, CloseActionsDecideWhatHappensToTheForm) {
    struct TCase {
        TCloseAction action;
        bool visible;
        bool minimized;
        bool destroyed;
    };
    for (const TCase& c : {TCase{caNone, true, false, false}, TCase{caHide, false, false, false},
                           TCase{caMinimize, true, true, false}, TCase{caFree, false, false, true}}) {
        TEvents events;  // outlives the form, whose OnDestroy it records
        events.action = c.action;
        TLocal<TComponent> owner(nullptr);
        auto* form = new TForm(&owner);
        form->OnClose = TCloseEvent(&events, &TEvents::Close);
        form->OnDestroy = TNotifyEvent(&events, &TEvents::Destroyed);
        form->Show();
        HWND h = form->Handle();
        form->Close();
        PumpUntil([&] { return !c.destroyed || !IsWindow(h); });
        bool destroyed = std::find(events.log.begin(), events.log.end(), L"destroy") != events.log.end();
        EXPECT_EQ(destroyed, c.destroyed) << c.action;
        EXPECT_EQ(owner.ComponentCount(), c.destroyed ? 0 : 1) << c.action;
        if (!destroyed) {
            EXPECT_EQ(form->Visible(), c.visible) << c.action;
            EXPECT_EQ(IsIconic(h) != FALSE, c.minimized) << c.action;
        }
    }
}

TEST(Forms, ModalLoopEndsWhenTheFormIsDestroyed) {
    TLocal<TComponent> owner(nullptr);
    auto* dialog = new TForm(&owner);
    TEvents events;
    dialog->OnDestroy = TNotifyEvent(&events, &TEvents::Destroyed);
    TLocal<TTimer> timer(nullptr);
    timer.SetInterval(20);
    struct TScript : TObject {
        TForm* form;
        void Tick(TObject* t) {
            static_cast<TTimer*>(t)->SetEnabled(false);
            form->Release();
        }
    } script;
    script.form = dialog;
    timer.OnTimer = TNotifyEvent(&script, &TScript::Tick);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(events.log, std::vector<String>{L"destroy"});
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(Forms, MessageBoxIsAnsweredByAPerson) {
    Application().SetTitle(L"Folhavida 3.0");
    String caption;
    TWindowWatcher watcher(L"#32770", [&](HWND box) {
        caption = WindowText(box);
        PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(Application().MessageBox(L"Deseja continuar?", L"", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_TRUE(watcher.Found());
    EXPECT_EQ(caption, L"Folhavida 3.0");
}

TEST(Forms, MessageDialogIsAFormOfClassTMessageForm) {
    TWindowWatcher watcher(L"TMessageForm", [](HWND form) { ClickButton(form, L"TButton", L"Cancelar"); });
    EXPECT_EQ(MessageDlg(L"Salvar as alterações?", mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}), mrCancel);
    EXPECT_TRUE(watcher.Found());

    auto dialog = CreateMessageDialog(L"Pronto", mtInformation, TMsgDlgButtons{mbOK});
    EXPECT_EQ(dialog->Caption(), L"Informação");
    ASSERT_NE(dialog->FindComponent(L"OK"), nullptr);
}

TEST(Forms, EnterPressesTheDefaultButtonOfAMessageDialog) {
    TWindowWatcher watcher(L"TMessageForm", [](HWND form) {
        HWND focus = FindChild(form, L"TButton", L"&Sim");
        PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 1);
    });
    EXPECT_EQ(MessageDlg(L"Continuar?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}), mrYes);
}

// Questions and message boxes answered from the keyboard: Enter presses the default button (or the
// one Tab moved the focus to), Escape the cancel button.
TEST(Forms, QuestionsAndMessageBoxesAnswerTheKeyboard) {
    const TShiftState shift{ssShift};
    struct TDialogRow {
        const char* Name;
        TMsgDlgButtons Buttons;
        std::vector<TKeyStroke> Keys;
        int Result;
    };
    const TDialogRow dialogRows[] = {
        {"Enter, yes or no", {mbYes, mbNo}, {{VK_RETURN}}, mrYes},
        {"Escape, yes or no", {mbYes, mbNo}, {{VK_ESCAPE}}, mrNo},
        {"Escape, OK or Cancel", {mbOK, mbCancel}, {{VK_ESCAPE}}, mrCancel},
        {"Escape, three buttons", {mbYes, mbNo, mbCancel}, {{VK_ESCAPE}}, mrCancel},
        {"Tab, Enter", {mbYes, mbNo, mbCancel}, {{VK_TAB}, {VK_RETURN}}, mrNo},
        {"Tab, Tab, Shift+Tab, Space", {mbYes, mbNo, mbCancel}, {{VK_TAB}, {VK_TAB}, {VK_TAB, shift}, {VK_SPACE}}, mrNo},
        {"Tab wraps round", {mbOK, mbCancel}, {{VK_TAB}, {VK_TAB}, {VK_RETURN}}, mrOk},
    };
    for (const TDialogRow& row : dialogRows) {
        SCOPED_TRACE(row.Name);
        TWindowWatcher watcher(L"TMessageForm", [&](HWND form) {
            SetForegroundWindow(form);
            for (const TKeyStroke& key : row.Keys) PressKey(key.Key, key.Shift);
        });
        EXPECT_EQ(MessageDlg(L"Continuar?", mtConfirmation, row.Buttons), row.Result);
        EXPECT_TRUE(watcher.Found());
    }

    struct TBoxRow {
        const char* Name;
        UINT Flags;
        std::vector<TKeyStroke> Keys;
        int Result;
    };
    const TBoxRow boxRows[] = {
        {"Enter, yes or no", MB_YESNO, {{VK_RETURN}}, IDYES},
        {"Escape, OK or Cancel", MB_OKCANCEL, {{VK_ESCAPE}}, IDCANCEL},
        {"Tab, Enter", MB_YESNOCANCEL, {{VK_TAB}, {VK_RETURN}}, IDNO},
        {"Enter, OK alone", MB_OK, {{VK_RETURN}}, IDOK},
    };
    for (const TBoxRow& row : boxRows) {
        SCOPED_TRACE(row.Name);
        TWindowWatcher watcher(L"#32770", [&](HWND box) {
            SetForegroundWindow(box);
            for (const TKeyStroke& key : row.Keys) PressKey(key.Key, key.Shift);
        });
        EXPECT_EQ(Application().MessageBox(L"Deseja continuar?", L"", row.Flags | MB_ICONQUESTION), row.Result);
        EXPECT_TRUE(watcher.Found());
    }
}

TEST(Forms, ExceptionsGoToOnExceptionOrAMessageBox) {
    TEvents events;
    Application().OnException = TExceptionEvent(&events, &TEvents::OnError);
    TLocal<TTestRoot> root(nullptr);
    struct TThrowing : TObject {
        void Raise(TObject*) { throw EConvertError(L"'abc' is not a valid integer value"); }
    } thrower;
    TLocal<TTimer> timer(nullptr);
    timer.SetInterval(10);
    timer.OnTimer = TNotifyEvent(&thrower, &TThrowing::Raise);
    PumpUntil([&] { return !events.log.empty(); });
    timer.SetEnabled(false);
    Application().OnException = nullptr;
    ASSERT_FALSE(events.log.empty());
    EXPECT_EQ(events.log.front(), L"'abc' is not a valid integer value");

    // Without a handler the message box shows it, with a full stop added.
    std::vector<String> shown;
    TWindowWatcher watcher(L"#32770", [&](HWND box) {
        shown = StaticTexts(box);
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    try {
        throw Exception(L"Falha ao ler o arquivo");
    } catch (...) {
        Application().HandleException(nullptr);
    }
    ASSERT_TRUE(watcher.Found());
    String seen;
    for (const String& text : shown) seen += L"[" + text + L"]";
    EXPECT_NE(std::find(shown.begin(), shown.end(), L"Falha ao ler o arquivo."), shown.end())
        << "the message box showed " << StringToUtf8(seen);
}

TEST(Forms, HintOfTheControlUnderTheMouseShowsInTheReplaceableHintWindow) {
    Application().SetHintWindowClass(TTestHintWindow::StaticClass());
    Application().SetShowHint(false);
    Application().SetShowHint(true);  // a new hint window of the new class
    auto* window = dynamic_cast<TTestHintWindow*>(Application().HintWindow());
    ASSERT_NE(window, nullptr);
    Application().SetHintPause(1);
    Application().SetHintColor(clAqua);

    TLocal<TTestForm1> form(nullptr);
    form.Edit1->SetHint(L"Digite o seu nome completo|longo");
    form.Edit1->SetShowHint(true);
    form.Show();
    TPoint over = form.Edit1->ClientToScreen(Point(3, 3));
    SetCursorPos(over.X, over.Y);  // the real pointer rests on the field
    EXPECT_TRUE(PumpUntil([&] {
        POINT at;
        return GetCursorPos(&at) && at.x == over.X && at.y == over.Y;
    })) << "the pointer did not reach the field";
    SendMessageW(form.Edit1->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    PumpUntil([&] { return !window->shown.empty(); });
    ASSERT_EQ(window->shown, std::vector<String>{L"Digite o seu nome completo"});
    EXPECT_TRUE(IsWindowVisible(window->Handle()));
    EXPECT_EQ(window->Color(), clAqua);
    PostMessageW(form.Edit1->Handle(), WM_KEYDOWN, VK_SHIFT, 1);  // any key hides it
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window->Handle()); }, 10000,
                          [] { Application().ProcessMessages(); }))
        << "the hint window stays visible after a key";
    EXPECT_THROW(Application().SetHintWindowClass(TForm::StaticClass()), EInvalidArgument);
}

TEST(Forms, OpenDialogCancelledKeepsItsFileName) {
    TLocal<TOpenDialog> dialog(nullptr);
    dialog.SetTitle(L"Escolha uma Foto para o seu Curriculo!");
    dialog.SetFilter(L"Bitmaps (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg");
    dialog.SetFilterIndex(2);
    dialog.SetFileName(L"foto.jpg");
    String title;
    TWindowWatcher watcher(L"#32770", [&](HWND box) {
        title = WindowText(box);
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(watcher.Found());
    EXPECT_EQ(title, L"Escolha uma Foto para o seu Curriculo!");
    EXPECT_EQ(dialog.FileName(), L"foto.jpg");
    EXPECT_EQ(dialog.FilterIndex(), 2);
}

TEST(Forms, AutoScrollShowsScrollBarsForControlsOutsideTheClientArea) {
    TLocal<TForm> form(nullptr);
    form.SetClientWidth(200);
    form.SetClientHeight(100);
    auto* distant = new TTestPanel(&form);
    distant->SetParent(&form);
    distant->SetBounds(10, 300, 50, 50);
    form.SetAutoScroll(true);
    form.Show();
    EXPECT_TRUE(GetWindowLongPtrW(form.Handle(), GWL_STYLE) & WS_VSCROLL);
    SendMessageW(form.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_LT(distant->Top(), 100);  // scrolled into view
    EXPECT_GE(distant->Top() + distant->Height(), 0);
}

TEST(Forms, ApplicationRunEndsWhenTheMainFormCloses) {
    TTestForm1* main = nullptr;
    Application().CreateForm(main);
    TForm* second = nullptr;
    Application().CreateForm(second);
    EXPECT_EQ(Application().MainForm(), main);
    EXPECT_TRUE(main->HandleAllocated());
    EXPECT_EQ(GetWindow(second->Handle(), GW_OWNER), main->Handle());  // other forms stay above it
    TLocal<TTimer> timer(nullptr);
    timer.SetInterval(30);
    struct TScript : TObject {
        TForm* form;
        void Tick(TObject*) { form->Close(); }
    } script;
    script.form = main;
    timer.OnTimer = TNotifyEvent(&script, &TScript::Tick);
    Application().Run();  // shows the main form; returns once it has closed
    EXPECT_TRUE(Application().Terminated());
    EXPECT_TRUE(main->Visible());
    delete second;
    delete main;
    EXPECT_EQ(Application().MainForm(), nullptr);
}

// A form whose OnDestroy handler reads a member of its own class, a component field and its
// window.
class TFormWithState : public TForm {
public:
    explicit TFormWithState(TComponent* owner) : TForm(owner) {
        Edit = new TTestEdit(this);
        Edit->SetParent(this);
        Edit->SetText(L"typed");
        OnDestroy = TNotifyEvent(this, &TFormWithState::FormDestroy);
        HandleNeeded();
    }
    std::vector<String> history{L"opened"};
    TTestEdit* Edit = nullptr;
    std::vector<String>* log = nullptr;

private:
    void FormDestroy(TObject*) {
        log->push_back(history.front() + L", " + Edit->Text() + L", window " +
                       (IsWindow(HandleIfAllocated()) ? L"exists" : L"gone"));
    }
};

TEST(Forms, OnDestroySeesTheWholeFormWhicheverWayItIsFreed) {
    struct TCase {
        const char* path;
        std::function<void(std::vector<String>&)> run;
    } cases[] = {
        {"delete", [](std::vector<String>& log) {
             auto* form = new TFormWithState(nullptr);
             form->log = &log;
             delete form;
         }},
        {"owner", [](std::vector<String>& log) {
             TLocal<TComponent> owner(nullptr);
             (new TFormWithState(&owner))->log = &log;
         }},
        {"application", [](std::vector<String>& log) {
             TFormWithState* form = nullptr;
             Application().CreateForm(form);
             form->log = &log;
             Application().DestroyComponents();
         }},
        {"TLocal", [](std::vector<String>& log) {
             TLocal<TFormWithState> form(nullptr);
             form.log = &log;
         }},
        {"Release", [](std::vector<String>& log) {
             auto* form = new TFormWithState(nullptr);
             form->log = &log;
             HWND h = form->Handle();
             form->Release();
             PumpUntil([&] { return !IsWindow(h); });
         }},
    };
    for (const TCase& c : cases) {
        std::vector<String> log;
        c.run(log);
        EXPECT_EQ(log, std::vector<String>{L"opened, typed, window exists"}) << c.path;
    }
}

TEST(Forms, ReleaseFreesTheFormWhateverBecomesOfItsWindow) {
    struct TCase {
        const char* name;
        bool shown;
        std::function<void(TForm&)> afterRelease;
        bool windowAtTheEnd;
    } cases[] = {
        {"never shown", false, [](TForm&) {}, false},
        {"window made anew", true, [](TForm& form) { form.SetBorderIcons(TBorderIcons{biSystemMenu}); }, true},
    };
    for (const TCase& c : cases) {
        struct TWatch : TObject {
            TForm* form = nullptr;
            bool destroyed = false;
            bool hadWindow = false;
            void Destroyed(TObject*) {
                destroyed = true;
                hadWindow = form->HandleIfAllocated() != nullptr;
            }
        } watch;
        watch.form = new TForm(nullptr);
        watch.form->OnDestroy = TNotifyEvent(&watch, &TWatch::Destroyed);
        if (c.shown) watch.form->Show();
        watch.form->Release();
        c.afterRelease(*watch.form);
        EXPECT_TRUE(PumpUntil([&] { return watch.destroyed; })) << c.name << ": the released form is still there";
        EXPECT_EQ(watch.hadWindow, c.windowAtTheEnd) << c.name;
    }
}

TEST(Forms, ReleasingOrFreeingOnCloseATLocalFormIsRefused) {
    struct TCase {
        const char* path;
        std::function<void(TForm&, TEvents&)> release;
    } cases[] = {
        {"Release", [](TForm& form, TEvents&) { form.Release(); }},
        {"caFree", [](TForm& form, TEvents& events) {
             events.action = caFree;
             form.Close();
         }},
    };
    for (const TCase& c : cases) {
        TEvents events;
        TLocal<TForm> form(nullptr);
        form.SetName(L"Dialogo");
        form.OnClose = TCloseEvent(&events, &TEvents::Close);
        form.Show();
        try {
            c.release(form, events);
            ADD_FAILURE() << c.path << ": no error";
        } catch (const EInvalidOperation& e) {
            EXPECT_EQ(e.Message(), L"Form 'Dialogo' is a TLocal: only the end of its scope may free it") << c.path;
        }
        Application().ProcessMessages();
        EXPECT_TRUE(form.Visible()) << c.path;
    }
}

TEST(Forms, AFormReleasedFromItsOwnHandlerIsFreedOnlyOnceNoHandlerRuns) {
    TEvents events;
    auto* form = new TForm(nullptr);
    form->SetCaption(L"alive");
    form->OnDestroy = TNotifyEvent(&events, &TEvents::Destroyed);
    auto* button = new TButton(form);
    button->SetParent(form);
    // The handler releases its own form, then lets messages be handled and still uses the form;
    // a hook in the form's WindowProc (as a skin engine installs) uses it after CM_RELEASE.
    struct TScript : TObject {
        TForm* form = nullptr;
        TEvents* events = nullptr;
        TWndMethod saved;
        std::vector<String> seen;
        void Click(TObject*) {
            form->Release();
            Application().ProcessMessages();
            seen.push_back(L"handler: " + form->Caption() + L", destroyed " + std::to_wstring(events->log.size()));
        }
        void Hook(TMessage& message) {
            saved(message);
            if (message.Msg == CM_RELEASE)
                seen.push_back(L"hook: " + form->Caption() + L", destroyed " + std::to_wstring(events->log.size()));
        }
    } script;
    script.form = form;
    script.events = &events;
    script.saved = form->WindowProc;
    form->WindowProc = TWndMethod(&script, &TScript::Hook);
    button->OnClick = TNotifyEvent(&script, &TScript::Click);
    form->Show();
    HWND h = form->Handle();
    PostMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(h); })) << "the released form is still there";
    EXPECT_EQ(script.seen, (std::vector<String>{L"hook: alive, destroyed 0", L"handler: alive, destroyed 0"}));
    EXPECT_EQ(events.log, std::vector<String>{L"destroy"});
    EXPECT_FALSE(IsWindow(h));
}

TEST(Forms, TheMenuBarBelongsToTheMenuNotToTheWindow) {
    TLocal<TTestForm1> form(nullptr);
    form.Show();
    HWND before = form.Handle();
    HMENU bar = form.MainMenu1->Handle();
    form.SetBorderIcons(TBorderIcons{biSystemMenu});  // a new window
    HWND after = form.Handle();
    ASSERT_NE(after, before);
    EXPECT_TRUE(IsMenu(bar));
    EXPECT_EQ(GetMenu(after), bar);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
}

}  // namespace

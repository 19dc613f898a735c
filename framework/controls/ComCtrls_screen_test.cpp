#include "framework/controls/ComCtrls.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtl/StringUtils.h"
#include "testing/ControlTestSupport.h"
#include "testing/KeyInput.h"

namespace {

struct PageEvents : TObject {
    int Shows = 0;
    int Hides = 0;
    int Changes = 0;
    int Enters = 0;
    bool Allow = true;
    TWinControl* FocusOnShow = nullptr;
    void Shown(TObject*) {
        ++Shows;
        if (FocusOnShow != nullptr) FocusOnShow->SetFocus();
    }
    void Hidden(TObject*) { ++Hides; }
    void Changed(TObject*) { ++Changes; }
    void Entered(TObject*) { ++Enters; }
    void Changing(TObject*, bool& allow) { allow = Allow; }
};

// Clicks the tab as the user would.
void ClickTab(TPageControl& pages, int tab) {
    RECT r{};
    ASSERT_TRUE(SendMessageW(pages.Handle(), TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&r)));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(pages.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(pages.Handle(), WM_LBUTTONUP, 0, at);
    PumpMessages();
}

String TabText(TPageControl& pages, int tab) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(pages.Handle(), TCM_GETITEMW, tab, reinterpret_cast<LPARAM>(&item));
    return text;
}

TEST(PageControl, TabsSwitchPagesAndShowThem) {
    TestHost host;
    auto* pages = host.Add<TPageControl>(4, 4, 420, 260);
    PageEvents outer, second, third, inner;
    pages->OnChange = TNotifyEvent(&outer, &PageEvents::Changed);
    pages->OnChanging = TTabChangingEvent(&outer, &PageEvents::Changing);
    pages->OnEnter = TNotifyEvent(&outer, &PageEvents::Entered);
    const wchar_t* captions[] = {L"Dados Principais", L"Experi\u00eancias", L"Escolaridade"};
    std::vector<TTabSheet*> sheets;
    for (const wchar_t* caption : captions) {
        auto* sheet = new TTabSheet(&host.Root());
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
        sheets.push_back(sheet);
    }
    sheets[0]->OnShow = TNotifyEvent(&outer, &PageEvents::Shown);
    sheets[0]->OnHide = TNotifyEvent(&outer, &PageEvents::Hidden);
    sheets[1]->OnShow = TNotifyEvent(&second, &PageEvents::Shown);
    sheets[2]->OnShow = TNotifyEvent(&third, &PageEvents::Shown);
    auto* school = host.Add<TEdit>(8, 8, 120, 21, sheets[2]);
    third.FocusOnShow = school;  // showing the page moves the focus into it

    // A page control inside a page.
    auto* nested = host.Add<TPageControl>(4, 4, 300, 150, sheets[1]);
    for (int i = 0; i < 2; ++i) {
        auto* sheet = new TTabSheet(&host.Root());
        sheet->SetPageControl(nested);
        sheet->SetCaption(i == 0 ? L"1\u00aa Experi\u00eancia" : L"2\u00aa Experi\u00eancia");
    }
    nested->SetActivePageIndex(0);
    nested->Pages(0)->OnShow = TNotifyEvent(&inner, &PageEvents::Shown);

    pages->SetActivePage(sheets[0]);
    EXPECT_EQ(outer.Shows, 1);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(TabText(*pages, 1), captions[1]);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(sheets[0]->Handle()));
    EXPECT_FALSE(IsWindowVisible(sheets[1]->Handle()));
    EXPECT_EQ(sheets[0]->BoundsRect(), pages->DisplayRect());

    ClickTab(*pages, 2);
    EXPECT_EQ(outer.Enters, 1) << "the clicked tab control took the focus";
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_EQ(outer.Changes, 1);
    EXPECT_EQ(outer.Hides, 1);
    EXPECT_EQ(third.Shows, 1);
    EXPECT_EQ(GetFocus(), school->Handle());
    EXPECT_TRUE(IsWindowVisible(sheets[2]->Handle()));
    EXPECT_FALSE(IsWindowVisible(sheets[0]->Handle()));

    // The nested control's page shows with its parent page.
    ClickTab(*pages, 1);
    EXPECT_EQ(second.Shows, 1);
    EXPECT_TRUE(IsWindowVisible(nested->Pages(0)->Handle()));
    ClickTab(*nested, 1);
    EXPECT_EQ(nested->ActivePageIndex(), 1);
    EXPECT_EQ(pages->ActivePageIndex(), 1);

    // OnChanging can keep the current page.
    outer.Allow = false;
    ClickTab(*pages, 0);
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 1);

    // From code: the page index follows; the user's OnChange does not fire.
    pages->SetActivePageIndex(0);
    EXPECT_EQ(outer.Shows, 2);
    EXPECT_EQ(outer.Changes, 2);
    sheets[0]->SetTabVisible(false);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
}

TEST(PageControl, AHiddenPageMakesItsControlsWindowsWhenItIsShown) {
    TestHost host;
    // Built without windows, as a form is read; the windows come when the holder gets its own.
    auto* holder = new TPanel(&host.Root());
    holder->SetBounds(0, 0, 440, 280);
    auto* pages = new TPageControl(&host.Root());
    pages->SetParent(holder);
    pages->SetBounds(4, 4, 420, 260);
    TTabSheet* sheets[2];
    for (TTabSheet*& sheet : sheets) {
        sheet = new TTabSheet(&host.Root());
        sheet->SetPageControl(pages);
    }
    auto edit = [&](TTabSheet* sheet, int top) {
        auto* e = new TEdit(&host.Root());
        e->SetParent(sheet);
        e->SetBounds(8, top, 120, 21);
        return e;
    };
    TEdit* shown = edit(sheets[0], 8);
    TEdit* first = edit(sheets[1], 8);
    TEdit* second = edit(sheets[1], 40);
    pages->SetActivePage(sheets[0]);
    first->SetText(L"Padaria Central");
    holder->SetParent(&host.Root());

    EXPECT_TRUE(shown->HandleAllocated());
    EXPECT_TRUE(sheets[1]->HandleAllocated());
    EXPECT_FALSE(first->HandleAllocated());
    EXPECT_FALSE(second->HandleAllocated());

    ClickTab(*pages, 1);
    ASSERT_TRUE(first->HandleAllocated());
    ASSERT_TRUE(second->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(first->Handle()));
    EXPECT_TRUE(IsWindowVisible(second->Handle()));
    EXPECT_EQ(GetParent(first->Handle()), sheets[1]->Handle());
    wchar_t text[64] = {};
    GetWindowTextW(first->Handle(), text, 64);
    EXPECT_STREQ(text, L"Padaria Central");

    // A control asked for its window before its page shows gets it then.
    auto* later = new TTabSheet(&host.Root());
    TEdit* asked = edit(later, 8);
    later->SetPageControl(pages);
    EXPECT_NE(asked->Handle(), nullptr);
    EXPECT_EQ(GetParent(asked->Handle()), later->Handle());
}

// A person clicks a tab, walks on with an arrow key to a page that takes the focus into its list,
// and clicks tabs again: every click must switch the page.
TEST(PageControl, ClicksSwitchTabsAfterAnArrowKeyMovedOn) {
    TestHost host;
    auto* pages = host.Add<TPageControl>(4, 4, 420, 260);
    PageEvents school;
    std::vector<TTabSheet*> sheets;
    for (const wchar_t* caption : {L"Dados Principais", L"Experi\u00eancias", L"Escolaridade", L"Cursos"}) {
        auto* sheet = new TTabSheet(&host.Root());
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
        sheets.push_back(sheet);
    }
    auto* list = host.Add<TComboBox>(8, 8, 120, 21, sheets[2]);
    list->SetStyle(csDropDownList);
    sheets[2]->OnShow = TNotifyEvent(&school, &PageEvents::Shown);
    school.FocusOnShow = list;
    pages->SetActivePage(sheets[0]);
    auto pageName = [&] {
        return pages->ActivePage() != nullptr ? StringToUtf8(pages->ActivePage()->Caption()) : std::string("none");
    };

    ClickTab(*pages, 1);
    ASSERT_EQ(pages->ActivePage(), sheets[1]) << "on " << pageName();
    ASSERT_EQ(GetFocus(), pages->Handle()) << "focus in " << DescribeWindow(GetFocus());
    PostKey(VK_RIGHT);
    EXPECT_TRUE(PumpUntil([&] { return pages->ActivePage() == sheets[2]; })) << "on " << pageName();
    EXPECT_EQ(GetFocus(), list->Handle()) << "focus in " << DescribeWindow(GetFocus());

    for (int tab : {0, 3, 1, 2}) {
        ClickTab(*pages, tab);
        EXPECT_EQ(pages->ActivePage(), sheets[static_cast<size_t>(tab)])
            << "a click on tab " << tab << " left the page control on " << pageName();
        EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), tab);
    }
}

// Ctrl+Tab and Ctrl+Shift+Tab step through the pages with a tab, wrapping round, from the tabs or
// from a control on a page (the focus then goes to the new page's first control); a page control
// that does not hold the focus keeps its page, and OnChanging may refuse.
TEST(PageControl, CtrlTabStepsThroughThePagesThatHaveATab) {
    struct TRow {
        const char* Name;
        int From;                // active page before
        bool FocusOnPage;        // else on the tabs
        TShiftState Shift;       // with Ctrl
        bool Allow;
        int To;                  // active page after
        int ChangesExpected;
    };
    const TRow rows[] = {
        {"forward from the tabs", 0, false, {ssCtrl}, true, 1, 1},
        {"forward from a control on the page", 0, true, {ssCtrl}, true, 1, 1},
        {"forward past the hidden tab", 1, false, {ssCtrl}, true, 3, 1},
        {"forward wraps round", 3, true, {ssCtrl}, true, 0, 1},
        {"backward", 3, false, {ssCtrl, ssShift}, true, 1, 1},
        {"backward wraps round", 0, true, {ssCtrl, ssShift}, true, 3, 1},
        {"refused", 0, false, {ssCtrl}, false, 0, 0},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TestHost host;
        PageEvents events;
        events.Allow = row.Allow;
        auto* pages = host.Add<TPageControl>(8, 8, 300, 150);
        auto* elsewhere = host.Add<TTestEdit>(8, 170, 100, 21);
        std::vector<TTabSheet*> sheets;
        std::vector<TTestEdit*> edits;
        for (const wchar_t* caption : {L"Um", L"Dois", L"Oculto", L"Quatro"}) {
            auto* sheet = new TTabSheet(&host.Root());
            sheet->SetPageControl(pages);
            sheet->SetCaption(caption);
            sheets.push_back(sheet);
            edits.push_back(host.Add<TTestEdit>(8, 8, 100, 21, sheet));
        }
        sheets[2]->SetTabVisible(false);
        pages->SetActivePage(sheets[static_cast<size_t>(row.From)]);
        pages->OnChange = TNotifyEvent(&events, &PageEvents::Changed);
        pages->OnChanging = TTabChangingEvent(&events, &PageEvents::Changing);
        TWinControl* start = row.FocusOnPage ? static_cast<TWinControl*>(edits[static_cast<size_t>(row.From)]) : pages;
        start->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return start->Focused(); }));

        ASSERT_TRUE(PressKey(VK_TAB, row.Shift));
        TWinControl* focusAfter = row.FocusOnPage && row.To != row.From ? edits[static_cast<size_t>(row.To)] : start;
        EXPECT_TRUE(PumpUntil([&] { return pages->ActivePageIndex() == row.To && focusAfter->Focused(); }))
            << "on page " << pages->ActivePageIndex() << ", focus in " << DescribeWindow(GetFocus());
        EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), sheets[static_cast<size_t>(row.To)]->TabIndex());
        EXPECT_EQ(events.Changes, row.ChangesExpected);

        // Away from the page control, Ctrl+Tab leaves its page alone.
        elsewhere->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return elsewhere->Focused(); }));
        ASSERT_TRUE(PressKey(VK_TAB, TShiftState{ssCtrl}));
        ASSERT_TRUE(PressKey('X'));  // the Ctrl+Tab has been handled once the letter arrives
        ASSERT_TRUE(PumpUntil([&] { return elsewhere->GetText().find(L'x') != String::npos; }));
        EXPECT_EQ(pages->ActivePageIndex(), row.To);
    }
}

struct PanelPainter : TObject {
    int Calls = 0;
    TStatusPanel* Panel = nullptr;
    void Draw(TStatusBar* bar, TStatusPanel* panel, const TRect& rect) {
        ++Calls;
        Panel = panel;
        bar->Canvas().Brush().SetColor(clRed);
        bar->Canvas().FillRect(rect);
    }
};

TEST(StatusBar, PanelsWithAnOwnerDrawnOne) {
    TestHost host(420, 200);
    auto* bar = host.Add<TStatusBar>(0, 0, 420, 19);
    TStatusPanel* greeting = bar->Panels()->Add();
    greeting->SetWidth(280);
    greeting->SetText(L"  Bom dia!");
    TStatusPanel* drawn = bar->Panels()->Add();
    drawn->SetStyle(psOwnerDraw);
    drawn->SetWidth(50);
    PanelPainter painter;
    bar->OnDrawPanel = TDrawPanelEvent(&painter, &PanelPainter::Draw);
    const HWND h = bar->Handle();
    host.Root().Realign();

    EXPECT_EQ(bar->Top() + bar->Height(), 200) << "aligned to the bottom";
    EXPECT_EQ(SendMessageW(h, SB_GETPARTS, 0, 0), 2);
    wchar_t text[64] = {};
    SendMessageW(h, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"  Bom dia!");
    greeting->SetText(L"  Boa tarde!");
    SendMessageW(h, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"  Boa tarde!");

    InvalidateRect(h, nullptr, TRUE);
    auto screen = ScreenImage(host.Window());
    EXPECT_GT(painter.Calls, 0);
    EXPECT_EQ(painter.Panel, drawn);
    TRect r = bar->PanelRect(1);
    r = Rect(r.Left + bar->Left() + 3, r.Top + bar->Top() + 3, r.Right + bar->Left() - 3, r.Bottom + bar->Top() - 3);
    EXPECT_EQ(CountPixels(*screen, r, clRed), r.Width() * r.Height());
    TRect first = bar->PanelRect(0);
    first = Rect(first.Left + 3, first.Top + bar->Top() + 3, first.Right - 3, first.Bottom + bar->Top() - 3);
    EXPECT_EQ(CountPixels(*screen, first, clRed), 0);

    auto painted = PaintedImage(host.Root());
    EXPECT_EQ(CountPixels(*painted, r, clRed), r.Width() * r.Height()) << "painted into a memory DC";
}

TEST(ProgressBar, PositionStaysWithinTheRange) {
    TestHost host;
    auto* bar = host.Add<TProgressBar>(8, 8, 222, 21);
    bar->SetPosition(25);
    EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 25);
    EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETRANGE, FALSE, 0), 100);
    bar->SetPosition(150);
    EXPECT_EQ(bar->Position(), 100);
    bar->SetMax(50);
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 50);
    bar->SetMin(10);
    bar->SetPosition(0);
    EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 10);
}

}  // namespace

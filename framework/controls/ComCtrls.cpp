#include "framework/controls/ComCtrls.h"

#include <algorithm>
#include <commctrl.h>

void InitCommonControlClasses(DWORD classes) {
    static DWORD done = 0;
    if ((done & classes) == classes) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), classes};
    if (InitCommonControlsEx(&icc)) done |= classes;
}

// ---------------------------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks});
    SetColor(clBtnFace);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    if (pageControl_ != nullptr) pageControl_->RemovePage(this);
}

void TTabSheet::Publish(TPublisher<TTabSheet>& p) {
    p.Property(L"Caption", &TTabSheet::Caption, &TTabSheet::SetCaption);
    p.Property(L"TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
    p.Property(L"PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex).Stored(false);
    // Pages are shown by their page control, never by a description.
    p.Property(L"Visible", &TControl::Visible, &TControl::SetVisible).Stored(false);
    p.Event(L"OnShow", &TTabSheet::OnShow);
    p.Event(L"OnHide", &TTabSheet::OnHide);
}

void TTabSheet::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

void TTabSheet::SetParent(TWinControl* parent) {
    if (auto* pageControl = dynamic_cast<TPageControl*>(parent)) {
        SetPageControl(pageControl);
        return;
    }
    if (pageControl_ != nullptr) pageControl_->RemovePage(this);
    TWinControl::SetParent(parent);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
    if (pageControl_ == pageControl) {
        if (Parent() != pageControl) TWinControl::SetParent(pageControl);
        return;
    }
    if (pageControl_ != nullptr) pageControl_->RemovePage(this);
    TWinControl::SetParent(pageControl);
    if (pageControl != nullptr) pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (pageControl_ == nullptr) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (pageControl_ != nullptr) pageControl_->MovePage(this, index);
}

int TTabSheet::TabIndex() const {
    if (pageControl_ == nullptr || !tabVisible_) return -1;
    int index = 0;
    for (TTabSheet* page : pageControl_->pages_) {
        if (page == this) return index;
        if (page->tabVisible_) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (tabVisible_ == value) return;
    tabVisible_ = value;
    if (pageControl_ != nullptr) pageControl_->UpdateTabs();
}

void TTabSheet::SetText(const String& text) {
    TWinControl::SetText(text);
    if (pageControl_ != nullptr) pageControl_->UpdateTabs();
}

void TTabSheet::DoShow() { OnShow(this); }
void TTabSheet::DoHide() { OnHide(this); }

// ---------------------------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csDoubleClicks});
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    SetColor(clBtnFace);
}

TPageControl::~TPageControl() {
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
}

void TPageControl::Publish(TPublisher<TPageControl>& p) {
    p.Property(L"ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
    p.Event(L"OnChange", &TPageControl::OnChange);
    p.Event(L"OnChanging", &TPageControl::OnChanging);
}

void TPageControl::CreateParams(TCreateParams& params) {
    InitCommonControlClasses(ICC_TAB_CLASSES);
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TABCONTROLW);
    params.Style |= WS_CLIPCHILDREN | WS_TABSTOP;
}

void TPageControl::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    UpdateTabs();
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
    return pages_[static_cast<size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    FreeNotification(page);
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    page->pageControl_ = nullptr;
    if (activePage_ == page) activePage_ = nullptr;
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    pages_.erase(it);
    index = std::clamp(index, 0, PageCount());
    pages_.insert(pages_.begin() + index, page);
    UpdateTabs();
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == activePage_) activePage_ = nullptr;
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const {
    for (TTabSheet* page : pages_)
        if (page->TabIndex() == tabIndex && tabIndex >= 0) return page;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page != nullptr && page->pageControl_ != this) return;
    if (page == activePage_) return;
    TTabSheet* old = activePage_;
    activePage_ = page;
    const bool notify = !ComponentState().Contains(csLoading);
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), TCM_SETCURSEL, page != nullptr ? page->TabIndex() : -1, 0);
    if (page != nullptr) {
        LayoutPages();
        page->BringToFront();
        page->SetVisible(true);
        if (notify) page->DoShow();
    }
    if (old != nullptr) {
        old->SetVisible(false);
        if (notify) old->DoHide();
    }
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

TRect TPageControl::DisplayRect() {
    if (!HandleAllocated()) return Rect(4, 24, std::max(Width() - 4, 4), std::max(Height() - 4, 24));
    RECT r;
    GetClientRect(HandleIfAllocated(), &r);
    SendMessageW(HandleIfAllocated(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return Rect(r.left, r.top, r.right, r.bottom);
}

void TPageControl::UpdateTabs() {
    if (!HandleAllocated()) return;
    const HWND h = HandleIfAllocated();
    SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
    int tab = 0;
    for (TTabSheet* page : pages_) {
        if (!page->TabVisible()) continue;
        String caption = page->Caption();
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(h, TCM_INSERTITEMW, tab++, reinterpret_cast<LPARAM>(&item));
    }
    if (activePage_ != nullptr) SendMessageW(h, TCM_SETCURSEL, activePage_->TabIndex(), 0);
    LayoutPages();
}

void TPageControl::LayoutPages() {
    const TRect r = DisplayRect();
    for (TTabSheet* page : pages_) page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::AlignControls(TRect& rect) {
    LayoutPages();
    TWinControl::AlignControls(rect);
}

void TPageControl::Change() { OnChange(this); }

// Wine's tab control leaves the tab clicked last "pressed" when an arrow key selects another one;
// its next click then takes the page control for a multiple selection of buttons and changes
// nothing. A page control's tabs are no buttons: only the selected tab may be pressed.
void TPageControl::ReleaseUnselectedTabs(int selected) {
    const HWND h = HandleIfAllocated();
    const int count = static_cast<int>(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0));
    for (int tab = 0; tab < count; ++tab) {
        if (tab == selected) continue;
        TCITEMW item{};
        item.mask = TCIF_STATE;
        item.dwStateMask = TCIS_BUTTONPRESSED;
        if (!SendMessageW(h, TCM_GETITEMW, tab, reinterpret_cast<LPARAM>(&item)) ||
            (item.dwState & TCIS_BUTTONPRESSED) == 0)
            continue;
        item.dwState = 0;
        SendMessageW(h, TCM_SETITEMW, tab, reinterpret_cast<LPARAM>(&item));
    }
}

// The page control that Ctrl+Tab concerns: the innermost one holding the focus (pages may hold
// page controls of their own).
TPageControl* TPageControl::PageControlOfFocus() {
    for (HWND h = GetFocus(); h != nullptr; h = GetParent(h))
        if (auto* pages = dynamic_cast<TPageControl*>(FindControl(h))) return pages;
    return nullptr;
}

void TPageControl::SelectNextPage(bool forward) {
    std::vector<TTabSheet*> tabbed;
    for (TTabSheet* page : pages_)
        if (page->TabVisible()) tabbed.push_back(page);
    if (tabbed.empty()) return;
    const int count = static_cast<int>(tabbed.size());
    const auto current = std::find(tabbed.begin(), tabbed.end(), activePage_);
    const int from = current != tabbed.end() ? static_cast<int>(current - tabbed.begin()) : (forward ? -1 : count);
    TTabSheet* next = tabbed[static_cast<size_t>(((from + (forward ? 1 : -1)) % count + count) % count)];
    if (next == activePage_) return;
    bool allow = true;
    OnChanging(this, allow);
    if (!allow) return;
    // The focus must not stay on a control of the page that goes out of sight: it moves to the
    // first control of the page that comes, or to the tabs when that page has none.
    const HWND focus = GetFocus();
    const bool focusOnOldPage = activePage_ != nullptr && activePage_->HandleAllocated() &&
                                (focus == activePage_->HandleIfAllocated() ||
                                 IsChild(activePage_->HandleIfAllocated(), focus));
    SetActivePage(next);
    if (HandleAllocated()) ReleaseUnselectedTabs(next->TabIndex());
    if (focusOnOldPage) {
        TWinControl* first = next->FindNextControl(nullptr, true, true);
        if (first != nullptr) first->SetFocus();
        else if (CanFocus()) SetFocus();
    }
    Change();
}

void TPageControl::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGKEY && message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
        GetKeyState(VK_MENU) >= 0 && PageControlOfFocus() == this) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        message.Result = 1;
        return;
    }
    if (message.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        if (header->code == TCN_SELCHANGING) {
            bool allow = true;
            OnChanging(this, allow);
            message.Result = allow ? FALSE : TRUE;
            return;
        }
        if (header->code == TCN_SELCHANGE) {
            const int tab = static_cast<int>(SendMessageW(HandleIfAllocated(), TCM_GETCURSEL, 0, 0));
            ReleaseUnselectedTabs(tab);
            SetActivePage(PageOfTab(tab));
            Change();
            return;
        }
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------------------------------------
// TStatusPanel, TStatusPanels

TStatusPanel::TStatusPanel(TCollection* collection) : TCollectionItem(collection) { Changed(); }

TStatusPanel::~TStatusPanel() {
    destroying_ = true;
    Changed();
}

void TStatusPanel::Publish(TPublisher<TStatusPanel>& p) {
    p.Property(L"Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
    p.Property(L"Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
    p.Property(L"Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
    p.Property(L"Text", &TStatusPanel::Text, &TStatusPanel::SetText).Default(L"");
    p.Property(L"Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
}

void TStatusPanel::Assign(const TPersistent* source) {
    if (const auto* panel = dynamic_cast<const TStatusPanel*>(source)) {
        text_ = panel->text_;
        width_ = panel->width_;
        style_ = panel->style_;
        bevel_ = panel->bevel_;
        alignment_ = panel->alignment_;
        Changed();
        return;
    }
    TCollectionItem::Assign(source);
}

void TStatusPanel::Changed() {
    if (auto* panels = dynamic_cast<TStatusPanels*>(Collection()); panels != nullptr && panels->StatusBar() != nullptr)
        panels->StatusBar()->UpdatePanels();
}

void TStatusPanel::SetText(const String& value) {
    if (text_ == value) return;
    text_ = value;
    Changed();
}

void TStatusPanel::SetWidth(int value) {
    width_ = value;
    Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
    style_ = value;
    Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
    bevel_ = value;
    Changed();
}

void TStatusPanel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Changed();
}

TStatusPanels::TStatusPanels(TStatusBar* statusBar)
    : TCollection(TStatusPanel::StaticClass(), statusBar), statusBar_(statusBar) {}

// ---------------------------------------------------------------------------------------------
// TStatusBar

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() { panels_->statusBar_ = nullptr; }

void TStatusBar::Publish(TPublisher<TStatusBar>& p) {
    p.Property(L"Align", &TStatusBar::Align, &TStatusBar::SetAlign).Default(alBottom);
    p.Property(L"Panels", &TStatusBar::Panels);
    p.Property(L"SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(false);
    p.Property(L"SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText).Default(L"");
    p.Property(L"SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip).Default(true);
    p.Event(L"OnDrawPanel", &TStatusBar::OnDrawPanel);
}

void TStatusBar::CreateParams(TCreateParams& params) {
    InitCommonControlClasses(ICC_BAR_CLASSES);
    TWinControl::CreateParams(params);
    CreateSubClass(params, STATUSCLASSNAMEW);
    // The framework places the bar (Align); the control must not move itself.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    const TWinControl* root = Root();
    if (sizeGrip_ && root != this && root->HandleAllocated() &&
        (GetWindowLongPtrW(root->HandleIfAllocated(), GWL_STYLE) & WS_THICKFRAME))
        params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    UpdatePanels();
}

void TStatusBar::SetSimplePanel(bool value) {
    simplePanel_ = value;
    UpdatePanels();
}

void TStatusBar::SetSimpleText(const String& value) {
    simpleText_ = value;
    UpdatePanels();
}

void TStatusBar::SetSizeGrip(bool value) {
    if (sizeGrip_ == value) return;
    sizeGrip_ = value;
    if (HandleAllocated()) RecreateWnd();
}

std::vector<TStatusPanel*> TStatusBar::LivePanels() const {
    std::vector<TStatusPanel*> live;
    for (int i = 0; i < panels_->Count(); ++i)
        if (!panels_->Items(i)->Destroying()) live.push_back(panels_->Items(i));
    return live;
}

static String AlignedPanelText(const String& text, TAlignment alignment) {
    switch (alignment) {
    case taCenter: return L"\t" + text;
    case taRightJustify: return L"\t\t" + text;
    default: return text;
    }
}

void TStatusBar::UpdatePanels() {
    if (!HandleAllocated()) return;
    const HWND h = HandleIfAllocated();
    SendMessageW(h, SB_SIMPLE, simplePanel_, 0);
    if (simplePanel_) {
        SendMessageW(h, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
        return;
    }
    const std::vector<TStatusPanel*> live = LivePanels();
    std::vector<int> edges;
    int x = 0;
    for (TStatusPanel* panel : live) edges.push_back(x += panel->Width());
    if (edges.empty()) edges.push_back(-1);
    edges.back() = -1;  // the last panel reaches the right edge
    SendMessageW(h, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    if (live.empty()) SendMessageW(h, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
    for (size_t i = 0; i < live.size(); ++i) {
        TStatusPanel* panel = live[i];
        WPARAM flags = i;
        if (panel->Bevel() == pbNone) flags |= SBT_NOBORDERS;
        if (panel->Bevel() == pbRaised) flags |= SBT_POPOUT;
        if (panel->Style() == psOwnerDraw) {
            SendMessageW(h, SB_SETTEXTW, flags | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(panel));
        } else {
            const String text = AlignedPanelText(panel->Text(), panel->Alignment());
            SendMessageW(h, SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
}

TRect TStatusBar::PanelRect(int index) {
    RECT r{};
    if (HandleAllocated() && SendMessageW(HandleIfAllocated(), SB_GETRECT, index, reinterpret_cast<LPARAM>(&r)))
        return Rect(r.left, r.top, r.right, r.bottom);
    return TRect{};
}

void TStatusBar::DrawPanel(TStatusPanel* panel, const TRect& rect) {
    if (OnDrawPanel) OnDrawPanel(this, panel, rect);
    else canvas_.FillRect(rect);
}

void TStatusBar::WndProc(TMessage& message) {
    if (message.Msg == CN_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        const std::vector<TStatusPanel*> live = LivePanels();
        if (item->itemID < live.size()) {
            SavedDCState saved(item->hDC);
            canvas_.SetHandle(item->hDC);
            canvas_.SetFont(*Font());
            canvas_.Brush().SetColor(Color());
            try {
                DrawPanel(live[item->itemID],
                          Rect(item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom));
            } catch (...) {
                canvas_.SetHandle(nullptr);
                throw;
            }
            canvas_.SetHandle(nullptr);
        }
        message.Result = TRUE;
        return;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------------------------------------
// TProgressBar

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::Publish(TPublisher<TProgressBar>& p) {
    p.Property(L"Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0);
    p.Property(L"Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100);
    p.Property(L"Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0);
    p.Property(L"Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);
}

void TProgressBar::CreateParams(TCreateParams& params) {
    InitCommonControlClasses(ICC_PROGRESS_CLASS);
    TWinControl::CreateParams(params);
    CreateSubClass(params, PROGRESS_CLASSW);
}

void TProgressBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    ApplyRange();
}

void TProgressBar::ApplyRange() {
    if (!HandleAllocated()) return;
    SendMessageW(HandleIfAllocated(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int value) {
    min_ = value;
    if (max_ < min_) max_ = min_;
    position_ = std::clamp(position_, min_, max_);
    ApplyRange();
}

void TProgressBar::SetMax(int value) {
    max_ = value;
    if (min_ > max_) min_ = max_;
    position_ = std::clamp(position_, min_, max_);
    ApplyRange();
}

int TProgressBar::Position() const { return position_; }

void TProgressBar::SetPosition(int value) {
    position_ = std::clamp(value, min_, max_);
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

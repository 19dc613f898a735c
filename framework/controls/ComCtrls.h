// Common controls: page controls with their tab sheets, status bars with panels, progress bars.
// Each superclasses its comctl32 class (SysTabControl32, msctls_statusbar32, msctls_progress32).
#pragma once

#include <memory>
#include <vector>

#include "framework/classes/Collection.h"
#include "framework/controls/StdCtrls.h"

// Registers the comctl32 window classes named by ICC_ flags (once per flag set).
void InitCommonControlClasses(DWORD classes);

class TPageControl;

// One page of a page control; only the active page is visible.
class TTabSheet : public TWinControl {
    FV_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    static void Publish(TPublisher<TTabSheet>& p);

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* pageControl);
    // Position among the page control's pages (-1 without one).
    int PageIndex() const;
    void SetPageIndex(int index);
    // Position among the visible tabs, -1 when the tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool value);

    void SetParent(TWinControl* parent) override;
    void SetText(const String& text) override;

    // The page became (or stopped being) the active page.
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void CreateParams(TCreateParams& params) override;
    // A page that is not the active one makes its controls' windows when it is shown: most of a
    // window of many pages is not looked at when it opens.
    bool CreatesChildHandles() const override { return Visible(); }
    virtual void DoShow();
    virtual void DoHide();

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};

using TTabChangingEvent = TMethod<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
    FV_CLASS(TPageControl, TWinControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;
    static void Publish(TPublisher<TPageControl>& p);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;  // raises EListError out of range
    TTabSheet* ActivePage() const { return activePage_; }
    // Showing a page fires its OnShow and the former page's OnHide; OnChange is for the user's choice.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return activePage_ != nullptr ? activePage_->PageIndex() : -1; }
    void SetActivePageIndex(int index);
    // The area the pages fill, in client coordinates.
    TRect DisplayRect();
    // Shows the next (or previous) page with a tab, wrapping round, as the user's choice: Ctrl+Tab
    // and Ctrl+Shift+Tab do this while the focus is on the page control or inside it (and not
    // inside a page control on one of its pages).
    void SelectNextPage(bool forward);

    // The user picked another tab (OnChanging may refuse it first).
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void AlignControls(TRect& rect) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void Change();

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void UpdateTabs();
    void LayoutPages();
    void ReleaseUnselectedTabs(int selected);
    TTabSheet* PageOfTab(int tabIndex) const;
    static TPageControl* PageControlOfFocus();

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};

FV_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
FV_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

class TStatusBar;

class TStatusPanel : public TCollectionItem {
    FV_CLASS(TStatusPanel, TCollectionItem)
public:
    explicit TStatusPanel(TCollection* collection);
    ~TStatusPanel() override;
    static void Publish(TPublisher<TStatusPanel>& p);

    const String& Text() const { return text_; }
    void SetText(const String& value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle value);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    void Assign(const TPersistent* source) override;
    bool Destroying() const { return destroying_; }

private:
    void Changed();

    String text_;
    int width_ = 50;
    TStatusPanelStyle style_ = psText;
    TStatusPanelBevel bevel_ = pbLowered;
    TAlignment alignment_ = taLeftJustify;
    bool destroying_ = false;
};

class TStatusPanels : public TCollection {
    FV_CLASS(TStatusPanels, TCollection)
public:
    explicit TStatusPanels(TStatusBar* statusBar);
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusBar* StatusBar() const { return statusBar_; }

private:
    friend class TStatusBar;
    TStatusBar* statusBar_;
};

using TDrawPanelEvent = TMethod<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

// A status bar at the bottom of its parent. Owner-drawn panels are painted by OnDrawPanel on
// Canvas (without a handler they are filled with Color).
class TStatusBar : public TWinControl {
    FV_CLASS(TStatusBar, TWinControl)
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;
    static void Publish(TPublisher<TStatusBar>& p);

    TStatusPanels* Panels() const { return panels_.get(); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value);
    const String& SimpleText() const { return simpleText_; }
    void SetSimpleText(const String& value);
    // Shown only when the form can be resized.
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value);
    TCanvas& Canvas() { return canvas_; }
    // The panel's rectangle in client coordinates (empty without a window or panel).
    TRect PanelRect(int index);

    TDrawPanelEvent OnDrawPanel;

    void WndProc(TMessage& message) override;
    // Gives the window the panels' current widths, texts and styles.
    void UpdatePanels();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    virtual void DrawPanel(TStatusPanel* panel, const TRect& rect);

private:
    std::vector<TStatusPanel*> LivePanels() const;

    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    String simpleText_;
    bool sizeGrip_ = true;
    TCanvas canvas_;
};

class TProgressBar : public TWinControl {
    FV_CLASS(TProgressBar, TWinControl)
public:
    explicit TProgressBar(TComponent* owner);
    static void Publish(TPublisher<TProgressBar>& p);

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    // Kept within Min..Max.
    int Position() const;
    void SetPosition(int value);
    int Step() const { return step_; }
    void SetStep(int value) { step_ = value; }
    void StepIt() { SetPosition(Position() + step_); }
    void StepBy(int delta) { SetPosition(Position() + delta); }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    void ApplyRange();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
};

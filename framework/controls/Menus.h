// Menus: a tree of TMenuItem under a TMainMenu (a form's menu bar) or a TPopupMenu.
//
// Items nest in descriptions (object N1: TMenuItem ... object N2: TMenuItem ... end end) and may be
// added at run time with Add/Insert; an item frees its sub-items. Each item has a Command (the
// WM_COMMAND identifier, unique in the process) and, when it has sub-items, a popup Handle. Any
// change rebuilds the parent's menu handle and tells the form showing the menu (CM_MENUCHANGED).
// Items of a menu with Images show ImageIndex; OwnerDraw items are measured and drawn by
// OnMeasureItem / OnDrawItem (or a default drawing of image, caption and shortcut).
#pragma once

#include <memory>
#include <vector>

#include "framework/controls/Control.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"
#include "framework/rtl/UniqueHandle.h"

class TMenu;
class TMenuItem;

using UniqueMenu = UniqueHandle<HMENU, ReleaseBy<&DestroyMenu>>;

// A shortcut: virtual key in the low byte plus scShift / scCtrl / scAlt.
using TShortCut = Word;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
TShortCut ShortCut(Word key, bool shift, bool ctrl, bool alt);
// "Ctrl+S", "Shift+F1", "Del"; "" for none.
String ShortCutToText(TShortCut shortCut);
// The character after a single '&' in a caption, upper-cased; 0 when there is none.
wchar_t GetHotkey(const String& caption);
// Whether key (a character) is the '&' accelerator of caption.
bool IsAccel(wchar_t key, const String& caption);
// The caption without its '&' markers ("&&" stays one '&').
String StripHotkey(const String& caption);

using TMenuDrawItemEvent = TMethod<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TMenuMeasureItemEvent = TMethod<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

FV_DECLARE_EXCEPTION(EMenuError, Exception);

class TMenuItem : public TComponent {
    FV_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    static void Publish(TPublisher<TMenuItem>& p);

    // "-" makes a separator.
    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint) { hint_ = hint; }
    bool IsLine() const { return caption_ == L"-"; }

    // The WM_COMMAND identifier of this item.
    UINT Command() const { return command_; }
    // The popup menu of the sub-items (created on first use).
    HMENU Handle();
    HMENU HandleIfAllocated() const { return handle_.get(); }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;  // raises EMenuError out of range
    // Raises EMenuError "Menu inserted twice" when the item already has a parent.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);  // the item is kept; the caller owns it again
    void Delete(int index);        // frees the item
    void Clear();                  // frees every sub-item
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Parent() const { return parent_; }
    TMenu* GetParentMenu() const;
    TMenuItem* Find(const String& caption) const;  // by caption without '&', case-insensitive

    // Runs OnClick (nothing when disabled).
    virtual void Click();
    virtual void DrawItem(TCanvas& canvas, const TRect& rect, bool selected);
    virtual void MeasureItem(TCanvas& canvas, int& width, int& height);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

protected:
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

private:
    friend class TMenu;
    friend class TMainMenu;
    friend class TPopupMenu;
    void Changed(bool rebuildParent = true);
    void RebuildHandle();
    void RebuildTree();
    void AppendTo(HMENU menu);
    HBITMAP ImageBitmap();
    bool IsOwnerDraw() const;

    String caption_;
    TShortCut shortCut_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    bool default_ = false;
    int imageIndex_ = -1;
    String hint_;
    UINT command_ = 0;
    UniqueMenu handle_;
    UniqueBitmap imageBitmap_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item only
    std::vector<TMenuItem*> items_;
    bool destroying_ = false;
};

class TMenu : public TComponent {
    FV_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    static void Publish(TPublisher<TMenu>& p);

    // The invisible root item; its sub-items are the menu's items.
    TMenuItem* Items() const { return items_.get(); }
    virtual HMENU Handle() = 0;
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);

    // The item with this command or popup handle anywhere in the tree, or null.
    TMenuItem* FindItem(UINT command) const;
    TMenuItem* FindItemByHandle(HMENU menu) const;
    // Rebuilds every menu handle of the tree (after changing draw handlers, for instance).
    void RebuildMenu();
    // Runs the item whose ShortCut matches; true when one did.
    bool IsShortCut(Word key, TShiftState shift);
    // Handles WM_COMMAND (menu), WM_DRAWITEM / WM_MEASUREITEM (ODT_MENU) and WM_INITMENUPOPUP for
    // its items; true when the message concerned this menu.
    bool DispatchMenuMessage(TMessage& message);

protected:
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void Notification(TComponent* component, TOperation operation) override;
    friend class TMenuItem;
    // An item of this menu changed.
    virtual void MenuChanged() {}

private:
    std::unique_ptr<TMenuItem> items_;
    TImageList* images_ = nullptr;
    bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
    FV_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;

    HMENU Handle() override;
    // The window whose menu bar this is; it gets CM_MENUCHANGED after each change.
    void SetWindowHandle(HWND window);
    HWND WindowHandle() const { return window_; }

protected:
    void MenuChanged() override;

private:
    HWND window_ = nullptr;
};

FV_ENUM(TPopupAlignment, paLeft, paRight, paCenter)

class TPopupMenu : public TMenu {
    FV_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;
    static void Publish(TPublisher<TPopupMenu>& p);

    HMENU Handle() override;
    // Shows the menu at a screen point and runs the chosen item's OnClick before returning.
    virtual void Popup(int x, int y);
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    // The control the menu was last shown for.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component) { popupComponent_ = component; }

    TNotifyEvent OnPopup;

private:
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
    TComponent* popupComponent_ = nullptr;
};

// The item of any menu of the process with this command, or with this popup handle, or null.
TMenuItem* FindMenuItemByCommand(UINT command);
TMenuItem* FindMenuItemByHandle(HMENU menu);
// Handles WM_COMMAND from a menu, WM_DRAWITEM / WM_MEASUREITEM for menu items and
// WM_INITMENUPOPUP (runs OnClick of the item whose sub-menu opens) for any menu of the process;
// every window of the framework passes these here. True when handled.
bool DispatchMenuItemMessage(TMessage& message);

#include "framework/controls/Menus.h"

#include <algorithm>

#include "framework/controls/ControlsHost.h"
#include "framework/controls/ControlsScope.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/StringUtils.h"

namespace {

String KeyName(Word key) {
    if ((key >= L'A' && key <= L'Z') || (key >= L'0' && key <= L'9')) return String(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    switch (key) {
    case VK_BACK: return L"BkSp";
    case VK_TAB: return L"Tab";
    case VK_RETURN: return L"Enter";
    case VK_ESCAPE: return L"Esc";
    case VK_SPACE: return L"Space";
    case VK_PRIOR: return L"PgUp";
    case VK_NEXT: return L"PgDn";
    case VK_END: return L"End";
    case VK_HOME: return L"Home";
    case VK_LEFT: return L"Left";
    case VK_UP: return L"Up";
    case VK_RIGHT: return L"Right";
    case VK_DOWN: return L"Down";
    case VK_INSERT: return L"Ins";
    case VK_DELETE: return L"Del";
    default: return L"";
    }
}

}  // namespace

// ---- shortcuts and accelerators ----

TShortCut ShortCut(Word key, bool shift, bool ctrl, bool alt) {
    if (key & 0xFF00) return scNone;
    TShortCut sc = key;
    if (shift) sc |= scShift;
    if (ctrl) sc |= scCtrl;
    if (alt) sc |= scAlt;
    return sc;
}

String ShortCutToText(TShortCut shortCut) {
    String name = KeyName(static_cast<Word>(shortCut & 0xFF));
    if (name.empty()) return L"";
    String prefix;
    if (shortCut & scShift) prefix += L"Shift+";
    if (shortCut & scCtrl) prefix += L"Ctrl+";
    if (shortCut & scAlt) prefix += L"Alt+";
    return prefix + name;
}

wchar_t GetHotkey(const String& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        wchar_t c = caption[i + 1];
        CharUpperBuffW(&c, 1);
        return c;
    }
    return 0;
}

bool IsAccel(wchar_t key, const String& caption) {
    wchar_t hot = GetHotkey(caption);
    if (hot == 0) return false;
    CharUpperBuffW(&key, 1);
    return key == hot;
}

String StripHotkey(const String& caption) {
    String out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == L'&') continue;
        out += caption[i];
    }
    return out;
}

TMenuItem* FindMenuItemByCommand(UINT command) {
    TControlsScope* scope = TControlsScope::Current();
    return scope != nullptr ? scope->MenuItemOfCommand(command) : nullptr;
}

TMenuItem* FindMenuItemByHandle(HMENU menu) {
    TControlsScope* scope = TControlsScope::Current();
    if (menu == nullptr || scope == nullptr) return nullptr;
    for (auto& [command, item] : scope->MenuCommands())
        if (item->HandleIfAllocated() == menu) return item;
    return nullptr;
}

bool DispatchMenuItemMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_COMMAND:
        if (message.LParam == 0 && HIWORD(message.WParam) == 0) {
            if (TMenuItem* item = FindMenuItemByCommand(LOWORD(message.WParam))) {
                item->Click();
                return true;
            }
        }
        return false;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (dis->CtlType != ODT_MENU) return false;
        TMenuItem* item = FindMenuItemByCommand(dis->itemID);
        if (item == nullptr) item = FindMenuItemByHandle(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(dis->itemID)));
        if (item == nullptr) return false;
        TCanvas canvas;
        canvas.SetHandle(dis->hDC);
        {
            SavedDCState saved(dis->hDC);
            item->DrawItem(canvas, Rect(dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom),
                           (dis->itemState & ODS_SELECTED) != 0);
            canvas.SetHandle(nullptr);
        }
        message.Result = TRUE;
        return true;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (mis->CtlType != ODT_MENU) return false;
        TMenuItem* item = FindMenuItemByCommand(mis->itemID);
        if (item == nullptr) return false;
        const auto screen = ScreenDC();
        UniqueDC dc(CreateCompatibleDC(screen.get()));
        TCanvas canvas;  // gives the DC back clean before the DC goes, however measuring ends
        canvas.SetHandle(dc.get());
        int width = 0;
        int height = 0;
        item->MeasureItem(canvas, width, height);
        mis->itemWidth = static_cast<UINT>(std::max(width, 0));
        mis->itemHeight = static_cast<UINT>(std::max(height, 0));
        message.Result = TRUE;
        return true;
    }
    case WM_INITMENUPOPUP:
        if (TMenuItem* item = FindMenuItemByHandle(reinterpret_cast<HMENU>(message.WParam))) {
            item->Click();
            return true;
        }
        return false;
    default: return false;
    }
}

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
    command_ = TControlsScope::Required().AllocateMenuCommand(this);
}

TMenuItem::~TMenuItem() {
    destroying_ = true;
    while (!items_.empty()) delete items_.back();  // each takes itself out of items_
    if (parent_ != nullptr) parent_->Remove(this);  // detaches handle_ before it is destroyed
    if (TControlsScope* scope = TControlsScope::Current()) scope->ReleaseMenuCommand(command_);
}

void TMenuItem::Publish(TPublisher<TMenuItem>& p) {
    p.Property(L"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption).Default(L"");
    p.Property(L"ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(TShortCut{0});
    p.Property(L"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
    p.Property(L"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
    p.Property(L"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
    p.Property(L"Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
    p.Property(L"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
    p.Property(L"Hint", &TMenuItem::Hint, &TMenuItem::SetHint).Default(L"");
    p.Event(L"OnClick", &TMenuItem::OnClick);
    p.Event(L"OnDrawItem", &TMenuItem::OnDrawItem);
    p.Event(L"OnMeasureItem", &TMenuItem::OnMeasureItem);
}

void TMenuItem::SetCaption(const String& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortCut_) return;
    shortCut_ = shortCut;
    Changed();
}

void TMenuItem::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Changed();
}

void TMenuItem::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    Changed();
}

void TMenuItem::SetChecked(bool value) {
    if (value == checked_) return;
    checked_ = value;
    Changed();
}

void TMenuItem::SetDefault(bool value) {
    if (value == default_) return;
    default_ = value;
    Changed();
}

void TMenuItem::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    Changed();
}

HMENU TMenuItem::Handle() {
    if (!handle_) {
        handle_.reset(CreatePopupMenu());
        RebuildHandle();
    }
    return handle_.get();
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EMenuError(Format(L"Menu index out of range (%d)", {index}));
    return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item == nullptr) return;
    if (item->parent_ != nullptr) throw EMenuError(L"Menu inserted twice");
    if (index < 0 || index > Count()) throw EMenuError(Format(L"Menu index out of range (%d)", {index}));
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    // A first sub-item turns this item's entry in its parent into a submenu.
    if (items_.size() == 1 && parent_ != nullptr) parent_->RebuildHandle();
    Changed(false);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    if (destroying_) {
        if (handle_) RemoveMenu(handle_.get(), item->command_, MF_BYCOMMAND);
        if (handle_ && item->handle_)
            for (int i = GetMenuItemCount(handle_.get()) - 1; i >= 0; --i)
                if (GetSubMenu(handle_.get(), i) == item->handle_.get())
                    RemoveMenu(handle_.get(), static_cast<UINT>(i), MF_BYPOSITION);
        return;
    }
    // Without sub-items this item's entry in its parent is a command again.
    if (items_.empty() && parent_ != nullptr) parent_->RebuildHandle();
    Changed(false);
}

void TMenuItem::Delete(int index) { delete Items(index); }

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* i = this;
    while (i->parent_ != nullptr) i = i->parent_;
    return i->menu_;
}

TMenuItem* TMenuItem::Find(const String& caption) const {
    String wanted = StripHotkey(caption);
    for (TMenuItem* item : items_)
        if (SameText(StripHotkey(item->caption_), wanted)) return item;
    return nullptr;
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (parent_ == nullptr) return nullptr;
    if (parent_->menu_ != nullptr) return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (parent_ != nullptr) parent_->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(parent)) menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
    else if (parent != nullptr) throw EMenuError(Format(L"%s cannot hold menu items", {parent->Name()}));
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
    for (TMenuItem* item : std::vector<TMenuItem*>(items_)) proc(item);
}

bool TMenuItem::IsOwnerDraw() const {
    TMenu* menu = GetParentMenu();
    return (menu != nullptr && menu->OwnerDraw()) || OnDrawItem.Assigned();
}

void TMenuItem::Changed(bool rebuildParent) {
    TMenuItem* target = rebuildParent ? parent_ : this;
    if (target != nullptr) target->RebuildHandle();
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::RebuildHandle() {
    if (!handle_) return;
    // RemoveMenu detaches a submenu without destroying it: each item owns its own.
    while (GetMenuItemCount(handle_.get()) > 0) RemoveMenu(handle_.get(), 0, MF_BYPOSITION);
    for (TMenuItem* item : items_)
        if (item->visible_) item->AppendTo(handle_.get());
}

void TMenuItem::RebuildTree() {
    for (TMenuItem* item : items_) item->RebuildTree();
    RebuildHandle();
}

void TMenuItem::AppendTo(HMENU menu) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    mii.wID = command_;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    String text = caption_;
    if (shortCut_ != 0) {
        String sc = ShortCutToText(shortCut_);
        if (!sc.empty()) text += L"\t" + sc;
    }
    if (IsLine()) {
        mii.fType = MFT_SEPARATOR;
    } else if (IsOwnerDraw()) {
        mii.fType = MFT_OWNERDRAW;
    } else {
        mii.fType = MFT_STRING;
        mii.fMask |= MIIM_STRING;
        mii.dwTypeData = text.data();
        if (HBITMAP bitmap = ImageBitmap()) {
            mii.fMask |= MIIM_BITMAP;
            mii.hbmpItem = bitmap;
        }
    }
    if (!enabled_) mii.fState |= MFS_DISABLED | MFS_GRAYED;
    if (checked_) mii.fState |= MFS_CHECKED;
    if (default_) mii.fState |= MFS_DEFAULT;
    if (!items_.empty()) {
        mii.fMask |= MIIM_SUBMENU;
        mii.hSubMenu = Handle();
    }
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mii);
}

HBITMAP TMenuItem::ImageBitmap() {
    imageBitmap_.reset();
    TMenu* menu = GetParentMenu();
    TImageList* images = menu != nullptr ? menu->Images() : nullptr;
    if (images == nullptr || imageIndex_ < 0 || imageIndex_ >= images->Count()) return nullptr;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = images->Width();
    bi.bmiHeader.biHeight = images->Height();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const auto screen = ScreenDC();
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return nullptr;
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    {
        SelectionGuard select(dc.get(), bitmap.get());
        RECT r{0, 0, images->Width(), images->Height()};
        FillRect(dc.get(), &r, GetSysColorBrush(COLOR_MENU));
        TCanvas canvas;
        canvas.SetHandle(dc.get());
        images->Draw(canvas, 0, 0, imageIndex_, enabled_);
        canvas.SetHandle(nullptr);
    }
    imageBitmap_ = std::move(bitmap);
    return imageBitmap_.get();
}

void TMenuItem::DrawItem(TCanvas& canvas, const TRect& rect, bool selected) {
    if (OnDrawItem) {
        OnDrawItem(this, &canvas, rect, selected);
        return;
    }
    canvas.Brush().SetColor(selected ? clHighlight : clMenu);
    canvas.FillRect(rect);
    int x = rect.Left + 2;
    TMenu* menu = GetParentMenu();
    if (TImageList* images = menu != nullptr ? menu->Images() : nullptr) {
        if (imageIndex_ >= 0)
            images->Draw(canvas, x, rect.Top + (rect.Height() - images->Height()) / 2, imageIndex_, enabled_);
        x += images->Width() + 4;
    }
    if (IsLine()) {
        int y = rect.Top + rect.Height() / 2;
        canvas.Pen().SetColor(clBtnShadow);
        canvas.MoveTo(rect.Left + 1, y);
        canvas.LineTo(rect.Right - 1, y);
        return;
    }
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(!enabled_ ? clGrayText : selected ? clHighlightText : clMenuText));
    RECT r{x, rect.Top, rect.Right - 4, rect.Bottom};
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (shortCut_ != 0) {
        String sc = ShortCutToText(shortCut_);
        DrawTextW(dc, sc.c_str(), static_cast<int>(sc.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    canvas.Font().SetName(ncm.lfMenuFont.lfFaceName);
    canvas.Font().SetHeight(ncm.lfMenuFont.lfHeight);
    String text = StripHotkey(caption_);
    if (shortCut_ != 0) text += L"    " + ShortCutToText(shortCut_);
    TPoint extent = canvas.TextExtent(text.empty() ? String(L" ") : text);
    width = extent.X + 8;
    height = IsLine() ? 8 : extent.Y + 4;
    TMenu* menu = GetParentMenu();
    if (TImageList* images = menu != nullptr ? menu->Images() : nullptr) {
        width += images->Width() + 4;
        if (!IsLine()) height = std::max(height, images->Height() + 4);
    }
    if (OnMeasureItem) OnMeasureItem(this, &canvas, width, height);
}

// ---- TMenu ----

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    // Sub-items owned by a form may be freed before or after: the root lets go of them here.
    items_.reset();
    if (images_ != nullptr) images_->RemoveFreeNotification(this);
}

void TMenu::Publish(TPublisher<TMenu>& p) {
    p.Property(L"Images", &TMenu::Images, &TMenu::SetImages);
    p.Property(L"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false);
}

void TMenu::SetImages(TImageList* images) {
    if (images == images_) return;
    if (images_ != nullptr) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_ != nullptr) images_->FreeNotification(this);
    items_->RebuildTree();
    MenuChanged();
}

void TMenu::SetOwnerDraw(bool value) {
    if (value == ownerDraw_) return;
    ownerDraw_ = value;
    items_->RebuildTree();
    MenuChanged();
}

void TMenu::RebuildMenu() {
    items_->RebuildTree();
    MenuChanged();
}

namespace {

TMenuItem* FindIn(TMenuItem* item, const std::function<bool(TMenuItem*)>& match) {
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        if (match(child)) return child;
        if (TMenuItem* found = FindIn(child, match)) return found;
    }
    return nullptr;
}

}  // namespace

TMenuItem* TMenu::FindItem(UINT command) const {
    return FindIn(items_.get(), [command](TMenuItem* i) { return i->Command() == command; });
}

TMenuItem* TMenu::FindItemByHandle(HMENU menu) const {
    if (menu == nullptr) return nullptr;
    return FindIn(items_.get(), [menu](TMenuItem* i) { return i->HandleIfAllocated() == menu; });
}

bool TMenu::IsShortCut(Word key, TShiftState shift) {
    TShortCut sc = ::ShortCut(key, shift.Contains(ssShift), shift.Contains(ssCtrl), shift.Contains(ssAlt));
    if (sc == scNone) return false;
    TMenuItem* item = FindIn(items_.get(), [sc](TMenuItem* i) { return i->ShortCut() == sc; });
    if (item == nullptr || !item->Enabled() || !item->Visible()) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchMenuMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_COMMAND:
        if (message.LParam != 0 || HIWORD(message.WParam) != 0 || FindItem(LOWORD(message.WParam)) == nullptr)
            return false;
        break;
    case WM_DRAWITEM:
        if (FindItem(reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->itemID) == nullptr) return false;
        break;
    case WM_MEASUREITEM:
        if (FindItem(reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam)->itemID) == nullptr) return false;
        break;
    case WM_INITMENUPOPUP:
        if (FindItemByHandle(reinterpret_cast<HMENU>(message.WParam)) == nullptr) return false;
        break;
    default: return false;
    }
    return DispatchMenuItemMessage(message);
}

void TMenu::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
    for (int i = 0; i < items_->Count(); ++i) proc(items_->Items(i));
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == images_) {
        images_ = nullptr;
        if (!ComponentState().Contains(csDestroying)) {
            items_->RebuildTree();
            MenuChanged();
        }
    }
}

// ---- TMainMenu ----

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
    // The bar is destroyed with the items: the window must not keep it.
    if (window_ != nullptr && IsWindow(window_) && GetMenu(window_) == Items()->HandleIfAllocated())
        ::SetMenu(window_, nullptr);
}

HMENU TMainMenu::Handle() {
    TMenuItem* root = Items();
    if (!root->handle_) {
        root->handle_.reset(CreateMenu());
        root->RebuildHandle();
    }
    return root->handle_.get();
}

void TMainMenu::SetWindowHandle(HWND window) { window_ = window; }

void TMainMenu::MenuChanged() {
    if (window_ == nullptr || !IsWindow(window_)) return;
    if (TWinControl* form = FindControl(window_)) form->Perform(CM_MENUCHANGED);
    else DrawMenuBar(window_);
}

// ---- TPopupMenu ----

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}
TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Publish(TPublisher<TPopupMenu>& p) {
    p.Property(L"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    p.Property(L"Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
    p.Event(L"OnPopup", &TPopupMenu::OnPopup);
}

HMENU TPopupMenu::Handle() {
    TMenuItem* root = Items();
    if (!root->handle_) {
        root->handle_.reset(CreatePopupMenu());
        root->RebuildHandle();
    }
    return root->handle_.get();
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    HMENU menu = Handle();
    HWND owner = nullptr;
    if (TControlsHost* host = ControlsHost()) owner = host->ActiveWindowHandle();
    if (owner == nullptr) owner = GetActiveWindow();
    if (owner == nullptr) owner = TControlsScope::Required().UtilityWindow();
    UINT align = alignment_ == paRight ? TPM_RIGHTALIGN : alignment_ == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu, align | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (command != 0)
        if (TMenuItem* item = FindItem(command)) item->Click();
}

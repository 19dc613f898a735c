#include "framework/controls/ListBox.h"

TListBox::TListBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>()) {
    SetControlStyle(TControlStyle{csDoubleClicks});
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChange = [this](TObject* sender) { ItemsChanged(sender); };
}

TListBox::~TListBox() { items_->OnChange = nullptr; }

void TListBox::Publish(TPublisher<TListBox>& p) {
    p.Property(L"Items", &TListBox::Items);
    p.Property(L"ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex).Default(-1);
}

void TListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"LISTBOX");
    params.Style |= WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    FillWindow();
    if (itemIndex_ >= 0) SendMessageW(HandleIfAllocated(), LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TListBox::FillWindow() {
    const HWND h = HandleIfAllocated();
    if (h == nullptr) return;
    filling_ = true;
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    SendMessageW(h, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
    filling_ = false;
}

void TListBox::ItemsChanged(TObject*) {
    const int index = ItemIndex();
    FillWindow();
    SetItemIndex(index < items_->Count() ? index : -1);
}

int TListBox::ItemIndex() const {
    if (HandleAllocated()) return static_cast<int>(SendMessageW(HandleIfAllocated(), LB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TListBox::SetItemIndex(int value) {
    if (value < -1 || value >= items_->Count()) value = -1;
    itemIndex_ = value;
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), LB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TListBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (filling_) return;
        if (message.WParamHi() == LBN_SELCHANGE) {
            itemIndex_ = ItemIndex();
            Click();
            return;
        }
    }
    TWinControl::WndProc(message);
}

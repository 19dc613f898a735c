#include "framework/controls/StdCtrls.h"

#include <algorithm>

#include "framework/controls/ControlDrawing.h"
#include "framework/rtl/StringUtils.h"

// ---------------------------------------------------------------------------------------------
// TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() + csOpaque);
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::Publish(TPublisher<TLabel>& p) {
    p.Property(L"Caption", &TLabel::Caption, &TLabel::SetCaption);
    p.Property(L"Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
    p.Property(L"Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
    p.Property(L"AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
    p.Property(L"WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
    p.Property(L"Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
    p.Property(L"ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
}

void TLabel::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
    if (layout_ == value) return;
    layout_ = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    if (autoSize_ == value) return;
    autoSize_ = value;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool value) {
    if (transparent_ == value) return;
    transparent_ = value;
    SetControlStyle(value ? ControlStyle() - csOpaque : ControlStyle() + csOpaque);
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    if (showAccelChar_ == value) return;
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetText(const String& text) {
    if (text == GetText()) return;
    TGraphicControl::SetText(text);
    AdjustBounds();
    Invalidate();
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

unsigned TLabel::DrawFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    switch (alignment_) {
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
    default: flags |= DT_LEFT; break;
    }
    return flags;
}

// An empty caption still measures one line, so the label keeps a height.
static String MeasuredText(const String& text, bool showAccelChar) {
    if (text.empty() || (showAccelChar && text == L"&")) return text + L" ";
    return text;
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || ComponentState().Contains(csLoading)) return;
    const String text = MeasuredText(Caption(), showAccelChar_);
    RECT r{0, 0, wordWrap_ ? std::max(Width(), 1) : 0, 0};
    {
        const auto dc = ScreenDC();
        SelectionGuard font(dc.get(), Font()->Handle());
        DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
                  DrawFlags() | DT_CALCRECT);
    }
    int left = Left();
    const int width = wordWrap_ ? Width() : r.right;
    if (!wordWrap_ && alignment_ == taRightJustify) left += Width() - width;
    else if (!wordWrap_ && alignment_ == taCenter) left += (Width() - width) / 2;
    SetBounds(left, Top(), width, r.bottom);
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    const TRect client = ClientRect();
    if (!transparent_) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.SetFont(*Font());
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    const String text = Caption();
    const HDC dc = canvas.Handle();
    canvas.TextWidth(L"");  // selects the font
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(canvas.Font().Color()));
    RECT r{client.Left, client.Top, client.Right, client.Bottom};
    if (layout_ != tlTop) {
        RECT calc = r;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &calc, DrawFlags() | DT_CALCRECT);
        const int free = (r.bottom - r.top) - (calc.bottom - calc.top);
        r.top += layout_ == tlCenter ? free / 2 : free;
    }
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags());
}

// ---------------------------------------------------------------------------------------------
// TCustomEdit, TEdit

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"EDIT");
    params.Style |= ES_AUTOHSCROLL | WS_TABSTOP;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    if (readOnly_) params.Style |= ES_READONLY;
    if (charCase_ == ecUpperCase) params.Style |= ES_UPPERCASE;
    if (charCase_ == ecLowerCase) params.Style |= ES_LOWERCASE;
}

void TCustomEdit::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    ApplyMaxLength();
    SendMessageW(HandleIfAllocated(), EM_SETMODIFY, modified_, 0);
}

void TCustomEdit::ApplyMaxLength() {
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), EM_LIMITTEXT, static_cast<WPARAM>(WindowMaxLength()), 0);
}

void TCustomEdit::SetMaxLength(int value) {
    maxLength_ = std::max(value, 0);
    ApplyMaxLength();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    if (charCase_ == value) return;
    charCase_ = value;
    if (value == ecUpperCase) SetText(AnsiUpperCase(Text()));
    if (value == ecLowerCase) SetText(AnsiLowerCase(Text()));
    if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), EM_SETREADONLY, value, 0);
}

bool TCustomEdit::Modified() const {
    if (HandleAllocated()) return SendMessageW(HandleIfAllocated(), EM_GETMODIFY, 0, 0) != 0;
    return modified_;
}

void TCustomEdit::SetModified(bool value) {
    modified_ = value;
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), EM_SETMODIFY, value, 0);
}

int TCustomEdit::SelStart() {
    DWORD start = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value) { SendMessageW(Handle(), EM_SETSEL, value, value); }

int TCustomEdit::SelLength() {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value) {
    const int start = SelStart();
    SendMessageW(Handle(), EM_SETSEL, start, start + value);
}

void TCustomEdit::SelectAll() {
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), EM_SETSEL, 0, -1);
}

void TCustomEdit::DoEnter() {
    // A click places the caret itself; selecting everything would fight it.
    if (autoSelect_ && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::Change() { OnChange(this); }

void TCustomEdit::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND && message.WParamHi() == EN_CHANGE) {
        Change();
        return;
    }
    TWinControl::WndProc(message);
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

void TEdit::Publish(TPublisher<TEdit>& p) {
    p.Property(L"Text", &TControl::Text, &TControl::SetText);
    p.Property(L"MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
    p.Property(L"CharCase", &TEdit::CharCase, &TEdit::SetCharCase).Default(ecNormal);
    p.Property(L"ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
    p.Property(L"AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect).Default(true);
    p.Event(L"OnChange", &TEdit::OnChange);
}

// ---------------------------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    // Clicks come from the system button (BN_CLICKED), not from the framework's mouse handling.
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetColor(clBtnFace);
}

void TButton::Publish(TPublisher<TButton>& p) {
    p.Property(L"Caption", &TButton::Caption, &TButton::SetCaption);
    p.Property(L"Default", &TButton::Default, &TButton::SetDefault).Default(false);
    p.Property(L"Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    p.Property(L"ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= WS_TABSTOP | (active_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool value) {
    default_ = value;
    active_ = value || (HandleAllocated() && Focused());
    SetButtonStyle(active_);
}

void TButton::SetButtonStyle(bool isDefault) {
    if (HandleAllocated())
        SendMessageW(HandleIfAllocated(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (modalResult_ != mrNone) SetParentModalResult(this, modalResult_);
    TWinControl::Click();
}

void TButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (message.WParamHi() == BN_CLICKED) {
            Click();
            return;
        }
        break;
    case CM_DIALOGKEY: {
        const bool plain = (KeyboardShiftState() * TShiftState{ssShift, ssAlt, ssCtrl}).Empty();
        if (((message.WParam == VK_RETURN && active_) || (message.WParam == VK_ESCAPE && cancel_)) && plain &&
            CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    }
    case CM_FOCUSCHANGED: {
        auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
        const bool wasActive = active_;
        active_ = dynamic_cast<TButton*>(focused) != nullptr ? focused == this : default_;
        if (active_ != wasActive) SetButtonStyle(active_);
        break;
    }
    default: break;
    }
    TWinControl::WndProc(message);
}

void SetParentModalResult(TControl* control, TModalResult result) {
    TControl* root = control;
    while (root->Parent() != nullptr) root = root->Parent();
    if (root != control) root->Perform(CM_MODALRESULT, static_cast<WPARAM>(result), 0);
}

// ---------------------------------------------------------------------------------------------
// TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    SetParentColor(true);
}

void TCheckBox::Publish(TPublisher<TCheckBox>& p) {
    p.Property(L"Caption", &TCheckBox::Caption, &TCheckBox::SetCaption);
    p.Property(L"Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightJustify);
    p.Property(L"AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
    p.Property(L"State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
    p.Property(L"Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false).Stored(false);
}

void TCheckBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= BS_3STATE | WS_TABSTOP;
    if (alignment_ == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TCheckBox::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    SendMessageW(HandleIfAllocated(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState value) {
    if (state_ == value) return;
    state_ = value;
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), BM_SETCHECK, static_cast<WPARAM>(value), 0);
    if (!ComponentState().Contains(csLoading)) Click();
}

void TCheckBox::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCheckBox::Toggle() {
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCheckBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND && message.WParamHi() == BN_CLICKED) {
        Toggle();
        return;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 113, 17);
    SetParentColor(true);
}

void TRadioButton::Publish(TPublisher<TRadioButton>& p) {
    p.Property(L"Caption", &TRadioButton::Caption, &TRadioButton::SetCaption);
    p.Property(L"Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment).Default(taRightJustify);
    p.Property(L"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= BS_RADIOBUTTON;
    if (alignment_ == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    SendMessageW(HandleIfAllocated(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    SetTabStop(value);
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value) return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
                sibling->SetChecked(false);
    }
    if (!ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TRadioButton::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND && message.WParamHi() == BN_CLICKED) {
        SetChecked(true);
        return;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------------------------------------
// TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 185, 105);
    SetParentColor(true);
}

void TGroupBox::Publish(TPublisher<TGroupBox>& p) {
    p.Property(L"Caption", &TGroupBox::Caption, &TGroupBox::SetCaption);
}

void TGroupBox::SetText(const String& text) {
    TCustomControl::SetText(text);
    Invalidate();
}

void TGroupBox::AlignControls(TRect& rect) {
    rect.Top += TextHeightOf(*Font(), L"0");
    rect.Left += 2;
    rect.Top += 2;
    rect.Right -= 2;
    rect.Bottom -= 2;
    TCustomControl::AlignControls(rect);
}

void TGroupBox::Paint() {
    TCanvas& canvas = Canvas();
    const TRect client = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    canvas.SetFont(*Font());
    const int textHeight = canvas.TextHeight(L"0");
    RECT frame{client.Left, client.Top + textHeight / 2, client.Right, client.Bottom};
    DrawEdge(canvas.Handle(), &frame, EDGE_ETCHED, BF_RECT);
    const String caption = Caption();
    if (caption.empty()) return;
    const HDC dc = canvas.Handle();
    RECT r{8, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    r.left -= 1;
    r.right += 1;
    canvas.Brush().SetColor(Color());
    canvas.FillRect(TRect{r.left, r.top, r.right, r.bottom});
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    r.left += 1;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_SINGLELINE);
}

// ---------------------------------------------------------------------------------------------
// TComboBox

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>()) {
    SetControlStyle(TControlStyle{csDoubleClicks});
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChange = [this](TObject* sender) { ItemsChanged(sender); };
}

TComboBox::~TComboBox() { items_->OnChange = nullptr; }

void TComboBox::Publish(TPublisher<TComboBox>& p) {
    p.Property(L"Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
    p.Property(L"DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
    p.Property(L"MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength).Default(0);
    p.Property(L"Text", &TControl::Text, &TControl::SetText);
    p.Property(L"Items", &TComboBox::Items);
    p.Property(L"ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex).Default(-1);
    p.Event(L"OnChange", &TComboBox::OnChange);
    p.Event(L"OnSelect", &TComboBox::OnSelect);
    p.Event(L"OnDropDown", &TComboBox::OnDropDown);
    p.Event(L"OnCloseUp", &TComboBox::OnCloseUp);
}

void TComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"COMBOBOX");
    params.Style |= WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL;
    switch (style_) {
    case csDropDown: params.Style |= CBS_DROPDOWN; break;
    case csSimple: params.Style |= CBS_SIMPLE; break;
    case csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
    }
}

void TComboBox::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    const HWND h = HandleIfAllocated();
    FillWindow();
    SendMessageW(h, CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (itemIndex_ >= 0) SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    else if (style_ != csDropDownList) SetWindowTextW(h, text_.c_str());
    SetBounds(Left(), Top(), Width(), Height());
}

// The window of a drop-down combo is as tall as the field plus its dropped list.
void TComboBox::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    const HWND h = HandleIfAllocated();
    if (h == nullptr || style_ == csSimple) return;
    const int itemHeight = static_cast<int>(SendMessageW(h, CB_GETITEMHEIGHT, 0, 0));
    SetWindowPos(h, nullptr, 0, 0, width, height + dropDownCount_ * std::max(itemHeight, 1) + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::FillWindow() {
    const HWND h = HandleIfAllocated();
    if (h == nullptr) return;
    filling_ = true;
    SendMessageW(h, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    filling_ = false;
}

void TComboBox::ItemsChanged(TObject*) {
    const int index = ItemIndex();
    const String text = style_ == csDropDownList ? String() : GetText();
    FillWindow();
    SetItemIndex(index < items_->Count() ? index : -1);
    if (style_ != csDropDownList && HandleAllocated()) SetWindowTextW(HandleIfAllocated(), text.c_str());
}

int TComboBox::ItemIndex() const {
    if (HandleAllocated()) return static_cast<int>(SendMessageW(HandleIfAllocated(), CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= items_->Count()) value = -1;
    itemIndex_ = value;
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
    else if (style_ != csDropDownList) text_ = value >= 0 ? items_->Get(value) : String();
}

void TComboBox::SetStyle(TComboBoxStyle value) {
    if (style_ == value) return;
    style_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TComboBox::SetDropDownCount(int value) {
    dropDownCount_ = std::max(value, 1);
    SetBounds(Left(), Top(), Width(), Height());
}

void TComboBox::SetMaxLength(int value) {
    maxLength_ = std::max(value, 0);
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

bool TComboBox::DroppedDown() const {
    return HandleAllocated() && SendMessageW(HandleIfAllocated(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::SetDroppedDown(bool value) { SendMessageW(Handle(), CB_SHOWDROPDOWN, value, 0); }

String TComboBox::GetText() const {
    if (style_ == csDropDownList) {
        const int index = ItemIndex();
        return index >= 0 && index < items_->Count() ? items_->Get(index) : String();
    }
    return TWinControl::GetText();
}

void TComboBox::SetText(const String& text) {
    if (style_ == csDropDownList) {
        int index = -1;
        for (int i = 0; i < items_->Count() && index < 0; ++i)
            if (items_->Get(i) == text) index = i;
        SetItemIndex(index);
        return;
    }
    TWinControl::SetText(text);
}

void TComboBox::Change() { OnChange(this); }

void TComboBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (filling_) return;
        switch (message.WParamHi()) {
        case CBN_SELCHANGE:
            itemIndex_ = ItemIndex();
            Click();
            if (OnSelect) OnSelect(this);
            else Change();
            return;
        case CBN_EDITCHANGE: Change(); return;
        case CBN_DROPDOWN: OnDropDown(this); return;
        case CBN_CLOSEUP: OnCloseUp(this); return;
        default: break;
        }
        break;
    // The field and the dropped list ask the combo itself for their colours.
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        message.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return;
    }
    default: break;
    }
    TWinControl::WndProc(message);
}

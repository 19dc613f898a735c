#include "framework/controls/ToolBar.h"

#include <algorithm>

namespace {

constexpr int SeparatorWidth = 8;

void Edge(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
    canvas.Pen().SetColor(topLeft);
    canvas.Polyline({Point(r.Left, r.Bottom - 1), Point(r.Left, r.Top), Point(r.Right - 1, r.Top)});
    canvas.Pen().SetColor(bottomRight);
    canvas.Polyline({Point(r.Right - 1, r.Top), Point(r.Right - 1, r.Bottom - 1), Point(r.Left - 1, r.Bottom - 1)});
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TToolButton

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks});
    SetBounds(0, 0, 23, 22);
}

void TToolButton::Publish(TPublisher<TToolButton>& p) {
    p.Property(L"Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
    p.Property(L"Grouping", &TToolButton::Grouping, &TToolButton::SetGrouping).Default(false);
    p.Property(L"Down", &TToolButton::Down, &TToolButton::SetDown).Default(false);
    p.Property(L"ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex).Default(-1);
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetStyle(TToolButtonStyle value) {
    if (value == style_) return;
    style_ = value;
    if (TToolBar* bar = ToolBar()) bar->LayoutButtons();
    Invalidate();
}

void TToolButton::SetVisible(bool visible) {
    TGraphicControl::SetVisible(visible);
    if (TToolBar* bar = ToolBar()) bar->LayoutButtons();
}

void TToolButton::SetImageIndex(int value) {
    imageIndex_ = value;
    Invalidate();
}

std::vector<TToolButton*> TToolButton::Group() const {
    std::vector<TToolButton*> group;
    TWinControl* parent = Parent();
    if (parent == nullptr || style_ != tbsCheck || !grouping_) return group;
    int self = -1;
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (parent->Controls(i) == this) self = i;
    const auto member = [&](int i) {
        auto* button = dynamic_cast<TToolButton*>(parent->Controls(i));
        return button != nullptr && button->style_ == tbsCheck && button->grouping_ ? button : nullptr;
    };
    int first = self;
    while (first > 0 && member(first - 1)) --first;
    for (int i = first; i < parent->ControlCount() && member(i); ++i) group.push_back(member(i));
    return group;
}

void TToolButton::SetDown(bool value) {
    if (value == down_) return;
    down_ = value;
    if (down_)
        for (TToolButton* other : Group())
            if (other != this && other->down_) {
                other->down_ = false;
                other->Invalidate();
            }
    Invalidate();
}

void TToolButton::Click() {
    if (style_ == tbsSeparator) return;
    if (style_ == tbsCheck) SetDown(grouping_ ? true : !down_);
    TGraphicControl::Click();
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled() && style_ != tbsSeparator) {
        pressed_ = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (pressed_) {
        pressed_ = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TToolButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        hot_ = message.Msg == CM_MOUSEENTER && Enabled() && style_ != tbsSeparator;
        Invalidate();
        break;
    case CM_ENABLEDCHANGED:
        if (!Enabled()) hot_ = pressed_ = false;
        Invalidate();
        break;
    default: break;
    }
    TGraphicControl::WndProc(message);
}

void TToolButton::Paint() {
    TCanvas& canvas = Canvas();
    const TRect r = ClientRect();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(r);
    if (style_ == tbsSeparator) {
        const int x = r.Width() / 2 - 1;
        Edge(canvas, Rect(x, r.Top + 2, x + 2, r.Bottom - 2), clBtnShadow, clBtnHighlight);
        return;
    }
    const bool sunken = down_ || (pressed_ && hot_);
    if (down_ && !pressed_ && !hot_) {
        // A button that stays down is drawn on a lighter, checked face.
        canvas.Brush().SetColor(clBtnHighlight);
        canvas.FillRect(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
    }
    if (sunken)
        Edge(canvas, r, clBtnShadow, clBtnHighlight);
    else if (hot_)
        Edge(canvas, r, clBtnHighlight, clBtnShadow);
    TToolBar* bar = ToolBar();
    TImageList* images = bar != nullptr ? bar->Images() : nullptr;
    if (images != nullptr) {
        const int offset = sunken ? 1 : 0;
        images->Draw(canvas, (r.Width() - images->Width()) / 2 + offset, (r.Height() - images->Height()) / 2 + offset,
                     imageIndex_, Enabled());
    }
}

// ---------------------------------------------------------------------------------------------
// TToolBar

TToolBar::TToolBar(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
    SetBounds(0, 0, 150, 29);
    SetColor(clBtnFace);
    SetAlign(alTop);
}

TToolBar::~TToolBar() {
    if (images_ != nullptr) images_->RemoveFreeNotification(this);
}

void TToolBar::Publish(TPublisher<TToolBar>& p) {
    p.Property(L"Images", &TToolBar::Images, &TToolBar::SetImages);
    p.Property(L"ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
    p.Property(L"ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
}

void TToolBar::SetImages(TImageList* images) {
    if (images == images_) return;
    if (images_ != nullptr) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_ != nullptr) images_->FreeNotification(this);
    Invalidate();
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

void TToolBar::SetButtonWidth(int value) {
    buttonWidth_ = std::max(value, 1);
    LayoutButtons();
}

void TToolBar::SetButtonHeight(int value) {
    buttonHeight_ = std::max(value, 1);
    SetHeight(buttonHeight_ + 7);
    LayoutButtons();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

void TToolBar::LayoutButtons() {
    if (layingOut_) return;
    layingOut_ = true;
    // A control that would run past the bar's right end starts a new row; the bar grows to its
    // rows, so that a narrow window still shows every button.
    const int right = ClientWidth();
    int x = 2, y = 2, rows = 1;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (!child->Visible()) continue;
        int width = child->Width();
        if (auto* button = dynamic_cast<TToolButton*>(child))
            width = button->Style() == tbsSeparator ? SeparatorWidth : buttonWidth_;
        if (x > 2 && x + width > right) {
            x = 2;
            y += buttonHeight_;
            ++rows;
        }
        child->SetBounds(x, y, width, buttonHeight_);
        x += width;
    }
    const int height = rows * buttonHeight_ + 7;
    if (Height() != height) SetHeight(height);
    layingOut_ = false;
}

void TToolBar::WndProc(TMessage& message) {
    TCustomControl::WndProc(message);
    if (message.Msg == CM_CONTROLLISTCHANGE) LayoutButtons();
}

void TToolBar::AlignControls(TRect& rect) {
    TCustomControl::AlignControls(rect);
    LayoutButtons();
}

void TToolBar::Paint() {
    TCanvas& canvas = Canvas();
    const TRect r = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    // An etched line under the buttons parts the bar from what lies below.
    canvas.Pen().SetColor(clBtnShadow);
    canvas.MoveTo(r.Left, r.Bottom - 2);
    canvas.LineTo(r.Right, r.Bottom - 2);
    canvas.Pen().SetColor(clBtnHighlight);
    canvas.MoveTo(r.Left, r.Bottom - 1);
    canvas.LineTo(r.Right, r.Bottom - 1);
}

#include "framework/controls/Splitter.h"

#include <algorithm>

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(TControlStyle{csCaptureMouse});
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crSizeWE);
}

void TSplitter::Publish(TPublisher<TSplitter>& p) {
    p.Property(L"MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
}

TControl* TSplitter::FindControl() const {
    TWinControl* parent = Parent();
    if (parent == nullptr || Align() == alNone || Align() == alClient) return nullptr;
    // The neighbour touches the splitter's edge that faces the side it is aligned to.
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        bool touches = false;
        switch (Align()) {
        case alLeft: touches = c->Left() + c->Width() == Left(); break;
        case alRight: touches = c->Left() == Left() + Width(); break;
        case alTop: touches = c->Top() + c->Height() == Top(); break;
        case alBottom: touches = c->Top() == Top() + Height(); break;
        default: break;
        }
        if (touches) return c;
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    control_ = FindControl();
    if (control_ == nullptr) return;
    downAt_ = Horizontal() ? Top() + y : Left() + x;
    startSize_ = Horizontal() ? control_->Height() : control_->Width();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (control_ == nullptr) return;
    const int at = Horizontal() ? Top() + y : Left() + x;
    int delta = at - downAt_;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    // The control may not grow past the room its parent has left for the client-aligned rest.
    const int room = Horizontal() ? Parent()->ClientHeight() : Parent()->ClientWidth();
    const int size = std::max(minSize_, std::min(startSize_ + delta, room - minSize_));
    if (Horizontal())
        control_->SetHeight(size);
    else
        control_->SetWidth(size);
    Parent()->Realign();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    control_ = nullptr;
}

void TSplitter::Paint() {
    Canvas().Brush().SetColor(clBtnFace);
    Canvas().FillRect(ClientRect());
}

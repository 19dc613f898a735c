#include "framework/controls/ScrollBox.h"

#include <algorithm>

TScrollBox::TScrollBox(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TScrollBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

int TScrollBox::ContentWidth() const {
    int extent = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (child->Visible()) extent = std::max(extent, child->Left() + horzPosition_ + child->Width());
    }
    return extent;
}

int TScrollBox::ContentHeight() const {
    int extent = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (child->Visible()) extent = std::max(extent, child->Top() + vertPosition_ + child->Height());
    }
    return extent;
}

void TScrollBox::ScrollBy(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        child->SetBounds(child->Left() - dx, child->Top() - dy, child->Width(), child->Height());
    }
    Invalidate();
}

void TScrollBox::SetHorzPosition(int position) {
    position = std::max(0, std::min(position, ContentWidth() - ClientWidth()));
    const int delta = position - horzPosition_;
    horzPosition_ = position;
    ScrollBy(delta, 0);
    UpdateScrollBars();
}

void TScrollBox::SetVertPosition(int position) {
    position = std::max(0, std::min(position, ContentHeight() - ClientHeight()));
    const int delta = position - vertPosition_;
    vertPosition_ = position;
    ScrollBy(0, delta);
    UpdateScrollBars();
}

void TScrollBox::UpdateScrollBars() {
    if (!HandleAllocated() || updatingBars_) return;
    updatingBars_ = true;
    // Showing or hiding one bar changes the room of the other: two rounds settle it.
    for (int round = 0; round < 2; ++round) {
        const int bars[2] = {SB_HORZ, SB_VERT};
        const int contents[2] = {ContentWidth(), ContentHeight()};
        const int pages[2] = {ClientWidth(), ClientHeight()};
        const int positions[2] = {horzPosition_, vertPosition_};
        for (int i = 0; i < 2; ++i) {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMin = 0;
            info.nMax = contents[i] > pages[i] ? contents[i] - 1 : 0;
            info.nPage = contents[i] > pages[i] ? static_cast<UINT>(std::max(pages[i], 1)) : 0;
            info.nPos = positions[i];
            SetScrollInfo(Handle(), bars[i], &info, TRUE);
            ShowScrollBar(Handle(), bars[i], contents[i] > pages[i]);
        }
    }
    updatingBars_ = false;
    // A larger box may leave the content scrolled past its end.
    const int maxH = std::max(0, ContentWidth() - ClientWidth());
    const int maxV = std::max(0, ContentHeight() - ClientHeight());
    if (horzPosition_ > maxH) SetHorzPosition(maxH);
    if (vertPosition_ > maxV) SetVertPosition(maxV);
}

void TScrollBox::HandleScroll(int bar, int code, int trackPosition) {
    const bool horizontal = bar == SB_HORZ;
    const int current = horizontal ? horzPosition_ : vertPosition_;
    const int page = horizontal ? ClientWidth() : ClientHeight();
    const int line = 16;
    int target = current;
    switch (code) {
        case SB_LINEUP: target = current - line; break;
        case SB_LINEDOWN: target = current + line; break;
        case SB_PAGEUP: target = current - page; break;
        case SB_PAGEDOWN: target = current + page; break;
        case SB_TOP: target = 0; break;
        case SB_BOTTOM: target = horizontal ? ContentWidth() : ContentHeight(); break;
        case SB_THUMBTRACK:
            if (!tracking_) return;
            target = trackPosition;
            break;
        case SB_THUMBPOSITION: target = trackPosition; break;
        default: return;
    }
    if (horizontal)
        SetHorzPosition(target);
    else
        SetVertPosition(target);
}

void TScrollBox::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_HSCROLL:
        case WM_VSCROLL: {
            const int bar = message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
            // The 16-bit position of the message is too small for long content: ask the bar.
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(Handle(), bar, &info);
            HandleScroll(bar, message.WParamLo(), info.nTrackPos);
            message.Result = 0;
            return;
        }
        case WM_SIZE:
            TCustomControl::WndProc(message);
            if (!updatingBars_) {
                Resize();
                UpdateScrollBars();
            }
            return;
        default: TCustomControl::WndProc(message);
    }
}

void TScrollBox::Resize() {
    if (OnResize) OnResize(this);
}

void TScrollBox::Paint() {
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(ClientRect());
}

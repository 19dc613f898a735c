#include "framework/controls/DrawGrid.h"

#include <algorithm>

#include "framework/graphics/GdiHandles.h"

TDrawGrid::TDrawGrid(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
    SetBounds(0, 0, 320, 120);
    SetColor(clWindow);
    SetTabStop(true);
}

void TDrawGrid::Publish(TPublisher<TDrawGrid>& p) {
    p.Property(L"ColCount", &TDrawGrid::ColCount, &TDrawGrid::SetColCount).Default(5);
    p.Property(L"RowCount", &TDrawGrid::RowCount, &TDrawGrid::SetRowCount).Default(5);
    p.Property(L"DefaultColWidth", &TDrawGrid::DefaultColWidth, &TDrawGrid::SetDefaultColWidth).Default(64);
    p.Property(L"DefaultRowHeight", &TDrawGrid::DefaultRowHeight, &TDrawGrid::SetDefaultRowHeight).Default(24);
    p.Property(L"RowSelect", &TDrawGrid::RowSelect, &TDrawGrid::SetRowSelect).Default(false);
    p.Event(L"OnDrawCell", &TDrawGrid::OnDrawCell);
    p.Event(L"OnSelectCell", &TDrawGrid::OnSelectCell);
}

void TDrawGrid::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_VSCROLL | WS_TABSTOP;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDrawGrid::CreateHandleDone() {
    TCustomControl::CreateHandleDone();
    UpdateScrollBar();
}

void TDrawGrid::SetColCount(int value) {
    colCount_ = std::max(value, 1);
    col_ = std::min(col_, colCount_ - 1);
    Invalidate();
}

void TDrawGrid::SetRowCount(int value) {
    rowCount_ = std::max(value, 1);
    row_ = std::min(row_, rowCount_ - 1);
    topRow_ = std::max(0, std::min(topRow_, rowCount_ - VisibleRowCount()));
    UpdateScrollBar();
    Invalidate();
}

void TDrawGrid::SetDefaultColWidth(int value) {
    colWidth_ = std::max(value, 1);
    Invalidate();
}

void TDrawGrid::SetDefaultRowHeight(int value) {
    rowHeight_ = std::max(value, 1);
    UpdateScrollBar();
    Invalidate();
}

void TDrawGrid::SetRowSelect(bool value) {
    rowSelect_ = value;
    Invalidate();
}

int TDrawGrid::VisibleRowCount() const { return std::max(1, ClientHeight() / rowHeight_); }

void TDrawGrid::SetTopRow(int row) {
    row = std::max(0, std::min(row, rowCount_ - VisibleRowCount()));
    if (row == topRow_) return;
    topRow_ = row;
    UpdateScrollBar();
    Invalidate();
}

TRect TDrawGrid::CellRect(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < topRow_ || row >= rowCount_) return Rect(0, 0, 0, 0);
    const int top = (row - topRow_) * rowHeight_;
    if (top >= ClientHeight()) return Rect(0, 0, 0, 0);
    return Rect(col * colWidth_, top, (col + 1) * colWidth_, top + rowHeight_);
}

bool TDrawGrid::MouseToCell(int x, int y, int& col, int& row) const {
    if (x < 0 || y < 0) return false;
    col = x / colWidth_;
    row = topRow_ + y / rowHeight_;
    return col < colCount_ && row < rowCount_;
}

bool TDrawGrid::SelectCell(int col, int row) {
    col = std::max(0, std::min(col, colCount_ - 1));
    row = std::max(0, std::min(row, rowCount_ - 1));
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(this, col, row, canSelect);
    if (!canSelect) return false;
    if (col == col_ && row == row_) return true;
    InvalidateBounds(CellRect(rowSelect_ ? 0 : col_, row_));
    col_ = col;
    row_ = row;
    if (row_ < topRow_)
        SetTopRow(row_);
    else if (row_ >= topRow_ + VisibleRowCount())
        SetTopRow(row_ - VisibleRowCount() + 1);
    Invalidate();
    return true;
}

void TDrawGrid::UpdateScrollBar() {
    if (!HandleAllocated()) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = rowCount_ - 1;
    info.nPage = static_cast<UINT>(VisibleRowCount());
    info.nPos = topRow_;
    SetScrollInfo(HandleIfAllocated(), SB_VERT, &info, TRUE);
}

void TDrawGrid::Scroll(int code) {
    switch (code) {
    case SB_LINEUP: SetTopRow(topRow_ - 1); break;
    case SB_LINEDOWN: SetTopRow(topRow_ + 1); break;
    case SB_PAGEUP: SetTopRow(topRow_ - VisibleRowCount()); break;
    case SB_PAGEDOWN: SetTopRow(topRow_ + VisibleRowCount()); break;
    case SB_TOP: SetTopRow(0); break;
    case SB_BOTTOM: SetTopRow(rowCount_); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(HandleIfAllocated(), SB_VERT, &info);
        SetTopRow(info.nTrackPos);
        break;
    }
    default: break;
    }
}

void TDrawGrid::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_VSCROLL:
        Scroll(message.WParamLo());
        message.Result = 0;
        return;
    case WM_MOUSEWHEEL:
        SetTopRow(topRow_ - static_cast<short>(HIWORD(message.WParam)) / WHEEL_DELTA);
        message.Result = 0;
        return;
    case WM_GETDLGCODE: message.Result = DLGC_WANTARROWS; return;
    case WM_SIZE:
        TCustomControl::WndProc(message);
        SetTopRow(topRow_);
        UpdateScrollBar();
        if (OnResize) OnResize(this);
        return;
    default: TCustomControl::WndProc(message);
    }
}

void TDrawGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        int col = 0;
        int row = 0;
        if (MouseToCell(x, y, col, row)) SelectCell(col, row);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TDrawGrid::KeyDown(Word& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    switch (key) {
    case VK_UP: SelectCell(col_, row_ - 1); break;
    case VK_DOWN: SelectCell(col_, row_ + 1); break;
    case VK_LEFT: SelectCell(col_ - 1, row_); break;
    case VK_RIGHT: SelectCell(col_ + 1, row_); break;
    case VK_PRIOR: SelectCell(col_, row_ - VisibleRowCount()); break;
    case VK_NEXT: SelectCell(col_, row_ + VisibleRowCount()); break;
    case VK_HOME: SelectCell(col_, 0); break;
    case VK_END: SelectCell(col_, rowCount_ - 1); break;
    default: return;
    }
    key = 0;
}

void TDrawGrid::Paint() {
    TCanvas& canvas = Canvas();
    const TRect client = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    for (int row = topRow_; row < rowCount_; ++row) {
        for (int col = 0; col < colCount_; ++col) {
            const TRect cell = CellRect(col, row);
            if (cell.Width() <= 0) break;
            TGridDrawState state;
            if (row == row_ && (rowSelect_ || col == col_)) state = state + gdSelected;
            if (state.Contains(gdSelected) && Focused()) state = state + gdFocused;
            canvas.Brush().SetColor(state.Contains(gdSelected) ? clHighlight : Color());
            canvas.FillRect(Rect(cell.Left, cell.Top, cell.Right - 1, cell.Bottom - 1));
            // Grid lines on the right and bottom of each cell.
            canvas.Pen().SetColor(clBtnFace);
            canvas.Polyline({Point(cell.Right - 1, cell.Top), Point(cell.Right - 1, cell.Bottom - 1),
                             Point(cell.Left - 1, cell.Bottom - 1)});
            if (OnDrawCell) {
                // The canvas lets go of its objects on both sides of the saved state, so that
                // whatever the handler selects is never restored into the DC after it is freed.
                canvas.Refresh();
                SavedDCState saved(canvas.Handle());
                IntersectClipRect(canvas.Handle(), cell.Left, cell.Top, cell.Right, cell.Bottom);
                OnDrawCell(this, col, row, Rect(cell.Left, cell.Top, cell.Right - 1, cell.Bottom - 1), state);
                canvas.Refresh();
            }
        }
        if ((row - topRow_ + 1) * rowHeight_ >= client.Height()) break;
    }
}

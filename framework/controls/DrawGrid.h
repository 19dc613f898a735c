// A grid whose cells the owner paints (OnDrawCell). Cells have one width and one height; the
// grid scrolls vertically by whole rows. Clicking or the arrow keys select a cell (with
// RowSelect the whole row); OnSelectCell may refuse the move.
#pragma once

#include "framework/classes/Set.h"
#include "framework/controls/Control.h"

FV_ENUM(TGridDrawStateItem, gdSelected, gdFocused)
using TGridDrawState = TSet<TGridDrawStateItem>;

using TDrawCellEvent =
    TMethod<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = TMethod<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

class TDrawGrid : public TCustomControl {
    FV_CLASS(TDrawGrid, TCustomControl)
public:
    explicit TDrawGrid(TComponent* owner);
    static void Publish(TPublisher<TDrawGrid>& p);

    int ColCount() const { return colCount_; }
    void SetColCount(int value);
    int RowCount() const { return rowCount_; }
    // Fewer rows keep the selection and the top row inside the grid.
    void SetRowCount(int value);
    int DefaultColWidth() const { return colWidth_; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return rowHeight_; }
    void SetDefaultRowHeight(int value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value);

    int Row() const { return row_; }
    int Col() const { return col_; }
    // Selects the cell (asking OnSelectCell) and scrolls it into view; false when refused.
    bool SelectCell(int col, int row);
    void SetRow(int row) { SelectCell(col_, row); }
    int TopRow() const { return topRow_; }
    void SetTopRow(int row);
    // Rows that fit wholly in the client area (at least 1).
    int VisibleRowCount() const;
    // The cell's rectangle in client coordinates (empty when scrolled out of view).
    TRect CellRect(int col, int row) const;
    // The cell at a client point; false outside the cells.
    bool MouseToCell(int x, int y, int& col, int& row) const;

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnResize;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(Word& key, TShiftState shift) override;

private:
    void UpdateScrollBar();
    void Scroll(int code);

    int colCount_ = 5;
    int rowCount_ = 5;
    int colWidth_ = 64;
    int rowHeight_ = 24;
    bool rowSelect_ = false;
    int row_ = 0;
    int col_ = 0;
    int topRow_ = 0;
};

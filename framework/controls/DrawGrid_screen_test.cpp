// The draw grid on a shown window: the owner paints each visible cell, selection by click and
// keys (refusable), whole-row selection, scrolling by rows with the bar, a shrinking row count.
#include "framework/controls/DrawGrid.h"

#include <gtest/gtest.h>

#include "testing/ControlTestSupport.h"

namespace {

struct GridEvents : TObject {
    std::vector<std::pair<int, int>> Drawn;  // (col, row)
    std::vector<int> SelectedRows;
    int Refuse = -1;
    TDrawGrid* Grid = nullptr;
    void Draw(TObject*, int col, int row, const TRect& r, TGridDrawState state) {
        Drawn.emplace_back(col, row);
        // Odd rows get a green square in their middle; selection is left visible around it.
        if (row % 2 == 1) {
            Grid->Canvas().Brush().SetColor(clLime);
            Grid->Canvas().FillRect(Rect(r.Left + 10, r.Top + 10, r.Left + 20, r.Top + 20));
        }
        (void)state;
    }
    void Select(TObject*, int, int row, bool& canSelect) {
        SelectedRows.push_back(row);
        canSelect = row != Refuse;
    }
};

}  // namespace

TEST(DrawGridScreen, PaintsSelectsAndScrollsByRows) {
    TestHost host(300, 300);
    auto* grid = host.Add<TDrawGrid>(0, 0, 200, 200);
    GridEvents events;
    events.Grid = grid;
    grid->SetColCount(1);
    grid->SetRowCount(10);
    grid->SetDefaultColWidth(150);
    grid->SetDefaultRowHeight(60);
    grid->SetRowSelect(true);
    grid->OnDrawCell = TDrawCellEvent(&events, &GridEvents::Draw);
    grid->OnSelectCell = TSelectCellEvent(&events, &GridEvents::Select);
    ASSERT_TRUE(PumpUntil([&] { return grid->HandleAllocated() && IsWindowVisible(grid->Handle()); }));
    grid->Repaint();
    PumpMessages();

    // Only the rows on screen are drawn (three of 60 in under 200, the third cut off).
    ASSERT_FALSE(events.Drawn.empty());
    for (auto [col, row] : events.Drawn) {
        EXPECT_EQ(col, 0);
        EXPECT_LE(row, 3);
    }
    EXPECT_TRUE(GetWindowLongW(grid->Handle(), GWL_STYLE) & WS_VSCROLL);
    auto image = PaintedImage(*grid);
    // The client area, as painted: row 1's square, row 0 in the selection colour.
    EXPECT_EQ(CountPixels(*image, Rect(12, 72, 18, 78), clLime), 36);
    EXPECT_GT(CountPixels(*image, Rect(30, 5, 140, 50), ColorToRGB(clHighlight)), 4000) << "row 0 is selected at first";

    // A click on the second visible row selects it; a refused row is not selected.
    const HWND h = grid->Handle();
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 90));
    PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(40, 90));
    ASSERT_TRUE(PumpUntil([&] { return grid->Row() == 1; }));
    events.Refuse = 2;
    grid->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return grid->Focused(); }));
    PostKey(VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return events.SelectedRows.back() == 2; }));
    EXPECT_EQ(grid->Row(), 1);
    events.Refuse = -1;
    PostKey(VK_END);
    ASSERT_TRUE(PumpUntil([&] { return grid->Row() == 9; }));
    EXPECT_EQ(grid->TopRow(), 10 - grid->VisibleRowCount()) << "the selected row is scrolled into view";

    // The bar scrolls by rows and stops at the top.
    SendMessageW(h, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(grid->TopRow(), 0);
    SendMessageW(h, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid->TopRow(), 1);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 1);
    EXPECT_EQ(grid->CellRect(0, 0).Width(), 0) << "a row scrolled out has no rectangle";
    EXPECT_EQ(grid->CellRect(0, 1).Top, 0);

    // Fewer rows bring the selection and the top row back inside.
    grid->SetRowCount(2);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->TopRow(), 0);
    grid->SetRowCount(0);
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->Row(), 0);
}

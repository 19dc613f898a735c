// The scroll box on a shown window: bars appear only for overflowing content, positions are
// clamped to the content and move the children, the bars' messages scroll.
#include "framework/controls/ScrollBox.h"

#include <gtest/gtest.h>

#include "framework/controls/ExtCtrls.h"
#include "testing/ControlTestSupport.h"

TEST(ScrollBoxScreen, BarsPositionsAndChildren) {
    TestHost host(500, 400);
    auto* box = new TScrollBox(&host.Root());
    box->SetParent(&host.Root());
    box->SetBounds(0, 0, 300, 200);
    auto* child = new TPanel(box);
    child->SetParent(box);
    child->SetBounds(10, 20, 100, 80);
    ASSERT_TRUE(PumpUntil([&] { return box->HandleAllocated() && IsWindowVisible(box->Handle()); }));
    box->UpdateScrollBars();
    const auto style = [&] { return GetWindowLongW(box->Handle(), GWL_STYLE); };
    EXPECT_FALSE(style() & WS_HSCROLL);
    EXPECT_FALSE(style() & WS_VSCROLL);
    box->SetVertPosition(50);  // nothing to scroll
    EXPECT_EQ(box->VertPosition(), 0);

    child->SetBounds(10, 20, 600, 900);
    box->UpdateScrollBars();
    EXPECT_TRUE(style() & WS_HSCROLL);
    EXPECT_TRUE(style() & WS_VSCROLL);
    EXPECT_EQ(box->ContentWidth(), 610);
    EXPECT_EQ(box->ContentHeight(), 920);
    box->SetHorzPosition(100);
    box->SetVertPosition(300);
    EXPECT_EQ(child->Left(), -90);
    EXPECT_EQ(child->Top(), -280);
    EXPECT_EQ(box->ContentWidth(), 610);  // the content does not change with the position
    box->SetVertPosition(5000);
    EXPECT_EQ(box->VertPosition(), 920 - box->ClientHeight());
    SendMessageW(box->Handle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(child->Top(), 20);
    SendMessageW(box->Handle(), WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(box->HorzPosition(), 116);
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_HORZ), 116);

    // Content shrinking below the box takes the bars away and scrolls back.
    child->SetBounds(child->Left(), child->Top(), 50, 50);
    box->UpdateScrollBars();
    EXPECT_EQ(box->HorzPosition(), 0);
    EXPECT_FALSE(style() & WS_VSCROLL);
}

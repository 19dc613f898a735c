// The splitter on a shown window: dragging it resizes the control it stands beside, within the
// minimum size on both sides, and the client-aligned rest follows.
#include "framework/controls/Splitter.h"

#include <gtest/gtest.h>

#include "testing/ControlTestSupport.h"

TEST(SplitterScreen, DragResizesTheNeighbourWithinLimits) {
    TestHost host(400, 200);
    auto* left = host.Add<TTestPanel>(0, 0, 120, 200);
    left->SetAlign(alLeft);
    auto* splitter = new TSplitter(&host.Root());
    splitter->SetParent(&host.Root());
    splitter->SetAlign(alLeft);
    auto* rest = host.Add<TTestPanel>(0, 0, 10, 10);
    rest->SetAlign(alClient);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(host.Root().Handle()); }));
    EXPECT_EQ(splitter->Left(), 120);
    EXPECT_EQ(splitter->FindControl(), left);
    EXPECT_EQ(rest->Left(), 123);

    const HWND window = host.Root().Handle();
    const auto drag = [&](int from, int to) {
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, 50));
        PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, 50));
        PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(to, 50));
        PumpMessages();
    };
    drag(121, 201);
    EXPECT_EQ(left->Width(), 200);
    EXPECT_EQ(splitter->Left(), 200);
    EXPECT_EQ(rest->Left(), 203);
    EXPECT_EQ(rest->Width(), 197);
    drag(201, 0);
    EXPECT_EQ(left->Width(), 30) << "never below the minimum";
    drag(31, 399);
    EXPECT_EQ(left->Width(), 370) << "leaves the minimum to the rest";
    // A splitter with nothing beside it does nothing.
    left->Hide();
    EXPECT_EQ(splitter->FindControl(), nullptr);
}

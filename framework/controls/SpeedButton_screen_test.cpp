// The speed button on a shown window: it clicks without taking the focus, a disabled one does
// not click, and a flat one shows its edge only under the mouse.
#include "framework/controls/SpeedButton.h"

#include <gtest/gtest.h>

#include "testing/ControlTestSupport.h"

namespace {
struct Clicks : TObject {
    int Count = 0;
    void Clicked(TObject*) { ++Count; }
};
}  // namespace

TEST(SpeedButtonScreen, ClicksWithoutFocusAndFlatEdgeFollowsTheMouse) {
    TestHost host(300, 120);
    auto* edit = host.Add<TTestEdit>(10, 60, 100, 21);
    auto* button = new TSpeedButton(&host.Root());
    button->SetParent(&host.Root());
    button->SetBounds(10, 10, 80, 30);
    button->SetCaption(L"&Close");
    button->SetFlat(true);
    Clicks clicks;
    button->OnClick = TNotifyEvent(&clicks, &Clicks::Clicked);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(host.Root().Handle()); }));
    edit->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return edit->Focused(); }));

    const HWND window = host.Root().Handle();
    const LPARAM at = MAKELPARAM(50, 25);
    const auto edgePixels = [&] {
        auto image = PaintedImage(host.Root());
        return CountPixels(*image, Rect(10, 10, 90, 11), ColorToRGB(clBtnHighlight), 0) +
               CountPixels(*image, Rect(10, 39, 90, 40), ColorToRGB(clBtnShadow), 0);
    };
    EXPECT_EQ(edgePixels(), 0) << "a flat button away from the mouse has no edge";
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    ASSERT_TRUE(PumpUntil([&] { return button->Hot(); }));
    EXPECT_GT(edgePixels(), 100);

    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(PumpUntil([&] { return clicks.Count == 1; }));
    EXPECT_TRUE(edit->Focused());

    button->SetEnabled(false);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    PumpMessages();
    EXPECT_EQ(clicks.Count, 1);
    EXPECT_FALSE(button->Hot());
}

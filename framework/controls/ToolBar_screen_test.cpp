// The tool bar on a shown window: buttons in a row with separators, grouped check buttons acting
// as a radio group, a check button toggling, disabled buttons refusing clicks, images painted.
#include "framework/controls/ToolBar.h"

#include <gtest/gtest.h>

#include "framework/controls/SpeedButton.h"
#include "framework/graphics/Bitmap.h"
#include "testing/ControlTestSupport.h"

namespace {

struct Clicks : TObject {
    std::vector<TObject*> Senders;
    void Clicked(TObject* sender) { Senders.push_back(sender); }
};

// Clicks the windowless control as the user would, through its parent's window.
void ClickOn(TControl& control) {
    const HWND window = control.Parent()->Handle();
    const LPARAM at = MAKELPARAM(control.Left() + control.Width() / 2, control.Top() + control.Height() / 2);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    PumpMessages();
}

// Three 16 x 16 images: red, green and blue squares on a magenta mask colour.
std::unique_ptr<TBitmap> Strip() {
    auto strip = std::make_unique<TBitmap>(48, 16);
    const TColor colors[] = {clRed, clLime, clBlue};
    for (int i = 0; i < 3; ++i) {
        strip->Canvas().Brush().SetColor(clFuchsia);
        strip->Canvas().FillRect(Rect(i * 16, 0, i * 16 + 16, 16));
        strip->Canvas().Brush().SetColor(colors[i]);
        strip->Canvas().FillRect(Rect(i * 16 + 3, 3, i * 16 + 13, 13));
    }
    return strip;
}

}  // namespace

TEST(ToolBarScreen, ButtonsLineUpAndGroupsActAsRadioButtons) {
    TestHost host(400, 200);
    auto* images = new TImageList(&host.Root());
    images->AddMasked(*Strip(), clFuchsia);
    auto* bar = new TToolBar(&host.Root());
    bar->SetParent(&host.Root());
    bar->SetImages(images);
    bar->SetButtonWidth(34);
    bar->SetButtonHeight(30);
    Clicks clicks;
    const auto add = [&](TToolButtonStyle style, bool grouping, int image) {
        auto* b = new TToolButton(&host.Root());
        b->SetParent(bar);
        b->SetStyle(style);
        b->SetGrouping(grouping);
        b->SetImageIndex(image);
        b->OnClick = TNotifyEvent(&clicks, &Clicks::Clicked);
        return b;
    };
    TToolButton* fit = add(tbsCheck, true, 0);
    TToolButton* width = add(tbsCheck, true, 1);
    TToolButton* full = add(tbsCheck, true, 2);
    TToolButton* gap = add(tbsSeparator, false, -1);
    TToolButton* next = add(tbsButton, false, 0);
    TToolButton* toggle = add(tbsCheck, false, 1);
    auto* exit = new TSpeedButton(&host.Root());
    exit->SetParent(bar);
    exit->SetWidth(60);
    ASSERT_TRUE(PumpUntil([&] { return bar->HandleAllocated() && IsWindowVisible(bar->Handle()); }));

    // One row: 34-pixel buttons, an 8-pixel separator, the speed button with its own width.
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(bar->Width(), 400);
    const std::vector<TControl*> row{fit, width, full, gap, next, toggle, exit};
    const int lefts[] = {2, 36, 70, 104, 112, 146, 180};
    const int widths[] = {34, 34, 34, 8, 34, 34, 60};
    for (std::size_t i = 0; i < row.size(); ++i) {
        EXPECT_EQ(row[i]->Left(), lefts[i]) << "control " << i;
        EXPECT_EQ(row[i]->Width(), widths[i]) << "control " << i;
        EXPECT_EQ(row[i]->Height(), 30) << "control " << i;
    }
    // Hiding a button closes the gap it leaves.
    next->Hide();
    EXPECT_EQ(toggle->Left(), 112);
    next->Show();
    EXPECT_EQ(toggle->Left(), 146);

    // The grouped check buttons: one down at a time, a second click keeps it down.
    ClickOn(*width);
    EXPECT_TRUE(width->Down());
    ClickOn(*fit);
    EXPECT_TRUE(fit->Down());
    EXPECT_FALSE(width->Down());
    ClickOn(*fit);
    EXPECT_TRUE(fit->Down());
    full->SetDown(true);
    EXPECT_FALSE(fit->Down());
    // A check button outside the group toggles and leaves the group alone.
    ClickOn(*toggle);
    EXPECT_TRUE(toggle->Down());
    EXPECT_TRUE(full->Down());
    ClickOn(*toggle);
    EXPECT_FALSE(toggle->Down());
    // A plain button never stays down; a separator and a disabled button do not click.
    ClickOn(*next);
    EXPECT_FALSE(next->Down());
    ClickOn(*gap);
    width->SetEnabled(false);
    ClickOn(*width);
    EXPECT_FALSE(width->Down());
    EXPECT_EQ(clicks.Senders, (std::vector<TObject*>{width, fit, fit, toggle, toggle, next}));

    // The images are painted centred in their buttons; a disabled one is not in colour.
    auto image = PaintedImage(*bar);
    const auto inside = [](TControl* b) {
        return Rect(b->Left() + b->Width() / 2 - 3, b->Top() + b->Height() / 2 - 3, b->Left() + b->Width() / 2 + 3,
                    b->Top() + b->Height() / 2 + 3);
    };
    EXPECT_EQ(CountPixels(*image, inside(fit), clRed), 36);
    EXPECT_EQ(CountPixels(*image, inside(full), clBlue), 36);
    EXPECT_EQ(CountPixels(*image, inside(width), clLime), 0);
}

TEST(ToolBarScreen, ANarrowBarWrapsItsButtonsIntoRowsAndGrowsToThem) {
    TestHost host(160, 200);
    auto* bar = new TToolBar(&host.Root());
    bar->SetParent(&host.Root());
    bar->SetButtonWidth(34);
    bar->SetButtonHeight(30);
    std::vector<TControl*> controls;
    for (int i = 0; i < 6; ++i) {
        auto* b = new TToolButton(&host.Root());
        b->SetParent(bar);
        controls.push_back(b);
    }
    auto* exit = new TSpeedButton(&host.Root());
    exit->SetWidth(100);
    exit->SetParent(bar);
    controls.push_back(exit);
    ASSERT_TRUE(PumpUntil([&] { return bar->HandleAllocated() && IsWindowVisible(bar->Handle()); }));

    // Four buttons fill 2 + 136 of the 160 pixels; the fifth and sixth start the second row and
    // the 100-pixel speed button, too wide for what is left of it, the third.
    const int lefts[] = {2, 36, 70, 104, 2, 36, 2};
    const int tops[] = {2, 2, 2, 2, 32, 32, 62};
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i]->Left(), lefts[i]) << "control " << i;
        EXPECT_EQ(controls[i]->Top(), tops[i]) << "control " << i;
        EXPECT_LE(controls[i]->Left() + controls[i]->Width(), bar->ClientWidth()) << "control " << i;
    }
    EXPECT_EQ(bar->Height(), 3 * 30 + 7);
    // Wide enough again: one row, and the bar shrinks back.
    host.Root().SetWidth(400);
    EXPECT_TRUE(PumpUntil([&] { return exit->Top() == 2; })) << "speed button at " << exit->Top();
    EXPECT_EQ(exit->Left(), 2 + 6 * 34);
    EXPECT_EQ(bar->Height(), 30 + 7);
}

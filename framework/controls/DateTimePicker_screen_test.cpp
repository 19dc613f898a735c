#include "framework/controls/DateTimePicker.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "framework/rtl/DateTime.h"
#include "testing/ControlTestSupport.h"

namespace {

struct ChangeCounter : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
};

TEST(DateTimePicker, UpDownPickerHoldsTheDateAndReportsTheUsersChange) {
    TestHost host;
    auto* picker = host.Add<TDateTimePicker>(8, 8, 126, 21);
    picker->SetDateMode(dmUpDown);
    picker->SetDate(31048);  // 1985-01-01, as a description stores it
    ChangeCounter changes;
    picker->OnChange = TNotifyEvent(&changes, &ChangeCounter::Changed);

    SYSTEMTIME st{};
    ASSERT_EQ(SendMessageW(picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_VALID);
    EXPECT_EQ(st.wYear, 1985);
    EXPECT_EQ(st.wMonth, 1);
    EXPECT_EQ(st.wDay, 1);
    EXPECT_EQ(picker->Date(), EncodeDate(1985, 1, 1));
    EXPECT_NE(FindWindowExW(picker->Handle(), nullptr, UPDOWN_CLASSW, nullptr), nullptr) << "a spin button";
    EXPECT_TRUE(GetWindowLongPtrW(picker->Handle(), GWL_STYLE) & DTS_UPDOWN);

    picker->SetDate(EncodeDate(2009, 5, 24));
    EXPECT_EQ(picker->Date(), EncodeDate(2009, 5, 24));
    EXPECT_EQ(changes.Count, 0) << "only the user's changes are reported";

    // The user picks a field and steps it up with the arrow keys.
    picker->SetFocus();
    PumpMessages();
    for (WPARAM key : {VK_RIGHT, VK_UP}) {
        PostMessageW(picker->Handle(), WM_KEYDOWN, key, 1);
        PostMessageW(picker->Handle(), WM_KEYUP, key, 0xC0000001);
        PumpMessages();
    }
    EXPECT_GE(changes.Count, 1);
    EXPECT_NE(picker->Date(), EncodeDate(2009, 5, 24));
}

TEST(DateTimePicker, ColorShowsOnTheField) {
    TestHost host;
    auto* plain = host.Add<TDateTimePicker>(8, 8, 126, 21);
    auto* yellow = host.Add<TDateTimePicker>(8, 40, 126, 21);
    plain->SetDateMode(dmUpDown);
    yellow->SetDateMode(dmUpDown);
    plain->SetDate(31048);
    yellow->SetDate(31048);
    yellow->SetColor(clYellow);
    PumpMessages();

    const auto fieldOf = [](TDateTimePicker* picker, int dy) {
        // The field without the spin button at the right.
        const TRect client = picker->ClientRect();
        return Rect(0, dy, client.Width() - 20, dy + client.Height());
    };
    const TRect field = fieldOf(yellow, 0);
    const int area = field.Width() * field.Height();
    auto image = PaintedImage(*yellow);
    EXPECT_GT(CountPixels(*image, field, clYellow), area / 2) << "painted into a memory DC";
    EXPECT_GT(CountPixels(*image, field, clBlack, 60), 10) << "the date is still drawn";
    EXPECT_EQ(CountPixels(*PaintedImage(*plain), fieldOf(plain, 0), clYellow), 0);

    // What the screen shows.
    InvalidateRect(host.Window(), nullptr, TRUE);
    RedrawWindow(host.Root().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    auto screen = ScreenImage(yellow->Handle());
    EXPECT_GT(CountPixels(*screen, field, clYellow), area / 2);
    EXPECT_GT(CountPixels(*screen, field, clBlack, 60), 10);

    yellow->SetColor(clWindow);
    RedrawWindow(yellow->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(CountPixels(*ScreenImage(yellow->Handle()), field, clYellow), 0);
}

}  // namespace

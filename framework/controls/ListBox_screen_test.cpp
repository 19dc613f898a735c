// The list box on a shown window: items and their objects reach the window, a click selects and
// clicks, a changed list keeps a selection that still exists.
#include "framework/controls/ListBox.h"

#include <gtest/gtest.h>

#include "testing/ControlTestSupport.h"

namespace {
struct Clicks : TObject {
    std::vector<int> Indexes;
    TListBox* Box = nullptr;
    void Clicked(TObject*) { Indexes.push_back(Box->ItemIndex()); }
};
}  // namespace

TEST(ListBoxScreen, ItemsSelectionAndClicks) {
    TestHost host(300, 200);
    auto* box = host.Add<TListBox>(10, 10, 150, 120);
    Clicks clicks;
    clicks.Box = box;
    box->OnClick = TNotifyEvent(&clicks, &Clicks::Clicked);
    TObject marker;
    box->Items()->Add(L"Page 1");
    box->Items()->AddObject(L"Page 3", &marker);
    box->SetItemIndex(1);  // before the window exists
    ASSERT_TRUE(PumpUntil([&] { return box->HandleAllocated() && IsWindowVisible(box->Handle()); }));
    const HWND h = box->Handle();
    EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(box->Items()->Objects(1), &marker);

    // A click on the first item, as the user makes it.
    RECT item{};
    SendMessageW(h, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(h, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(PumpUntil([&] { return !clicks.Indexes.empty(); }));
    EXPECT_EQ(clicks.Indexes, (std::vector<int>{0}));
    EXPECT_EQ(box->ItemIndex(), 0);

    // Setting the index in code does not click; an index out of range selects nothing.
    box->SetItemIndex(1);
    box->SetItemIndex(7);
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(clicks.Indexes.size(), 1u);

    box->SetItemIndex(1);
    box->Items()->Delete(1);  // the selection is gone with its item
    EXPECT_EQ(box->ItemIndex(), -1);
    box->Clear();
    box->Items()->Add(L"No matching text");
    EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 1);
    wchar_t text[64] = {};
    SendMessageW(h, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"No matching text");
}

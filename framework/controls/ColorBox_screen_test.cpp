#include "framework/controls/ColorBox.h"

#include <gtest/gtest.h>

#include "framework/classes/PropertyAccess.h"
#include "framework/rtl/StringUtils.h"
#include "testing/ControlTestSupport.h"

namespace {

String WindowItem(HWND combo, int index) {
    wchar_t text[128]{};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

}  // namespace

TEST(ColorBox, ListsTheGroupsOfItsStyleByName) {
    struct Row {
        TColorBoxStyles Style;
        size_t Count;
        String First, Last;
    };
    const Row rows[] = {
        {TColorBoxStyles{cbStandardColors}, 16, L"Black", L"White"},
        {TColorBoxStyles{cbExtendedColors}, 4, L"MoneyGreen", L"MedGray"},
        {TColorBoxStyles{cbStandardColors, cbExtendedColors}, 20, L"Black", L"MedGray"},
        {TColorBoxStyles{cbStandardColors, cbExtendedColors, cbSystemColors}, 50, L"Black", L"WindowText"},
    };
    for (const Row& row : rows) {
        const auto colors = ColorBoxColors(row.Style);
        ASSERT_EQ(colors.size(), row.Count);
        EXPECT_EQ(colors.front().Name, row.First);
        EXPECT_EQ(colors.back().Name, row.Last);
    }
    // Every name is its colour's identifier without "cl".
    for (const TNamedColor& c : ColorBoxColors(TColorBoxStyles{cbStandardColors, cbExtendedColors, cbSystemColors})) {
        TColor back = 0;
        ASSERT_TRUE(IdentToColor(L"cl" + c.Name, back)) << StringToUtf8(c.Name);
        EXPECT_EQ(back, c.Color) << StringToUtf8(c.Name);
    }
}

TEST(ColorBox, SelectionStartsBlackFollowsTheUserAndKeepsAnUnlistedColour) {
    TestHost host;
    auto* box = host.Add<TColorBox>(8, 8, 160, 22);
    EXPECT_EQ(box->Selected(), clBlack);
    const HWND h = box->Handle();
    EXPECT_EQ(SendMessageW(h, CB_GETCOUNT, 0, 0), 50);
    EXPECT_EQ(WindowItem(h, 9), L"Red");
    EXPECT_EQ(WindowItem(h, 16), L"MoneyGreen");
    EXPECT_EQ(WindowItem(h, 20), L"ActiveBorder");

    // The user picks "Navy": the list tells its parent, as a mouse choice does.
    SendMessageW(h, CB_SETCURSEL, 4, 0);
    SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
    EXPECT_EQ(box->Selected(), clNavy);

    box->SetSelected(clBtnFace);
    EXPECT_EQ(WindowItem(h, static_cast<int>(SendMessageW(h, CB_GETCURSEL, 0, 0))), L"BtnFace");

    box->SetSelected(RGBColor(1, 2, 3));
    EXPECT_EQ(box->Selected(), RGBColor(1, 2, 3));
    EXPECT_EQ(SendMessageW(h, CB_GETCOUNT, 0, 0), 51);

    // A narrower style keeps the chosen colour.
    box->SetSelected(clRed);
    box->SetColorStyle(TColorBoxStyles{cbStandardColors});
    EXPECT_EQ(SendMessageW(h, CB_GETCOUNT, 0, 0), 16);
    EXPECT_EQ(box->Selected(), clRed);
}

TEST(ColorBox, ReadsStyleAndSelectionByName) {
    TestHost host;
    auto* box = host.Add<TColorBox>(8, 8, 160, 22);
    SetPropValue(box, L"Style", L"[cbStandardColors]");
    SetPropValue(box, L"Selected", L"clTeal");
    EXPECT_EQ(box->ColorCount(), 16);
    EXPECT_EQ(box->Selected(), clTeal);
    EXPECT_EQ(GetPropValue(box, L"Selected"), L"clTeal");
}

TEST(ColorBox, PaintsTheSwatchOfTheSelectedColour) {
    TestHost host;
    auto* box = host.Add<TColorBox>(8, 8, 160, 22);
    box->SetSelected(clRed);
    ASSERT_TRUE(PumpUntil([&] {
        auto image = ScreenImage(box->Handle());
        return CountPixels(*image, Rect(0, 0, 30, box->ClientHeight()), clRed) > 40;
    })) << "no red swatch in the closed box";
}

#include "framework/graphics/Colors.h"

#include <gtest/gtest.h>

#include "framework/classes/Properties.h"
#include "framework/rtl/WinApi.h"

TEST(Colors, SystemColoursResolveToTheCurrentSetting) {
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clInfoBk), GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(ColorToRGB(clWindow), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(clNone), 0u);
    EXPECT_EQ(ColorToRGB(0x12345678), 0x345678u);  // no stray high byte reaches GDI
}

TEST(Colors, IdentifiersConvertBothWays) {
    struct Case {
        const wchar_t* ident;
        TColor color;
    };
    const Case cases[] = {{L"clBlack", clBlack},     {L"clWhite", clWhite},     {L"clBtnFace", clBtnFace},
                          {L"clWindow", clWindow},   {L"clInfoBk", clInfoBk},   {L"clWindowText", clWindowText},
                          {L"clNone", clNone},       {L"clDefault", clDefault}, {L"clMoneyGreen", clMoneyGreen},
                          {L"clHighlight", clHighlight}};
    for (const auto& c : cases) {
        TColor color = 0;
        ASSERT_TRUE(IdentToColor(c.ident, color)) << c.ident;
        EXPECT_EQ(color, c.color) << c.ident;
        String ident;
        ASSERT_TRUE(ColorToIdent(c.color, ident)) << c.ident;
        EXPECT_EQ(ident, c.ident);
    }
    TColor color = 0;
    EXPECT_TRUE(IdentToColor(L"CLBTNFACE", color));
    EXPECT_FALSE(IdentToColor(L"clNoSuchColour", color));
    String ident;
    EXPECT_TRUE(ColorToIdent(clDkGray, ident));
    EXPECT_EQ(ident, L"clGray");  // equal values answer with the first identifier
}

TEST(Colors, StringFormsAreIdentifiersOrHex) {
    EXPECT_EQ(ColorToString(clBtnFace), L"clBtnFace");
    EXPECT_EQ(ColorToString(0x00123456), L"$00123456");
    EXPECT_EQ(StringToColor(L"$00123456"), 0x00123456);
    EXPECT_EQ(StringToColor(L"clInfoBk"), clInfoBk);
    EXPECT_EQ(StringToColor(L"255"), clRed);
    EXPECT_THROW(StringToColor(L"bluish"), EConvertError);
}

TEST(Colors, StoredDescriptionsKnowTheIdentifiers) {
    Int64 color = 0;
    ASSERT_TRUE(IdentToColor(String(L"clInfoBk"), color));
    EXPECT_EQ(color, static_cast<Int64>(clInfoBk));
    String ident;
    ASSERT_TRUE(ColorToIdent(static_cast<Int64>(clBtnFace), ident));
    EXPECT_EQ(ident, L"clBtnFace");
}

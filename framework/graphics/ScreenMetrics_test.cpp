#include "framework/graphics/ScreenMetrics.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/graphics/GdiHandles.h"
#include "framework/rtl/StringUtils.h"

TEST(ScreenMetrics, DescribesTheDisplayAsTheDisplaySettingsDo) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    ASSERT_TRUE(EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    EXPECT_EQ(ScreenMetrics::Width(), static_cast<int>(mode.dmPelsWidth));
    EXPECT_EQ(ScreenMetrics::Height(), static_cast<int>(mode.dmPelsHeight));
    EXPECT_EQ(ScreenMetrics::ColorDepth(), static_cast<int>(mode.dmBitsPerPel));
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(ScreenMetrics::Width(), desktop.right - desktop.left);
    EXPECT_EQ(ScreenMetrics::Height(), desktop.bottom - desktop.top);
}

TEST(ScreenMetrics, PixelsPerInchIsTheDisplaysLogicalResolution) {
    const UniqueDC display(CreateICW(L"DISPLAY", nullptr, nullptr, nullptr));
    ASSERT_TRUE(display);
    EXPECT_EQ(ScreenMetrics::PixelsPerInch(), GetDeviceCaps(display.get(), LOGPIXELSY));
    const int settings[] = {96, 120, 144, 168, 192};
    EXPECT_NE(std::find(std::begin(settings), std::end(settings), ScreenMetrics::PixelsPerInch()), std::end(settings))
        << ScreenMetrics::PixelsPerInch();
}

TEST(ScreenMetrics, FontListIsSortedWithoutDuplicatesOrVerticalFaces) {
    const auto fonts = ScreenMetrics::Fonts();
    ASSERT_FALSE(fonts.empty());
    for (size_t i = 1; i < fonts.size(); ++i) EXPECT_LT(CompareText(fonts[i - 1], fonts[i]), 0) << i;
    for (const auto& name : fonts) EXPECT_NE(name[0], L'@');
    // Families every Windows and the test prefix have.
    for (const wchar_t* family : {L"Tahoma", L"Marlett"})
        EXPECT_NE(std::find(fonts.begin(), fonts.end(), family), fonts.end()) << StringToUtf8(family);
}

#include "framework/graphics/ScreenMetrics.h"

#include <gtest/gtest.h>

#include "framework/rtl/StringUtils.h"

TEST(ScreenMetrics, DescribesTheDisplay) {
    EXPECT_GE(ScreenMetrics::PixelsPerInch(), 72);
    EXPECT_GT(ScreenMetrics::Width(), 0);
    EXPECT_GT(ScreenMetrics::Height(), 0);
    EXPECT_GE(ScreenMetrics::ColorDepth(), 8);
}

TEST(ScreenMetrics, FontListIsSortedWithoutDuplicatesOrVerticalFaces) {
    const auto fonts = ScreenMetrics::Fonts();
    ASSERT_FALSE(fonts.empty());
    for (size_t i = 1; i < fonts.size(); ++i) EXPECT_LT(CompareText(fonts[i - 1], fonts[i]), 0) << i;
    for (const auto& name : fonts) EXPECT_NE(name[0], L'@');
}

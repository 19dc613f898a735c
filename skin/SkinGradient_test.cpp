#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "skin/SkinGradient.h"

namespace {

TColor FakeSystemColor(int index) { return index == 15 ? 0x0000FF : 0x00FF00; }

std::vector<int> Reds(const std::vector<TColor>& run) {
    std::vector<int> reds;
    for (TColor c : run) reds.push_back(c & 0xFF);
    return reds;
}

TEST(SkinGradient, BlendColors) {
    struct Case {
        TColor c1, c2;
        int weight;
        TColor expected;
    };
    const Case cases[] = {
        {0x000000, 0xFFFFFF, 150, 0xD9D9D9},        // per mille: (255 * 850 + 500) div 1000 = 217
        {0x000000, 0xFFFFFF, 50, 0x808080},         // per cent: (255 * 50 + 50) div 100 = 128
        {0xFFFFFF, 0x000000, 100, 0x1A1A1A},        // 100 is already per mille
        {0x102030, 0x000000, 0, 0x000000},
        {0x0000FF, 0x00FF00, 99, 0x0003FC},
        {SystemColor(15), 0x000000, 50, 0x000080},  // a system colour is looked up first
        {0x000000, SystemColor(4), 50, 0x008000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BlendColors(c.c1, c.c2, c.weight, FakeSystemColor), c.expected)
            << std::hex << c.c1 << " " << c.c2 << std::dec << " weight " << c.weight;
    // Weights from outside the range stay defined: every channel keeps its low 8 bits.
    EXPECT_EQ(BlendColors(0xFFFFFF, 0xFFFFFF, INT_MAX, FakeSystemColor) & ~0xFFFFFF, 0);
    EXPECT_EQ(BlendColors(0xFFFFFF, 0xFFFFFF, INT_MIN, FakeSystemColor) & ~0xFFFFFF, 0);
}

TEST(SkinGradient, Runs) {
    EXPECT_EQ(Reds(GradientRun(5, 0x000000, 0x0000FF)), (std::vector<int>{0, 64, 128, 191, 255}));
    // Falling: truncated toward zero, it ends one above the end colour.
    EXPECT_EQ(Reds(GradientRun(5, 0x0000FF, 0x000000)), (std::vector<int>{255, 192, 128, 65, 1}));
    EXPECT_EQ(GradientRun(1, 0x000000, 0xFF6410), (std::vector<TColor>{0x7F3208}));
    EXPECT_EQ(GradientRun(2, 0x102030, 0x405060), (std::vector<TColor>{0x102030, 0x405060}));
    EXPECT_TRUE(GradientRun(0, 0, 0xFFFFFF).empty());
}

TEST(SkinGradient, CacheFindsARisingRunAndNeverAFallingOne) {
    TGradientCache cache;
    EXPECT_EQ(cache.GetGradientColors(5, 0x000000, 0x0000FF), 0);
    EXPECT_EQ(cache.GetGradientColors(5, 0x000000, 0x0000FF), 0);
    EXPECT_EQ(cache.NextSlot(), 1);
    EXPECT_EQ(cache.GetGradientColors(5, 0x0000FF, 0x000000), 1);
    EXPECT_EQ(cache.GetGradientColors(5, 0x0000FF, 0x000000), 2);
    EXPECT_EQ(Reds(cache.Slot(2)), (std::vector<int>{255, 192, 128, 65, 1}));
    EXPECT_EQ(cache.GetGradientColors(6, 0x000000, 0x0000FF), 3);  // another length is another run
    EXPECT_EQ(cache.GetGradientColors(0, 0x000000, 0x0000FF), -1);
    EXPECT_EQ(cache.NextSlot(), 4);
}

TEST(SkinGradient, TheSeventeenthRunReplacesSlotZero) {
    TGradientCache cache;
    for (int i = 0; i < TGradientCache::kSlots; ++i) EXPECT_EQ(cache.GetGradientColors(i + 2, 0, 0xFFFFFF), i);
    EXPECT_EQ(cache.NextSlot(), 0);
    EXPECT_EQ(cache.GetGradientColors(40, 0, 0xFFFFFF), 0);
    EXPECT_EQ(cache.Slot(0).size(), 40u);
    EXPECT_EQ(cache.NextSlot(), 1);
    EXPECT_EQ(cache.GetGradientColors(9, 0, 0xFFFFFF), 7);  // still there
    EXPECT_EQ(cache.GetGradientColors(2, 0, 0xFFFFFF), 1);  // gone with slot 0: refilled in slot 1
}

TEST(SkinGradient, SaturationLevel) {
    struct Case {
        int r, g, b, expected;
    };
    const Case cases[] = {
        {100, 100, 50, 200}, {255, 0, 0, 255}, {200, 100, 100, 128},  // 127.5: halves to even
        {160, 160, 160, 0},  {159, 0, 0, 200}, {0, 0, 160, 255},       {255, 255, 254, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorSaturationLevel(c.r | (c.g << 8) | (c.b << 16)), c.expected) << c.r << " " << c.g << " " << c.b;
}

TEST(SkinGradient, LinesInsideTheClipBox) {
    struct Case {
        int rectStart, length, clipStart, clipEnd;
        TLineSpan expected;
    };
    const Case cases[] = {
        {10, 20, 0, 100, {0, 19}},
        {10, 20, 15, 100, {5, 19}},
        {10, 20, 0, 25, {0, 14}},
        {10, 20, 12, 18, {2, 7}},
        {10, 0, 0, 100, {0, -1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GradientLineSpan(c.rectStart, c.length, c.clipStart, c.clipEnd), c.expected)
            << c.rectStart << " " << c.length << " " << c.clipStart << " " << c.clipEnd;
}

}  // namespace

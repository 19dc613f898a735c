#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "skin/SkinGeometry.h"

namespace {

TEST(SkinGeometry, FrameRectCountsFromOneAndCountsBelowOneAsOne) {
    struct Case {
        int stripWidth, stripHeight, frame, count;
        bool vertical;
        std::optional<TRect> expected;
    };
    const Case cases[] = {
        {30, 10, 2, 3, false, Rect(10, 0, 20, 10)},
        {32, 10, 3, 3, false, Rect(20, 0, 30, 10)},   // the two pixels left over are never used
        {10, 30, 3, 3, true, Rect(0, 20, 10, 30)},
        {30, 10, 1, 0, false, Rect(0, 0, 30, 10)},    // count 0: one frame, no division by 0
        {30, 10, 1, -4, true, Rect(0, 0, 30, 10)},
        {30, 10, 2, 0, false, std::nullopt},          // frame 2 of the one frame there is
        {30, 10, 0, 3, false, std::nullopt},
        {30, 10, 4, 3, false, std::nullopt},
        {30, 10, -1, 3, false, std::nullopt},
        {2, 10, 1, 3, false, std::nullopt},           // frames without pixels
    };
    for (const auto& c : cases)
        EXPECT_EQ(SkinFrameRect(c.stripWidth, c.stripHeight, c.frame, c.count, c.vertical), c.expected)
            << c.stripWidth << "x" << c.stripHeight << " frame " << c.frame << " of " << c.count;
}

TEST(SkinGeometry, MarginsAreClampedToTheFrame) {
    EXPECT_EQ(ClampSkinMargins(Rect(20, 20, 20, 20), 16, 16), Rect(16, 16, 0, 0));
    EXPECT_EQ(ClampSkinMargins(Rect(-3, 2, 5, 30), 10, 10), Rect(0, 2, 5, 8));
    EXPECT_EQ(ClampSkinMargins(Rect(3, 4, 5, 6), 16, 16), Rect(3, 4, 5, 6));
}

TEST(SkinGeometry, NineSliceCopiesInDrawingOrder) {
    // Frame 2 of a strip of 16 x 16 frames into 30 x 20, margins 3, 4, 5, 6.
    const auto copies = NineSliceCopies(30, 20, Rect(16, 0, 32, 16), Rect(3, 4, 5, 6), true);
    const std::vector<TSkinCopy> expected = {
        {Rect(16, 0, 19, 4), Rect(0, 0, 3, 4)},           // top-left
        {Rect(16, 10, 19, 16), Rect(0, 14, 3, 20)},       // bottom-left
        {Rect(27, 0, 32, 4), Rect(25, 0, 30, 4)},         // top-right
        {Rect(16, 4, 19, 10), Rect(0, 4, 3, 14)},         // left edge
        {Rect(19, 0, 27, 4), Rect(3, 0, 25, 4)},          // top edge
        {Rect(19, 4, 27, 10), Rect(3, 4, 25, 14), true},  // centre, tiled
        {Rect(27, 10, 32, 16), Rect(25, 14, 30, 20)},     // bottom-right
        {Rect(27, 4, 32, 10), Rect(25, 4, 30, 14)},       // right edge
        {Rect(19, 10, 27, 16), Rect(3, 14, 25, 20)},      // bottom edge
    };
    EXPECT_EQ(copies, expected);
}

TEST(SkinGeometry, NineSliceMarginsCollapsePerAxis) {
    // 10 x 10 with margins 6 all round: only the centre, which is the whole frame.
    const std::vector<TSkinCopy> centreOnly = {{Rect(0, 0, 16, 16), Rect(0, 0, 10, 10)}};
    EXPECT_EQ(NineSliceCopies(10, 10, Rect(0, 0, 16, 16), Rect(6, 6, 6, 6), false), centreOnly);

    // Too narrow for left + right, tall enough for top + bottom: the top and bottom bands stay.
    const std::vector<TSkinCopy> bands = {
        {Rect(0, 0, 16, 2), Rect(0, 0, 10, 2)},
        {Rect(0, 2, 16, 14), Rect(0, 2, 10, 18)},
        {Rect(0, 14, 16, 16), Rect(0, 18, 10, 20)},
    };
    EXPECT_EQ(NineSliceCopies(10, 20, Rect(0, 0, 16, 16), Rect(6, 2, 6, 2), false), bands);

    // Margins wider than the frame never ask for a middle of negative width.
    for (const auto& copy : NineSliceCopies(40, 40, Rect(0, 0, 16, 16), Rect(12, 12, 12, 12), false)) {
        EXPECT_GE(copy.Source.Width(), 0);
        EXPECT_GE(copy.Source.Height(), 0);
        EXPECT_GE(copy.Dest.Width(), 0);
        EXPECT_GE(copy.Dest.Height(), 0);
    }
}

TEST(SkinGeometry, BarRepeatsItsMiddleBetweenTheCaps) {
    // Frame 10 wide with caps 3: middle 4, at 3, 7, 11 and 15 while x < 20 - 3.
    const std::vector<TSkinCopy> expected = {
        {Rect(10, 0, 13, 6), Rect(0, 0, 3, 8)},
        {Rect(13, 0, 17, 6), Rect(3, 0, 7, 8)},
        {Rect(13, 0, 17, 6), Rect(7, 0, 11, 8)},
        {Rect(13, 0, 17, 6), Rect(11, 0, 15, 8)},
        {Rect(13, 0, 17, 6), Rect(15, 0, 19, 8)},
        {Rect(17, 0, 20, 6), Rect(17, 0, 20, 8)},
    };
    EXPECT_EQ(SkinBarCopies(20, 8, Rect(10, 0, 20, 6), Rect(3, 0, 3, 0)), expected);
}

TEST(SkinGeometry, BarWithoutMiddleStretchesTheWholeFrame) {
    const std::vector<TSkinCopy> whole = {{Rect(10, 0, 20, 6), Rect(0, 0, 50, 8)}};
    EXPECT_EQ(SkinBarCopies(50, 8, Rect(10, 0, 20, 6), Rect(5, 0, 5, 0)), whole);
    EXPECT_EQ(SkinBarCopies(50, 8, Rect(10, 0, 20, 6), Rect(8, 0, 8, 0)), whole);
}

TEST(SkinGeometry, ThreeSliceStretch) {
    const std::vector<TSkinCopy> parts = {
        {Bounds(10, 0, 3, 6), Bounds(5, 7, 3, 8)},
        {Bounds(13, 0, 3, 6), Bounds(8, 7, 24, 8)},
        {Bounds(16, 0, 4, 6), Bounds(32, 7, 4, 8)},
    };
    EXPECT_EQ(ThreeSliceStretchCopies(Bounds(5, 7, 31, 8), Rect(10, 0, 20, 6), Rect(3, 0, 4, 0)), parts);
    const std::vector<TSkinCopy> whole = {{Rect(10, 0, 20, 6), Bounds(5, 7, 9, 8)}};
    EXPECT_EQ(ThreeSliceStretchCopies(Bounds(5, 7, 9, 8), Rect(10, 0, 20, 6), Rect(3, 0, 4, 0)), whole);
}

TEST(SkinGeometry, TilesRunColumnsOuterAndPastTheEnd) {
    const std::vector<TPoint> expected = {{2, 1}, {2, 4}, {2, 7}, {6, 1}, {6, 4}, {6, 7}, {10, 1}, {10, 4}, {10, 7}};
    EXPECT_EQ(TilePositions(Rect(2, 1, 12, 8), 4, 3), expected);
    EXPECT_TRUE(TilePositions(Rect(0, 0, 10, 10), 0, 3).empty());
    EXPECT_TRUE(TilePositions(Rect(0, 0, 10, 10), 4, -3).empty());
    EXPECT_TRUE(TilePositions(Rect(0, 0, 0, 10), 4, 3).empty());
}

TEST(SkinGeometry, CentredFrameTruncatesTowardZero) {
    EXPECT_EQ(CenteredFramePosition(Rect(0, 0, 10, 10), 16, 16), Point(-3, -3));
    EXPECT_EQ(CenteredFramePosition(Rect(5, 5, 15, 15), 5, 4), Point(7, 8));
    EXPECT_EQ(CenteredFramePosition(Rect(0, 0, 10, 10), 11, 13), Point(0, -1));  // -1/2 is 0, -3/2 is -1
}

std::vector<std::uint8_t> Row(const std::vector<TColor>& colors, int bytesPerPixel) {
    std::vector<std::uint8_t> bytes;
    for (TColor c : colors) {
        bytes.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        if (bytesPerPixel == 4) bytes.push_back(0xFF);
    }
    return bytes;
}

TEST(SkinGeometry, OpaqueRunsOfARow) {
    const TKeyColorRange key = KeyColorRange(kSkinKeyColor, 1, 1, 1);
    struct Case {
        std::vector<TColor> row;
        std::vector<TRect> expected;  // row 1, moved by (10, 20)
    };
    const Case cases[] = {
        {{0xFF00FF, 0x0000FF, 0x0000FF, 0xFF00FF}, {Rect(11, 21, 13, 22)}},
        {{0x0000FF, 0xFF00FF, 0x00FF00, 0x000000}, {Rect(10, 21, 11, 22), Rect(12, 21, 14, 22)}},
        {{0xFF01FF, 0xFF02FF, 0xFE00FF, 0xFF00FF}, {Rect(11, 21, 13, 22)}},  // green 1 is within tolerance
        {{0xFF00FF, 0xFF00FF}, {}},
        {{}, {}},
    };
    for (const auto& c : cases)
        for (int bytesPerPixel : {3, 4}) {
            const auto bytes = Row(c.row, bytesPerPixel);
            std::vector<TRect> runs;
            AppendOpaqueRuns(bytes.data(), static_cast<int>(c.row.size()), bytesPerPixel, 1, key, 10, 20, runs);
            EXPECT_EQ(runs, c.expected) << c.row.size() << " pixels of " << bytesPerPixel << " bytes";
        }
    const TKeyColorRange wide = KeyColorRange(0xF000FA, 10, 300, 0);
    EXPECT_EQ(wide.HighRed, 255);
    EXPECT_EQ(wide.HighGreen, 255);
    EXPECT_EQ(wide.HighBlue, 0xF0);
}

}  // namespace

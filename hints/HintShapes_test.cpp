#include "hints/HintShapes.h"

#include <gtest/gtest.h>

namespace {

// A 100 x 60 window with a shadow of 4 and a link of 15: the body, its shadow and the tip of
// the arrow and of the bubble's wedge for each corner.
struct TCornerCase {
    THintPosition Corner;
    TRect Body;
    TRect Shadow;
    TPoint ArrowTip;
    TPoint ArrowShadowTip;
};

const TCornerCase kCorners[] = {
    {hiTopRight, Rect(0, 0, 96, 41), Rect(4, 4, 100, 45), Point(0, 56), Point(4, 60)},
    {hiTopLeft, Rect(0, 0, 96, 41), Rect(4, 4, 100, 45), Point(96, 56), Point(100, 60)},
    {hiBottomRight, Rect(0, 15, 96, 56), Rect(4, 19, 100, 60), Point(0, 0), Point(4, 4)},
    {hiBottomLeft, Rect(0, 15, 96, 56), Rect(4, 19, 100, 60), Point(96, 0), Point(100, 4)},
};

TEST(HintShapes, BodyShadowAndLinkTipFollowTheCorner) {
    for (const TCornerCase& c : kCorners) {
        SCOPED_TRACE(c.Corner);
        const THintGeometry g = HintGeometry(c.Corner, hiRoundrect, 100, 60, 15, true, 4);
        EXPECT_EQ(g.Body, c.Body);
        EXPECT_EQ(g.Shadow, c.Shadow);
        for (THintStyle style : {hiRoundrect, hiBubble}) {
            EXPECT_EQ(LinkArrow(g, c.Corner, style)[1], c.ArrowTip);
            EXPECT_EQ(LinkArrowShadow(g, c.Corner, style)[1], c.ArrowShadowTip);
        }
    }
}

TEST(HintShapes, TheBubblesWedgeLeavesTheEllipseAtHalfItsHeight) {
    const THintGeometry g = HintGeometry(hiTopRight, hiBubble, 99, 60, 15, true, 4);
    EXPECT_EQ(g.t3, 33);
    EXPECT_EQ(g.K, 20);
    const THintTriangle wedge = LinkArrow(g, hiTopRight, hiBubble);
    EXPECT_EQ(wedge[0], Point(33, 21));
    EXPECT_EQ(wedge[2], Point(66, 21));
    const THintTriangle shadow = LinkArrowShadow(g, hiTopRight, hiBubble);
    EXPECT_EQ(ArrowShadowArea(shadow), Rect(4, 25, 70, 60));
}

TEST(HintShapes, TextHintsAndHintsWithoutShadowGetNoShadowRoom) {
    EXPECT_EQ(HintGeometry(hiTopRight, hiText, 100, 60, 10, true, 4).SW, 0);
    EXPECT_EQ(HintGeometry(hiTopRight, hiBubble, 100, 60, 10, false, 4).SW, 0);
    const THintGeometry text = HintGeometry(hiTopRight, hiText, 100, 60, 10, true, 4);
    EXPECT_EQ(text.Body, Rect(0, 0, 100, 50));
}

TEST(HintShapes, BubbleLinkShadowsAreTheCirclesMovedByTheShadowWidth) {
    const THintGeometry g = HintGeometry(hiBottomLeft, hiRectangle, 100, 60, 20, true, 4);
    EXPECT_EQ(LinkBubbles(g, hiBottomLeft)[0], Rect(90, 0, 96, 6));
    EXPECT_EQ(LinkBubbleShadows(g, hiBottomLeft)[2], Rect(70, 14, 85, 29));
}

TEST(HintShapes, TextSitsInsetByStyle) {
    const THintGeometry g = HintGeometry(hiTopRight, hiBubble, 200, 80, 15, true, 4);  // body 196 x 61
    EXPECT_EQ(HintTextRect(g, hiBubble, 16), Rect(8, 22, 188, 61));
    EXPECT_EQ(HintTextRect(g, hiRectangle, 16), Rect(4, 0, 192, 61));
    EXPECT_EQ(HintTextRect(g, hiRoundrect, 16), Rect(5, 5, 191, 56));
    EXPECT_EQ(HintTextRect(g, hiTexture, 16), Rect(2, 0, 194, 61));
    EXPECT_EQ(HintTextRect(g, hiText, 16), g.Body);
}

TEST(HintShapes, DarkeningStopsShortOfBlackAndLighteningShortOfWhite) {
    const struct {
        int Channel, Amount, Expected;
    } cases[] = {{255, -70, 185}, {0, -70, 1}, {69, -70, 1}, {70, -70, 0}, {0, 0, 0}, {250, 10, 254}, {245, 10, 255}};
    for (const auto& c : cases) EXPECT_EQ(DarkenChannel(c.Channel, c.Amount), c.Expected) << c.Channel << c.Amount;
    EXPECT_EQ(DarkenRgb(0xFFFFFF, -70), 0xB9B9B9u);
    EXPECT_EQ(DarkenRgb(0x000000, -70), 0x010101u);
    EXPECT_EQ(DarkenRgb(0x80FF10, -70), 0x3AB901u);
}

TEST(HintShapes, LowQualityShadesACheckerboard) {
    EXPECT_TRUE(ShadesPixel(quLow, 0, 0));
    EXPECT_FALSE(ShadesPixel(quLow, 1, 0));
    EXPECT_FALSE(ShadesPixel(quLow, 0, 1));
    EXPECT_TRUE(ShadesPixel(quLow, 1, 1));
    EXPECT_TRUE(ShadesPixel(quLow, 7, 3));
    EXPECT_TRUE(ShadesPixel(quHi, 1, 0));
    EXPECT_FALSE(ShadesPixel(static_cast<TQuality>(2), 0, 0));
}

}  // namespace

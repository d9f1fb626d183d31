#include <gtest/gtest.h>

#include "app/WindowLayout.h"

namespace zav {
namespace {

constexpr LayoutSize kDesignedClient{509, 261};

TEST(ScaleToDpiTest, ScalesInProportionAndRounds) {
    EXPECT_EQ(ScaleToDpi(509, 96), 509);
    EXPECT_EQ(ScaleToDpi(509, 144), 764);  // 763.5 rounds up
    EXPECT_EQ(ScaleToDpi(261, 120), 326);  // 326.25
    EXPECT_EQ(ScaleToDpi(16, 192), 32);
    EXPECT_EQ(ScaleToDpi(-3, 144), -5);  // -4.5 rounds away from zero, like 4.5
    EXPECT_EQ(ScaleToDpi(0, 144), 0);
}

struct AnchorCase {
    const char* name;
    Anchors anchors;
    LayoutRect expected;  // for the designed rect {475, 45, 26, 25} in a 609 x 311 client
};

class PlaceAnchoredTest : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(PlaceAnchoredTest, KeepsTheDistanceToTheAnchoredEdges) {
    const LayoutRect placed =
        PlaceAnchored({475, 45, 26, 25}, GetParam().anchors, kDesignedClient, {609, 311}, 96);
    EXPECT_EQ(placed.left, GetParam().expected.left);
    EXPECT_EQ(placed.top, GetParam().expected.top);
    EXPECT_EQ(placed.width, GetParam().expected.width);
    EXPECT_EQ(placed.height, GetParam().expected.height);
}

INSTANTIATE_TEST_SUITE_P(
    Anchors, PlaceAnchoredTest,
    ::testing::Values(AnchorCase{"LeftTop", {true, true, false, false}, {475, 45, 26, 25}},
                      AnchorCase{"LeftTopRight", {true, true, true, false}, {475, 45, 126, 25}},
                      AnchorCase{"TopRight", {false, true, true, false}, {575, 45, 26, 25}},
                      AnchorCase{"LeftBottom", {true, false, false, true}, {475, 95, 26, 25}},
                      AnchorCase{"RightBottom", {false, false, true, true}, {575, 95, 26, 25}},
                      AnchorCase{"AllFour", {true, true, true, true}, {475, 45, 126, 75}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlaceAnchoredTest, ScalesBeforeApplyingTheExtraSpace) {
    // At 144 dpi the designed client area is 764 x 392; the window is 100 pixels wider than that.
    const LayoutRect placed = PlaceAnchored({416, 223, 85, 30}, {false, false, true, true},
                                            kDesignedClient, {864, 392}, 144);
    EXPECT_EQ(placed.left, 624 + 100);
    EXPECT_EQ(placed.top, 335);
    EXPECT_EQ(placed.width, 128);
    EXPECT_EQ(placed.height, 45);
}

// Both front ends place controls by this rule, so at 125 and 175 % they agree to the pixel.
TEST(PlaceAnchoredTest, RoundsEachLengthOnItsOwnAtFractionalScales) {
    // 125 %: 594 + 32.5 would put the far edge at 626; the button keeps its width of 33.
    EXPECT_EQ(PlaceAnchored({475, 45, 26, 25}, {false, true, true, false}, kDesignedClient,
                            {636, 326}, 120),
              (LayoutRect{594, 56, 33, 31}));
    // 175 %: the designed client area is 891 x 457; the window is 100 wider and 10 higher.
    EXPECT_EQ(PlaceAnchored({8, 45, 458, 26}, {true, true, true, false}, kDesignedClient,
                            {991, 467}, 168),
              (LayoutRect{14, 79, 902, 46}));
    EXPECT_EQ(PlaceAnchored({416, 223, 85, 30}, {false, false, true, true}, kDesignedClient,
                            {991, 467}, 168),
              (LayoutRect{828, 400, 149, 53}));
}

TEST(PlaceAnchoredTest, AStretchedControlNeverGetsANegativeWidth) {
    const LayoutRect placed =
        PlaceAnchored({8, 45, 458, 26}, {true, true, true, false}, kDesignedClient, {40, 20}, 96);
    EXPECT_EQ(placed.width, 0);
    EXPECT_EQ(placed.left, 8);
}

}  // namespace
}  // namespace zav

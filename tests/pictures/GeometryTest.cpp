#include "pictures/PictureGeometry.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>

namespace tavisto {
namespace {

// The shrink computed by walking k one step at a time, as ViewForPicture describes it:
// the reference its bisection is checked against.
PictureSize ShrinkByLoop(PictureSize picture, PictureSize target) {
    const std::int64_t w = picture.width;
    const std::int64_t h = picture.height;
    for (std::int64_t k = 0;; ++k) {
        const std::int64_t vw = w - k;
        const std::int64_t vh = RoundHalfEvenDiv(h * (w - k), w);
        if (vw <= target.width || vh <= target.height)
            return PictureSize{static_cast<int>(vw), static_cast<int>(vh)};
    }
}

PictureView view(int w, int h, int tw, int th) {
    return ViewForPicture(PictureSize{w, h}, PictureSize{tw, th});
}

TEST(PictureGeometry, LargePicturesShrinkUntilOneSideFits) {
    // The height reaches 272 first: 1080 - 1436*1080/1920 = 272.25 -> 272 at width 484.
    EXPECT_EQ(view(1920, 1080, 480, 272), (PictureView{{484, 272}, true}));
    // 100 - 595*100/1000 = 40.5 rounds half to even, to 40.
    EXPECT_EQ(view(1000, 100, 120, 40), (PictureView{{405, 40}, true}));
    // The width reaches 800 first; the height is 533.33 -> 533.
    EXPECT_EQ(view(3000, 2000, 800, 480), (PictureView{{800, 533}, true}));
    // Larger in one direction only: one side already fits at k = 0, so nothing shrinks.
    EXPECT_EQ(view(400, 1000, 800, 480), (PictureView{{400, 1000}, true}));
    EXPECT_EQ(view(100000, 10, 800, 480), (PictureView{{100000, 10}, true}));
}

TEST(PictureGeometry, PicturesThatFitGetATargetSizedCentringView) {
    EXPECT_EQ(view(640, 480, 800, 480), (PictureView{{800, 480}, false}));
    EXPECT_EQ(view(800, 480, 800, 480), (PictureView{{800, 480}, false}));
    EXPECT_EQ(view(1, 1, 120, 40), (PictureView{{120, 40}, false}));
    EXPECT_THROW(view(0, 10, 120, 40), std::invalid_argument);
}

TEST(PictureGeometry, FastShrinkMatchesTheStepByStepLoop) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> side(1, 3000);
    std::uniform_int_distribution<int> target(1, 900);
    for (int i = 0; i < 3000; ++i) {
        const PictureSize picture{side(random), side(random)};
        const PictureSize goal{target(random), target(random)};
        if (picture.width <= goal.width && picture.height <= goal.height)
            continue;
        ASSERT_EQ(ViewForPicture(picture, goal).size, ShrinkByLoop(picture, goal))
            << picture.width << "x" << picture.height << " to " << goal.width << "x" << goal.height;
    }
    // Sizes whose shrink has exact halves to round.
    for (int h : {100, 101, 250, 1000, 1001})
        for (int th : {39, 40, 41, 50})
            ASSERT_EQ(ViewForPicture({1000, h}, {120, th}).size,
                      ShrinkByLoop({1000, h}, {120, th}));
}

TEST(PictureGeometry, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEvenDiv(405, 10), 40);
    EXPECT_EQ(RoundHalfEvenDiv(415, 10), 42);
    EXPECT_EQ(RoundHalfEvenDiv(1, 2), 0);
    EXPECT_EQ(RoundHalfEvenDiv(3, 2), 2);
    EXPECT_EQ(RoundHalfEvenDiv(5332, 10), 533);
    EXPECT_EQ(RoundHalfEvenDiv(5336, 10), 534);
}

TEST(PictureGeometry, CentringRoundsTowardZero) {
    EXPECT_EQ(CentreOffset(884, 484), 200);
    EXPECT_EQ(CentreOffset(884, 481), 201);
    EXPECT_EQ(CentreOffset(3, 8), -2); // not -3
    EXPECT_EQ(CentredRect({884, 662}, {800, 533}), (PictureRect{42, 64, 800, 533}));
}

TEST(PictureGeometry, ClampSelectionKeepsTheFrameOnThePicture) {
    const PictureRect picture{100, 50, 500, 300}; // right 600, bottom 350
    // Inside: unchanged.
    EXPECT_EQ(ClampSelection({150, 60, 200, 100}, picture), (PictureRect{150, 60, 200, 100}));
    // Past the bottom right: pulled back so its edges meet the picture's.
    EXPECT_EQ(ClampSelection({500, 300, 200, 100}, picture), (PictureRect{400, 250, 200, 100}));
    // Past the top left.
    EXPECT_EQ(ClampSelection({-40, 10, 200, 100}, picture), (PictureRect{100, 50, 200, 100}));
    // Touching edges count as reaching them: the frame stays where it is.
    EXPECT_EQ(ClampSelection({100, 250, 200, 100}, picture), (PictureRect{100, 250, 200, 100}));
    // A frame larger than the picture: the top and left edges win, as they come last.
    EXPECT_EQ(ClampSelection({0, 0, 800, 480}, {42, 311, 800, 40}),
              (PictureRect{42, 311, 800, 480}));
    EXPECT_EQ(ClampSelection({300, 300, 600, 100}, picture), (PictureRect{100, 250, 600, 100}));
}

TEST(PictureGeometry, ResultRectIsTheViewSeenFromTheFrame) {
    EXPECT_EQ(ResultRect({200, 195, 484, 272}, {202, 195, 480, 272}),
              (PictureRect{-2, 0, 484, 272}));
    EXPECT_EQ(ResultRect({42, 64, 800, 533}, {42, 91, 800, 480}), (PictureRect{0, -27, 800, 533}));
}

TEST(PictureGeometry, ReducedDecodeNeverGoesBelowTheView) {
    EXPECT_EQ(ReducedDecodeDenominator({6000, 4000}, {800, 533}), 4);
    EXPECT_EQ(ReducedDecodeDenominator({6400, 4000}, {800, 500}), 8);
    EXPECT_EQ(ReducedDecodeDenominator({6401, 4000}, {800, 501}), 4); // 4000/8 = 500 < 501
    EXPECT_EQ(ReducedDecodeDenominator({1601, 1000}, {800, 500}), 2); // ceil(1601/2) = 801
    EXPECT_EQ(ReducedDecodeDenominator({1000, 1000}, {999, 999}), 1);
}

} // namespace
} // namespace tavisto

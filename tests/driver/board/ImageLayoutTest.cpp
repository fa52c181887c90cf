// Image layout, rotation and the VPA table, checked pixel by pixel against where
// each host pixel must come from.
#include "board/ImageLayout.h"
#include "support/RotatedSource.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

class VpaTableRotation : public testing::TestWithParam<uint32_t> {};

} // namespace

TEST_P(VpaTableRotation, EveryPixelAndGuardEntry_MatchTheRotation) {
    const uint32_t rotation = GetParam();
    const uint32_t w = 7, h = 4, b = 3;
    const ImageLayout layout = ImageLayout::Compute(w, h, b, 3, rotation, false);
    const bool turned = rotation == 1 || rotation == 3;
    EXPECT_EQ(layout.hostWidth, turned ? h : w);
    EXPECT_EQ(layout.hostHeight, turned ? w : h);
    EXPECT_EQ(layout.imageSize, uint64_t{w} * h * b);

    const std::vector<ORV::VpaEntry> table = BuildVpaTable(layout);
    ASSERT_EQ(table.size(), std::max(layout.hostWidth, layout.hostHeight) + 8u);
    const ORV::VpaEntry* vpa = FirstVpaEntry(table.data());
    for (int64_t y = 0; y < layout.hostHeight; ++y) {
        for (int64_t x = 0; x < layout.hostWidth; ++x) {
            const auto [column, row] = orvtest::RotatedSource(rotation, x, y, w, h);
            EXPECT_EQ(vpa[x].x + vpa[y].y, (row * w + column) * b)
                << "rotation " << rotation << " pixel " << x << "," << y;
        }
    }
    // Guards: four before repeat the first entry, four after the last column / row.
    for (int g = 1; g <= 4; ++g) {
        EXPECT_EQ(vpa[-g].x, vpa[0].x);
        EXPECT_EQ(vpa[-g].y, vpa[0].y);
        EXPECT_EQ(vpa[layout.hostWidth - 1 + g].x, vpa[layout.hostWidth - 1].x);
        EXPECT_EQ(vpa[layout.hostHeight - 1 + g].y, vpa[layout.hostHeight - 1].y);
    }
}

INSTANTIATE_TEST_SUITE_P(ImageLayout, VpaTableRotation, testing::Values(0u, 1u, 2u, 3u, 4u));

TEST(ImageLayout, Rotation90_640By480Gray8) {
    const ImageLayout layout = ImageLayout::Compute(640, 480, 1, 1, 1, false);
    EXPECT_EQ(layout.hostWidth, 480u);
    EXPECT_EQ(layout.hostHeight, 640u);
    EXPECT_EQ(layout.startOffset, 306560);
    EXPECT_EQ(layout.xIncrement, -640);
    EXPECT_EQ(layout.yIncrement, 1);
}

TEST(ImageLayout, Rotations180And270_Increments) {
    const ImageLayout half = ImageLayout::Compute(10, 5, 2, 1, 2, false);
    EXPECT_EQ(half.startOffset, 98);
    EXPECT_EQ(half.xIncrement, -2);
    EXPECT_EQ(half.yIncrement, -20);
    const ImageLayout three = ImageLayout::Compute(10, 5, 2, 1, 3, false);
    EXPECT_EQ(three.startOffset, 18);
    EXPECT_EQ(three.xIncrement, 20);
    EXPECT_EQ(three.yIncrement, -2);
}

TEST(ImageLayout, LargeImages_DoNotWrapTheOffsets) {
    const ImageLayout layout = ImageLayout::Compute(40000, 20000, 6, 3, 1, false);
    EXPECT_EQ(layout.startOffset, int64_t{19999} * 40000 * 6);
    EXPECT_EQ(layout.imageSize, uint64_t{40000} * 20000 * 6);
}

TEST(ImageLayout, PlaneOffsets_InvertedOnlyWithSeveralPlanes) {
    const ImageLayout color = ImageLayout::Compute(4, 4, 3, 3, 0, false);
    EXPECT_EQ(PlaneOffset(color, 0), 0);
    EXPECT_EQ(PlaneOffset(color, 1), 1);
    EXPECT_EQ(PlaneOffset(color, 2), 2);
    const ImageLayout inverted = ImageLayout::Compute(4, 4, 3, 3, 0, true);
    EXPECT_EQ(PlaneOffset(inverted, 0), 2);
    EXPECT_EQ(PlaneOffset(inverted, 1), 1);
    EXPECT_EQ(PlaneOffset(inverted, 2), 0);
    const ImageLayout color48 = ImageLayout::Compute(4, 4, 6, 3, 0, true);
    EXPECT_EQ(PlaneOffset(color48, 0), 4);
    EXPECT_EQ(PlaneOffset(color48, 2), 0);
    const ImageLayout single = ImageLayout::Compute(4, 4, 4, 1, 0, true);
    EXPECT_EQ(PlaneOffset(single, 0), 0);

    uint8_t buffer[48] = {};
    EXPECT_EQ(PlaneBase(inverted, buffer, 0), buffer + 2);
}

// col30: three planes in two bytes give a zero increment; every plane starts at
// the pixel, also when inverted, so no plane reaches past the pixel's bytes.
TEST(ImageLayout, Col30_AllPlanesAtThePixelEvenInverted) {
    for (bool invert : {false, true}) {
        const ImageLayout layout = ImageLayout::Compute(4, 4, 2, 3, 0, invert);
        EXPECT_EQ(layout.planeIncrement, 0u);
        for (uint32_t plane = 0; plane < 3; ++plane)
            EXPECT_EQ(PlaneOffset(layout, plane), 0) << invert;
    }
}

TEST(ImageLayout, FillVpaTable_ZeroesWhatTheRulesLeaveOpen) {
    const ImageLayout layout = ImageLayout::Compute(2, 6, 1, 1, 0, false);
    std::vector<ORV::VpaEntry> table(VpaTableEntries(layout), ORV::VpaEntry{-7, -7});
    FillVpaTable(layout, table.data());
    const ORV::VpaEntry* vpa = FirstVpaEntry(table.data());
    EXPECT_EQ(vpa[1].x, 1);
    EXPECT_EQ(vpa[5].x, 1) << "last guard after the two columns";
    EXPECT_EQ(vpa[6].x, 0) << "beyond the guards";
    EXPECT_EQ(vpa[9].y, 10);
}

// Pixels read the way a host reads them, through the image's VPA description and
// through a ring-buffer image, compared with the simulator's pattern for every
// rotation and for both plane orders of color24.
#include "e2e/AcquisitionModule.h"
#include "support/RotatedSource.h"

#include <ORV/ResultCodes.h>

#include <simctl/SimControl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

using e2e::AcquisitionModule;
using e2e::MachineSetup;

namespace {

/// Compares every byte of every plane of `image` with `expected(sx, sy, k)`; the
/// number of mismatches.
template <class Expected>
int Mismatches(ORV::IImageVPA* image, const MachineSetup& setup, Expected expected) {
    int32_t planes = 0, width = 0, height = 0;
    EXPECT_EQ(image->GetDimensions(&planes, &width, &height), ORV::OK);
    const bool turned = setup.rotation == 1 || setup.rotation == 3;
    EXPECT_EQ(static_cast<uint32_t>(width), turned ? setup.height : setup.width);
    EXPECT_EQ(static_cast<uint32_t>(height), turned ? setup.width : setup.height);
    int mismatches = 0;
    for (int32_t p = 0; p < planes; ++p) {
        void* base = nullptr;
        const ORV::VpaEntry* table = nullptr;
        EXPECT_EQ(image->GetPlaneAddress(static_cast<uint32_t>(p), &base, &table), ORV::OK);
        const auto* bytes = static_cast<const uint8_t*>(base);
        // The grabber delivers BGR; inverted planes present RGB.
        const unsigned byteInPixel =
            setup.invertdim && planes > 1 ? static_cast<unsigned>(planes - 1 - p) : p;
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const auto source =
                    orvtest::RotatedSource(setup.rotation, static_cast<uint32_t>(x),
                                           static_cast<uint32_t>(y), setup.width, setup.height);
                const int want = expected(source.first, source.second, byteInPixel);
                if (bytes[table[x].x + table[y].y] != want && ++mismatches <= 3)
                    ADD_FAILURE() << "plane " << p << " (" << x << ", " << y
                                  << "): " << int(bytes[table[x].x + table[y].y]) << " != " << want;
            }
        }
    }
    return mismatches;
}

struct PixelCase {
    std::string format;
    uint32_t rotation;
    bool invertdim;
};

std::string Name(const ::testing::TestParamInfo<PixelCase>& info) {
    return info.param.format + "_rotation" + std::to_string(info.param.rotation) +
           (info.param.invertdim ? "_inverted" : "");
}

} // namespace

class PixelEndToEnd : public AcquisitionModule, public ::testing::WithParamInterface<PixelCase> {
protected:
    MachineSetup PixelSetup() const {
        MachineSetup setup;
        setup.format = GetParam().format;
        setup.rotation = GetParam().rotation;
        setup.invertdim = GetParam().invertdim;
        setup.width = 40;
        setup.height = 24;
        return setup;
    }
};

TEST_P(PixelEndToEnd, SnappedImage_ThroughTheImageDescription) {
    Open(PixelSetup());
    ASSERT_EQ(Grabber()->Snap(), ORV::OK);
    ORV::IImageVPA* image = orvhost::ImageDescription(Image());
    ASSERT_NE(image, nullptr);
    // A snap delivers picture 1; the DMA no longer writes after it.
    EXPECT_EQ(Mismatches(image, Settings(),
                         [](uint32_t sx, uint32_t sy, unsigned k) {
                             return SimCtl_ExpectedPixelByte(0, 0, sx, sy, k, 1);
                         }),
              0);
}

TEST_P(PixelEndToEnd, HeldBuffer_ThroughARingBufferImage) {
    MachineSetup setup = PixelSetup();
    setup.frameRate = 200.0;
    Open(setup);
    uint32_t mode = 2;
    ASSERT_EQ(Ring()->LockMode(1, &mode), ORV::OK);
    ASSERT_EQ(Grab2()->GrabStart(), ORV::OK);
    int32_t index = -1;
    ASSERT_EQ(Grab2()->GrabWait(&index), ORV::OK);
    ASSERT_EQ(Grab2()->GrabWait(&index), ORV::OK);
    ASSERT_EQ(index, 1);

    orvhost::HostObject buffer;
    ASSERT_EQ(Ring()->GetBufferImage(1, buffer.out()), ORV::OK);
    ORV::IImageVPA* image = orvhost::ImageDescription(buffer.get());
    ASSERT_NE(image, nullptr);
    SimCtlBufferRecord record{};
    ASSERT_EQ(SimCtl_GetBufferRecord(0, 0, 2, &record), SIMCTL_OK);
    EXPECT_EQ(record.pictureNumber, 2);
    EXPECT_EQ(Mismatches(image, Settings(),
                         [&](uint32_t sx, uint32_t sy, unsigned k) {
                             return SimCtl_RecordPixelByte(&record, sx, sy, k);
                         }),
              0);
    buffer.reset();
    EXPECT_EQ(Grab2()->GrabStop(0), ORV::OK);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PixelEndToEnd,
    ::testing::Values(PixelCase{"gray8", 0, false}, PixelCase{"gray8", 1, false},
                      PixelCase{"gray8", 2, false}, PixelCase{"gray8", 3, false},
                      PixelCase{"gray16", 1, false}, PixelCase{"color24", 0, false},
                      PixelCase{"color24", 0, true}, PixelCase{"color24", 3, true}),
    Name);

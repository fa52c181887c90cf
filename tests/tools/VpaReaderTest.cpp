// The pixel walk and the PNG writer of orvgrab on hand-made image descriptions:
// rotation and plane order come from the VPA table alone, depths scale as PNG
// wants, and what is written reads back unchanged.
#include "VpaReader.h"
#include "PngWriter.h"
#include "ToolError.h"
#include "tools/PngReader.h"

#include <ORV/ResultCodes.h>

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

/// An image description over memory the test owns: `planes` interleaved planes of
/// `bytesPerSample` bytes, laid out with a table like the driver's (four guard
/// entries each side).
class TableImage : public ORV::IImageVPA {
public:
    TableImage(int32_t planes, int32_t width, int32_t height, int32_t bits, int bytesPerSample)
        : planes_(planes), width_(width), height_(height), bits_(bits),
          pixelBytes_(planes * bytesPerSample), sampleBytes_(bytesPerSample),
          memory_(static_cast<size_t>(width * height * planes * bytesPerSample)),
          table_(static_cast<size_t>(std::max(width, height) + 8)) {
        for (int32_t i = 0; i < std::max(width, height); ++i)
            table_[4 + i] = {i * pixelBytes_, i * width * pixelBytes_};
    }

    /// Rotates by 90 degrees as the driver does: image (x, y) is memory (y, H - 1 - x),
    /// with W and H the memory's size.
    void Rotate90() {
        const int64_t w = width_, h = height_;
        std::swap(width_, height_);
        for (int64_t i = 0; i < std::max(w, h); ++i)
            table_[4 + i] = {(h - 1) * w * pixelBytes_ - i * w * pixelBytes_, i * pixelBytes_};
        rotated_ = true;
    }
    void SetSample(int32_t mx, int32_t my, int plane, uint32_t value) {
        uint8_t* at = &memory_[((my * MemoryWidth() + mx) * pixelBytes_) + plane * sampleBytes_];
        for (int b = 0; b < sampleBytes_; ++b)
            at[b] = static_cast<uint8_t>(value >> (8 * b));
    }
    void Reverse() { reversed_ = true; }

    int32_t GetDimensions(int32_t* planes, int32_t* width, int32_t* height) override {
        *planes = planes_;
        *width = width_;
        *height = height_;
        return ORV::OK;
    }
    int32_t GetDataType(uint32_t, int32_t* dataType) override {
        *dataType = bits_;
        return ORV::OK;
    }
    int32_t GetPlaneAddress(uint32_t plane, void** base, const ORV::VpaEntry** vpa) override {
        const int32_t p =
            reversed_ ? planes_ - 1 - static_cast<int32_t>(plane) : static_cast<int32_t>(plane);
        *base = memory_.data() + p * sampleBytes_;
        *vpa = &table_[4];
        return ORV::OK;
    }
    int32_t GetCoordinateSystem(double*) override { return ORV::OK; }
    int32_t SetCoordinateSystem(const double*) override { return ORV::OK; }

private:
    int32_t MemoryWidth() const { return rotated_ ? height_ : width_; }

    int32_t planes_, width_, height_, bits_;
    int64_t pixelBytes_;
    int sampleBytes_;
    bool reversed_ = false;
    bool rotated_ = false;
    std::vector<uint8_t> memory_;
    std::vector<ORV::VpaEntry> table_;
};

} // namespace

TEST(VpaReader, Gray8_CopiesRowsInOrder) {
    TableImage image(1, 3, 2, 8, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.SetSample(x, y, 0, static_cast<uint32_t>(10 * y + x));
    const PngImage png = VpaReader::Read(image);
    EXPECT_EQ(png.width, 3u);
    EXPECT_EQ(png.height, 2u);
    EXPECT_EQ(png.channels, 1);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.bytes, (std::vector<uint8_t>{0, 1, 2, 10, 11, 12}));
}

TEST(VpaReader, RotatedTable_TurnsTheImage) {
    TableImage image(1, 3, 2, 8, 1); // memory 3 x 2
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.SetSample(x, y, 0, static_cast<uint32_t>(10 * y + x));
    image.Rotate90();
    const PngImage png = VpaReader::Read(image);
    EXPECT_EQ(png.width, 2u);
    EXPECT_EQ(png.height, 3u);
    // Image (x, y) is memory (y, 1 - x).
    EXPECT_EQ(png.bytes, (std::vector<uint8_t>{10, 0, 11, 1, 12, 2}));
}

TEST(VpaReader, ReversedPlanes_GiveRgbFromBgr) {
    TableImage image(3, 1, 1, 8, 1);
    image.SetSample(0, 0, 0, 1); // B
    image.SetSample(0, 0, 1, 2); // G
    image.SetSample(0, 0, 2, 3); // R
    image.Reverse();
    const PngImage png = VpaReader::Read(image);
    EXPECT_EQ(png.channels, 3);
    EXPECT_EQ(png.bytes, (std::vector<uint8_t>{3, 2, 1}));
}

TEST(VpaReader, TwelveBits_ScaleToSixteenWithSignificantBits) {
    TableImage image(1, 3, 1, 12, 2);
    image.SetSample(0, 0, 0, 0);
    image.SetSample(1, 0, 0, 0x0FFF);
    image.SetSample(2, 0, 0, 0xF800); // bits above the depth are not part of the sample
    const PngImage png = VpaReader::Read(image);
    EXPECT_EQ(png.bitDepth, 16);
    EXPECT_EQ(png.significantBits, 12);
    EXPECT_EQ(png.bytes, (std::vector<uint8_t>{0, 0, 0xFF, 0xFF, 0x80, 0x08}));
}

TEST(VpaReader, ThirtyTwoBits_KeepTheTopSixteen) {
    TableImage image(1, 1, 1, 32, 4);
    image.SetSample(0, 0, 0, 0x12345678);
    const PngImage png = VpaReader::Read(image);
    EXPECT_EQ(png.bitDepth, 16);
    EXPECT_EQ(png.bytes, (std::vector<uint8_t>{0x12, 0x34}));
}

TEST(VpaReader, TwoPlanes_AreRefused) {
    TableImage image(2, 1, 1, 8, 1);
    EXPECT_THROW(VpaReader::Read(image), ToolError);
}

TEST(PngWriter, SixteenBitRgb_ReadsBackUnchanged) {
    PngImage image;
    image.width = 2;
    image.height = 1;
    image.channels = 3;
    image.bitDepth = 16;
    image.significantBits = 10;
    image.bytes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const orvtest::TempDir dir("orvgrab-writer");
    const std::string path = dir.File("image.png");
    PngWriter::Write(path, image);
    const PngImage back = toolstest::ReadPng(path);
    EXPECT_EQ(back.width, 2u);
    EXPECT_EQ(back.height, 1u);
    EXPECT_EQ(back.channels, 3);
    EXPECT_EQ(back.bitDepth, 16);
    EXPECT_EQ(back.significantBits, 10);
    EXPECT_EQ(back.bytes, image.bytes);
}

TEST(PngWriter, InconsistentImage_IsRefusedWithoutAFile) {
    PngImage image;
    image.width = 2;
    image.height = 2;
    image.bytes = {1, 2, 3};
    const orvtest::TempDir dir("orvgrab-writer-bad");
    const std::string path = dir.File("image.png");
    EXPECT_THROW(PngWriter::Write(path, image), ToolError);
    EXPECT_FALSE(std::filesystem::exists(path));
}

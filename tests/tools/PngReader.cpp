#include "tools/PngReader.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

namespace toolstest {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

class ReadStructs {
public:
    ReadStructs()
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr)),
          info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr) {}
    ~ReadStructs() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }
    ReadStructs(const ReadStructs&) = delete;
    ReadStructs& operator=(const ReadStructs&) = delete;
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

// Only plain data in this frame: libpng's errors longjmp out of it.
bool ReadAll(png_structp png, png_infop info, std::FILE* file, PngImage* image) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    image->width = png_get_image_width(png, info);
    image->height = png_get_image_height(png, info);
    image->bitDepth = png_get_bit_depth(png, info);
    const int type = png_get_color_type(png, info);
    image->channels = type == PNG_COLOR_TYPE_RGB ? 3 : type == PNG_COLOR_TYPE_GRAY ? 1 : -1;
    png_color_8p bits = nullptr;
    image->significantBits = image->bitDepth;
    if (png_get_sBIT(png, info, &bits) != 0 && bits != nullptr)
        image->significantBits = type == PNG_COLOR_TYPE_RGB ? bits->red : bits->gray;
    return true;
}

} // namespace

PngImage ReadPng(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw std::runtime_error("cannot open " + path);
    ReadStructs structs;
    if (structs.png() == nullptr || structs.info() == nullptr)
        throw std::runtime_error("libpng could not start");
    PngImage image;
    if (!ReadAll(structs.png(), structs.info(), file.get(), &image))
        throw std::runtime_error(path + " is not a readable PNG");
    if (image.channels < 0)
        throw std::runtime_error(path + " is neither gray nor RGB");
    png_bytepp rows = png_get_rows(structs.png(), structs.info());
    const std::size_t rowBytes = image.RowBytes();
    image.bytes.resize(rowBytes * image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        std::copy(rows[y], rows[y] + rowBytes, image.bytes.begin() + y * rowBytes);
    return image;
}

} // namespace toolstest

#include "PngWriter.h"

#include "ToolError.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

/// libpng reports errors by longjmp; the message is kept here for the exception
/// thrown once control is back in C++ frames.
struct ErrorRecord {
    char message[256] = "unknown libpng error";
};

void OnError(png_structp png, png_const_charp text) {
    auto* record = static_cast<ErrorRecord*>(png_get_error_ptr(png));
    std::snprintf(record->message, sizeof record->message, "%s", text);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

/// Owns the write and info structures.
class PngStructs {
public:
    explicit PngStructs(ErrorRecord* errors)
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, errors, OnError, OnWarning)),
          info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr) {}
    ~PngStructs() { png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr); }
    PngStructs(const PngStructs&) = delete;
    PngStructs& operator=(const PngStructs&) = delete;
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

// Nothing with a destructor lives in this frame: longjmp would skip it.
bool WriteAll(png_structp png, png_infop info, std::FILE* file, const PngImage& image,
              png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth,
                 image.channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image.significantBits < image.bitDepth) {
        png_color_8 bits{};
        const auto value = static_cast<png_byte>(image.significantBits);
        bits.red = bits.green = bits.blue = bits.gray = value;
        png_set_sBIT(png, info, &bits);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

} // namespace

void PngWriter::Write(const std::string& path, const PngImage& image) {
    if (image.bytes.size() != image.RowBytes() * image.height || image.width == 0 ||
        image.height == 0)
        throw ToolError("cannot write " + path + ": the image is empty or inconsistent");
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw ToolError("cannot write " + path + ": " + std::strerror(errno));

    std::vector<png_bytep> rows(image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        rows[y] = const_cast<png_bytep>(image.bytes.data() + y * image.RowBytes());

    ErrorRecord errors;
    PngStructs structs(&errors);
    if (structs.png() == nullptr || structs.info() == nullptr)
        throw ToolError("cannot write " + path + ": libpng could not start");
    const bool written = WriteAll(structs.png(), structs.info(), file.get(), image, rows.data());
    const std::string reason = written ? std::string() : std::string(errors.message);
    // A half-written file would pass for an image; it goes.
    if (!written || std::fclose(file.release()) != 0) {
        const std::string why = written ? std::strerror(errno) : reason;
        std::remove(path.c_str());
        throw ToolError("cannot write " + path + ": " + why);
    }
}

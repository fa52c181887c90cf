#include "PixelFormat.h"

#include "IniDocument.h"
#include <fglib5.h>

#include <cstring>

namespace sim {

namespace {

struct FormatInfo {
    std::uint32_t code;
    const char* name;
    unsigned bytesPerPixel;
    std::uint32_t depth;
    std::uint8_t masks[4]; // bytes beyond the list carry 8 bits
};

// col30 packs three 10-bit components into 32 bits, the way the DMA transfers them.
constexpr FormatInfo Formats[] = {
    {FG_FORMAT_GRAY8, "gray8", 1, 8, {0xFF, 0xFF, 0xFF, 0xFF}},
    {FG_FORMAT_BINARY, "binary", 1, 1, {0x01, 0xFF, 0xFF, 0xFF}},
    {FG_FORMAT_GRAY10, "gray10", 2, 10, {0xFF, 0x03, 0xFF, 0xFF}},
    {FG_FORMAT_GRAY12, "gray12", 2, 12, {0xFF, 0x0F, 0xFF, 0xFF}},
    {FG_FORMAT_GRAY16, "gray16", 2, 16, {0xFF, 0xFF, 0xFF, 0xFF}},
    {FG_FORMAT_GRAY32, "gray32", 4, 32, {0xFF, 0xFF, 0xFF, 0xFF}},
    {FG_FORMAT_COLOR24, "color24", 3, 8, {0xFF, 0xFF, 0xFF, 0xFF}},
    {FG_FORMAT_COLOR32, "color32", 4, 8, {0xFF, 0xFF, 0xFF, 0xFF}},
    {FG_FORMAT_COL30, "col30", 4, 10, {0xFF, 0xFF, 0xFF, 0x3F}},
    {FG_FORMAT_COLOR48, "color48", 6, 16, {0xFF, 0xFF, 0xFF, 0xFF}},
};

const FormatInfo* Find(std::uint32_t code) {
    for (const FormatInfo& info : Formats) {
        if (info.code == code) {
            return &info;
        }
    }
    return nullptr;
}

} // namespace

unsigned PixelFormat::BytesPerPixel(std::uint32_t code) {
    const FormatInfo* info = Find(code);
    return info != nullptr ? info->bytesPerPixel : 4;
}

std::uint8_t PixelFormat::ByteMask(std::uint32_t code, unsigned k) {
    const FormatInfo* info = Find(code);
    return info != nullptr && k < 4 ? info->masks[k] : 0xFF;
}

std::uint32_t PixelFormat::DefaultDepth(std::uint32_t code) {
    const FormatInfo* info = Find(code);
    return info != nullptr ? info->depth : 32;
}

const char* PixelFormat::Name(std::uint32_t code) {
    const FormatInfo* info = Find(code);
    return info != nullptr ? info->name : nullptr;
}

bool PixelFormat::Parse(const std::string& text, std::uint32_t& code) {
    for (const FormatInfo& info : Formats) {
        if (text == info.name) {
            code = info.code;
            return true;
        }
    }
    std::uint64_t number = 0;
    if (ParseUnsigned(text, number) && number <= 0xFFFFFFFFu) {
        code = static_cast<std::uint32_t>(number);
        return true;
    }
    return false;
}

} // namespace sim

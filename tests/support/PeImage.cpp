#include "support/PeImage.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

template <class T> T Read(const uint8_t* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

constexpr uint16_t kPe32Plus = 0x20B;
constexpr uint16_t kDllCharacteristic = 0x2000;
constexpr uint64_t kImportByOrdinal = 0x8000000000000000ull;

} // namespace

bool PeImage::IsPe(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char header[0x40] = {};
    if (!file.read(header, sizeof header) || header[0] != 'M' || header[1] != 'Z')
        return false;
    const uint32_t offset = Read<uint32_t>(reinterpret_cast<const uint8_t*>(header) + 0x3C);
    char signature[4] = {};
    file.seekg(offset);
    return file.read(signature, 4) && std::memcmp(signature, "PE\0\0", 4) == 0;
}

PeImage::PeImage(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!IsPe(path) || bytes_.size() < 0x40)
        throw std::runtime_error("not a PE file: " + path);
    const uint32_t pe = Read<uint32_t>(&bytes_[0x3C]);
    if (static_cast<size_t>(pe) + 24 > bytes_.size())
        throw std::runtime_error("truncated PE header: " + path);
    const uint8_t* coff = &bytes_[pe + 4];
    machine_ = Read<uint16_t>(coff);
    const uint16_t sectionCount = Read<uint16_t>(coff + 2);
    const uint16_t optionalSize = Read<uint16_t>(coff + 16);
    dll_ = (Read<uint16_t>(coff + 18) & kDllCharacteristic) != 0;
    const size_t optionalOffset = pe + 24;
    if (optionalOffset + optionalSize > bytes_.size() || optionalSize < 112 + 16)
        throw std::runtime_error("truncated optional header: " + path);
    const uint8_t* optional = &bytes_[optionalOffset];
    if (Read<uint16_t>(optional) != kPe32Plus)
        throw std::runtime_error("not a PE32+ image: " + path);
    const size_t sectionTable = optionalOffset + optionalSize;
    if (sectionTable + sectionCount * 40u > bytes_.size())
        throw std::runtime_error("truncated section table: " + path);
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint8_t* s = &bytes_[sectionTable + i * 40u];
        sections_.push_back({Read<uint32_t>(s + 12), Read<uint32_t>(s + 8), Read<uint32_t>(s + 20),
                             Read<uint32_t>(s + 16)});
    }
    // The data directories follow the 112 fixed bytes of a PE32+ optional header.
    const uint32_t directories = Read<uint32_t>(optional + 108);
    if (directories > 0)
        ReadExports(Read<uint32_t>(optional + 112));
    if (directories > 1)
        ReadImports(Read<uint32_t>(optional + 112 + 8));
}

const uint8_t* PeImage::At(uint32_t rva, size_t size) const {
    for (const Section& s : sections_) {
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
            const size_t offset = s.rawOffset + (rva - s.virtualAddress);
            if (offset + size > bytes_.size() || (rva - s.virtualAddress) + size > s.rawSize)
                break;
            return &bytes_[offset];
        }
    }
    throw std::runtime_error("address outside the image: " + std::to_string(rva));
}

std::string PeImage::StringAt(uint32_t rva) const {
    const char* text = reinterpret_cast<const char*>(At(rva, 1));
    const size_t room =
        bytes_.size() - static_cast<size_t>(reinterpret_cast<const uint8_t*>(text) - bytes_.data());
    return std::string(text, strnlen(text, room));
}

void PeImage::ReadExports(uint32_t rva) {
    if (rva == 0)
        return;
    const uint8_t* directory = At(rva, 40);
    exportCount_ = Read<uint32_t>(directory + 20);
    const uint32_t nameCount = Read<uint32_t>(directory + 24);
    const uint32_t names = Read<uint32_t>(directory + 32);
    for (uint32_t i = 0; i < nameCount; ++i)
        exportNames_.push_back(StringAt(Read<uint32_t>(At(names + i * 4, 4))));
}

void PeImage::ReadImports(uint32_t rva) {
    if (rva == 0)
        return;
    for (uint32_t entry = rva;; entry += 20) {
        const uint8_t* descriptor = At(entry, 20);
        const uint32_t lookup = Read<uint32_t>(descriptor);
        const uint32_t nameRva = Read<uint32_t>(descriptor + 12);
        const uint32_t thunks = Read<uint32_t>(descriptor + 16);
        if (nameRva == 0)
            break;
        const std::string library = StringAt(nameRva);
        for (uint32_t slot = lookup != 0 ? lookup : thunks;; slot += 8) {
            const uint64_t value = Read<uint64_t>(At(slot, 8));
            if (value == 0)
                break;
            PeImport import;
            import.library = library;
            if (value & kImportByOrdinal)
                import.ordinal = static_cast<uint16_t>(value & 0xFFFF);
            else
                import.name = StringAt(static_cast<uint32_t>(value & 0x7FFFFFFF) + 2);
            imports_.push_back(import);
        }
    }
}

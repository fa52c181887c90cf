#pragma once
// Reads the export and import tables of a PE32+ file (a Windows x64 DLL) from
// disk, without the loader: what a module offers and needs, as the linker wrote it.

#include <cstdint>
#include <string>
#include <vector>

/// One imported function: by name, or by ordinal when `name` is empty.
struct PeImport {
    std::string library;
    std::string name;
    uint16_t ordinal = 0;
};

class PeImage {
public:
    /// Throws std::runtime_error when the file is not a PE32+ image.
    explicit PeImage(const std::string& path);

    /// Whether `path` starts like a PE file ("MZ" and a "PE\0\0" signature).
    static bool IsPe(const std::string& path);

    uint16_t Machine() const { return machine_; }
    bool IsDll() const { return dll_; }
    /// Exported names, in table order.
    const std::vector<std::string>& ExportNames() const { return exportNames_; }
    /// Number of exported functions, named or not.
    uint32_t ExportCount() const { return exportCount_; }
    const std::vector<PeImport>& Imports() const { return imports_; }

private:
    const uint8_t* At(uint32_t rva, size_t size) const;
    std::string StringAt(uint32_t rva) const;
    void ReadExports(uint32_t rva);
    void ReadImports(uint32_t rva);

    std::vector<uint8_t> bytes_;
    struct Section {
        uint32_t virtualAddress;
        uint32_t virtualSize;
        uint32_t rawOffset;
        uint32_t rawSize;
    };
    std::vector<Section> sections_;
    uint16_t machine_ = 0;
    bool dll_ = false;
    uint32_t exportCount_ = 0;
    std::vector<std::string> exportNames_;
    std::vector<PeImport> imports_;
};

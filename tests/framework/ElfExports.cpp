#include "ElfExports.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

std::vector<std::string> ElfExports(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> image((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    if (image.size() < sizeof(Elf64_Ehdr) || std::memcmp(image.data(), ELFMAG, SELFMAG) != 0)
        throw std::runtime_error("not an ELF file: " + path);
    const auto* header = reinterpret_cast<const Elf64_Ehdr*>(image.data());
    const auto* sections = reinterpret_cast<const Elf64_Shdr*>(image.data() + header->e_shoff);
    std::vector<std::string> names;
    for (int i = 0; i < header->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM)
            continue;
        const Elf64_Shdr& strings = sections[sections[i].sh_link];
        const auto* symbols =
            reinterpret_cast<const Elf64_Sym*>(image.data() + sections[i].sh_offset);
        const size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
        for (size_t s = 1; s < count; ++s) {
            const unsigned bind = ELF64_ST_BIND(symbols[s].st_info);
            const unsigned type = ELF64_ST_TYPE(symbols[s].st_info);
            if (symbols[s].st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK) ||
                (type != STT_FUNC && type != STT_OBJECT && type != STT_GNU_IFUNC))
                continue;
            names.emplace_back(image.data() + strings.sh_offset + symbols[s].st_name);
        }
    }
    return names;
}

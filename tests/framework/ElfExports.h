#pragma once

#include <string>
#include <vector>

/// The names of the functions and objects a shared object exports: the defined
/// global and weak symbols of its dynamic symbol table, read from the ELF file.
std::vector<std::string> ElfExports(const std::string& path);

// CDriverSystem: build banner, vendor runtime version and the CoaXPress
// companion library siso_genicam.dll.
#include "system/DriverSystem.h"

#include <fglib5.h>

#include <nwLogging/LogMacros.h>

#include <platform/Environment.h>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>

#include <cctype>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr unsigned kFrameworkVersion = 560; // printed in hexadecimal: 230

#if defined(_WIN64)
const char* const kPlatform = "win64";
#elif defined(_WIN32)
const char* const kPlatform = "win32";
#elif defined(__linux__) && UINTPTR_MAX > 0xFFFFFFFFu
const char* const kPlatform = "linux64";
#elif defined(__linux__)
const char* const kPlatform = "linux32";
#else
const char* const kPlatform = "posix";
#endif

// The compiler's full version as one number: MSVC's own, for GCC and Clang
// major * 10000 + minor * 100 + patch level (GCC 12.2.0 gives 120200).
#if defined(_MSC_FULL_VER)
constexpr unsigned long kCompilerVersion = _MSC_FULL_VER;
#elif defined(__clang__)
constexpr unsigned long kCompilerVersion =
    __clang_major__ * 10000UL + __clang_minor__ * 100UL + __clang_patchlevel__;
#elif defined(__GNUC__)
constexpr unsigned long kCompilerVersion =
    __GNUC__ * 10000UL + __GNUC_MINOR__ * 100UL + __GNUC_PATCHLEVEL__;
#else
constexpr unsigned long kCompilerVersion = 0;
#endif

/// Leading decimal digits (after white space and a sign), 0 when there are none;
/// out-of-range values stop at the nearest 32-bit bound instead of overflowing.
int32_t LeadingNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const int64_t limit = negative ? -int64_t{std::numeric_limits<int32_t>::min()}
                                   : int64_t{std::numeric_limits<int32_t>::max()};
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

} // namespace

void CDriverSystem::LogBanner() {
    // __DATE__ already has the shape "Mar  3 2021" and __TIME__ "08:05:07".
    NWLOG(log_, nwLogging::level_info,
          "[ Version "
              << "ORSisoMe"
              << ".xvd ORVDDK_0x" << std::hex << kFrameworkVersion << " platform_" << kPlatform
              << " build_" << __DATE__ << "_" << __TIME__ << " "
              << "nodebug"
              << " mscver=" << kCompilerVersion << " ]");
}

std::optional<RuntimeVersion> CDriverSystem::ParseRuntimeVersion(const std::string& text) {
    std::vector<std::string> parts;
    boost::algorithm::split(parts, text, boost::algorithm::is_any_of("."));
    if (parts.size() < 3)
        return std::nullopt;
    RuntimeVersion version;
    version.major = LeadingNumber(parts[0]);
    version.minor = LeadingNumber(parts[1]);
    version.patch = LeadingNumber(parts[2]);
    return version;
}

bool CDriverSystem::ReadRuntimeVersion() {
    // A runtime that answers nothing counts as a malformed version text.
    const char* answer = Fg_RuntimeVersion();
    const std::string text = answer != nullptr ? answer : "";
    NWLOG(log_, nwLogging::level_info, "SISO_Runtime used: " << text << "\n\n\n");
    const std::optional<RuntimeVersion> version = ParseRuntimeVersion(text);
    if (!version)
        return false;
    runtime_ = *version;
    return true;
}

bool CDriverSystem::LoadGenICamLibrary() {
    if (genicamLibrary_)
        return false;
    const std::optional<std::string> directory = platform::GetEnv("SISODIR5");
    if (!directory || directory->empty())
        return false;
    platform::DynamicLibrary library =
        platform::DynamicLibrary::Load(*directory + "/bin/siso_genicam.dll");
    if (!library)
        return false;
    // All 21 entries or none: a library lacking one is freed again at once.
    const std::optional<GenICamEntryTable> table = GenICamEntryTable::Resolve(library);
    if (!table)
        return false;
    genicamLibrary_ = std::move(library);
    InstallGenICam(*table, this);
    return true;
}

void CDriverSystem::UnloadGenICamLibrary() {
    if (!genicamLibrary_)
        return;
    // Empty the table first so that it never points into a freed library.
    ClearGenICam(this);
    genicamLibrary_.reset();
}

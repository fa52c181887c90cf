#include <platform/Process.h>

#include <platform/Environment.h>

#include "EnvironmentLock.h"

#include <cctype>
#include <dlfcn.h>
#include <langinfo.h>
#include <link.h>
#include <locale.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

constexpr uint32_t kCodePageUtf8 = 65001;
constexpr uint32_t kCodePageWestern = 1252;

bool NamesUtf8(const std::string& text) {
    std::string lower;
    for (char c : text) {
        if (c != '-' && c != '_')
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower.find("utf8") != std::string::npos;
}

// The locale the environment selects, by name, when it is not installed.
std::string EnvironmentLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        std::optional<std::string> value = GetEnv(variable);
        if (value && !value->empty())
            return *value;
    }
    return std::string();
}

} // namespace

uint32_t CurrentProcessId() {
    return static_cast<uint32_t>(::getpid());
}

uint64_t CurrentThreadId() {
    return static_cast<uint64_t>(::syscall(SYS_gettid));
}

uint32_t AnsiCodePage() {
    // The process's own locale is whatever setlocale() last chose (often "C"); the code
    // page describes the user's text, which is the locale the environment selects.
    locale_t locale = (locale_t)0;
    {
        std::lock_guard<std::mutex> guard(posix::EnvironmentLock());
        locale = ::newlocale(LC_CTYPE_MASK, "", (locale_t)0);
    }
    if (locale != (locale_t)0) {
        const char* codeset = ::nl_langinfo_l(CODESET, locale);
        bool utf8 = codeset != nullptr && NamesUtf8(codeset);
        ::freelocale(locale);
        return utf8 ? kCodePageUtf8 : kCodePageWestern;
    }
    return NamesUtf8(EnvironmentLocaleName()) ? kCodePageUtf8 : kCodePageWestern;
}

std::string ModuleFileName(const void* address) {
    if (address == nullptr)
        return ExecutablePath();
    Dl_info info{};
    struct link_map* map = nullptr;
    if (::dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0)
        return std::string();
    // The executable's link map has an empty name and dli_fname is only argv[0].
    if (map == nullptr || map->l_name == nullptr || map->l_name[0] == '\0')
        return ExecutablePath();
    return std::string(map->l_name);
}

std::string ExecutablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return std::string();
        if (static_cast<size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(n));
        if (buffer.size() >= 65536)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExecutableName() {
    std::string path = ExecutablePath();
    std::string::size_type slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string::size_type dot = name.rfind('.');
    // A leading dot starts a hidden file's name, not an extension.
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

void EndProcessNow(int status) {
    ::_exit(status);
}

} // namespace platform

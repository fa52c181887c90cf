#pragma once
// The host's registry: keys holding named string and 32-bit values. On POSIX a
// persistent file-backed store (path from ORV_REGISTRY_FILE, by default
// $XDG_CONFIG_HOME/orvento/registry.ini or ~/.config/orvento/registry.ini).
// Key paths use '\' between elements. Results are the Windows error codes below.

#include <cstdint>
#include <string>

namespace platform {
namespace registry {

struct KeyRecord; // opaque
typedef KeyRecord* KeyHandle;

enum class Hive { LocalMachine, CurrentUser };

// Access masks.
constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr uint32_t KEY_SET_VALUE = 0x0002;
constexpr uint32_t KEY_READ = 0x20019;
constexpr uint32_t KEY_WRITE = 0x20006;
constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

// Results.
constexpr int32_t ERROR_SUCCESS = 0;
constexpr int32_t ERROR_FILE_NOT_FOUND = 2;      // no such key or value
constexpr int32_t ERROR_ACCESS_DENIED = 5;       // key not opened with the needed access
constexpr int32_t ERROR_INVALID_HANDLE = 6;      // null or closed key
constexpr int32_t ERROR_INVALID_PARAMETER = 87;  // null argument
constexpr int32_t ERROR_MORE_DATA = 234;         // buffer too small; size holds the need
constexpr int32_t ERROR_UNSUPPORTED_TYPE = 1630; // value has the other type
constexpr int32_t ERROR_CANTWRITE = 1013;        // the store file cannot be written

/// Opens an existing key.
int32_t OpenKey(Hive hive, const std::string& path, uint32_t access, KeyHandle* key);
/// Opens a key, creating it and its parents when missing.
int32_t CreateKey(Hive hive, const std::string& path, uint32_t access, KeyHandle* key);
/// A string value with its terminating zero into `buffer` of `*size` bytes;
/// `*size` becomes the bytes needed (ERROR_MORE_DATA when too small).
int32_t QueryString(KeyHandle key, const std::string& name, char* buffer, uint32_t* size);
int32_t QueryDword(KeyHandle key, const std::string& name, uint32_t* value);
/// Writing needs KEY_SET_VALUE; the store is written through at once.
int32_t SetString(KeyHandle key, const std::string& name, const std::string& value);
int32_t SetDword(KeyHandle key, const std::string& name, uint32_t value);
int32_t DeleteValue(KeyHandle key, const std::string& name);
int32_t CloseKey(KeyHandle key);

/// The file that backs the store on this platform.
std::string StorePath();

/// Closes a key on scope exit.
class ScopedKey {
public:
    ScopedKey() = default;
    explicit ScopedKey(KeyHandle key) : key_(key) {}
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    ScopedKey(ScopedKey&& other) noexcept : key_(other.release()) {}
    ScopedKey& operator=(ScopedKey&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~ScopedKey() { reset(); }
    KeyHandle get() const { return key_; }
    KeyHandle* out() {
        reset();
        return &key_;
    }
    KeyHandle release() {
        KeyHandle key = key_;
        key_ = nullptr;
        return key;
    }
    void reset(KeyHandle key = nullptr) {
        if (key_ != nullptr)
            CloseKey(key_);
        key_ = key;
    }

private:
    KeyHandle key_ = nullptr;
};

} // namespace registry
} // namespace platform

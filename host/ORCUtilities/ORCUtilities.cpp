// Utilities stand-in: the product's registry key lives under the local-machine
// hive of the platform registry.

#include <ORCUtilities/ORCUtilities.h>

#include <exception>
#include <string>

namespace {

const char productKey[] = "Software\\Orvento\\Pictora";

} // namespace

extern "C" {

ORCUTILITIES_API int32_t ORCUtilities_OpenProductKey(const char* subKey, uint32_t access,
                                                     platform::registry::KeyHandle* key,
                                                     void* /*reserved*/) {
    namespace registry = platform::registry;
    if (key == nullptr)
        return registry::ERROR_INVALID_PARAMETER;
    *key = nullptr;
    try {
        std::string path = productKey;
        std::string sub = subKey != nullptr ? subKey : "";
        // "Pictora\" + "" would name an empty element; an empty sub-key means
        // the product key itself.
        const size_t first = sub.find_first_not_of('\\');
        if (first != std::string::npos)
            path += "\\" + sub.substr(first);
        return registry::OpenKey(registry::Hive::LocalMachine, path, access, key);
    } catch (const std::exception&) {
        return registry::ERROR_INVALID_PARAMETER;
    }
}

} // extern "C"

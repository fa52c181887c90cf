#include <ORHost/HostApp.h>

#include <platform/DynamicLibrary.h>

#include <utility>

namespace orvhost {

namespace {

typedef ORHandle (*GetImageV2Function)();
typedef int32_t (*CanUnloadFunction)();

} // namespace

std::unique_ptr<DriverModule> DriverModule::Load(const std::string& path, std::string* error) {
    auto fail = [error](std::string reason) -> std::unique_ptr<DriverModule> {
        if (error != nullptr)
            *error = std::move(reason);
        return nullptr;
    };
    platform::DynamicLibrary library = platform::DynamicLibrary::Load(path);
    if (!library)
        return fail("cannot load driver module " + path + ": " + platform::LastLoadError());
    void* getImage = library.resolve("GetImageV2");
    if (getImage == nullptr)
        return fail("driver module " + path + " does not export GetImageV2");
    void* canUnload = library.resolve("CanUnload");
    if (canUnload == nullptr)
        return fail("driver module " + path + " does not export CanUnload");
    return std::unique_ptr<DriverModule>(
        new DriverModule(path, library.release(), getImage, canUnload));
}

DriverModule::DriverModule(std::string path, void* library, void* getImage, void* canUnload)
    : path_(std::move(path)), library_(library), getImage_(getImage), canUnload_(canUnload) {}

DriverModule::~DriverModule() {
    Unload();
}

ORHandle DriverModule::GetImageV2() const {
    if (library_ == nullptr)
        return nullptr;
    return reinterpret_cast<GetImageV2Function>(getImage_)();
}

int32_t DriverModule::CanUnload() const {
    if (library_ == nullptr)
        return 1;
    return reinterpret_cast<CanUnloadFunction>(canUnload_)();
}

bool DriverModule::Unload() {
    if (library_ == nullptr)
        return true;
    // As the host does: only a module that agrees is unmapped. Objects it made
    // that are still alive would otherwise run destructors in unmapped code;
    // such a module stays loaded for the rest of the process.
    if (CanUnload() != 1)
        return false;
    platform::FreeLibrary(std::exchange(library_, nullptr));
    getImage_ = nullptr;
    canUnload_ = nullptr;
    return true;
}

} // namespace orvhost

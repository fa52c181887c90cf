#pragma once
// Host-application API: what a host application does with a driver module, the
// way the host imaging core does it. Tests and tools use only this API.

#include <ORBase/ORBaseApi.h>
#include <ORCImg/HostObject.h>
#include <ORV/ORV.h>

#include <memory>
#include <string>

namespace orvhost {

/// A loaded driver module (ORSisoMe.xvd and its kind). Unloads on destruction.
/// Not thread-safe itself; the module's exports may be called from any thread.
class DriverModule {
public:
    /// Loads the module at `path`; null with a one-line reason in `error` when the
    /// file cannot be loaded or lacks one of the two exports.
    static std::unique_ptr<DriverModule> Load(const std::string& path, std::string* error);
    ~DriverModule();
    DriverModule(const DriverModule&) = delete;
    DriverModule& operator=(const DriverModule&) = delete;

    /// The module's image object (the caller owns one reference), or null.
    ORHandle GetImageV2() const;
    /// The module's answer: 1 when it may be unloaded now.
    int32_t CanUnload() const;
    /// Unloads now when the module agrees (CanUnload answers 1), as the host
    /// does; also done by the destructor. A module that refuses stays loaded for
    /// the rest of the process, since objects it made are still alive. True when
    /// the module is (now) unloaded.
    bool Unload();
    bool loaded() const { return library_ != nullptr; }
    const std::string& path() const { return path_; }

private:
    DriverModule(std::string path, void* library, void* getImage, void* canUnload);
    std::string path_;
    void* library_;
    void* getImage_;
    void* canUnload_;
};

/// The interface table of kind I offered by an image, found through the image's
/// base object's container; null when the image has no base or no such table.
/// The pointer stays valid while the image object (or its base) lives.
ORV::IDisposableType* FindInterfaceTable(ORHandle image, bool (*matches)(ORV::IDisposableType*));

template <class I> I* FindInterface(ORHandle image) {
    ORV::IDisposableType* table = FindInterfaceTable(
        image, [](ORV::IDisposableType* t) { return dynamic_cast<I*>(t) != nullptr; });
    return table != nullptr ? dynamic_cast<I*>(table) : nullptr;
}

/// The image description of an image object; null when the handle holds none.
ORV::IImageVPA* ImageDescription(ORHandle image);

/// Adds a reference to a host object.
void Share(ORHandle handle);
/// Releases the reference in `handle` and clears it; null is ignored.
void Release(ORHandle& handle);
/// Owns one reference to a host object; releases it as Release does.
using orvCImg::HostObject;

} // namespace orvhost

// Image-level operations of the host-application API.

#include <ORCImg/ORCImg.h>
#include <ORHost/HostApp.h>

namespace orvhost {

namespace {

ORV::IDisposableType* FindIn(ORHandle container, bool (*matches)(ORV::IDisposableType*)) {
    const uint32_t count = ORBase_InterfaceCount(container);
    for (uint32_t index = 0; index < count; ++index) {
        ORV::IDisposableType* table = ORBase_InterfaceAt(container, index);
        if (table != nullptr && matches(table))
            return table;
    }
    return nullptr;
}

} // namespace

ORV::IDisposableType* FindInterfaceTable(ORHandle image, bool (*matches)(ORV::IDisposableType*)) {
    if (image == nullptr || matches == nullptr)
        return nullptr;
    ORHandle base = nullptr;
    if (ORBase_GetBase(image, &base) < 0)
        return FindIn(image, matches);
    // The image keeps its base alive (its object holds the owner handle), so
    // the table outlives this temporary reference.
    ORV::IDisposableType* table = FindIn(base, matches);
    ORBase_Release(base);
    return table;
}

ORV::IImageVPA* ImageDescription(ORHandle image) {
    void* object = nullptr;
    if (image == nullptr || ORBase_QueryObject(image, ORBASE_OWN_OBJECT, &object) < 0)
        return nullptr;
    return dynamic_cast<ORV::IImageVPA*>(static_cast<ORV::IDisposableType*>(object));
}

void Share(ORHandle handle) {
    ORCImg_ShareObject(handle);
}

void Release(ORHandle& handle) {
    ORCImg_ReleaseObject(&handle);
}

} // namespace orvhost

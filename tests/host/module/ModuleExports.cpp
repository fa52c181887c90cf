// The two exports of the test driver module, built like the real module: hidden
// visibility and a version script leaving only these two global.

#include "ModuleGeneric.h"
#include "ModuleGrab2.h"
#include "ModuleImage.h"
#include "ModuleState.h"

#include <ORBase/ORBase.h>

#include <exception>
#include <memory>

namespace testmodule {

std::atomic<int32_t>& LiveObjects() {
    static std::atomic<int32_t> count{0};
    return count;
}

} // namespace testmodule

extern "C" __attribute__((visibility("default"))) ORHandle GetImageV2() {
    using namespace testmodule;
    try {
        ModuleGeneric* generic = nullptr;
        orvBase::shared_handle genericHandle = orvBase::make_shared_object<ModuleGeneric>(
            ORBase_RegisterTypeKey("TestModule-Generic"), &generic);
        auto table = std::make_unique<ModuleGrab2>(generic);
        orvBase::AddInterface(genericHandle.get(), table.get());
        table.release();
        // The image owns one reference to the generic object; this function's
        // own goes when it returns.
        orvBase::shared_handle image = orvBase::make_shared_object<ModuleImage>(
            ORBase_RegisterTypeKey("TestModule-Image"), nullptr, genericHandle);
        orvBase::SetBase(image.get(), genericHandle.get());
        return image.release();
    } catch (const std::exception&) {
        return nullptr;
    }
}

extern "C" __attribute__((visibility("default"))) int32_t CanUnload() {
    return testmodule::LiveObjects().load() == 0 ? 1 : 0;
}

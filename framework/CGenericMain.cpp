// The module's two exports.

#include <ddk/CGeneric.h>
#include <ddk/CGlobalObj.h>
#include <ddk/DDKDriverModule.h>
#include <ddk/NodeMapLiveness.h>

#include <nwLogging/Logger.h>
#include <nwLogging/Target.h>

#include <platform/Sleep.h>

#include <atomic>
#include <chrono>

#if defined(_WIN32)
// The module's .def file names its exports.
#define DDK_EXPORT extern "C"
#else
#define DDK_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

std::atomic<bool> firstCallDone{false};

void FirstCall() {
    if (firstCallDone.exchange(true))
        return;
    if (const auto configureLogging = DDKDriverModule().configureLogging)
        configureLogging();
}

ORTypeKey GenericTypeKey() {
    static const ORTypeKey key = ORBase_RegisterTypeKey("ORDDK-CGeneric");
    return key;
}

} // namespace

DDK_EXPORT int32_t CanUnload() {
    FirstCall();
    if (CGlobalObj::Exists())
        return 0;
    if (CNodeMapLiveness::AnyAlive())
        return 0;
    try {
        platform::InterruptibleSleep(10);
    } catch (...) {
        // An interrupted pause still lets the module go.
    }
    nwLogging::prune_loggers();
    nwLogging::release_targets();
    return 1;
}

DDK_EXPORT ORHandle GetImageV2() {
    FirstCall();
    ORHandle image = nullptr;
    try {
        CGeneric* generic = nullptr;
        orvBase::shared_handle block =
            orvBase::make_shared_object<CGeneric>(GenericTypeKey(), &generic);
        generic->SetSelf(block.get());
        image = generic->OpenDefaultChannel();
        // `block` goes here: the image object keeps the generic object alive.
    } catch (...) {
        image = nullptr;
    }
    if (image != nullptr)
        return image;
    // Whatever the failed attempt created has died; release the logging resources
    // when nothing else lives.
    CanUnload();
    return nullptr;
}

// The two hooks the framework calls on behalf of this driver module.
#include <ddk/CGlobalObj.h>

#include <ddk/CDrvInfo.h>
#include <ddk/CDrvSystem.h>
#include <driver/DriverInfo.h>
#include <driver/DriverSystem.h>

#include <nwLogging/Logger.h>

void DDKRegisterDriverFactories(CGlobalObj& registry) {
    registry.RegisterFactory<CDrvInfo>(
        []() -> std::shared_ptr<CBaseObj> { return std::make_shared<CDriverInfo>(); });
    registry.RegisterFactory<CDrvSystem>(
        []() -> std::shared_ptr<CBaseObj> { return std::make_shared<CDriverSystem>(); });
}

void DDKConfigureModuleLogging() {
    // Runs inside the exports, which never throw: a refused name only means the
    // records carry the default root name.
    try {
        nwLogging::root_logger()->set_root_name("GDRVM");
    } catch (...) {
    }
}

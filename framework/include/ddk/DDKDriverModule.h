#pragma once

#include <ddk/CBaseObj.h>
#include <ddk/CDrvInfo.h>
#include <ddk/CDrvSystem.h>
#include <ddk/CGlobalObj.h>

#include <memory>

/// What a driver module supplies to the framework: the factories of its CDrvInfo
/// and CDrvSystem classes, and its logging set-up for the first export call.
struct DDKDriverModuleHooks {
    void (*registerFactories)(CGlobalObj& registry);
    void (*configureLogging)();
};

/// Installs the module's hooks. Called once while the module loads, before either
/// export can run; a second call replaces the first.
void DDKRegisterDriverModule(const DDKDriverModuleHooks& hooks) noexcept;
/// The installed hooks; both members are null when no module registered.
const DDKDriverModuleHooks& DDKDriverModule() noexcept;

/// A static object of this type registers a module as it loads.
class DDKDriverModuleRegistrar {
public:
    explicit DDKDriverModuleRegistrar(const DDKDriverModuleHooks& hooks) noexcept {
        DDKRegisterDriverModule(hooks);
    }
};

/// Registers a driver module with the framework, from the module's own source file:
/// InfoClass and SystemClass implement CDrvInfo and CDrvSystem, configureLogging is a
/// `void()` function that sets up the module's logging. The framework then names no
/// symbol of the driver, so the archives link in one direction.
#define DDK_DRIVER_MODULE(InfoClass, SystemClass, configureLogging)                                \
    namespace {                                                                                    \
    void DDKRegisterModuleFactories(CGlobalObj& registry) {                                        \
        registry.RegisterFactory<CDrvInfo>(                                                        \
            []() -> std::shared_ptr<CBaseObj> { return std::make_shared<InfoClass>(); });          \
        registry.RegisterFactory<CDrvSystem>(                                                      \
            []() -> std::shared_ptr<CBaseObj> { return std::make_shared<SystemClass>(); });        \
    }                                                                                              \
    const DDKDriverModuleRegistrar ddkDriverModuleRegistrar{                                       \
        DDKDriverModuleHooks{&DDKRegisterModuleFactories, &(configureLogging)}};                   \
    }

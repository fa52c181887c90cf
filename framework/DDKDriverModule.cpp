// The hooks of the driver module this framework is linked into.
#include <ddk/DDKDriverModule.h>

namespace {

// Constant-initialised, so a registrar running during the module's own static
// initialisation never finds it unset up later.
DDKDriverModuleHooks installedHooks{nullptr, nullptr};

} // namespace

void DDKRegisterDriverModule(const DDKDriverModuleHooks& hooks) noexcept {
    installedHooks = hooks;
}

const DDKDriverModuleHooks& DDKDriverModule() noexcept {
    return installedHooks;
}

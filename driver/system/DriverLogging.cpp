// The module's logging set-up.
#include "system/DriverLogging.h"

#include <nwLogging/ConfigureModule.h>
#include <nwLogging/Logger.h>
#include <nwLogging/Target.h>

#include <string>

void ConfigureDriverLogging() noexcept {
    // Runs inside the exports, which never throw; every failure of the set-up is
    // reported to the debugger output and leaves the module logging nowhere.
    try {
        // Logging is set up once per module load. When a target is already
        // installed, someone has done that (a host that calls the hook twice, a
        // test capturing the records) and a second target would double every line.
        if (nwLogging::installed_target_count() != 0) {
            nwLogging::root_logger()->set_root_name("GDRVM");
            return;
        }
        nwLogging::configure_module("GDRVM", std::string(), nwLogging::attribute_set());
    } catch (...) {
    }
}

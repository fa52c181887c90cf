#include <nwLogging/Logger.h>

namespace nwLogging {

const logger_ptr& root_logger() {
    // Never destroyed: the module's objects may log from their destructors at
    // unload, after function-local statics made later would be gone.
    static const logger_ptr* const root = new logger_ptr(basic_logger::make_root(""));
    return *root;
}

logger_ptr get_logger(const std::string& path) {
    return root_logger()->get_child(path);
}

void prune_loggers() {
    root_logger()->prune();
}

} // namespace nwLogging

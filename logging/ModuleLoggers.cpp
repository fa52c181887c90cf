#include <nwLogging/Logger.h>

#include <mutex>

namespace nwLogging {

namespace {

std::mutex root_lock; // constant-initialized: usable before and after every other static

// Holds the root from its first use until the library's image goes away, so an
// unloaded module leaves no logger tree behind. Constant-initialized and
// registered for destruction before any function-local static of the module,
// so it is released after them: their destructors may still log.
struct root_holder {
    logger_ptr root; // guarded by root_lock
    ~root_holder() {
        logger_ptr released;
        {
            std::lock_guard<std::mutex> guard(root_lock);
            released.swap(root);
        }
    }
};

root_holder holder;

} // namespace

const logger_ptr& root_logger() {
    std::lock_guard<std::mutex> guard(root_lock);
    // Made again if asked for after the holder let go (a host object logging at
    // process exit): the new root lives until the process ends.
    if (!holder.root)
        holder.root = basic_logger::make_root("");
    return holder.root;
}

logger_ptr get_logger(const std::string& path) {
    return root_logger()->get_child(path);
}

void prune_loggers() {
    root_logger()->prune();
}

} // namespace nwLogging

#include <nwLogging/Target.h>

#include "TargetList.h"

namespace nwLogging {

void basic_target::write(const basic_timed_msgstate& record, const std::string& text) noexcept {
    try {
        std::lock_guard<std::mutex> guard(mutex_);
        do_write(record, text);
    } catch (...) {
        // A target that cannot write loses the record; the code that logged
        // must not fail because of it.
    }
}

void install_target(filter_ptr filter, target_ptr target) {
    target_list::instance().install(std::move(filter), std::move(target));
}

void release_targets() {
    target_list::instance().release();
}

std::size_t installed_target_count() {
    return target_list::instance().count();
}

std::vector<target_entry> installed_targets() {
    return target_list::instance().entries();
}

void dispatch(const basic_timed_msgstate& record, const std::string& text) noexcept {
    try {
        target_list::instance().dispatch(record, text);
    } catch (...) {
        // Copying the snapshot cannot fail in practice; still never throw here.
    }
}

} // namespace nwLogging

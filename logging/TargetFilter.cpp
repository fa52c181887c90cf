#include <nwLogging/Target.h>

namespace nwLogging {

bool basic_target_filter::accepts(const basic_timed_msgstate&) const {
    return true;
}

} // namespace nwLogging

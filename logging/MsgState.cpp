#include <nwLogging/Record.h>

namespace nwLogging {

void basic_msgstate::reset() {
    level = 0;
    group = no_group;
    location.clear();
    attributes.clear();
}

} // namespace nwLogging

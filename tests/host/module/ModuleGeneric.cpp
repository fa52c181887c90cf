#include "ModuleGeneric.h"

#include "ModuleState.h"

namespace testmodule {

ModuleGeneric::ModuleGeneric() {
    LiveObjects().fetch_add(1);
}

ModuleGeneric::~ModuleGeneric() {
    LiveObjects().fetch_sub(1);
}

} // namespace testmodule

#include "ModuleGrab2.h"

#include "ModuleState.h"

#include <ORV/ResultCodes.h>

namespace testmodule {

ModuleGrab2::ModuleGrab2(ModuleGeneric* generic) : generic_(generic) {
    LiveObjects().fetch_add(1);
}

ModuleGrab2::~ModuleGrab2() {
    LiveObjects().fetch_sub(1);
}

int32_t ModuleGrab2::GrabStart() {
    if (generic_->grabbing)
        return ORV::E_BUSY;
    generic_->grabbing = true;
    generic_->acquired = 0;
    return ORV::OK;
}

int32_t ModuleGrab2::GrabWait(int32_t* bufferIndex) {
    if (!generic_->grabbing)
        return ORV::E_FAIL;
    *bufferIndex = generic_->acquired++ % 4;
    return ORV::OK;
}

int32_t ModuleGrab2::GrabStop(uint8_t /*flag*/) {
    if (!generic_->grabbing)
        return ORV::E_BUSY;
    generic_->grabbing = false;
    return ORV::OK;
}

int32_t ModuleGrab2::GrabInfo(int32_t command, double* value) {
    switch (command) {
    case ORV::GRAB_INFO_NUMBER_IMAGES_AQCUIRED:
        *value = generic_->acquired;
        return ORV::OK;
    case ORV::GRAB_INFO_GRAB_ACTIVE:
        *value = generic_->grabbing ? 1 : 0;
        return ORV::OK;
    default:
        return ORV::E_INVALIDARG;
    }
}

} // namespace testmodule

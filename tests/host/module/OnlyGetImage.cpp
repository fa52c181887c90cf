// A broken driver module: it lacks the CanUnload export.

#include <ORV/ORVTypes.h>

extern "C" __attribute__((visibility("default"))) ORHandle GetImageV2() {
    return nullptr;
}

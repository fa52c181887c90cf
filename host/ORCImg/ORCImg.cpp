// Image core stand-in: host objects are ORBase blocks, so sharing and releasing
// are the block's strong reference operations.

#include <ORBase/ORBaseApi.h>
#include <ORCImg/ORCImg.h>

#include <utility>

extern "C" {

ORCIMG_API void ORCImg_ShareObject(ORHandle handle) {
    ORBase_AddRef(handle);
}

ORCIMG_API void ORCImg_ReleaseObject(ORHandle* handle) {
    if (handle == nullptr)
        return;
    // Cleared before the release: the object's destructor may look at the
    // variable that held it.
    ORBase_Release(std::exchange(*handle, nullptr));
}

} // extern "C"

#include <ddk/CDDKBufferContainer.h>

#include <ORV/ResultCodes.h>

int32_t CDDKBufferContainer::Attach(CImageInstanceDataWrapper*& wrapper) {
    if (wrapper != nullptr) {
        ++wrapper->referenceCount;
        return 0;
    }
    if (!provider_)
        return ORV::E_FAIL;
    auto created = new CImageInstanceDataWrapper();
    created->referenceCount = 1;
    const int32_t result = provider_->AllocateBufferList(&created->bufferList);
    if (result < 0) {
        delete created;
        return result;
    }
    wrapper = created;
    return result;
}

int32_t CDDKBufferContainer::Detach(CImageInstanceDataWrapper*& wrapper, int32_t flags,
                                    void* reserved) {
    if (wrapper == nullptr)
        return 0;
    if (--wrapper->referenceCount > 0)
        return 0;
    int32_t result = 0;
    if (wrapper->bufferList != nullptr && provider_)
        result = provider_->FreeBufferList(wrapper->bufferList, flags, reserved);
    delete wrapper;
    wrapper = nullptr;
    return result;
}

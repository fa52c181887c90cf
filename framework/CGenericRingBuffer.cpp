// The generic object's ring-buffer operations.

#include <ddk/CGeneric.h>

#include "CGenericBinding.h"

#include <ddk/CRingBufferImage.h>

int32_t CGeneric::NumBuffers(uint32_t action, int32_t* count, ORHandle* newImage) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPIRingBuffer* ring = binding.provider<CSPIRingBuffer>();
        if (ring == nullptr)
            return ORV::E_NOTSUPPORTED;
        if (action == 0 || action == 2)
            return ring->NumBuffers(binding.bufferList(), action, count);
        if (action != 1)
            return ORV::OK;

        CallImageChanged(0);
        std::unique_lock<CTryLock> grab(grabLock_, std::try_to_lock);
        if (!grab.owns_lock())
            return ORV::E_BUSY;
        const int32_t result = ring->NumBuffers(binding.bufferList(), 1, count);
        if (result < 0)
            return result;
        ORHandle image = ReplaceImage(binding.channel);
        HandOut(image, newImage);
        delivered_.SetLimit(count != nullptr && *count > 0 ? static_cast<uint32_t>(*count) : 0);
        CallImageChanged(1);
        return result;
    });
}

int32_t CGeneric::UnlockBuffer(int32_t index) {
    return Forward(&CSPIRingBuffer::UnlockBuffer, index);
}

int32_t CGeneric::LockMode(uint32_t action, uint32_t* mode) {
    return Forward(&CSPIRingBuffer::LockMode, action, mode);
}

int32_t CGeneric::IsLocked(int32_t index, uint8_t* locked) {
    return Forward(&CSPIRingBuffer::IsLocked, index, locked);
}

int32_t CGeneric::GetBufferImage(int32_t index, ORHandle* image) {
    return Guarded(log_, [&]() -> int32_t {
        if (image == nullptr)
            return ORV::E_FAIL;
        Binding binding = Bind();
        if (!binding.image || binding.wrapper() == nullptr)
            return ORV::E_FAIL;
        orvBase::shared_handle created = orvBase::make_shared_object<CRingBufferImage>(
            CRingBufferImage::TypeKey(), nullptr, binding.channel, binding.wrapper(), index);
        *image = created.release();
        return ORV::OK;
    });
}

int32_t CGeneric::BufferSequence(int32_t position, int32_t* index) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPIRingBuffer* ring = binding.provider<CSPIRingBuffer>();
        if (ring == nullptr)
            return ORV::E_NOTSUPPORTED;
        const int32_t result = ring->BufferSequence(binding.bufferList(), position, index);
        if (result != 1)
            return result;
        return delivered_.At(position, index) ? result : ORV::E_POSITION;
    });
}

int32_t CGeneric::BufferInfo(int32_t index, int32_t type, double* value) {
    return Forward(&CSPIRingBuffer::BufferInfo, index, type, value);
}

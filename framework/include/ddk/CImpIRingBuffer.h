#pragma once

#include <ORV/IRingBuffer.h>
#include <ddk/CGeneric.h>

/// The host's ORV::IRingBuffer table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpIRingBuffer : public ORV::IRingBuffer {
public:
    explicit CImpIRingBuffer(CGeneric* generic) : generic_(generic) {}

    int32_t NumBuffers(uint32_t action, int32_t* count, ORHandle* newImage) override {
        return generic_->NumBuffers(action, count, newImage);
    }
    int32_t UnlockBuffer(int32_t index) override { return generic_->UnlockBuffer(index); }
    int32_t LockMode(uint32_t action, uint32_t* mode) override {
        return generic_->LockMode(action, mode);
    }
    int32_t IsLocked(int32_t index, uint8_t* locked) override {
        return generic_->IsLocked(index, locked);
    }
    int32_t GetBufferImage(int32_t index, ORHandle* image) override {
        return generic_->GetBufferImage(index, image);
    }
    int32_t BufferSequence(int32_t position, int32_t* index) override {
        return generic_->BufferSequence(position, index);
    }
    int32_t BufferInfo(int32_t index, int32_t type, double* value) override {
        return generic_->BufferInfo(index, type, value);
    }

private:
    CGeneric* generic_;
};

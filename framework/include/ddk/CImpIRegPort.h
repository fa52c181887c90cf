#pragma once

#include <ORV/IRegPort.h>
#include <ddk/CGeneric.h>

/// The host's ORV::IRegPort table of a generic image object: forwards each
/// operation to the generic object, which outlives its tables.
class CImpIRegPort : public ORV::IRegPort {
public:
    explicit CImpIRegPort(CGeneric* generic) : generic_(generic) {}

    int32_t Read(void* buffer, uint64_t address, uint64_t length) override {
        return generic_->PortRead(buffer, address, length);
    }
    int32_t Write(const void* buffer, uint64_t address, uint64_t length) override {
        return generic_->PortWrite(buffer, address, length);
    }
    int32_t GetAccessMode(uint64_t address, int32_t* mode) override {
        return generic_->PortAccessMode(address, mode);
    }
    int32_t GetPortName(char* destination, uint32_t* length) override {
        return generic_->PortName(destination, length);
    }
    int32_t Invalidate() override { return generic_->PortInvalidate(); }
    int32_t GetSize(uint64_t* size) override { return generic_->PortSize(size); }
    int32_t GetEndianness(int32_t* littleEndian) override {
        return generic_->PortEndianness(littleEndian);
    }

private:
    CGeneric* generic_;
};

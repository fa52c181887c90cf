// Interfaces this family of drivers may offer but this module's driver does not:
// their tables are only added when a channel has the provider, and each operation
// forwards to it like the offered ones.

#include <ddk/CGeneric.h>

#include "CGenericBinding.h"

int32_t CGeneric::PingPongStart() {
    return Forward(&CSPIPingPong::Start);
}
int32_t CGeneric::PingPongWait(int32_t* bufferIndex) {
    return Forward(&CSPIPingPong::Wait, bufferIndex);
}
int32_t CGeneric::PingPongStop() {
    return Forward(&CSPIPingPong::Stop);
}
int32_t CGeneric::PingPongStatus(int32_t* status) {
    return Forward(&CSPIPingPong::Status, status);
}
int32_t CGeneric::SetTriggerMode(int32_t mode) {
    return Forward(&CSPITrigger::SetTriggerMode, mode);
}
int32_t CGeneric::DioInputCount(uint32_t* count) {
    return Forward(&CSPIBasicDIO::GetInputCount, count);
}
int32_t CGeneric::DioOutputCount(uint32_t* count) {
    return Forward(&CSPIBasicDIO::GetOutputCount, count);
}
int32_t CGeneric::DioReadInput(uint32_t line, uint8_t* state) {
    return Forward(&CSPIBasicDIO::ReadInput, line, state);
}
int32_t CGeneric::DioReadInputs(uint64_t* states) {
    return Forward(&CSPIBasicDIO::ReadInputs, states);
}
int32_t CGeneric::DioWriteOutput(uint32_t line, uint8_t state) {
    return Forward(&CSPIBasicDIO::WriteOutput, line, state);
}
int32_t CGeneric::DioWriteOutputs(uint64_t states) {
    return Forward(&CSPIBasicDIO::WriteOutputs, states);
}
int32_t CGeneric::DioReadOutput(uint32_t line, uint8_t* state) {
    return Forward(&CSPIBasicDIO::ReadOutput, line, state);
}
int32_t CGeneric::DioReadOutputs(uint64_t* states) {
    return Forward(&CSPIBasicDIO::ReadOutputs, states);
}
int32_t CGeneric::PortRead(void* buffer, uint64_t address, uint64_t length) {
    return Forward(&CSPIRegPort::Read, buffer, address, length);
}
int32_t CGeneric::PortWrite(const void* buffer, uint64_t address, uint64_t length) {
    return Forward(&CSPIRegPort::Write, buffer, address, length);
}
int32_t CGeneric::PortAccessMode(uint64_t address, int32_t* mode) {
    return Forward(&CSPIRegPort::GetAccessMode, address, mode);
}
int32_t CGeneric::PortName(char* destination, uint32_t* length) {
    return Forward(&CSPIRegPort::GetPortName, destination, length);
}
int32_t CGeneric::PortInvalidate() {
    return Forward(&CSPIRegPort::Invalidate);
}
int32_t CGeneric::PortSize(uint64_t* size) {
    return Forward(&CSPIRegPort::GetSize, size);
}
int32_t CGeneric::PortEndianness(int32_t* littleEndian) {
    return Forward(&CSPIRegPort::GetEndianness, littleEndian);
}

int32_t CGeneric::SetImageChangedCallback(ORV::ImageChangedCallback callback, void* user) {
    CLockGuard guard(callbackLock_);
    imageChanged_ = callback;
    imageChangedUser_ = user;
    return ORV::OK;
}

int32_t CGeneric::ClearImageChangedCallback() {
    CLockGuard guard(callbackLock_);
    imageChanged_ = nullptr;
    imageChangedUser_ = nullptr;
    return ORV::OK;
}

// Interfaces this family of drivers may offer but this module's driver does not:
// their tables are only added when a channel has the provider, and each operation
// forwards to it like the offered ones.

#include <ddk/CGeneric.h>

#include "CGenericBinding.h"
#include "Guarded.h"

#define FORWARD(Spi, expression)                                                                   \
    Guarded(log_, [&]() -> int32_t {                                                               \
        Binding binding = Bind();                                                                  \
        Spi* provider = binding.provider<Spi>();                                                   \
        if (provider == nullptr)                                                                   \
            return ORV::E_NOTSUPPORTED;                                                            \
        void* bufferList = binding.bufferList();                                                   \
        return provider->expression;                                                               \
    })

int32_t CGeneric::PingPongStart() {
    return FORWARD(CSPIPingPong, Start(bufferList));
}
int32_t CGeneric::PingPongWait(int32_t* bufferIndex) {
    return FORWARD(CSPIPingPong, Wait(bufferList, bufferIndex));
}
int32_t CGeneric::PingPongStop() {
    return FORWARD(CSPIPingPong, Stop(bufferList));
}
int32_t CGeneric::PingPongStatus(int32_t* status) {
    return FORWARD(CSPIPingPong, Status(bufferList, status));
}
int32_t CGeneric::SetTriggerMode(int32_t mode) {
    return FORWARD(CSPITrigger, SetTriggerMode(bufferList, mode));
}
int32_t CGeneric::DioInputCount(uint32_t* count) {
    return FORWARD(CSPIBasicDIO, GetInputCount(bufferList, count));
}
int32_t CGeneric::DioOutputCount(uint32_t* count) {
    return FORWARD(CSPIBasicDIO, GetOutputCount(bufferList, count));
}
int32_t CGeneric::DioReadInput(uint32_t line, uint8_t* state) {
    return FORWARD(CSPIBasicDIO, ReadInput(bufferList, line, state));
}
int32_t CGeneric::DioReadInputs(uint64_t* states) {
    return FORWARD(CSPIBasicDIO, ReadInputs(bufferList, states));
}
int32_t CGeneric::DioWriteOutput(uint32_t line, uint8_t state) {
    return FORWARD(CSPIBasicDIO, WriteOutput(bufferList, line, state));
}
int32_t CGeneric::DioWriteOutputs(uint64_t states) {
    return FORWARD(CSPIBasicDIO, WriteOutputs(bufferList, states));
}
int32_t CGeneric::DioReadOutput(uint32_t line, uint8_t* state) {
    return FORWARD(CSPIBasicDIO, ReadOutput(bufferList, line, state));
}
int32_t CGeneric::DioReadOutputs(uint64_t* states) {
    return FORWARD(CSPIBasicDIO, ReadOutputs(bufferList, states));
}
int32_t CGeneric::PortRead(void* buffer, uint64_t address, uint64_t length) {
    return FORWARD(CSPIRegPort, Read(bufferList, buffer, address, length));
}
int32_t CGeneric::PortWrite(const void* buffer, uint64_t address, uint64_t length) {
    return FORWARD(CSPIRegPort, Write(bufferList, buffer, address, length));
}
int32_t CGeneric::PortAccessMode(uint64_t address, int32_t* mode) {
    return FORWARD(CSPIRegPort, GetAccessMode(bufferList, address, mode));
}
int32_t CGeneric::PortName(char* destination, uint32_t* length) {
    return FORWARD(CSPIRegPort, GetPortName(bufferList, destination, length));
}
int32_t CGeneric::PortInvalidate() {
    return FORWARD(CSPIRegPort, Invalidate(bufferList));
}
int32_t CGeneric::PortSize(uint64_t* size) {
    return FORWARD(CSPIRegPort, GetSize(bufferList, size));
}
int32_t CGeneric::PortEndianness(int32_t* littleEndian) {
    return FORWARD(CSPIRegPort, GetEndianness(bufferList, littleEndian));
}

int32_t CGeneric::SetImageChangedCallback(ORV::ImageChangedCallback callback, void* user) {
    std::lock_guard<std::mutex> guard(callbackLock_);
    imageChanged_ = callback;
    imageChangedUser_ = user;
    return ORV::OK;
}

int32_t CGeneric::ClearImageChangedCallback() {
    std::lock_guard<std::mutex> guard(callbackLock_);
    imageChanged_ = nullptr;
    imageChangedUser_ = nullptr;
    return ORV::OK;
}

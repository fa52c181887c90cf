// The channel's service providers, in the order the framework expects them.
#include <driver/DriverChannel.h>

#include <driver/DriverIBufferContainer.h>
#include <driver/DriverIGrab2.h>
#include <driver/DriverIGrabber.h>
#include <driver/DriverIRingBuffer.h>
#include <driver/DriverIVpa.h>

#include <memory>

void CDriverChannel::CreateInterfaces(InterfaceMap& interfaces) {
    AddInterface<CSPIVpa>(interfaces, std::make_shared<CDriverIVpa>(*this));
    AddInterface<CSPIGrabber>(interfaces, std::make_shared<CDriverIGrabber>(*this));
    AddInterface<CSPIGrab2>(interfaces, std::make_shared<CDriverIGrab2>(*this));
    AddInterface<CSPIBufferContainer>(interfaces, std::make_shared<CDriverIBufferContainer>(*this));
    AddInterface<CSPIRingBuffer>(interfaces, std::make_shared<CDriverIRingBuffer>(*this));
}

// The channel's service providers, in the order the framework expects them.
#include "board/DriverChannel.h"

#include "acquisition/DriverIBufferContainer.h"
#include "acquisition/DriverIGrab2.h"
#include "acquisition/DriverIGrabber.h"
#include "acquisition/DriverIRingBuffer.h"
#include "acquisition/DriverISoftwareTrigger.h"
#include "acquisition/DriverIVpa.h"
#include "board/DriverIBoardSelect2.h"
#include "board/DriverICameraSelect2.h"
#include "board/DriverIImageRect.h"
#include "devicecontrol/DriverIDeviceCtrl.h"
#include "nodemap/DriverINodeMapHandle.h"
#include "nodemap/DriverINodeMapHandle2.h"

#include <memory>

void CDriverChannel::CreateInterfaces(InterfaceMap& interfaces) {
    AddInterface<CSPIVpa>(interfaces, std::make_shared<CDriverIVpa>(*this));
    AddInterface<CSPIBoardSelect2>(interfaces, std::make_shared<CDriverIBoardSelect2>(*this));
    AddInterface<CSPICameraSelect2>(interfaces, std::make_shared<CDriverICameraSelect2>(*this));
    AddInterface<CSPIGrabber>(interfaces, std::make_shared<CDriverIGrabber>(*this));
    AddInterface<CSPIGrab2>(interfaces, std::make_shared<CDriverIGrab2>(*this));
    AddInterface<CSPIBufferContainer>(interfaces, std::make_shared<CDriverIBufferContainer>(*this));
    AddInterface<CSPIRingBuffer>(interfaces, std::make_shared<CDriverIRingBuffer>(*this));
    AddInterface<CSPINodeMapHandle>(interfaces, std::make_shared<CDriverINodeMapHandle>(*this));
    AddInterface<CSPINodeMapHandle2>(interfaces, std::make_shared<CDriverINodeMapHandle2>(*this));
    AddInterface<CSPIDeviceCtrl>(interfaces, std::make_shared<CDriverIDeviceCtrl>(*this));
    AddInterface<CSPISoftwareTrigger>(interfaces, std::make_shared<CDriverISoftwareTrigger>(*this));
    AddInterface<CSPIImageRect>(interfaces, std::make_shared<CDriverIImageRect>(*this));
}

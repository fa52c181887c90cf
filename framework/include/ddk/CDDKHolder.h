#pragma once

#include <ddk/SPI.h>

#include <memory>

/// Holds the channel's provider of one kind (empty when the driver offers none).
template <class Spi> class CDDKHolder {
public:
    const std::shared_ptr<Spi>& Provider() const { return provider_; }
    void SetProvider(std::shared_ptr<Spi> provider) { provider_ = std::move(provider); }

protected:
    std::shared_ptr<Spi> provider_;
};

class CDDKGrabber : public CDDKHolder<CSPIGrabber> {};
class CDDKSoftwareTrigger : public CDDKHolder<CSPISoftwareTrigger> {};
class CDDKVpa : public CDDKHolder<CSPIVpa> {};
class CDDKTrigger : public CDDKHolder<CSPITrigger> {};
class CDDKPingPong : public CDDKHolder<CSPIPingPong> {};
class CDDKGrab2 : public CDDKHolder<CSPIGrab2> {};
class CDDKImageRect : public CDDKHolder<CSPIImageRect> {};
class CDDKRingBuffer : public CDDKHolder<CSPIRingBuffer> {};
class CDDKBoardSelect2 : public CDDKHolder<CSPIBoardSelect2> {};
class CDDKCameraSelect2 : public CDDKHolder<CSPICameraSelect2> {};
class CDDKPropertyChange : public CDDKHolder<CSPIPropertyChange> {};
class CDDKBasicDIO : public CDDKHolder<CSPIBasicDIO> {};
class CDDKLinescan : public CDDKHolder<CSPILinescan> {};
class CDDKDeviceCtrl : public CDDKHolder<CSPIDeviceCtrl> {};
class CDDKRegPort : public CDDKHolder<CSPIRegPort> {};
class CDDKNodeMapHandle : public CDDKHolder<CSPINodeMapHandle> {};
class CDDKNotify : public CDDKHolder<CSPINotify> {};
class CDDKNodeMapHandle2 : public CDDKHolder<CSPINodeMapHandle2> {};

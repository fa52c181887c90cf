#pragma once

#include <ddk/DrvTypes.h>
#include <ddk/ModuleEvents.h>
#include <ddk/SPI.h>

#include <boost/function.hpp>

#include <list>
#include <memory>
#include <typeindex>

class CDrvBoard;

/// The driver's channel (one DMA). Holds its board strongly. The framework opens
/// it, lets it create its service providers, then activates them; it releases
/// them before the channel goes.
class CDrvChannel : public std::enable_shared_from_this<CDrvChannel> {
public:
    explicit CDrvChannel(std::shared_ptr<CDrvBoard> board) : board_(std::move(board)) {}
    virtual ~CDrvChannel() = default;

    virtual void Open(const OptionMap& options, const boost::any& argument) = 0;
    /// Creates the providers this channel offers into `interfaces` (use AddInterface).
    virtual void CreateInterfaces(InterfaceMap& interfaces) = 0;
    /// Calls every activation hook in order; an empty hook raises
    /// boost::bad_function_call ("call to empty boost::function").
    virtual void ActivateInterfaces();
    /// Calls every release hook in order, then forgets every provider.
    virtual void ReleaseInterfaces();
    virtual void GetChannelName(std::wstring& name) = 0;
    virtual void FillInformation(EventInfoMap& events) { (void)events; }
    virtual boost::signals2::connection RegisterEventHandler(uint32_t eventId,
                                                             const EventHandler& handler) {
        return events_.Register(eventId, handler);
    }
    virtual void RaiseEvent(uint32_t eventId, void* data, uint32_t size, int32_t value) {
        events_.Raise(eventId, data, size, value);
    }

    const std::shared_ptr<CDrvBoard>& Board() const { return board_; }
    /// The channel's own interface map (filled by CreateInterfaces).
    InterfaceMap& Interfaces() { return interfaces_; }

protected:
    /// Enters `provider` under its base type Spi, adds its activation and release
    /// hooks and keeps the typed reference.
    template <class Spi, class Provider>
    void AddInterface(InterfaceMap& interfaces, const std::shared_ptr<Provider>& provider) {
        std::shared_ptr<Spi> typed = provider;
        interfaces[std::type_index(typeid(Spi))] = typed;
        activationHooks_.push_back([typed] { typed->Activate(); });
        releaseHooks_.push_back([typed] { typed->Release(); });
        Keep(typed);
    }

    std::shared_ptr<CDrvBoard> board_;
    InterfaceMap interfaces_;
    std::list<boost::function<void()>> activationHooks_;
    std::list<boost::function<void()>> releaseHooks_;

    std::shared_ptr<CSPIGrabber> grabber_;
    std::shared_ptr<CSPISoftwareTrigger> softwareTrigger_;
    std::shared_ptr<CSPIVpa> vpa_;
    std::shared_ptr<CSPITrigger> trigger_;
    std::shared_ptr<CSPIPingPong> pingPong_;
    std::shared_ptr<CSPIGrab2> grab2_;
    std::shared_ptr<CSPIImageRect> imageRect_;
    std::shared_ptr<CSPIRingBuffer> ringBuffer_;
    std::shared_ptr<CSPIBoardSelect2> boardSelect2_;
    std::shared_ptr<CSPICameraSelect2> cameraSelect2_;
    std::shared_ptr<CSPIPropertyChange> propertyChange_;
    std::shared_ptr<CSPIBasicDIO> basicDio_;
    std::shared_ptr<CSPILinescan> linescan_;
    std::shared_ptr<CSPIDeviceCtrl> deviceCtrl_;
    std::shared_ptr<CSPIBufferContainer> bufferContainer_;
    std::shared_ptr<CSPIRegPort> regPort_;
    std::shared_ptr<CSPINodeMapHandle> nodeMapHandle_;
    std::shared_ptr<CSPINotify> notify_;
    std::shared_ptr<CSPINodeMapHandle2> nodeMapHandle2_;

    CEventRegistry events_;

private:
    void Keep(const std::shared_ptr<CSPIGrabber>& p) { grabber_ = p; }
    void Keep(const std::shared_ptr<CSPISoftwareTrigger>& p) { softwareTrigger_ = p; }
    void Keep(const std::shared_ptr<CSPIVpa>& p) { vpa_ = p; }
    void Keep(const std::shared_ptr<CSPITrigger>& p) { trigger_ = p; }
    void Keep(const std::shared_ptr<CSPIPingPong>& p) { pingPong_ = p; }
    void Keep(const std::shared_ptr<CSPIGrab2>& p) { grab2_ = p; }
    void Keep(const std::shared_ptr<CSPIImageRect>& p) { imageRect_ = p; }
    void Keep(const std::shared_ptr<CSPIRingBuffer>& p) { ringBuffer_ = p; }
    void Keep(const std::shared_ptr<CSPIBoardSelect2>& p) { boardSelect2_ = p; }
    void Keep(const std::shared_ptr<CSPICameraSelect2>& p) { cameraSelect2_ = p; }
    void Keep(const std::shared_ptr<CSPIPropertyChange>& p) { propertyChange_ = p; }
    void Keep(const std::shared_ptr<CSPIBasicDIO>& p) { basicDio_ = p; }
    void Keep(const std::shared_ptr<CSPILinescan>& p) { linescan_ = p; }
    void Keep(const std::shared_ptr<CSPIDeviceCtrl>& p) { deviceCtrl_ = p; }
    void Keep(const std::shared_ptr<CSPIBufferContainer>& p) { bufferContainer_ = p; }
    void Keep(const std::shared_ptr<CSPIRegPort>& p) { regPort_ = p; }
    void Keep(const std::shared_ptr<CSPINodeMapHandle>& p) { nodeMapHandle_ = p; }
    void Keep(const std::shared_ptr<CSPINotify>& p) { notify_ = p; }
    void Keep(const std::shared_ptr<CSPINodeMapHandle2>& p) { nodeMapHandle2_ = p; }
};

#pragma once

#include <ddk/CDDKBufferContainer.h>
#include <ddk/CDDKHolder.h>
#include <ddk/CGlobalObj.h>
#include <ddk/CTryLock.h>
#include <ddk/DrvTypes.h>
#include <ddk/IDDKRefCnt.h>

#include <nwLogging/Logger.h>

#include <boost/signals2/connection.hpp>
#include <boost/thread/recursive_mutex.hpp>

#include <memory>

class CDrvChannel;
class CDDKBoard;

/// The channel wrapper: one holder per provider kind, the driver channel, and the
/// channel's acquisition try-lock and configuration lock used by the image
/// objects. Opened on the host thread; the locks are used from any host thread.
class DDKChannel : public CDDKGrabber,
                   public CDDKSoftwareTrigger,
                   public CDDKVpa,
                   public CDDKTrigger,
                   public CDDKPingPong,
                   public CDDKGrab2,
                   public CDDKImageRect,
                   public CDDKRingBuffer,
                   public CDDKBoardSelect2,
                   public CDDKCameraSelect2,
                   public CDDKPropertyChange,
                   public CDDKBasicDIO,
                   public CDDKLinescan,
                   public CDDKDeviceCtrl,
                   public CDDKBufferContainer,
                   public CDDKRegPort,
                   public CDDKNodeMapHandle,
                   public CDDKNotify,
                   public IDDKRefCnt,
                   public GlobalObjRef,
                   public CDDKNodeMapHandle2 {
public:
    explicit DDKChannel(std::shared_ptr<CDDKBoard> board);
    ~DDKChannel() override;

    /// The provider of kind Spi, empty when the driver offers none.
    template <class Spi> const std::shared_ptr<Spi>& Get() const {
        return static_cast<const CDDKHolder<Spi>&>(*this).Provider();
    }

    void SetDriverChannel(std::shared_ptr<CDrvChannel> channel) { channel_ = std::move(channel); }
    /// Opens the driver channel and installs its providers.
    void Create(const OptionMap& options, const boost::any& argument);
    void SetGrabber(std::shared_ptr<CSPIGrabber> grabber) { CDDKGrabber::SetProvider(grabber); }
    std::wstring GetChannelName() const;
    virtual void FillInformation(EventInfoMap& events);
    virtual boost::signals2::connection RegisterEventHandler(uint32_t eventId,
                                                             const EventHandler& handler);

    const std::shared_ptr<CDrvChannel>& DriverChannel() const { return channel_; }
    const std::shared_ptr<CDDKBoard>& Board() const { return board_; }
    CTryLock& AcquisitionLock() { return acquisitionLock_; }
    boost::recursive_mutex& ConfigurationLock() { return configurationLock_; }

private:
    void InstallProviders(const InterfaceMap& interfaces);

    std::shared_ptr<CDrvChannel> channel_;
    CTryLock acquisitionLock_;
    boost::recursive_mutex configurationLock_;
    std::shared_ptr<CDDKBoard> board_;
    nwLogging::logger_ptr log_;
};

#pragma once

#include <ORBase/ORBase.h>
#include <ORV/IDisposableType.h>
#include <ORV/ORV.h>
#include <ddk/CDeliveredBufferRecord.h>
#include <ddk/CMutex.h>
#include <ddk/CTryLock.h>
#include <ddk/DrvTypes.h>
#include <ddk/ModuleEventSource.h>
#include <ddk/Notification.h>

#include <nwLogging/Logger.h>

#include <boost/thread/recursive_mutex.hpp>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class CDDKSystem;
class CDDKProducer;
class CDDKBoard;
class DDKChannel;
class CBaseImage;
class CDDKBufferList;
class CSPIGrab2;
struct CImageInstanceDataWrapper;

/// The generic image object: lives in a host block, is the base object of every
/// image object it creates, and dispatches every host interface call to the
/// channel's service providers under the framework's locks.
///
/// Threads: host calls arrive on any thread. The state lock (recursive, timed)
/// orders snap, grab start/stop and notification registration; the grab lock and
/// the channel's acquisition lock are try-locks held across a running grab;
/// `bindingLock_` guards the wrappers and the current image, which selection and
/// image replacement change; the delivered-buffer record has its own lock.
/// While a grab runs, its waits use what GrabStart pinned instead of binding
/// again; the stop unpins and lets every pinned wait leave before the locks (and
/// with them the buffer list) are given up.
class CGeneric : public virtual ORV::IDisposableType {
public:
    CGeneric();
    ~CGeneric() override;

    /// Remembers the block this object lives in (its shared-from-this).
    void SetSelf(ORHandle self);
    /// Opens system, producer, board and channel "~idx:0" and creates the first
    /// host image. Raises DDKException on failures of the wiring.
    ORHandle OpenDefaultChannel();

    // Generic operation 0.
    virtual ORHandle CreateHostImage();

    // ORV::IGrabber
    virtual int32_t Snap();
    virtual int32_t GrabberReserved();
    virtual int32_t SetTimeout(uint32_t milliseconds);
    virtual int32_t GrabberNotImplemented();
    virtual int32_t SnapArea(int64_t a, int64_t b, int64_t c);
    virtual int32_t SetUserPointer(void* user);
    virtual int32_t GetModuleIdentifier(uint8_t* identifier);
    // ORV::IGrab2
    virtual int32_t GrabStart();
    virtual int32_t GrabWait(int32_t* bufferIndex);
    virtual int32_t GrabStop(uint8_t flag);
    virtual int32_t GrabInfo(int32_t command, double* value);
    // ORV::IRingBuffer
    virtual int32_t NumBuffers(uint32_t action, int32_t* count, ORHandle* newImage);
    virtual int32_t UnlockBuffer(int32_t index);
    virtual int32_t LockMode(uint32_t action, uint32_t* mode);
    virtual int32_t IsLocked(int32_t index, uint8_t* locked);
    virtual int32_t GetBufferImage(int32_t index, ORHandle* image);
    virtual int32_t BufferSequence(int32_t position, int32_t* index);
    virtual int32_t BufferInfo(int32_t index, int32_t type, double* value);
    // ORV::IImageRect
    virtual int32_t ImageSize(uint32_t action, int32_t* width, int32_t* height, ORHandle* newImage);
    virtual int32_t ImageOffset(uint32_t action, int32_t* x, int32_t* y);
    // ORV::IBoardSelect2
    virtual int32_t GetBoardCount(int32_t* count);
    virtual int32_t GetCurrentBoard(int32_t* index);
    virtual int32_t SetBoard(int32_t index, ORHandle* newImage);
    // ORV::ICameraSelect2
    virtual int32_t GetCameraCount(int32_t* count);
    virtual int32_t GetCurrentCamera(int32_t* index);
    virtual int32_t SetCamera(int32_t index, ORHandle* newImage);
    // ORV::IDeviceCtrl
    virtual int32_t TextCommand(uint32_t command, const char* input, uint64_t inputLength,
                                char* output, uint64_t* outputSize);
    virtual int32_t RawCommand(uint32_t command, const void* input, uint64_t inputSize,
                               void* output, uint64_t* outputSize);
    // ORV::ISoftwareTrigger
    virtual int32_t Trigger(uint32_t argument);
    // ORV::INodeMapHandle
    virtual int32_t GetNodeMap(ORHandle* nodeMap);
    // ORV::INodeMapHandle2
    virtual int32_t GetNodeMapCount(int32_t* count);
    virtual int32_t GetNodeMapName(int32_t index, char* destination, uint32_t* length);
    virtual int32_t GetNodeMapByName(const char* name, ORHandle* nodeMap);
    virtual int32_t GetNodeMapDescription(const char* name, char* destination, uint32_t* length);
    // ORV::INotify
    virtual int32_t Register(uint32_t eventId, ORV::NotifyCallback callback, void* user,
                             uint32_t* key);
    virtual int32_t Unregister(uint32_t key);
    virtual int32_t GetEventCount(uint32_t* count);
    virtual int32_t GetEventEntry(uint32_t position, char* destination, uint32_t* length,
                                  uint32_t* eventId);
    virtual int32_t QueryNotification(uint32_t eventId, int32_t type, int64_t* value);
    virtual int32_t IsRegistered(ORV::NotifyCallback callback, uint8_t* registered);
    // ORV::IPingPong, ORV::ITrigger, ORV::IBasicDIO, ORV::IPropertyChange, ORV::IRegPort
    virtual int32_t PingPongStart();
    virtual int32_t PingPongWait(int32_t* bufferIndex);
    virtual int32_t PingPongStop();
    virtual int32_t PingPongStatus(int32_t* status);
    virtual int32_t SetTriggerMode(int32_t mode);
    virtual int32_t DioInputCount(uint32_t* count);
    virtual int32_t DioOutputCount(uint32_t* count);
    virtual int32_t DioReadInput(uint32_t line, uint8_t* state);
    virtual int32_t DioReadInputs(uint64_t* states);
    virtual int32_t DioWriteOutput(uint32_t line, uint8_t state);
    virtual int32_t DioWriteOutputs(uint64_t states);
    virtual int32_t DioReadOutput(uint32_t line, uint8_t* state);
    virtual int32_t DioReadOutputs(uint64_t* states);
    virtual int32_t SetImageChangedCallback(ORV::ImageChangedCallback callback, void* user);
    virtual int32_t ClearImageChangedCallback();
    virtual int32_t PortRead(void* buffer, uint64_t address, uint64_t length);
    virtual int32_t PortWrite(const void* buffer, uint64_t address, uint64_t length);
    virtual int32_t PortAccessMode(uint64_t address, int32_t* mode);
    virtual int32_t PortName(char* destination, uint32_t* length);
    virtual int32_t PortInvalidate();
    virtual int32_t PortSize(uint64_t* size);
    virtual int32_t PortEndianness(int32_t* littleEndian);

    /// Run by an image object being destroyed: stops the grab that runs on its
    /// own buffer list.
    void StopGrabOfReleasedImage(CImageInstanceDataWrapper* wrapper);

private:
    struct Binding;
    Binding Bind() const DDK_EXCLUDES(bindingLock_);
    /// The selected system, producer, board and channel, copied together.
    struct Wiring {
        std::shared_ptr<CDDKSystem> system;
        std::shared_ptr<CDDKProducer> producer;
        std::shared_ptr<CDDKBoard> board;
        std::shared_ptr<DDKChannel> channel;
    };
    Wiring CurrentWiring() const DDK_EXCLUDES(bindingLock_);
    /// Runs `operation` of the bound channel's provider of kind Spi on the bound
    /// buffer list, guarded; "not supported" when the channel has no such provider.
    template <class Spi, class List, class... Parameters, class... Arguments>
    int32_t Forward(int32_t (Spi::*operation)(List, Parameters...), Arguments... arguments);

    void CollectEventInformation();
    /// A new image object on `channel` with this object as its base and its buffer
    /// list allocated.
    std::pair<orvBase::shared_handle, CBaseImage*>
    CreateImageOn(const std::shared_ptr<DDKChannel>& channel);
    void AddInterfaceTables(const std::shared_ptr<DDKChannel>& channel, CDDKBufferList* bufferList);
    ORHandle ReplaceImage(const std::shared_ptr<DDKChannel>& channel);
    /// The delivered-buffer record's limit: the ring's number of buffers.
    void SetRecordLimit(const std::shared_ptr<DDKChannel>& channel, CDDKBufferList* bufferList);
    /// Gives a replacement image to the caller, or releases it when the caller
    /// asked for none.
    static void HandOut(ORHandle image, ORHandle* newImage);
    void CallImageChanged(int32_t stage);
    /// Releases the grab lock and the acquisition lock of the grabbing channel.
    void ReleaseGrabLocks() DDK_REQUIRES(stateLock_);
    int32_t StopGrab(CImageInstanceDataWrapper* wrapper, CDDKBufferList* bufferList, uint8_t flag)
        DDK_REQUIRES(stateLock_);
    /// What a running grab's waits work on, fixed from a successful GrabStart to
    /// the stop. The grab's locks keep the image from being replaced meanwhile;
    /// releasing it stops the grab first (StopGrabOfReleasedImage).
    struct GrabPin {
        CSPIGrab2* grab2 = nullptr;
        CDDKBufferList* bufferList = nullptr;
        bool recordsDeliveries = false;
    };
    void PinGrab(const GrabPin& pin) DDK_REQUIRES(stateLock_);
    /// False when no grab is pinned; the wait then binds as every other call.
    bool PinnedGrabWait(int32_t* bufferIndex, int32_t& result);
    /// Waits until every wait that found the pin has left it.
    void DrainPinnedWaits() const;
    int32_t SwitchTo(const std::shared_ptr<CDDKBoard>& board,
                     const std::shared_ptr<DDKChannel>& channel, ORHandle* newImage);
    int32_t ShareCurrentImage(ORHandle* image) const;
    void OnEvent(uint32_t eventId, void* data, uint32_t size, int32_t value);

    CMutex<boost::recursive_timed_mutex> stateLock_;
    nwLogging::logger_ptr log_;
    orvBase::weak_handle self_;

    mutable CMutex<std::mutex> bindingLock_;
    std::shared_ptr<CDDKSystem> system_ DDK_GUARDED_BY(bindingLock_);
    std::shared_ptr<CDDKProducer> producer_ DDK_GUARDED_BY(bindingLock_);
    std::shared_ptr<CDDKBoard> board_ DDK_GUARDED_BY(bindingLock_);
    std::shared_ptr<DDKChannel> channel_ DDK_GUARDED_BY(bindingLock_);
    orvBase::weak_handle currentImage_ DDK_GUARDED_BY(bindingLock_);
    CBaseImage* currentImageObject_ DDK_GUARDED_BY(bindingLock_) = nullptr;

    CTryLock grabLock_;
    // Whose acquisition lock a running grab holds.
    std::shared_ptr<DDKChannel> grabChannel_ DDK_GUARDED_BY(stateLock_);
    std::atomic<bool> grabLocksHeld_{false};
    std::atomic<bool> grabActive_{false};
    // Written only while unpinned with no pinned wait in flight (PinGrab).
    GrabPin grabPin_;
    std::atomic<bool> grabPinned_{false};
    std::atomic<uint32_t> pinnedWaits_{0};
    std::atomic<void*> userPointer_{nullptr};
    std::atomic<uint32_t> timeoutMilliseconds_{0};
    bool tablesAdded_ = false;

    CMutex<std::mutex> notificationLock_;
    std::map<uint32_t, Notification> notifications_ DDK_GUARDED_BY(notificationLock_);
    uint32_t nextRegistrationKey_ DDK_GUARDED_BY(notificationLock_) = 1;
    ModuleEventSource systemEvents_;
    ModuleEventSource boardEvents_;
    ModuleEventSource channelEvents_;
    EventInfoMap eventInformation_ DDK_GUARDED_BY(notificationLock_);
    std::map<uint32_t, const ModuleEventSource*> eventOwners_ DDK_GUARDED_BY(notificationLock_);

    CMutex<std::mutex> callbackLock_;
    ORV::ImageChangedCallback imageChanged_ DDK_GUARDED_BY(callbackLock_) = nullptr;
    void* imageChangedUser_ DDK_GUARDED_BY(callbackLock_) = nullptr;

    CDeliveredBufferRecord delivered_;

    CMutex<std::mutex> nodeMapLock_;
    std::vector<NodeMapEntry> nodeMaps_ DDK_GUARDED_BY(nodeMapLock_);

    std::wstring fixedSelection_;
};

// The generic object's single-image and streaming operations.

#include <ddk/CGeneric.h>

#include "CGenericBinding.h"

#include <ddk/CDrvInfo.h>
#include <ddk/CGlobalObj.h>

#include <boost/chrono.hpp>

#include <cstdio>
#include <mutex>
#include <thread>

namespace {

constexpr auto kStateLockWait = boost::chrono::milliseconds(100000);

/// Parses "7A41C0D2-3E95-4f1b-B6A8-52D07C9E1F34" into the 16-byte GUID layout:
/// three little-endian fields, then eight bytes as written.
bool ParseGuid(const char* text, uint8_t* bytes) {
    unsigned data1 = 0, data2 = 0, data3 = 0, tail[8] = {};
    const int fields =
        std::sscanf(text, "%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x", &data1, &data2, &data3, &tail[0],
                    &tail[1], &tail[2], &tail[3], &tail[4], &tail[5], &tail[6], &tail[7]);
    if (fields != 11)
        return false;
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(data1 >> (8 * i));
    bytes[4] = static_cast<uint8_t>(data2);
    bytes[5] = static_cast<uint8_t>(data2 >> 8);
    bytes[6] = static_cast<uint8_t>(data3);
    bytes[7] = static_cast<uint8_t>(data3 >> 8);
    for (int i = 0; i < 8; ++i)
        bytes[8 + i] = static_cast<uint8_t>(tail[i]);
    return true;
}

} // namespace

int32_t CGeneric::Snap() {
    return Guarded(log_, [&]() -> int32_t {
        if (!stateLock_.try_lock())
            return ORV::E_BUSY;
        CLockGuard state(stateLock_, std::adopt_lock);
        Binding binding = Bind();
        CSPIGrabber* grabber = binding.provider<CSPIGrabber>();
        if (grabber == nullptr)
            return ORV::E_NOTSUPPORTED;
        std::unique_lock<CTryLock> acquisition(binding.channel->AcquisitionLock(),
                                               std::try_to_lock);
        if (!acquisition.owns_lock())
            return ORV::E_BUSY;
        std::unique_lock<CTryLock> grab(grabLock_, std::try_to_lock);
        if (!grab.owns_lock())
            return ORV::E_BUSY;
        const int32_t result = grabber->Snap(binding.bufferList());
        delivered_.Clear();
        return result;
    });
}

int32_t CGeneric::GrabberReserved() {
    return ORV::OK;
}

int32_t CGeneric::SetTimeout(uint32_t milliseconds) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        CSPIGrabber* grabber = binding.provider<CSPIGrabber>();
        if (grabber == nullptr)
            return ORV::E_NOTSUPPORTED;
        std::unique_lock<boost::recursive_mutex> configuration(binding.channel->ConfigurationLock(),
                                                               std::try_to_lock);
        if (!configuration.owns_lock())
            return ORV::E_BUSY;
        const int32_t result = grabber->SetTimeout(static_cast<int32_t>(milliseconds));
        return result >= 0 ? ORV::OK : result;
    });
}

int32_t CGeneric::GrabberNotImplemented() {
    return ORV::E_NOTIMPL;
}

int32_t CGeneric::SnapArea(int64_t a, int64_t b, int64_t c) {
    return Forward(&CSPIGrabber::SnapArea, a, b, c);
}

int32_t CGeneric::SetUserPointer(void* user) {
    userPointer_ = user;
    return ORV::OK;
}

int32_t CGeneric::GetModuleIdentifier(uint8_t* identifier) {
    return Guarded(log_, [&]() -> int32_t {
        if (identifier == nullptr)
            return ORV::E_INVALIDARG;
        std::shared_ptr<CDrvInfo> info = CGlobalObj::Get().DriverInfo();
        char text[40] = {};
        if (!info || info->GetModuleGuid(text) != 0 || !ParseGuid(text, identifier))
            return ORV::E_FAIL;
        return ORV::OK;
    });
}

void CGeneric::ReleaseGrabLocks() {
    if (grabChannel_) {
        grabChannel_->AcquisitionLock().unlock();
        grabChannel_.reset();
    }
    grabLock_.unlock();
}

int32_t CGeneric::GrabStart() {
    return Guarded(log_, [&]() -> int32_t {
        if (!stateLock_.try_lock_for(kStateLockWait))
            return ORV::E_BUSY;
        CLockGuard state(stateLock_, std::adopt_lock);
        Binding binding = Bind();
        CSPIGrab2* grab2 = binding.provider<CSPIGrab2>();
        if (grab2 == nullptr)
            return ORV::E_NOTSUPPORTED;
        // Both locks stay held from a successful start to the stop, which may come
        // from another thread (ReleaseGrabLocks); a failed start lets them go here.
        std::unique_lock<CTryLock> grab(grabLock_, std::try_to_lock);
        if (!grab.owns_lock())
            return ORV::E_BUSY;
        std::unique_lock<CTryLock> acquisition(binding.channel->AcquisitionLock(),
                                               std::try_to_lock);
        if (!acquisition.owns_lock())
            return ORV::E_BUSY;
        if (!binding.image)
            return ORV::E_EXPIRED;
        int32_t result = ORV::E_FAIL;
        try {
            result = grab2->GrabStart(binding.bufferList());
        } catch (...) {
            binding.wrapper()->acquiring = 1;
            throw;
        }
        binding.wrapper()->acquiring = 1;
        if (result < 0)
            return result;
        grabChannel_ = binding.channel;
        acquisition.release();
        grab.release();
        grabActive_ = true;
        grabLocksHeld_ = true;
        PinGrab(
            GrabPin{grab2, binding.bufferList(), binding.provider<CSPIRingBuffer>() != nullptr});
        return ORV::OK;
    });
}

void CGeneric::PinGrab(const GrabPin& pin) {
    grabPin_ = pin;
    grabPinned_.store(true, std::memory_order_seq_cst);
}

namespace {

/// Counts a wait that may use the pin, from before it reads the pin until it
/// has left it.
class PinnedWaitCount {
public:
    explicit PinnedWaitCount(std::atomic<uint32_t>& count) : count_(count) {
        count_.fetch_add(1, std::memory_order_seq_cst);
    }
    ~PinnedWaitCount() { count_.fetch_sub(1, std::memory_order_release); }
    PinnedWaitCount(const PinnedWaitCount&) = delete;
    PinnedWaitCount& operator=(const PinnedWaitCount&) = delete;

private:
    std::atomic<uint32_t>& count_;
};

} // namespace

bool CGeneric::PinnedGrabWait(int32_t* bufferIndex, int32_t& result) {
    // Counted first, then the pin read (both sequentially consistent): a stop that
    // clears the pin and then finds no count has no wait left using it.
    PinnedWaitCount counted(pinnedWaits_);
    if (!grabPinned_.load(std::memory_order_seq_cst))
        return false;
    const GrabPin& pin = grabPin_;
    result = pin.grab2->GrabWait(pin.bufferList, bufferIndex);
    if (result >= 0 && bufferIndex != nullptr && *bufferIndex >= 0 && pin.recordsDeliveries)
        delivered_.Record(*bufferIndex);
    return true;
}

void CGeneric::DrainPinnedWaits() const {
    // The stop has ended every blocked SDK wait already; what is left returns at once.
    while (pinnedWaits_.load(std::memory_order_acquire) != 0)
        std::this_thread::yield();
}

int32_t CGeneric::GrabWait(int32_t* bufferIndex) {
    return Guarded(log_, [&]() -> int32_t {
        int32_t result = ORV::E_FAIL;
        if (PinnedGrabWait(bufferIndex, result))
            return result;
        Binding binding = Bind();
        CSPIGrab2* grab2 = binding.provider<CSPIGrab2>();
        if (grab2 == nullptr)
            return ORV::E_NOTSUPPORTED;
        result = grab2->GrabWait(binding.bufferList(), bufferIndex);
        if (result >= 0 && bufferIndex != nullptr && *bufferIndex >= 0 &&
            binding.provider<CSPIRingBuffer>() != nullptr)
            delivered_.Record(*bufferIndex);
        return result;
    });
}

int32_t CGeneric::StopGrab(CImageInstanceDataWrapper* wrapper, CDDKBufferList* bufferList,
                           uint8_t flag) {
    Binding binding = Bind();
    CSPIGrab2* grab2 = binding.provider<CSPIGrab2>();
    // New waits bind again from here on; the pinned ones leave once the stop has
    // ended them, before the buffer list can go.
    const bool pinned = grabPinned_.exchange(false, std::memory_order_seq_cst);
    int32_t result = ORV::E_BUSY;
    if (wrapper != nullptr && wrapper->acquiring != 0 && grab2 != nullptr) {
        try {
            result = grab2->GrabStop(bufferList, flag);
        } catch (...) {
            result = ORV::E_FAIL;
        }
        wrapper->acquiring = 0;
    }
    if (pinned)
        DrainPinnedWaits();
    grabActive_ = false;
    if (grabLocksHeld_.exchange(false))
        ReleaseGrabLocks();
    return result;
}

int32_t CGeneric::GrabStop(uint8_t flag) {
    return Guarded(log_, [&]() -> int32_t {
        if (!stateLock_.try_lock_for(kStateLockWait))
            return ORV::E_BUSY;
        CLockGuard state(stateLock_, std::adopt_lock);
        Binding binding = Bind();
        return StopGrab(binding.wrapper(), binding.bufferList(), flag);
    });
}

void CGeneric::StopGrabOfReleasedImage(CImageInstanceDataWrapper* wrapper) {
    // Only the image whose own buffer list is acquiring stops the grab; releasing an
    // older image must not end the acquisition of the current one.
    if (!grabActive_ || wrapper == nullptr || wrapper->acquiring == 0)
        return;
    if (!stateLock_.try_lock_for(kStateLockWait))
        return;
    CLockGuard state(stateLock_, std::adopt_lock);
    StopGrab(wrapper, wrapper->bufferList, 1);
}

int32_t CGeneric::GrabInfo(int32_t command, double* value) {
    return Forward(&CSPIGrab2::GrabInfo, command, value);
}

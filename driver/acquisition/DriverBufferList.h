#pragma once

#include "board/ImageLayout.h"
#include "sdk/SdkMemoryHead.h"

#include <ORV/ORVTypes.h>
#include <ddk/CDDKBufferList.h>
#include <ddk/CMutex.h>
#include <ddk/ThreadSafety.h>
#include <platform/ZeroedBlock.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CDriverChannel;

/// The 24-byte parameter record the host passes for typed SDK parameters: SDK
/// parameter id, SDK type code, value length in bytes and (for a set) a pointer
/// to the value.
struct TypedParameterRecord {
    int32_t id = 0;
    int32_t type = 0;
    uint64_t length = 0;
    void* value = nullptr;
};
static_assert(sizeof(void*) != 8 || sizeof(TypedParameterRecord) == 24,
              "the host's parameter record is 24 bytes");

/// The per-image acquisition object of a channel: all image buffers in one
/// zero-filled block, the VPA table describing an image, the SDK memory head
/// while acquiring, the acquisition counters and the SDK's per-buffer answers.
/// Created by the buffer-container provider; every other provider receives it
/// through the framework as its opaque CDDKBufferList.
///
/// Misuse and SDK failures are reported by throwing std::runtime_error with a
/// fixed text; the buffer list never logs. Buffer numbers are 1-based (the SDK's),
/// buffer indices 0-based (the host's).
///
/// Threads: any host thread. `lock_` (recursive) guards the state transitions,
/// the memory head and the ring bookkeeping (next/last picture and buffer numbers,
/// the buffer awaiting its automatic unlock). Everything that touches the head
/// takes it except the SDK wait itself, so a stop from another thread is never
/// blocked by a waiting thread; StopAcquisition holds it from the SDK stop to the
/// state change, so a woken waiter sees either a running or a fully stopped
/// acquisition. The published counters and the current image are atomics, written
/// under `lock_` and readable without it. The block, the buffer addresses, the
/// layout and the VPA table are fixed between construction and destruction.
class CDriverBufferList : public CDDKBufferList {
public:
    enum class State : int32_t { Free = 0, Allocated = 1, AcquisitionStarted = 2 };

    /// What WaitForImage found.
    enum WaitOutcome : int32_t {
        WaitFailed = 0,       ///< another SDK error
        WaitDelivered = 1,    ///< an image arrived; the index is set
        WaitStopped = 2,      ///< the acquisition was stopped during the wait
        WaitOutOfBuffers = 3, ///< every buffer is locked, nothing can arrive
        WaitTimedOut = 4      ///< the SDK wait timed out
    };

    /// Copies the channel's number of buffers and allocates (state "Allocated").
    /// Throws std::bad_alloc when the memory cannot be had.
    explicit CDriverBufferList(CDriverChannel& channel);
    /// Stops a running acquisition first, so that the SDK never writes into the
    /// block after it is gone. Never throws.
    ~CDriverBufferList();
    CDriverBufferList(const CDriverBufferList&) = delete;
    CDriverBufferList& operator=(const CDriverBufferList&) = delete;

    /// The list behind a provider's argument (null stays null): every list the
    /// framework passes on was made by this driver's buffer container.
    static CDriverBufferList* Of(CDDKBufferList* list) {
        return static_cast<CDriverBufferList*>(list);
    }
    /// "Free", "Allocated" or "AcquisitionStarted".
    static const char* StateText(State state);

    // Acquisition.
    /// "Allocated" -> "AcquisitionStarted": memory head, buffers, DMA, camera.
    /// On failure everything registered so far is released again.
    void StartAcquisition();
    /// "AcquisitionStarted" -> "Allocated": DMA, camera, buffers, head. Every
    /// step runs even when one fails; the list ends "Allocated" either way and
    /// the first failure is thrown afterwards.
    void StopAcquisition();
    /// Blocks (without the lock) for the next image up to the channel's time-out.
    /// Answers a WaitOutcome; for WaitDelivered `bufferIndex` is the 0-based index.
    int32_t WaitForImage(int32_t& bufferIndex);

    // SDK counters of the running acquisition (status queries 10, 20, 30, 40, 80);
    // each throws when no acquisition runs. SDK errors are answered as values.
    int64_t GetAcquiredCount() const;
    int64_t GetLostCount() const;
    int64_t GetLostLockedCount() const;
    int64_t GetLockedCount() const;
    int64_t GetPendingCount() const;

    // Per-buffer SDK answers, in any state (the SDK refuses without a head).
    /// 64-bit time stamp of the last delivered buffer (buffer 0 before any).
    double GetLastTimestamp() const;
    double GetBufferTimestamp(int64_t bufferNumber) const;
    uint16_t GetBufferTag(int64_t bufferNumber) const;
    uint64_t GetTransferLength(int64_t bufferNumber) const;
    /// Throws unless acquiring.
    bool IsBufferLocked(int64_t bufferNumber) const;
    /// Hands a locked buffer back to the SDK (lock mode 2 only); nothing while
    /// stopped.
    void Unlock(int64_t bufferNumber);
    /// Typed SDK read of `descriptor` on the channel's DMA into `buffer`. Without
    /// a buffer only `size` is set. 0, 0x80000002 for a size that does not fit the
    /// descriptor (or is too small for its type), 0x80000001 when the SDK refuses.
    int32_t GetTypedParameter(const TypedParameterRecord& descriptor, void* buffer,
                              uint64_t& size) const;

    // Read-only views.
    State GetState() const { return state_.load(); }
    bool IsAcquiring() const { return GetState() == State::AcquisitionStarted; }
    CDriverChannel& Channel() const { return *channel_; }
    uint32_t NumberOfBuffers() const { return numberOfBuffers_; }
    /// Bytes of one buffer.
    uint64_t ImageSize() const { return imageSize_; }
    /// Image size after rotation.
    uint32_t HostWidth() const { return layout_.hostWidth; }
    uint32_t HostHeight() const { return layout_.hostHeight; }
    /// Geometry, format and rotation the buffers were made for.
    const ImageLayout& Layout() const { return layout_; }
    /// The VPA table at its first real entry (four guard entries on each side).
    const ORV::VpaEntry* VpaTable() const { return FirstVpaEntry(vpaTable_.data()); }
    /// Start of buffer `index` (0-based); null when out of range.
    uint8_t* BufferAddress(uint32_t index) const;
    /// Start of the buffer of the last delivered image (buffer 0 before any).
    uint8_t* CurrentImage() const { return currentImage_.load(); }

    // What the last WaitForImage stored; StartAcquisition resets all but the tag
    // and the transfer length.
    uint64_t ImagesAcquired() const { return imagesAcquired_.load(); }
    uint64_t LastTag() const { return lastTag_.load(); }
    uint64_t LastPictureNumber() const { return lastPictureNumber_.load(); }
    uint64_t NextPictureNumber() const { return nextPictureNumber_.load(); }
    /// 1-based; 0 when nothing was delivered since the start.
    uint64_t LastBufferNumber() const { return lastBufferNumber_.load(); }
    uint64_t NextBufferNumber() const { return nextBufferNumber_.load(); }
    uint64_t LastTransferLength() const { return lastTransferLength_.load(); }
    /// Images shorter than the channel's minimum bytes since the start.
    uint64_t IncompleteImages() const { return incompleteImages_.load(); }

private:
    void Allocate();
    void Free();
    /// Throws `text` unless the state is `required`.
    void Require(State required, const char* text) const;
    /// Throws `text` with the SDK's description of the grabber's last failure.
    [[noreturn]] void FailSdk(const std::string& text) const;
    /// Status query `code` of the running acquisition.
    int64_t QueryStatus(int code, int64_t data) const;
    /// The same, for a caller that holds the lock already: the SDK's per-buffer
    /// answers take no lock of their own on the per-image path.
    int64_t QueryStatusHeld(int code, int64_t data) const DDK_REQUIRES(lock_);
    int64_t Counter(int code) const;
    /// Per-buffer parameter `id` into `value`; false when the SDK refuses.
    bool BufferParameter(int id, void* value, int64_t bufferNumber) const;
    bool BufferParameterHeld(int id, void* value, int64_t bufferNumber) const DDK_REQUIRES(lock_);
    uint16_t BufferTagHeld(int64_t bufferNumber) const DDK_REQUIRES(lock_);
    uint64_t TransferLengthHeld(int64_t bufferNumber) const DDK_REQUIRES(lock_);
    /// Blocking (2) for lock modes 0 and 2, standard (1) for lock mode 1.
    static int AcquisitionMode(uint32_t lockMode);
    void StartCamera();
    void StopCamera();
    /// The stop's steps: DMA (tried twice), camera, buffers, head. Gives the head
    /// and the block up when the DMA could not be stopped. Answers the first
    /// failure's text, empty when every step worked, and sets `reason` to the
    /// SDK's description of that failure.
    std::string StopSteps(std::string& reason) noexcept DDK_REQUIRES(lock_);
    // WaitForImage steps.
    int32_t FailedWait(int64_t result) DDK_REQUIRES(lock_);
    int32_t DeliverImage(int32_t& bufferIndex) DDK_REQUIRES(lock_);
    /// Stores a value that only holders of the lock write.
    static void Publish(std::atomic<uint64_t>& field, uint64_t value) {
        field.store(value, std::memory_order_release);
    }

    std::vector<ORV::VpaEntry> vpaTable_;
    std::atomic<uint64_t> imagesAcquired_{0};
    std::atomic<uint64_t> lastTag_{0};
    uint64_t imageSize_ = 0;
    mutable CMutex<std::recursive_mutex> lock_;
    platform::ZeroedBlock memory_;
    CDriverChannel* channel_;
    std::atomic<State> state_{State::Free};
    SdkMemoryHead head_ DDK_GUARDED_BY(lock_);
    ImageLayout layout_;
    std::vector<uint8_t*> bufferAddresses_;
    std::atomic<uint8_t*> currentImage_{nullptr};
    std::atomic<uint64_t> nextPictureNumber_{0};
    std::atomic<uint64_t> lastPictureNumber_{0};
    std::atomic<uint64_t> nextBufferNumber_{0};
    std::atomic<uint64_t> lastBufferNumber_{0};
    std::atomic<uint64_t> lastTransferLength_{0};
    uint32_t numberOfBuffers_ = 0;
    std::atomic<uint64_t> incompleteImages_{0};
    /// Buffer the next wait unlocks in lock mode 0; cleared once unlocked, so a
    /// failed wait does not make the next one unlock a buffer the host has not
    /// seen yet.
    int64_t pendingUnlock_ DDK_GUARDED_BY(lock_) = 0;
};

#pragma once

#include "board/ChannelPrefix.h"
#include "board/ImageLayout.h"
#include "nodemap/ChannelNodeMaps.h"
#include "sdk/SdkHandle.h"

#include <ddk/CDrvChannel.h>
#include <ddk/IDDKRefCnt.h>

#include <ORV/ORVTypes.h>

#include <nwLogging/Logger.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class CDriverBoard;
class CDriverConfiguration;
class CDriverSystem;

/// One DMA of a board: the unit through which one image stream reaches host
/// memory. `InitChannel` reads the geometry, pixel format and buffer settings
/// from the SDK and the DMA's configuration section and connects the port's
/// camera; the destructor disconnects it. The layout of an image in a buffer,
/// rotation included, is described by Layout().
///
/// Threads: construction and InitChannel run on the thread that opens the
/// channel, before any interface uses it. Afterwards the format fields and the
/// rotation never change and may be read from any thread. Width and height change
/// only through SetImageSize, which the framework's configuration lock serialises
/// against buffer allocation. The number of buffers, the lock mode and the
/// time-out are atomics: interfaces set them from any host thread while a wait
/// reads them. The node maps guard their own state (CChannelNodeMaps).
class CDriverChannel : public CDrvChannel {
public:
    /// Largest number of buffers a channel accepts (0x0FFFFFFE).
    static constexpr uint32_t MaxBuffers = 268435454u;

    CDriverChannel(const std::wstring& name, std::shared_ptr<CDriverBoard> board,
                   std::weak_ptr<IDDKRefCnt> parent);
    ~CDriverChannel() override;

    /// The framework's open: InitChannel (the options are not used).
    void Open(const OptionMap& options, const boost::any& argument) override;
    /// Reads every setting and connects the camera. Throws the standard conversion
    /// exceptions when the name holds no number.
    void InitChannel();
    /// Creates the channel's service providers (defined with the interfaces).
    void CreateInterfaces(InterfaceMap& interfaces) override;
    void GetChannelName(std::wstring& name) override;

    // Geometry and format, as InitChannel found them.
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    uint32_t DmaIndex() const { return dmaIndex_; }
    uint32_t Planes() const { return planes_; }
    uint32_t FormatBits() const { return formatBits_; }
    uint32_t BytesPerSample() const { return bytesPerSample_; }
    uint32_t BytesPerPixel() const { return bytesPerPixel_; }
    /// Bits per pixel reported to the host as the image's data type.
    uint32_t PixelDepth() const { return pixelDepth_; }
    /// Transfer length below which a delivered image counts as incomplete.
    uint32_t MinimumBytes() const { return minimumBytes_; }
    bool PlaneOrderInverted() const { return planesInverted_; }
    uint32_t RotationCode() const { return rotation_; }
    /// The image layout for the current width and height and the channel's format
    /// and rotation.
    ImageLayout Layout() const;

    // Settings the interfaces change from any host thread.
    uint32_t NumberOfBuffers() const { return numberOfBuffers_.load(); }
    void SetNumberOfBuffers(uint32_t count) { numberOfBuffers_.store(count); }
    /// Ring-buffer lock mode 0, 1 or 2.
    uint32_t LockMode() const { return lockMode_.load(); }
    void SetLockMode(uint32_t mode) { lockMode_.store(mode); }
    uint32_t TimeoutSeconds() const { return timeoutSeconds_.load(); }
    void SetTimeoutSeconds(uint32_t seconds) { timeoutSeconds_.store(seconds); }

    // The port's camera; null when none was obtained.
    Gbe_Camera* GigECamera() const { return gigeCamera_.get(); }
    SgcCamera* CoaXPressCamera() const { return coaxpressCamera_; }
    /// Connects again a camera that was obtained at set-up but could not be
    /// connected (a transient fault must not keep the channel from starting),
    /// with the set-up's log lines. False when such a camera still is not
    /// connected; true when it is or when no camera was obtained at all.
    bool ConnectCameraAgain();

    CDriverBoard& DriverBoard() const { return *board_; }
    CDriverSystem& System() const;
    const CDriverConfiguration& Configuration() const;
    const nwLogging::logger_ptr& Log() const { return log_; }
    const std::weak_ptr<IDDKRefCnt>& Parent() const { return parent_; }
    /// "\tBoard = B | Channel = D" for the log lines of the channel's classes.
    ChannelPrefix Prefix() const;

    // SDK parameters of this DMA.
    /// Typed read (unsigned 32-bit); false, with a warning, when the SDK refuses.
    bool GetParameter(int32_t id, uint32_t& value);
    /// false, with a warning, when the SDK refuses.
    bool SetParameter(int32_t id, uint32_t value);
    /// 0, or 0x80000001 when a read fails.
    int32_t GetImageSize(uint32_t& width, uint32_t& height);
    /// Writes a changed size and reads the actual one back into `width`/`height`
    /// and the channel; rolls back on a failed write (0x80000001). `changed` is 1
    /// when the size was written.
    int32_t SetImageSize(uint32_t& width, uint32_t& height, uint8_t& changed);
    int32_t GetImageOffset(uint32_t& x, uint32_t& y);
    /// Like SetImageSize without the read-back.
    int32_t SetImageOffset(uint32_t x, uint32_t y, uint8_t& changed);
    /// The applet's parameter ids and names as a text table (also logged).
    void GetParameterIdList(std::string& text);
    /// (logical board number << 16) | DMA index.
    uint32_t GetChannelKey() const;

    // Node maps: each answers a proxy handle with one reference for the caller, or
    // null.
    ORHandle GetCameraNodeMap() { return nodeMaps_.Get(CChannelNodeMaps::Camera); }
    ORHandle GetDmaNodeMap() { return nodeMaps_.Get(CChannelNodeMaps::Dma); }
    CChannelNodeMaps& NodeMaps() { return nodeMaps_; }

private:
    // InitChannel steps.
    void ReadTimeout();
    void ReadGeometry();
    void ReadPixelFormat();
    void ApplyFormatRow(uint32_t code);
    void ReadPixelDepth();
    void ReadBufferSettings();
    // Camera of the port.
    void ConnectCamera();
    void ConnectGigECamera();
    void ConnectCoaXPressCamera();
    /// The connection steps for the camera handle already held.
    bool ConnectHeldGigECamera();
    bool ConnectHeldCoaXPressCamera();
    void DisconnectCamera();
    /// "BOARD" + vendor index + "_DMA" + DMA index + "." + key.
    std::string DmaKey(const char* key) const;
    /// Reads two parameters; 0x80000001 when a read fails.
    int32_t ReadPair(int32_t firstId, uint32_t& first, int32_t secondId, uint32_t& second);
    /// Writes two parameters unless both already hold these values (`changed` 1
    /// when written); on a failed write puts both old values back (0x80000001).
    int32_t ChangePair(int32_t firstId, uint32_t first, int32_t secondId, uint32_t second,
                       uint8_t& changed);

    int32_t dmaIndexCopy_ = 0;
    std::wstring name_;
    std::weak_ptr<IDDKRefCnt> parent_;
    CDriverBoard* board_; // held strongly by the base
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    uint32_t dmaIndex_ = 0;
    uint32_t planes_ = 1;
    uint32_t formatBits_ = 8;
    uint32_t bytesPerSample_ = 1;
    uint32_t bytesPerPixel_ = 1;
    uint32_t pixelDepth_ = 8;
    std::atomic<uint32_t> numberOfBuffers_{1};
    uint32_t minimumBytes_ = 0;
    bool planesInverted_ = false;
    uint32_t rotation_ = 0;
    std::atomic<uint32_t> timeoutSeconds_{1};
    GigECameraHandle gigeCamera_;
    SgcCamera* coaxpressCamera_ = nullptr; // owned by the GenICam board
    // Connection state of the held camera, guarded by cameraLock_ after set-up.
    std::mutex cameraLock_;
    bool cameraLinked_ = false;
    bool cameraConnected_ = false;
    std::atomic<uint32_t> lockMode_{0};
    CChannelNodeMaps nodeMaps_{*this};
    nwLogging::logger_ptr log_;
};

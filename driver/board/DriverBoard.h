#pragma once

#include "board/BoardInformation.h"
#include "board/BoardPrefix.h"
#include "sdk/SdkHandle.h"

#include <ddk/CDrvBoard.h>

#include <nwLogging/Logger.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class CDriverChannel;
class CDriverProducer;
class CDriverSystem;
class CDriverConfiguration;

/// One frame-grabber board. The constructor loads the board's applet
/// configuration into the SDK, runs the technology set-up (GigE library,
/// CoaXPress GenICam board and port scan) and probes the DMAs; afterwards the
/// board hands out one channel per DMA and shares it while it is alive. The
/// destructor closes what the constructor opened, channels first.
///
/// Host thread only, no locking: construction, the probe and the scans run on the
/// thread that opens the board; the channel table is extended by the thread that
/// opens a channel. The read accessors are safe from any thread once the board is
/// constructed (nothing they read changes afterwards).
class CDriverBoard : public CDrvBoard {
public:
    /// The most DMAs a board is expected to have; a larger `dmas` is warned about.
    static constexpr uint32_t MaxDmas = 8;

    /// `success` tells whether the board is usable (its configuration is loaded);
    /// the producer discards a board that is not.
    CDriverBoard(std::shared_ptr<CDriverProducer> producer, std::wstring name,
                 int32_t logicalNumber, int32_t vendorIndex, bool& success);
    ~CDriverBoard() override;

    void Open(const OptionMap& options, const boost::any& argument) override;
    /// OpenChannel under the framework's name.
    void CreateChannel(std::shared_ptr<CDrvChannel>& channel, const std::wstring& name,
                       const std::shared_ptr<IDDKRefCnt>& wrapper) override;
    /// Probes the DMAs while none has been found yet, then answers their number.
    int32_t GetChannelCount() override;
    void ResolveChannelName(const std::wstring& name, std::wstring& resolved) override;
    void GetBoardName(std::wstring& name) override;
    /// The logical board number of the board's own name.
    int32_t GetBoardIndex() override;
    /// The channel count found so far, without probing.
    virtual uint32_t GetChannelCountNoProbe();

    /// The channel of the requested index: the live one when it exists, otherwise
    /// a new one; null when the index is beyond the channel count. Throws
    /// std::invalid_argument / std::out_of_range when the name holds no number.
    std::shared_ptr<CDriverChannel> OpenChannel(const std::wstring& name,
                                                const std::shared_ptr<IDDKRefCnt>& wrapper);

    Fg_Grabber* Grabber() const { return grabber_.get(); }
    Gbe_Board* GigEBoard() const { return gigeBoard_.get(); }
    SgcBoard* GenICamBoard() const { return genicamBoard_.get(); }
    const BoardInformation& Information() const { return information_; }
    int32_t VendorIndex() const { return information_.boardIndex; }
    int32_t Technology() const { return information_.technology; }
    int32_t LogicalNumber() const { return logicalNumber_; }
    /// Non-zero when the SDK reports a DMA's pixel depth on this board (Camera Link
    /// and CoaXPress boards); channels read it except on the me_5 family.
    uint32_t PixelDepthReadout() const { return pixelDepthReadout_; }
    const std::wstring& Name() const { return name_; }
    BoardPrefix Prefix() const { return BoardPrefix{information_.boardIndex}; }

    CDriverProducer& Producer() const { return *producer_; }
    CDriverSystem& System() const;
    const CDriverConfiguration& Configuration() const;
    const nwLogging::logger_ptr& Log() const { return log_; }

private:
    // Set-up per technology; false when the set-up failed.
    bool TechnologySetup();
    bool SetupGigE();
    bool SetupCoaXPress();
    void ScanCoaXPressPorts(SgcBoard* board);
    // The DMA probe: how many DMAs, from 0 upwards, can acquire.
    uint32_t ProbeDmas();
    int32_t ProbeDma(uint32_t dma);
    void PrepareChannelTable();
    /// "BOARD" + vendor index + "." + key.
    std::string BoardKey(const char* key) const;

    std::shared_ptr<CDriverProducer> producer_;
    nwLogging::logger_ptr log_;
    std::wstring name_;
    GrabberHandle grabber_;
    uint32_t channelCount_ = 0;
    std::map<uint32_t, std::weak_ptr<CDriverChannel>> channels_;
    GigEBoardHandle gigeBoard_;
    GenICamBoardHandle genicamBoard_;
    int32_t logicalNumber_ = 0;
    BoardInformation information_;
    uint32_t pixelDepthReadout_ = 0;
};

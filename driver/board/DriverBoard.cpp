#include "board/DriverBoard.h"

#include "board/DriverChannel.h"
#include "board/DriverProducer.h"
#include "board/IndexName.h"
#include "sdk/SdkErrorText.h"
#include "system/DriverSystem.h"

#include <nwLogging/LogMacros.h>

#include <platform/Path.h>

#include <boost/filesystem/operations.hpp>

namespace {

/// An existing file or directory; the SDK is not asked to open anything else.
bool PathExists(const std::string& path) {
    if (path.empty())
        return false;
    boost::system::error_code error;
    return boost::filesystem::exists(platform::ToNativePath(path), error) && !error;
}

} // namespace

CDriverBoard::CDriverBoard(std::shared_ptr<CDriverProducer> producer, std::wstring name,
                           int32_t logicalNumber, int32_t vendorIndex, bool& success)
    : CDrvBoard(producer), producer_(std::move(producer)), log_(nwLogging::root_logger()),
      name_(std::move(name)), logicalNumber_(logicalNumber),
      information_(BoardInformation::Lookup(vendorIndex)) {
    success = false;
    // The frame grabber itself reports a DMA's pixel depth on Camera Link and
    // CoaXPress boards; on GigE boards the camera decides it. Channels still skip
    // the read-out on the me_5 family.
    pixelDepthReadout_ = information_.technology == TechnologyCameraLink ||
                                 information_.technology == TechnologyCoaXPress
                             ? 1u
                             : 0u;
    NWLOG(log_, nwLogging::level_trace, "Startup Board");

    // The applet file comes from the section of the logical board number; every
    // other key from the section of the vendor board index.
    const boost::optional<std::string> appletFile =
        Configuration().Path("BOARD" + std::to_string(IndexNameNumber(name_)) + ".inifilemcf");
    if (!appletFile || !PathExists(*appletFile))
        return;

    grabber_.reset(Fg_OpenBoard(platform::ToNativePath(*appletFile).c_str(),
                                static_cast<unsigned>(information_.boardIndex)));
    if (!grabber_) {
        NWLOG_AT(log_, nwLogging::level_err, "DriverBoard", 59,
                 Prefix() << "BoardConfig(mcf/hap) could not be initialized. MCF = "
                          << *appletFile);
        // The SDK's own reason (the applet file's line, for one).
        LogSdkReason(log_, nwLogging::level_err, Prefix(), FgLastErrorText(nullptr));
        return;
    }
    NWLOG(log_, nwLogging::level_info, Prefix() << "initialized with: " << *appletFile);

    if (!TechnologySetup())
        NWLOG(log_, nwLogging::level_info, Prefix() << "Technology specific setup failed.");

    GetChannelCount();
    success = true;
}

CDriverBoard::~CDriverBoard() {
    channels_.clear();
    if (gigeBoard_) {
        gigeBoard_.reset();
        NWLOG(log_, nwLogging::level_info, Prefix() << "GigE board free done");
    }
    if (genicamBoard_) {
        genicamBoard_.reset();
        NWLOG(log_, nwLogging::level_info, Prefix() << "CXP board free done");
    }
    if (grabber_) {
        if (grabber_.reset() != 0)
            NWLOG_AT(log_, nwLogging::level_err, "DriverBoard", 98,
                     Prefix() << "Error releasing board");
    }
    NWLOG(log_, nwLogging::level_info, Prefix() << "Board destructed");
}

void CDriverBoard::Open(const OptionMap& options, const boost::any& argument) {
    (void)options;
    (void)argument;
}

void CDriverBoard::CreateChannel(std::shared_ptr<CDrvChannel>& channel, const std::wstring& name,
                                 const std::shared_ptr<IDDKRefCnt>& wrapper) {
    channel = OpenChannel(name, wrapper);
}

int32_t CDriverBoard::GetChannelCount() {
    // A board whose probe found nothing probes again on the next request.
    if (channelCount_ == 0)
        PrepareChannelTable();
    NWLOG(log_, nwLogging::level_info,
          Prefix() << "Requested maximum number of channels = " << channelCount_);
    return static_cast<int32_t>(channelCount_);
}

void CDriverBoard::PrepareChannelTable() {
    const uint32_t count = ProbeDmas();
    for (uint32_t dma = 0; dma < count; ++dma)
        channels_.emplace(dma, std::weak_ptr<CDriverChannel>());
}

void CDriverBoard::ResolveChannelName(const std::wstring& name, std::wstring& resolved) {
    resolved = name;
}

void CDriverBoard::GetBoardName(std::wstring& name) {
    name = name_;
}

int32_t CDriverBoard::GetBoardIndex() {
    return IndexNameNumber(name_);
}

uint32_t CDriverBoard::GetChannelCountNoProbe() {
    return channelCount_;
}

std::shared_ptr<CDriverChannel>
CDriverBoard::OpenChannel(const std::wstring& name, const std::shared_ptr<IDDKRefCnt>& wrapper) {
    // The number sits after the requested name's own prefix ("~idx:" or "idx:").
    const int32_t index = IndexNameNumberStrict(name);
    const auto entry = index < 0 ? channels_.end() : channels_.find(static_cast<uint32_t>(index));
    if (entry == channels_.end()) {
        NWLOG_AT(log_, nwLogging::level_err, "DriverBoard", 121,
                 Prefix() << "Requested channel does not exist. Index = " << index);
        return nullptr;
    }
    if (auto alive = entry->second.lock())
        return alive;
    NWLOG(log_, nwLogging::level_info, Prefix() << "Created channel: " << index);
    auto channel = std::make_shared<CDriverChannel>(
        name, std::static_pointer_cast<CDriverBoard>(shared_from_this()), wrapper);
    entry->second = channel;
    return channel;
}

CDriverSystem& CDriverBoard::System() const {
    return producer_->System();
}

const CDriverConfiguration& CDriverBoard::Configuration() const {
    return System().Configuration();
}

std::string CDriverBoard::BoardKey(const char* key) const {
    return "BOARD" + std::to_string(information_.boardIndex) + "." + key;
}

#include <ddk/CDDKBoard.h>

#include <ddk/CDDKProducer.h>
#include <ddk/CDrvBoard.h>
#include <ddk/CDrvChannel.h>
#include <ddk/DDKChannel.h>
#include <ddk/DDKException.h>
#include <ddk/Helper.h>

#include <nwLogging/LogMacros.h>

CDDKBoard::CDDKBoard(std::shared_ptr<CDDKProducer> producer, std::shared_ptr<CDrvBoard> board)
    : board_(std::move(board)), producer_(std::move(producer)),
      log_(nwLogging::get_logger("Board")) {}

CDDKBoard::~CDDKBoard() = default;

std::shared_ptr<DDKChannel> CDDKBoard::OpenChannel(const std::wstring& name,
                                                   const OptionMap& options,
                                                   const boost::any& argument) {
    std::wstring resolved = name;
    if (board_)
        board_->ResolveChannelName(name, resolved);
    const auto cached = channels_.find(resolved);
    if (cached != channels_.end()) {
        if (auto channel = cached->second.lock())
            return channel;
    }
    try {
        return CreateChannel(resolved, options, argument);
    } catch (const DDKException& e) {
        NWLOG_HERE(log_, nwLogging::level_err, "DDKBoard",
                   "Invalid Channel id : " << NarrowText(name) << " / " << e.what());
    } catch (...) {
        NWLOG_HERE(log_, nwLogging::level_err, "DDKBoard",
                   "Invalid Channel id : " << NarrowText(name));
    }
    return nullptr;
}

std::shared_ptr<DDKChannel> CDDKBoard::CreateChannel(const std::wstring& name,
                                                     const OptionMap& options,
                                                     const boost::any& argument) {
    if (!board_)
        throw DDKException("DDKBoard", __LINE__, "Invalid board implementation", 1);
    auto wrapper = std::make_shared<DDKChannel>(shared_from_this());
    std::shared_ptr<CDrvChannel> driverChannel;
    board_->CreateChannel(driverChannel, name, std::static_pointer_cast<IDDKRefCnt>(wrapper));
    if (!driverChannel) {
        NWLOG_HERE(log_, nwLogging::level_err, "DDKBoard", "Unable to open channel");
        DDK_THROW_GENERIC("DDKBoard", "Unable to open device");
    }
    wrapper->SetDriverChannel(driverChannel);
    wrapper->Create(options, argument);
    channels_[wrapper->GetChannelName()] = wrapper;
    return wrapper;
}

std::shared_ptr<DDKChannel> CDDKBoard::OpenFirstFreeChannel() {
    try {
        if (!board_)
            throw DDKException("DDKBoard", __LINE__, "Invalid board implementation", 1);
        for (int32_t index = 0; index < board_->GetChannelCount(); ++index) {
            const std::wstring name = L"~idx:" + std::to_wstring(index);
            const auto cached = channels_.find(name);
            if (cached != channels_.end() && !cached->second.expired())
                continue;
            try {
                return CreateChannel(name, OptionMap(), boost::any());
            } catch (...) {
                // This index is taken or broken; the next one may do.
            }
        }
    } catch (const DDKException& e) {
        NWLOG_HERE(log_, nwLogging::level_err, "DDKBoard",
                   "Invalid Channel id : ~idx / " << e.what());
    }
    return nullptr;
}

std::wstring CDDKBoard::GetBoardName() const {
    std::wstring name;
    if (board_)
        board_->GetBoardName(name);
    return name;
}

boost::signals2::connection CDDKBoard::RegisterEventHandler(uint32_t eventId,
                                                            const EventHandler& handler) {
    if (!board_)
        return boost::signals2::connection();
    return board_->RegisterEventHandler(eventId, handler);
}

void CDDKBoard::FillInformation(EventInfoMap& events) {
    if (board_)
        board_->FillInformation(events);
}

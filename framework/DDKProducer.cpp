#include <ddk/CDDKProducer.h>

#include <ddk/CDDKBoard.h>
#include <ddk/CDDKSystem.h>
#include <ddk/CDrvBoard.h>
#include <ddk/CDrvProducer.h>
#include <ddk/DDKException.h>
#include <ddk/Helper.h>

#include <nwLogging/LogMacros.h>

CDDKProducer::CDDKProducer(std::shared_ptr<CDDKSystem> system,
                           std::shared_ptr<CDrvProducer> producer)
    : producer_(std::move(producer)), system_(std::move(system)),
      log_(nwLogging::get_logger("Producer")) {}

CDDKProducer::~CDDKProducer() = default;

std::shared_ptr<CDDKBoard> CDDKProducer::OpenBoard(const std::wstring& name,
                                                   const OptionMap& options,
                                                   const boost::any& argument) {
    std::wstring resolved = name;
    if (producer_)
        producer_->ResolveBoardName(name, resolved);
    const auto cached = boards_.find(resolved);
    if (cached != boards_.end()) {
        if (auto board = cached->second.lock())
            return board;
    }
    try {
        return CreateBoard(resolved, options, argument);
    } catch (const DDKException& e) {
        NWLOG_HERE(log_, nwLogging::level_err, "DDKProducer",
                   "Invalid board id : " << NarrowText(name) << " / " << e.what());
    } catch (...) {
        NWLOG_HERE(log_, nwLogging::level_err, "DDKProducer",
                   "Invalid board id : " << NarrowText(name));
    }
    return nullptr;
}

std::shared_ptr<CDDKBoard> CDDKProducer::CreateBoard(const std::wstring& resolved,
                                                     const OptionMap& options,
                                                     const boost::any& argument) {
    if (!producer_)
        throw DDKException("DDKProducer", __LINE__, "Invalid producer implementation", 1);
    std::shared_ptr<CDrvBoard> driverBoard;
    producer_->CreateBoard(driverBoard, resolved);
    if (!driverBoard) {
        NWLOG_HERE(log_, nwLogging::level_err, "DDKProducer", "Unable to open channel");
        DDK_THROW_GENERIC("DDKProducer", "Unable to open device");
    }
    auto board = std::make_shared<CDDKBoard>(shared_from_this(), driverBoard);
    driverBoard->Open(options, argument);
    std::wstring boardName;
    driverBoard->GetBoardName(boardName);
    boards_[boardName] = board;
    return board;
}

std::wstring CDDKProducer::GetProducerName() const {
    std::wstring name;
    if (producer_)
        producer_->GetProducerName(name);
    return name;
}

boost::signals2::connection CDDKProducer::RegisterEventHandler(uint32_t eventId,
                                                               const EventHandler& handler) {
    if (!producer_)
        return boost::signals2::connection();
    return producer_->RegisterEventHandler(eventId, handler);
}

void CDDKProducer::FillInformation(EventInfoMap& events) {
    if (producer_)
        producer_->FillInformation(events);
}

#include "board/DriverProducer.h"

#include "board/DriverBoard.h"
#include "board/IndexName.h"
#include "sdk/SdkErrorText.h"
#include "system/DriverSystem.h"
#include "system/ExceptionText.h"

#include <nwLogging/LogMacros.h>

#include <exception>
#include <ios>

namespace {

const char* const separatorLine = "-------------------";

} // namespace

CDriverProducer::CDriverProducer(std::shared_ptr<CDriverSystem> system, std::wstring name)
    : CDrvProducer(system), system_(std::move(system)), log_(nwLogging::get_logger("Producer")),
      name_(std::move(name)) {
    NWLOG(log_, nwLogging::level_trace, "Startup Producer");
    Enumerate();
}

CDriverProducer::~CDriverProducer() {
    NWLOG(log_, nwLogging::level_trace, "Closing Producer");
}

void CDriverProducer::Open(const OptionMap& options, const boost::any& argument) {
    (void)options;
    (void)argument;
}

void CDriverProducer::CreateBoard(std::shared_ptr<CDrvBoard>& board, const std::wstring& name) {
    board = OpenBoard(name);
}

int32_t CDriverProducer::GetBoardCount() {
    return Enumerate();
}

void CDriverProducer::ResolveBoardName(const std::wstring& name, std::wstring& resolved) {
    resolved = name;
}

void CDriverProducer::GetProducerName(std::wstring& name) {
    name = name_;
}

int32_t CDriverProducer::Enumerate() {
    if (enumerated_)
        return static_cast<int32_t>(boards_.size());
    int32_t count = 0;
    for (int32_t index = 0; index < MaxVendorBoards; ++index) {
        const BoardInformation info = BoardInformation::Lookup(index);
        NWLOG(log_, nwLogging::level_info, separatorLine);
        if (info.supported) {
            boards_[count] = BoardEntry{index, {}};
            ++count;
            NWLOG(log_, nwLogging::level_info,
                  "Found supported board: " << info.name << " | With board index: " << index
                                            << " | SiSo board type: 0x" << std::hex
                                            << info.boardType);
        } else if (!info.valid) {
            // Only the SDK's "no board" ends the walk; empty or unknown slots do not.
            NWLOG(log_, nwLogging::level_info,
                  "Found no board: " << info.name << " | With board index: " << index);
            // Past the last board the SDK simply has none; any other reason (a machine
            // description it could not load, for one) is what the user needs to know.
            if (Fg_LastErrorNumber(nullptr) != FG_ERR_NO_SUCH_BOARD)
                LogSdkReason(log_, nwLogging::level_info, "", FgLastErrorText(nullptr));
            NWLOG(log_, nwLogging::level_info, separatorLine);
            break;
        } else {
            NWLOG(log_, nwLogging::level_info,
                  "Found unsupported board: " << info.name << " | With board index: " << index
                                              << " | SiSo board type: 0x" << std::hex
                                              << info.boardType);
        }
        NWLOG(log_, nwLogging::level_info, separatorLine);
    }
    enumerated_ = true;
    return static_cast<int32_t>(boards_.size());
}

std::shared_ptr<CDriverBoard> CDriverProducer::OpenBoard(const std::wstring& name) {
    // The key is the number of the board asked for: the producer's own name
    // ("~idx:0") would send every request to the first board.
    const int32_t key = IndexNameNumber(name);
    const auto entry = boards_.find(key);
    if (entry == boards_.end()) {
        NWLOG_AT(log_, nwLogging::level_err, "DriverProducer", 57,
                 "Requested board does not exist. Index = " << key);
        return nullptr;
    }
    if (auto alive = entry->second.board.lock())
        return alive;
    try {
        NWLOG(log_, nwLogging::level_info, "Created board: " << key);
        bool success = false;
        auto board = std::make_shared<CDriverBoard>(
            std::static_pointer_cast<CDriverProducer>(shared_from_this()), name, key,
            entry->second.vendorIndex, success);
        if (!success)
            return nullptr;
        entry->second.board = board;
        return board;
    } catch (const std::exception& e) {
        NWLOG_AT(log_, nwLogging::level_err, "DriverProducer", 76, ExceptionText(e));
    }
    return nullptr;
}

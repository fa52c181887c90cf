#pragma once

#include "board/BoardInformation.h"

#include <ddk/CDrvProducer.h>

#include <nwLogging/Logger.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class CDriverBoard;
class CDriverSystem;

/// The driver's producer: walks the vendor board indices once, keeps the supported
/// boards in its board table (logical board number -> vendor board index), and
/// creates a board on request, sharing it while it is alive.
///
/// Host thread only, no locking: the enumeration runs in the constructor, the
/// table is read afterwards and its weak board references are replaced by the
/// thread that opens a board.
class CDriverProducer : public CDrvProducer {
public:
    /// Vendor board indices the SDK can have.
    static constexpr int32_t MaxVendorBoards = 16;

    struct BoardEntry {
        int32_t vendorIndex = 0;
        std::weak_ptr<CDriverBoard> board;
    };
    using BoardTable = std::map<int32_t, BoardEntry>;

    CDriverProducer(std::shared_ptr<CDriverSystem> system, std::wstring name);
    ~CDriverProducer() override;

    void Open(const OptionMap& options, const boost::any& argument) override;
    /// OpenBoard under the framework's name.
    void CreateBoard(std::shared_ptr<CDrvBoard>& board, const std::wstring& name) override;
    /// The number of supported boards; enumerates on the first call only.
    int32_t GetBoardCount() override;
    void ResolveBoardName(const std::wstring& name, std::wstring& resolved) override;
    void GetProducerName(std::wstring& name) override;

    /// The board of the requested name's logical board number: the live one when
    /// it exists, otherwise a new one; null when there is no such table entry or
    /// the board cannot be brought up.
    std::shared_ptr<CDriverBoard> OpenBoard(const std::wstring& name);

    const BoardTable& Boards() const { return boards_; }
    const std::wstring& Name() const { return name_; }
    CDriverSystem& System() const { return *system_; }
    const std::shared_ptr<CDriverSystem>& SystemReference() const { return system_; }
    const nwLogging::logger_ptr& Log() const { return log_; }

private:
    int32_t Enumerate();

    std::shared_ptr<CDriverSystem> system_;
    nwLogging::logger_ptr log_;
    std::wstring name_;
    BoardTable boards_;
    bool enumerated_ = false;
};

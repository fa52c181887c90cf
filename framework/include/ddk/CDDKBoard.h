#pragma once

#include <ddk/DrvTypes.h>

#include <nwLogging/Logger.h>

#include <boost/signals2/connection.hpp>

#include <map>
#include <memory>
#include <string>

class CDrvBoard;
class CDDKProducer;
class DDKChannel;

/// The board wrapper: holds the driver board and the producer wrapper, and caches
/// channel wrappers weakly by name.
class CDDKBoard : public std::enable_shared_from_this<CDDKBoard> {
public:
    CDDKBoard(std::shared_ptr<CDDKProducer> producer, std::shared_ptr<CDrvBoard> board);
    virtual ~CDDKBoard();

    /// The channel wrapper of `name`, or empty after logging why.
    std::shared_ptr<DDKChannel> OpenChannel(const std::wstring& name, const OptionMap& options,
                                            const boost::any& argument = boost::any());
    /// The first channel whose wrapper is not alive, or empty.
    std::shared_ptr<DDKChannel> OpenFirstFreeChannel();
    std::wstring GetBoardName() const;
    virtual boost::signals2::connection RegisterEventHandler(uint32_t eventId,
                                                             const EventHandler& handler);
    virtual void FillInformation(EventInfoMap& events);

    const std::shared_ptr<CDrvBoard>& DriverBoard() const { return board_; }
    const std::shared_ptr<CDDKProducer>& Producer() const { return producer_; }

private:
    std::shared_ptr<DDKChannel> CreateChannel(const std::wstring& name, const OptionMap& options,
                                              const boost::any& argument);

    std::shared_ptr<CDrvBoard> board_;
    std::shared_ptr<CDDKProducer> producer_;
    std::map<std::wstring, std::weak_ptr<DDKChannel>> channels_;
    nwLogging::logger_ptr log_;
};

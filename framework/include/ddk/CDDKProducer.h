#pragma once

#include <ddk/DrvTypes.h>

#include <nwLogging/Logger.h>

#include <boost/signals2/connection.hpp>

#include <map>
#include <memory>
#include <string>

class CDrvProducer;
class CDDKSystem;
class CDDKBoard;

/// The producer wrapper: holds the driver producer and the system wrapper, and
/// caches board wrappers weakly by name.
class CDDKProducer : public std::enable_shared_from_this<CDDKProducer> {
public:
    CDDKProducer(std::shared_ptr<CDDKSystem> system, std::shared_ptr<CDrvProducer> producer);
    virtual ~CDDKProducer();

    /// The board wrapper of `name`, or empty after logging why.
    std::shared_ptr<CDDKBoard> OpenBoard(const std::wstring& name, const OptionMap& options,
                                         const boost::any& argument = boost::any());
    std::wstring GetProducerName() const;
    virtual boost::signals2::connection RegisterEventHandler(uint32_t eventId,
                                                             const EventHandler& handler);
    virtual void FillInformation(EventInfoMap& events);

    const std::shared_ptr<CDrvProducer>& DriverProducer() const { return producer_; }
    const std::shared_ptr<CDDKSystem>& System() const { return system_; }

private:
    std::shared_ptr<CDDKBoard> CreateBoard(const std::wstring& resolved, const OptionMap& options,
                                           const boost::any& argument);

    std::shared_ptr<CDrvProducer> producer_;
    std::shared_ptr<CDDKSystem> system_;
    std::map<std::wstring, std::weak_ptr<CDDKBoard>> boards_;
    nwLogging::logger_ptr log_;
};

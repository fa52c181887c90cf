#pragma once

#include <ddk/DrvTypes.h>
#include <ddk/ModuleEvents.h>

class CDrvBoard;

/// The driver's producer: enumerates and creates boards.
class CDrvProducer : public std::enable_shared_from_this<CDrvProducer> {
public:
    /// `owner` is returned by GetOwner (this driver passes its system).
    explicit CDrvProducer(std::shared_ptr<void> owner) : owner_(std::move(owner)) {}
    virtual ~CDrvProducer() = default;

    virtual void Open(const OptionMap& options, const boost::any& argument) = 0;
    virtual void GetOwner(std::shared_ptr<void>& owner) { owner = owner_; }
    virtual void CreateBoard(std::shared_ptr<CDrvBoard>& board, const std::wstring& name) = 0;
    virtual int32_t GetBoardCount() = 0;
    virtual void ResolveBoardName(const std::wstring& name, std::wstring& resolved) = 0;
    virtual void GetProducerName(std::wstring& name) = 0;
    virtual void FillInformation(EventInfoMap& events) { (void)events; }
    virtual boost::signals2::connection RegisterEventHandler(uint32_t eventId,
                                                             const EventHandler& handler) {
        return events_.Register(eventId, handler);
    }
    virtual void RaiseEvent(uint32_t eventId, void* data, uint32_t size, int32_t value) {
        events_.Raise(eventId, data, size, value);
    }

protected:
    std::shared_ptr<void> owner_;
    CEventRegistry events_;
};

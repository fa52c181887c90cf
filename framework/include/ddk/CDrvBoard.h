#pragma once

#include <ddk/DrvTypes.h>
#include <ddk/ModuleEvents.h>

class CDrvChannel;
class IDDKRefCnt;

/// The driver's board: creates its channels.
class CDrvBoard : public std::enable_shared_from_this<CDrvBoard> {
public:
    /// `owner` is returned by GetOwner (this driver passes its producer).
    explicit CDrvBoard(std::shared_ptr<void> owner) : owner_(std::move(owner)) {}
    virtual ~CDrvBoard() = default;

    virtual void Open(const OptionMap& options, const boost::any& argument) = 0;
    virtual void GetOwner(std::shared_ptr<void>& owner) { owner = owner_; }
    /// `wrapper` is the channel wrapper's reference; a driver keeps it weakly.
    virtual void CreateChannel(std::shared_ptr<CDrvChannel>& channel, const std::wstring& name,
                               const std::shared_ptr<IDDKRefCnt>& wrapper) = 0;
    virtual int32_t GetChannelCount() = 0;
    virtual void ResolveChannelName(const std::wstring& name, std::wstring& resolved) = 0;
    virtual void GetBoardName(std::wstring& name) = 0;
    virtual int32_t GetBoardIndex() = 0;
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

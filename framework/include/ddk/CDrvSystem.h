#pragma once

#include <ddk/CBaseObj.h>
#include <ddk/DrvTypes.h>
#include <ddk/ModuleEvents.h>

#include <boost/signals2/connection.hpp>

class CDrvProducer;

/// The driver's system object. Created through the registry's factory and owned
/// by the system wrapper. Opens happen on the host thread that asks for images.
class CDrvSystem : public CBaseObj {
public:
    CDrvSystem() : CBaseObj(IdentityOf<CDrvSystem>()) {}

    virtual void Initialize(const OptionMap& options, const boost::any& argument, int32_t flag) = 0;
    virtual void CreateProducer(std::shared_ptr<CDrvProducer>& producer,
                                const std::wstring& name) = 0;
    virtual int32_t GetBoardCount() = 0;
    virtual void ResolveProducerName(const std::wstring& name, std::wstring& resolved) = 0;
    virtual void GetSystemName(std::wstring& name) = 0;

    /// The driver's INI path from the host registry key (written with its default
    /// when missing), environment references expanded.
    virtual void GetIniFilePath(std::string& path);
    /// "Default Timeout" of the host key in milliseconds; 10000 when missing.
    virtual uint32_t GetDefaultTimeout();
    virtual void FillInformation(EventInfoMap& events) { (void)events; }
    virtual boost::signals2::connection RegisterEventHandler(uint32_t eventId,
                                                             const EventHandler& handler);
    virtual void RaiseEvent(uint32_t eventId, void* data, uint32_t size, int32_t value);
    virtual bool UseFirstFreeChannel() { return false; }

protected:
    CEventRegistry events_;
};

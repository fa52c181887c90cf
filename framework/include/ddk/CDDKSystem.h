#pragma once

#include <ddk/CGlobalObj.h>
#include <ddk/DrvTypes.h>

#include <nwLogging/Logger.h>

#include <map>
#include <memory>
#include <string>

class CDrvSystem;
class CDDKProducer;

/// The system wrapper: owns the driver system and caches producer wrappers
/// weakly by name. Counts in the registry's live objects. Used on the host thread
/// that opens images.
class CDDKSystem : public std::enable_shared_from_this<CDDKSystem> {
public:
    CDDKSystem();
    ~CDDKSystem();
    CDDKSystem(const CDDKSystem&) = delete;
    CDDKSystem& operator=(const CDDKSystem&) = delete;

    /// Creates the driver system through the registry and initialises it once.
    void Initialize(const OptionMap& options);
    bool IsInitialized() const { return initialized_ != 0; }
    std::shared_ptr<CDDKProducer> OpenProducer(const std::wstring& name);
    const std::shared_ptr<CDrvSystem>& DriverSystem() const { return system_; }

private:
    GlobalObjRef liveReference_;
    std::shared_ptr<CDrvSystem> system_;
    int32_t initialized_ = 0;
    std::map<std::wstring, std::weak_ptr<CDDKProducer>> producers_;
    std::wstring name_;
    nwLogging::logger_ptr log_;
};

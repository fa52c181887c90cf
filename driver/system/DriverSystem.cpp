#include "system/DriverSystem.h"

#include "board/DriverProducer.h"

#include <nwLogging/LogMacros.h>

// Start-up, in order: banner, runtime version, the CoaXPress companion library
// for 5.3 and newer runtimes, then the configuration file. Each failure leaves a
// usable system whose keys fall back to their defaults.
CDriverSystem::CDriverSystem() : log_(nwLogging::root_logger()) {
    LogBanner();
    if (!ReadRuntimeVersion())
        return;
    if (runtime_.major == 5 && runtime_.minor >= 3) {
        if (!LoadGenICamLibrary()) {
            NWLOG_AT(log_, nwLogging::level_err, "DriverSystem", 56,
                     "CoaXPress will crash if used...");
            return;
        }
        NWLOG(log_, nwLogging::level_info, "CoaXPress RT loaded...");
    }
    // ORVDATA ends with its separator, so none is inserted here.
    configurationPath_ = ExpandEnvironment("%ORVDATA%Drivers\\ORSisoMe.ini");
    if (!FileExists(configurationPath_) && !GenerateConfiguration(configurationPath_))
        NWLOG_AT(log_, nwLogging::level_err, "DriverSystem", 74,
                 "configfile:" << configurationPath_ << "could not be generated");
    ReadConfiguration();
}

CDriverSystem::~CDriverSystem() {
    UnloadGenICamLibrary();
    NWLOG(log_, nwLogging::level_info, "SiSoMe-Xvd System destructed");
}

void CDriverSystem::Initialize(const OptionMap& /*options*/, const boost::any& /*argument*/,
                               int32_t /*flag*/) {
    // Start-up already ran in the constructor.
}

void CDriverSystem::CreateProducer(std::shared_ptr<CDrvProducer>& producer,
                                   const std::wstring& name) {
    const auto cached = producers_.find(name);
    std::shared_ptr<CDriverProducer> live =
        cached != producers_.end() ? cached->second.lock() : nullptr;
    if (!live) {
        live = std::make_shared<CDriverProducer>(
            std::static_pointer_cast<CDriverSystem>(shared_from_this()), name);
        // The cache never keeps a producer alive; an expired entry is replaced.
        producers_[name] = live;
    }
    producer = live;
}

int32_t CDriverSystem::GetBoardCount() {
    return static_cast<int32_t>(producers_.size());
}

void CDriverSystem::ResolveProducerName(const std::wstring& name, std::wstring& resolved) {
    resolved = name;
}

void CDriverSystem::GetSystemName(std::wstring& name) {
    name = name_;
}

#pragma once

#include "sdk/GenICamEntryTable.h"
#include "system/DriverConfiguration.h"
#include <ddk/CDrvSystem.h>

#include <nwLogging/Logger.h>

#include <platform/DynamicLibrary.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

class CDriverProducer;

/// Vendor runtime version; 0 where a part is not numeric.
struct RuntimeVersion {
    int32_t major = 0;
    int32_t minor = 0;
    int32_t patch = 0;
};

/// The driver's system object. Its constructor is the driver's start-up: banner,
/// runtime check, the CoaXPress GenICam library, and the configuration file. It
/// never fails; an unconfigured system has an empty configuration. Not locked:
/// start-up runs on the host thread that opens the first image; afterwards the
/// configuration is only read.
class CDriverSystem : public CDrvSystem {
public:
    CDriverSystem();
    ~CDriverSystem() override;

    void Initialize(const OptionMap& options, const boost::any& argument, int32_t flag) override;
    void CreateProducer(std::shared_ptr<CDrvProducer>& producer, const std::wstring& name) override;
    int32_t GetBoardCount() override;
    void ResolveProducerName(const std::wstring& name, std::wstring& resolved) override;
    void GetSystemName(std::wstring& name) override;

    const CDriverConfiguration& Configuration() const { return configuration_; }
    const std::string& ConfigurationPath() const { return configurationPath_; }
    const RuntimeVersion& Runtime() const { return runtime_; }
    /// "Default Timeout" of the host's registry key in whole seconds, at least 1;
    /// 4294967 when the value cannot be read.
    uint32_t DefaultTimeoutSeconds() const;
    const nwLogging::logger_ptr& Log() const { return log_; }
    /// True while this system holds siso_genicam.dll (GenICam() is then filled).
    bool GenICamLoaded() const { return static_cast<bool>(genicamLibrary_); }

    /// The runtime version text split at every '.'; the first three parts are
    /// converted by their leading digits. Nothing when there are fewer than three.
    static std::optional<RuntimeVersion> ParseRuntimeVersion(const std::string& text);

private:
    // Start-up steps, in order.
    void LogBanner();
    bool ReadRuntimeVersion();
    bool LoadGenICamLibrary();
    void UnloadGenICamLibrary();
    bool FileExists(const std::string& path) const;
    bool GenerateConfiguration(const std::string& path) const;
    void ReadConfiguration();

    std::wstring name_;
    platform::DynamicLibrary genicamLibrary_;
    std::map<std::wstring, std::weak_ptr<CDriverProducer>> producers_;
    std::string configurationPath_;
    nwLogging::logger_ptr log_;
    CDriverConfiguration configuration_;
    RuntimeVersion runtime_;
};

#pragma once

#include <ddk/CDrvInfo.h>

/// Names and GUID of this driver.
class CDriverInfo : public CDrvInfo {
public:
    std::string GetVendorName() override;
    std::string GetDriverName() override;
    int32_t GetIntegerInfo() override;
    int32_t GetModuleGuid(char* buffer) override;
};

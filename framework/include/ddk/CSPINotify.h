#pragma once

#include <ddk/CSPIBase.h>

/// Notifications are served by the framework; no driver provides this kind.
class CSPINotify : public CSPIBase<CSPINotify> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
};

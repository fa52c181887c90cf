#pragma once

#include <ddk/CSPIBase.h>

class CSPIPropertyChange : public CSPIBase<CSPIPropertyChange> {
public:
    virtual bool Supported(void* bufferList) = 0;
};

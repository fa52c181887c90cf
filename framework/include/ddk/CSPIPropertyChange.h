#pragma once

#include <ddk/CSPIBase.h>

class CSPIPropertyChange : public CSPIBase<CSPIPropertyChange> {
public:
    virtual bool Supported(CDDKBufferList* bufferList) = 0;
};

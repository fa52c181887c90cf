#pragma once

#include <ddk/CBaseObj.h>

/// The buffer list the providers receive; opaque here (ddk/CDDKBufferList.h).
class CDDKBufferList;

/// Base of every service provider: slots 0 to 2 are the destructor and the
/// activation and release hooks, which the framework calls through the channel.
template <class Spi> class CSPIBase : public CBaseObj {
public:
    CSPIBase() : CBaseObj(IdentityOf<Spi>()) {}
    virtual void Activate() {}
    virtual void Release() {}
};

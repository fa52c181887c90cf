#pragma once
// What a host call works on: the channel and the current image, taken together
// under the binding lock and held for the whole call, so that a concurrent image
// release or replacement cannot free the buffer list under a running call.

#include "Guarded.h"

#include <ddk/CBaseImage.h>
#include <ddk/CGeneric.h>
#include <ddk/CImageInstanceDataWrapper.h>
#include <ddk/CLockGuard.h>
#include <ddk/DDKChannel.h>

struct CGeneric::Binding {
    std::shared_ptr<DDKChannel> channel;
    orvBase::shared_handle image;
    CBaseImage* imageObject = nullptr;

    CImageInstanceDataWrapper* wrapper() const {
        return imageObject != nullptr ? imageObject->Wrapper() : nullptr;
    }
    CDDKBufferList* bufferList() const {
        CImageInstanceDataWrapper* w = wrapper();
        return w != nullptr ? w->bufferList : nullptr;
    }
    template <class Spi> Spi* provider() const {
        return channel ? channel->Get<Spi>().get() : nullptr;
    }
};

template <class Spi, class List, class... Parameters, class... Arguments>
int32_t CGeneric::Forward(int32_t (Spi::*operation)(List, Parameters...), Arguments... arguments) {
    return Guarded(log_, [&]() -> int32_t {
        Binding binding = Bind();
        Spi* provider = binding.provider<Spi>();
        if (provider == nullptr)
            return ORV::E_NOTSUPPORTED;
        return (provider->*operation)(binding.bufferList(), arguments...);
    });
}

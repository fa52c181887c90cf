#pragma once
// What a host call works on: the channel and the current image, taken together
// under the binding lock and held for the whole call, so that a concurrent image
// release or replacement cannot free the buffer list under a running call.

#include <ddk/CBaseImage.h>
#include <ddk/CGeneric.h>
#include <ddk/CImageInstanceDataWrapper.h>
#include <ddk/DDKChannel.h>

struct CGeneric::Binding {
    std::shared_ptr<DDKChannel> channel;
    orvBase::shared_handle image;
    CBaseImage* imageObject = nullptr;

    CImageInstanceDataWrapper* wrapper() const {
        return imageObject != nullptr ? imageObject->Wrapper() : nullptr;
    }
    void* bufferList() const {
        CImageInstanceDataWrapper* w = wrapper();
        return w != nullptr ? w->bufferList : nullptr;
    }
    template <class Spi> Spi* provider() const {
        return channel ? channel->Get<Spi>().get() : nullptr;
    }
};

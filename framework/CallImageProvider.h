#pragma once
// Image objects answer the host's description calls from a provider of their
// channel: "not supported" when the channel has none, "operation failed" when it
// throws, since nothing may escape to the host.

#include <ddk/DDKChannel.h>

#include <ORV/ResultCodes.h>

#include <memory>

template <class Spi, class... Parameters, class... Arguments>
int32_t CallImageProvider(const std::shared_ptr<DDKChannel>& channel,
                          int32_t (Spi::*operation)(Parameters...),
                          Arguments... arguments) noexcept {
    try {
        Spi* provider = channel ? channel->Get<Spi>().get() : nullptr;
        return provider != nullptr ? (provider->*operation)(arguments...) : ORV::E_NOTSUPPORTED;
    } catch (...) {
        return ORV::E_FAIL;
    }
}

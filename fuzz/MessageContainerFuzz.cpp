// A log record's message container as the log service receives it from a
// client: every length field checked against the bytes that are there.
#include <nwLogging/LogSvcError.h>
#include <nwLogging/MessageContainer.h>
#include <nwLogging/MessageContainerReader.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    nwLogging::decoded_container container;
    try {
        container = nwLogging::decoded_container::decode(data, size);
    } catch (const nwLogging::LogSvcError&) {
        return 0;
    }
    // The items account for every byte after the header.
    size_t covered = nwLogging::container_header_size;
    for (const nwLogging::container_item& item : container.items)
        covered += nwLogging::item_header_size + item.data.size();
    if (covered != size)
        std::abort();
    return 0;
}

#include <nwLogging/LittleEndian.h>
#include <nwLogging/LogSvcError.h>
#include <nwLogging/MessageContainer.h>
#include <nwLogging/MessageContainerReader.h>

namespace nwLogging {

namespace {

[[noreturn]] void malformed() {
    throw LogSvcError("Malformed log message container");
}

uint64_t integer_of(const container_item& item) {
    if (item.data.size() != 8)
        malformed();
    return get_le<uint64_t>(reinterpret_cast<const uint8_t*>(item.data.data()));
}

} // namespace

std::vector<uint8_t> decoded_container::types() const {
    std::vector<uint8_t> result;
    for (const container_item& item : items)
        result.push_back(item.type);
    return result;
}

decoded_container decoded_container::decode(const uint8_t* data, std::size_t size) {
    if (data == nullptr || size < container_header_size)
        malformed();
    decoded_container container;
    container.total = get_le<uint16_t>(data + 0);
    container.flags = get_le<uint16_t>(data + 2);
    container.sequence = get_le<uint64_t>(data + 4);
    container.sequence_again = get_le<uint64_t>(data + 12);
    container.zero = get_le<uint64_t>(data + 20);
    if (container.total != size)
        malformed();

    std::size_t offset = container_header_size;
    while (offset < size) {
        if (size - offset < item_header_size)
            malformed();
        const std::size_t length = get_le<uint16_t>(data + offset);
        container_item item;
        item.type = data[offset + 2];
        if (data[offset + 3] != 0 || size - offset - item_header_size < length)
            malformed();
        item.data.assign(reinterpret_cast<const char*>(data + offset + item_header_size), length);
        offset += item_header_size + length;

        switch (item.type) {
        case item_text:
            container.text = item.data;
            break;
        case item_timestamp:
            container.timestamp = time_from_micros_since_1400(integer_of(item));
            break;
        case item_logger:
            container.logger = item.data;
            break;
        case item_level:
            container.level = integer_of(item);
            break;
        case item_group:
            container.group = item.data;
            break;
        case item_location:
            container.location = item.data;
            break;
        case item_attributes:
            container.attribute_count = item.data.size() / 264;
            break;
        case item_process_id:
            container.process_id = integer_of(item);
            break;
        case item_thread_id:
            container.thread_id = integer_of(item);
            break;
        case item_code_page:
            container.code_page = integer_of(item);
            break;
        default:
            break; // unknown items are kept in `items` only
        }
        container.items.push_back(std::move(item));
    }
    return container;
}

} // namespace nwLogging

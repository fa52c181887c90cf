// The payload of record datagrams: header, item patterns, truncation, checks,
// and decoding it again.
#include <nwLogging/LittleEndian.h>
#include <nwLogging/LogSvcError.h>
#include <nwLogging/MessageContainer.h>
#include <nwLogging/MessageContainerReader.h>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace nw = nwLogging;
using boost::gregorian::date;
using boost::posix_time::ptime;

namespace {

constexpr std::size_t kPayload = 1388;

nw::basic_timed_msgstate Record() {
    nw::basic_timed_msgstate record;
    record.level = nw::level_warn;
    record.location = "DriverBoard(449)";
    record.logger_name = "GDRVM.board";
    record.thread_id = 0x1122334455667788ull;
    record.timestamp = ptime(date(2021, 3, 3), boost::posix_time::time_duration(8, 5, 7) +
                                                   boost::posix_time::microseconds(125000));
    return record;
}

struct Built {
    std::vector<uint8_t> bytes;
    nw::decoded_container decoded;
};

Built Build(const nw::basic_timed_msgstate& record, const std::string& text,
            const nw::item_pattern& pattern, uint64_t sequence = 7, std::size_t size = kPayload) {
    Built built;
    built.bytes.assign(size, 0xEE);
    nw::container_source source;
    source.record = &record;
    source.text_begin = text.data();
    source.text_end = text.data() + text.size();
    source.process_id = 4242;
    source.code_page = 65001;
    const std::size_t used =
        nw::build_message_container(built.bytes.data(), size, sequence, pattern, source);
    built.bytes.resize(used);
    built.decoded = nw::decoded_container::decode(built.bytes.data(), built.bytes.size());
    return built;
}

std::string ErrorText(uint8_t* buffer, std::size_t size, const char* begin, const char* end,
                      const nw::item_pattern& pattern = nw::item_pattern::plain(true)) {
    const nw::basic_timed_msgstate record = Record();
    nw::container_source source;
    source.record = &record;
    source.text_begin = begin;
    source.text_end = end;
    try {
        nw::build_message_container(buffer, size, 1, pattern, source);
    } catch (const nw::LogSvcError& e) {
        return e.what();
    }
    return "<no LogSvcError>";
}

const std::string inconsistent = "Constructing an input log message container from inconstant data";

} // namespace

TEST(MessageContainer, Header_LengthFlagsSequenceTwiceAndZero) {
    const Built built = Build(Record(), "hello", nw::item_pattern::plain(true), 0x0102030405060708);
    const std::vector<uint8_t>& b = built.bytes;
    EXPECT_EQ(nw::get_le<uint16_t>(&b[0]), b.size());
    EXPECT_EQ(nw::get_le<uint16_t>(&b[2]), 0u);
    EXPECT_EQ(b[4], 0x08) << "little-endian";
    EXPECT_EQ(nw::get_le<uint64_t>(&b[4]), 0x0102030405060708u);
    EXPECT_EQ(nw::get_le<uint64_t>(&b[12]), 0x0102030405060708u);
    EXPECT_EQ(nw::get_le<uint64_t>(&b[20]), 0u);
}

TEST(MessageContainer, PatternA_ItemOrderAndValues) {
    const Built built = Build(Record(), "Board failed", nw::item_pattern::plain(true));
    EXPECT_EQ(built.decoded.types(), (std::vector<uint8_t>{2, 3, 4, 9, 8, 5, 10, 1, 6}));
    const nw::decoded_container& c = built.decoded;
    EXPECT_EQ(*c.logger, "GDRVM.board");
    EXPECT_EQ(*c.level, nw::level_warn);
    EXPECT_EQ(*c.thread_id, 0x1122334455667788u);
    EXPECT_EQ(*c.process_id, 4242u);
    EXPECT_EQ(*c.group, "");
    EXPECT_EQ(*c.code_page, 65001u);
    EXPECT_EQ(*c.text, "Board failed");
    EXPECT_EQ(*c.location, "DriverBoard(449)");
    EXPECT_EQ(*c.timestamp, Record().timestamp);
}

TEST(MessageContainer, ItemLayout_LengthTypeZeroData) {
    const Built built = Build(Record(), "hi", nw::item_pattern::of({1, 4}));
    const std::vector<uint8_t>& b = built.bytes;
    ASSERT_EQ(b.size(), 28u + 4 + 2 + 4 + 8);
    EXPECT_EQ(nw::get_le<uint16_t>(&b[28]), 2u);
    EXPECT_EQ(b[30], 1);
    EXPECT_EQ(b[31], 0);
    EXPECT_EQ(b[32], 'h');
    EXPECT_EQ(b[33], 'i');
    EXPECT_EQ(nw::get_le<uint16_t>(&b[34]), 8u);
    EXPECT_EQ(b[36], 4);
    EXPECT_EQ(b[37], 0);
    EXPECT_EQ(nw::get_le<uint64_t>(&b[38]), 4u) << "integers are 8 bytes";
}

TEST(MessageContainer, Timestamp_MicrosecondsSince1400) {
    // 208188 days lie between 1400-01-01 and 1970-01-01.
    EXPECT_EQ(nw::micros_since_1400(ptime(date(1970, 1, 1))), 208188ull * 86400 * 1000000);
    EXPECT_EQ(nw::micros_since_1400(ptime(date(1400, 1, 1)) + boost::posix_time::microseconds(1)),
              1u);
    const uint64_t expected = 226877ull * 86400 * 1000000 + (8 * 3600 + 5 * 60 + 7) * 1000000ull +
                              125000; // 2021-03-03 08:05:07.125
    EXPECT_EQ(nw::micros_since_1400(Record().timestamp), expected);
    EXPECT_EQ(nw::time_from_micros_since_1400(expected), Record().timestamp);
    const Built built = Build(Record(), "x", nw::item_pattern::of({2}));
    EXPECT_EQ(nw::get_le<uint64_t>(&built.bytes[32]), expected);
}

TEST(MessageContainer, GroupNameItem) {
    nw::basic_timed_msgstate record = Record();
    record.group = 16;
    record.group_name = "acq";
    EXPECT_EQ(*Build(record, "x", nw::item_pattern::plain(true)).decoded.group, "acq");
}

TEST(MessageContainer, ThreadIdOff_RemovesItem9) {
    EXPECT_EQ(Build(Record(), "x", nw::item_pattern::plain(false)).decoded.types(),
              (std::vector<uint8_t>{2, 3, 4, 8, 5, 10, 1, 6}));
    nw::basic_timed_msgstate record = Record();
    record.attributes.resize(1);
    EXPECT_EQ(Build(record, "x", nw::item_pattern::with_attributes(false)).decoded.types(),
              (std::vector<uint8_t>{7, 2, 3, 4, 8, 5, 10, 1, 6}));
}

TEST(MessageContainer, PatternB_AttributesFirstAndFlag4) {
    nw::basic_timed_msgstate record = Record();
    record.attributes.resize(2);
    record.attributes[0].bytes[0] = 'a';
    record.attributes[1].bytes[263] = 'z';
    const Built built = Build(record, "x", nw::item_pattern::with_attributes(true));
    EXPECT_EQ(built.decoded.types(), (std::vector<uint8_t>{7, 2, 3, 4, 9, 8, 5, 10, 1, 6}));
    EXPECT_EQ(built.decoded.flags, nw::container_has_attributes);
    ASSERT_EQ(built.decoded.items[0].data.size(), 2u * 264);
    EXPECT_EQ(built.decoded.items[0].data[0], 'a');
    EXPECT_EQ(built.decoded.items[0].data[527], 'z');
    EXPECT_EQ(*built.decoded.attribute_count, 2u);
}

TEST(MessageContainer, TooManyAttributes_DroppedWithEverythingAfter) {
    nw::basic_timed_msgstate record = Record();
    record.attributes.resize(6); // 1584 bytes, more than a container holds
    const Built built = Build(record, "x", nw::item_pattern::with_attributes(true));
    EXPECT_TRUE(built.decoded.items.empty());
    EXPECT_EQ(built.decoded.flags, nw::container_items_dropped | nw::container_has_attributes);
    EXPECT_EQ(built.bytes.size(), 28u);
}

TEST(MessageContainer, LongText_CutWithFlag2AndLocationDroppedWithFlag1) {
    const std::string text(2000, 'T');
    const Built built = Build(Record(), text, nw::item_pattern::plain(true));
    EXPECT_EQ(built.bytes.size(), kPayload) << "the text takes all the room left";
    EXPECT_EQ(built.decoded.flags, nw::container_items_dropped | nw::container_text_truncated);
    EXPECT_EQ(built.decoded.types(), (std::vector<uint8_t>{2, 3, 4, 9, 8, 5, 10, 1}));
    // 28 header + 8 items before the text (5 integers, 2 texts, an empty group).
    const std::size_t before = 28 + 5 * (4 + 8) + (4 + 11) + (4 + 0);
    EXPECT_EQ(built.decoded.text->size(), kPayload - before - 4);
    EXPECT_EQ(*built.decoded.text, text.substr(0, built.decoded.text->size()));
    EXPECT_FALSE(built.decoded.location.has_value());
}

TEST(MessageContainer, TextThatExactlyFits_IsWholeButTheLocationIsDropped) {
    const std::size_t before = 28 + 5 * (4 + 8) + (4 + 11) + (4 + 0);
    const std::string text(kPayload - before - 4, 'x');
    const Built built = Build(Record(), text, nw::item_pattern::plain(true));
    EXPECT_EQ(*built.decoded.text, text);
    EXPECT_EQ(built.decoded.flags, nw::container_items_dropped);
}

TEST(MessageContainer, ItemThatDoesNotFit_EndsTheList) {
    nw::basic_timed_msgstate record = Record();
    record.logger_name.assign(1500, 'L');
    const Built built = Build(record, "x", nw::item_pattern::plain(true));
    EXPECT_EQ(built.decoded.types(), (std::vector<uint8_t>{2}));
    EXPECT_EQ(built.decoded.flags, nw::container_items_dropped);
}

TEST(MessageContainer, SmallestBuffer_HeaderOnlyAndItemsDropped) {
    const Built built = Build(Record(), "x", nw::item_pattern::plain(true), 1, 28);
    EXPECT_EQ(built.bytes.size(), 28u);
    EXPECT_EQ(built.decoded.flags, nw::container_items_dropped);
    // Fewer than four bytes left: not even an item header fits.
    const Built three = Build(Record(), "x", nw::item_pattern::plain(true), 1, 31);
    EXPECT_TRUE(three.decoded.items.empty());
}

TEST(MessageContainer, EmptyText_IsAnEmptyItem) {
    const Built built = Build(Record(), "", nw::item_pattern::plain(true));
    EXPECT_EQ(*built.decoded.text, "");
    EXPECT_EQ(built.decoded.flags, 0u);
}

TEST(MessageContainer, InconsistentRequestsAreRefused) {
    std::array<uint8_t, 64> buffer{};
    const char text[] = "abc";
    EXPECT_EQ(ErrorText(nullptr, 64, text, text + 3), inconsistent);
    EXPECT_EQ(ErrorText(buffer.data(), 27, text, text + 3), inconsistent);
    EXPECT_EQ(ErrorText(buffer.data(), 64, nullptr, text + 3), inconsistent);
    EXPECT_EQ(ErrorText(buffer.data(), 64, text, nullptr), inconsistent);
    EXPECT_EQ(ErrorText(buffer.data(), 64, text + 3, text), inconsistent);
    EXPECT_EQ(ErrorText(buffer.data(), 28, text, text + 3), "<no LogSvcError>");

    nw::container_source noRecord;
    noRecord.text_begin = text;
    noRecord.text_end = text;
    EXPECT_THROW(nw::build_message_container(buffer.data(), buffer.size(), 1,
                                             nw::item_pattern::plain(true), noRecord),
                 nw::LogSvcError);
}

TEST(MessageContainer, PatternWithUnknownItemType_IsRefused) {
    std::array<uint8_t, 64> buffer{};
    const char text[] = "abc";
    for (uint8_t bad : {uint8_t{0}, uint8_t{11}, uint8_t{255}}) {
        EXPECT_EQ(ErrorText(buffer.data(), 64, text, text + 3, nw::item_pattern::of({2, bad})),
                  "Invalid pattern used when constructing the log message container");
    }
}

TEST(MessageContainerReader, RefusesContainersThatDisagreeWithTheirBytes) {
    const Built built = Build(Record(), "hello", nw::item_pattern::plain(true));
    std::vector<uint8_t> bytes = built.bytes;
    EXPECT_THROW(nw::decoded_container::decode(bytes.data(), bytes.size() - 1), nw::LogSvcError);
    EXPECT_THROW(nw::decoded_container::decode(bytes.data(), 20), nw::LogSvcError);
    std::vector<uint8_t> longItem = bytes;
    nw::put_le<uint16_t>(&longItem[28], 2000); // the first item claims more than there is
    EXPECT_THROW(nw::decoded_container::decode(longItem.data(), longItem.size()), nw::LogSvcError);
    std::vector<uint8_t> shortInteger = built.bytes;
    nw::put_le<uint16_t>(&shortInteger[28], 0); // a timestamp without its 8 bytes
    nw::put_le<uint16_t>(&shortInteger[0], static_cast<uint16_t>(shortInteger.size() - 8));
    shortInteger.erase(shortInteger.begin() + 32, shortInteger.begin() + 40);
    EXPECT_THROW(nw::decoded_container::decode(shortInteger.data(), shortInteger.size()),
                 nw::LogSvcError);
}

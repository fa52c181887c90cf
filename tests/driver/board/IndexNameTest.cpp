// Numbers of index names.
#include "board/IndexName.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(IndexName, Lenient_LeadingDigitsAfterThePrefixOrZero) {
    EXPECT_EQ(IndexNameNumber(L"~idx:0"), 0);
    EXPECT_EQ(IndexNameNumber(L"~idx:12"), 12);
    EXPECT_EQ(IndexNameNumber(L"idx:3"), 3);
    EXPECT_EQ(IndexNameNumber(L"idx:7abc"), 7);
    EXPECT_EQ(IndexNameNumber(L"~idx:"), 0);
    EXPECT_EQ(IndexNameNumber(L"~idx:x1"), 0);
    EXPECT_EQ(IndexNameNumber(L""), 0);
    EXPECT_EQ(IndexNameNumber(L"~idx:99999999999"), INT32_MAX);
}

TEST(IndexName, Strict_ThrowsWithoutANumber) {
    EXPECT_EQ(IndexNameNumberStrict(L"~idx:4"), 4);
    EXPECT_EQ(IndexNameNumberStrict(L"idx:5"), 5);
    EXPECT_THROW(IndexNameNumberStrict(L"~idx:"), std::invalid_argument);
    EXPECT_THROW(IndexNameNumberStrict(L"~idx:a"), std::invalid_argument);
    EXPECT_THROW(IndexNameNumberStrict(L"~idx:99999999999"), std::out_of_range);
    EXPECT_THROW(IndexNameNumberStrict(L"~i"), std::out_of_range);
}

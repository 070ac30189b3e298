#include "settings/Decimal.h"

#include <gtest/gtest.h>

#include <limits>

namespace xk {
namespace {

TEST(ParseDecimal, ReadsLikeTheStoredValuesAreRead) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"42", 42},
        {"  42", 42},
        {"\t7", 7},
        {"+5", 5},
        {"-12", -12},
        {"250ms", 250},
        {"12 34", 12},
        {"0x10", 0},
        {"- 3", 0},
        {"007", 7},
        {"99999999999", std::numeric_limits<int32_t>::max()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"-99999999999", std::numeric_limits<int32_t>::min()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.value) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace xk

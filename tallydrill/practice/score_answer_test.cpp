#include "tallydrill/practice/score_answer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ParseDecimal, Table) {
    struct Row {
        std::string text;
        int result;
        std::int32_t value; // 77 stands for "left alone"
    };
    const std::vector<Row> rows = {
        {"0", 1, 0},
        {"-123", 1, -123},
        {"", 1, 0},
        {"12a", 0, 77},
        {"2147483648", 1, INT32_MIN}, // 32-bit wrap-around
        {std::string(256, '9'), 1, -1},
        {"-" + std::string(256, '9'), 1, 1},
        {std::string(257, '0'), 0, 77},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("\"" + row.text + "\"");
        std::int32_t value = 77;
        EXPECT_EQ(parse_decimal(&value, row.text.c_str()), row.result);
        EXPECT_EQ(value, row.value);
    }
    std::int32_t value = 77;
    EXPECT_EQ(parse_decimal(&value, nullptr), 0);
    EXPECT_EQ(value, 77);
    EXPECT_EQ(parse_decimal(nullptr, "1"), 0);
}

TEST(ParseScoreAnswer, Table) {
    struct Row {
        std::string text;
        ScoreAnswer expected;
    };
    const std::string run(70, '1');
    const std::vector<Row> rows = {
        {"8000", {8000, 0, false, false}},
        {"1000 2000", {1000, 2000, false, false}},
        {"2600 a", {2600, 0, true, false}},
        {"2600A", {2600, 0, true, false}},
        {"2600 a 1300", {2600, 0, true, false}}, // nothing after the letter counts
        {"100 -200", {100, 200, false, false}},  // the minus is only a separator
        {"", {0, 0, false, true}},
        {"abc 100", {0, 0, false, true}},
        {"\t100", {0, 0, false, true}}, // only the space is a blank
        {std::string("12\0 34", 6), {12, 0, false, false}},
        {run, {-954437177, 0, false, false}}, // the first 63 digits, wrapped
        {"5 " + run, {5, -954437177, false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("\"" + row.text + "\"");
        const ScoreAnswer a = parse_score_answer(row.text), &e = row.expected;
        EXPECT_TRUE(a.first == e.first && a.second == e.second && a.all == e.all &&
                    a.invalid == e.invalid)
            << a.first << " " << a.second << " " << a.all << " " << a.invalid;
    }
}

} // namespace

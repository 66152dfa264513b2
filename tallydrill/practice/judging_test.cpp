#include "tallydrill/practice/judging.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(ElapsedMs, DifferenceOfWrappingReadings) {
    EXPECT_EQ(elapsed_ms(1500, 500), 1000);
    EXPECT_EQ(elapsed_ms(5, 0xFFFFFFF0u), 21); // the clock wrapped in between
    EXPECT_EQ(elapsed_ms(0, 1), -1);
    EXPECT_EQ(elapsed_ms(0x80000000u, 0), INT32_MIN);
}

// Proportional up to the limit, full past it or when the limit is none, empty before the start.
TEST(ElapsedBarPosition, ProportionOfTheLimit) {
    const std::int32_t rows[][3] = {
        {250000, 10, 1000}, {INT32_MAX, 1, 1000}, {-5, 10, 0},         {INT32_MAX, INT32_MAX, 1},
        {0, 0, 1000},       {5000, -3, 1000},     {0, INT32_MIN, 1000}};
    for (const auto& row : rows) {
        EXPECT_EQ(elapsed_bar_position(row[0], row[1]), row[2]) << row[0] << " ms of " << row[1];
    }
    for (std::int32_t limit = 1; limit <= 40; ++limit) {
        for (std::int32_t elapsed = 0; elapsed <= limit * 1000 + 100; elapsed += 7) {
            ASSERT_EQ(elapsed_bar_position(elapsed, limit), std::min(elapsed / limit, 1000))
                << elapsed << " ms of " << limit;
        }
    }
}

TEST(SecondsTexts, WholeSeconds) {
    struct Row {
        std::int32_t value;
        const char* limit_text;   // whole_seconds_text(value)
        const char* elapsed_text; // elapsed_seconds_text(value)
    };
    const Row rows[] = {{0, "0 sec", "0 sec"},
                        {10001, "10001 sec", "10 sec"},
                        {-1500, "-1500 sec", "-1 sec"}, // division truncates toward zero
                        {INT32_MIN, "-2147483648 sec", "-2147483 sec"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_STREQ(whole_seconds_text(row.value).text, row.limit_text);
        EXPECT_STREQ(elapsed_seconds_text(row.value).text, row.elapsed_text);
    }
}

// One decimal as printf gives it: the double nearest to ms / 1000 is rounded from its exact
// value, so a decimal half goes either way, and to even only when the double is exact (0.25).
TEST(SecondsTexts, AnswerTimeRoundsLikePrintf) {
    struct Row {
        std::int32_t ms;
        const char* text;
    };
    const Row rows[] = {{12350, "12.3 sec"},  {250, "0.2 sec"},
                        {450, "0.5 sec"},     {9960, "10.0 sec"},
                        {-40, "-0.0 sec"},    {INT32_MAX, "2147483.6 sec"},
                        {12351, "12.4 sec"},  {1250, "1.2 sec"},
                        {99950, "100.0 sec"}, {INT32_MIN, "-2147483.6 sec"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ms);
        EXPECT_STREQ(answer_seconds_text(row.ms).text, row.text);
    }
}

TEST(Verdicts, Table) {
    struct Row {
        std::int32_t limit, ms;
        const char* verdict;
    };
    const Row rows[] = {{10, 10000, "permit"},
                        {10, 10001, "too late"},
                        {0, 1, "too late"},
                        {INT32_MAX, INT32_MAX, "permit"},
                        {2147483, INT32_MAX, "too late"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.ms) + " ms of " + std::to_string(row.limit));
        EXPECT_STREQ(timing_verdict(row.limit, row.ms), row.verdict);
    }
    EXPECT_STREQ(select_answer_verdict(2, 2), "right");
    EXPECT_STREQ(select_answer_verdict(0, 3), "wrong");
    EXPECT_STREQ(direct_input_verdict("2600 a", "2600A"), "right");
    EXPECT_STREQ(direct_input_verdict("8000", ""), "wrong");
    EXPECT_STREQ(direct_input_verdict("Mangan", "8000"), "---");
}

TEST(RevealStep, OpensInTenTicks) {
    std::vector<std::int32_t> steps = {0};
    while (steps.size() < 11) {
        steps.push_back(advance_reveal_step(steps.back()));
    }
    EXPECT_EQ(steps, (std::vector<std::int32_t>{0, 3, 6, 9, 12, 15, 18, 21, 24, 25, 25}));
    for (std::int32_t step : {22, 23, 26, 1000}) {
        EXPECT_EQ(advance_reveal_step(step), 25) << step;
    }
}

} // namespace

#include "tallydrill/practice/judging.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

// "%d sec" and "%.1f sec" as printf writes them: the double nearest to ms / 1000 is rounded from
// its exact value, so a decimal half goes either way, and to even only when the double is exact.
TEST(SecondsTexts, AsPrintfWritesThem) {
    std::vector<std::int32_t> values = {INT32_MIN, INT32_MAX};
    for (std::int32_t ms = -2000; ms <= 100000; ++ms) {
        values.push_back(ms);
    }
    for (std::int32_t value : values) {
        char expected[3][32];
        std::snprintf(expected[0], sizeof expected[0], "%d sec", value);
        std::snprintf(expected[1], sizeof expected[1], "%d sec", value / 1000);
        std::snprintf(expected[2], sizeof expected[2], "%.1f sec", value / 1000.0);
        ASSERT_STREQ(whole_seconds_text(value).text, expected[0]);
        ASSERT_STREQ(elapsed_seconds_text(value).text, expected[1]);
        ASSERT_STREQ(answer_seconds_text(value).text, expected[2]);
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
}

// The typed score against the right answer, field by field; an unreadable input counts as 0 / 0.
TEST(DirectInputVerdict, Table) {
    const char* const rows[][3] = {{"1000 2000", "1000 2000", "right"},
                                   {"1000 2000", "2000 1000", "wrong"},
                                   {"2600 a", "2600A", "right"},
                                   {"2600 a", "2600", "wrong"},
                                   {"8000", " 8000 ", "right"},
                                   {"0", "", "right"},
                                   {"8000", "", "wrong"},
                                   {"Mangan", "8000", "---"}};
    for (const auto& row : rows) {
        EXPECT_STREQ(direct_input_verdict(row[0], row[1]), row[2]) << row[0] << " vs " << row[1];
    }
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

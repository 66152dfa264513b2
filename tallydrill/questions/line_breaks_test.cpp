#include "tallydrill/questions/line_breaks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(ConvertLineBreaks, Table) {
    struct Row {
        std::string field; // padded with NULs to the capacity
        std::size_t capacity;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"first\\nsecond", 256, "first\r\nsecond"},
        {"a\\xb", 256, "a\r\nb"}, // the follower goes whatever it is
        {"ends here\\", 256, "ends here\r\n"},
        {"\\\\\\n", 256, "\r\n\r\n"},
        {std::string("ab\0c\\n", 6), 16, "ab"},
        {"x\\", 4, "x\r\n"},
        {"xy\\n", 4, "xy"},   // a break that does not fit before the NUL is dropped
        {"abcdef", 4, "abc"}, // a field without a NUL keeps capacity - 1 characters
        {std::string(255, 'k'), 256, std::string(255, 'k')},
        {std::string(254, 'k') + "\\", 256, std::string(254, 'k')},
        {std::string(253, 'k') + "\\", 256, std::string(253, 'k') + "\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("\"" + row.field + "\" in " + std::to_string(row.capacity));
        std::vector<char> field(row.field.begin(), row.field.end());
        field.resize(row.capacity, '\0');
        convert_line_breaks(field.data(), row.capacity);
        std::vector<char> expected(row.expected.begin(), row.expected.end());
        expected.resize(row.capacity, '\0'); // the rest of the field is cleared
        EXPECT_EQ(field, expected);
    }
}

// On any bytes: the result ends inside the field, holds no backslash, is at most one byte
// longer than its source, and a second conversion changes nothing.
TEST(ConvertLineBreaks, Properties) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<char> field(1 + random() % 40);
        for (char& c : field) {
            c = "\\\\na\r\n\0z"[random() % 8];
        }
        const auto length = [&field] { return std::find(field.begin(), field.end(), '\0'); };
        const auto source_length = length() - field.begin();
        convert_line_breaks(field.data(), field.size());
        ASSERT_NE(length(), field.end());
        EXPECT_LE(length() - field.begin(), source_length + 1);
        EXPECT_EQ(std::count(field.begin(), field.end(), '\\'), 0);
        std::vector<char> again = field;
        convert_line_breaks(again.data(), again.size());
        EXPECT_EQ(again, field);
    }
}

} // namespace

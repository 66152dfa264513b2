#include "tallydrill/questions/line_breaks.h"

#include <gtest/gtest.h>

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

} // namespace

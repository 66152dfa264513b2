#include "tallydrill/questions/line_breaks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Converts `text` in a field of `capacity` bytes and returns the bytes up to the NUL.
std::string converted(const std::string& text, std::size_t capacity) {
    std::vector<char> field(capacity, '\0');
    std::memcpy(field.data(), text.data(), std::min(text.size(), capacity));
    convert_line_breaks(field.data(), capacity);
    const auto nul = std::find(field.begin(), field.end(), '\0');
    EXPECT_NE(nul, field.end()) << "result must end inside the field";
    for (auto rest = nul; rest != field.end(); ++rest) {
        EXPECT_EQ(*rest, '\0') << "the rest of the field is cleared";
    }
    return std::string(field.begin(), nul);
}

TEST(ConvertLineBreaks, Examples) {
    struct Row {
        std::string text;
        std::size_t capacity;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"", 256, ""},
        {"plain text", 256, "plain text"},
        {"first\\nsecond", 256, "first\r\nsecond"},
        {"a\\xb", 256, "a\r\nb"}, // the follower is consumed whatever it is
        {"ends here\\", 256, "ends here\r\n"},
        {"\\\\", 256, "\r\n"}, // the second backslash is the first one's follower
        {"\\\\\\n", 256, "\r\n\r\n"},
        {"\\n\\n", 256, "\r\n\r\n"},
        {"x\\", 4, "x\r\n"}, // just fits before the NUL
        {"xy\\", 4, "xy"},   // no room for both bytes: the break is dropped
        {"xy\\n", 4, "xy"},
        {"abcdef", 4, "abc"}, // a field without a NUL is cut to capacity - 1
        {"\\", 2, ""},
        {"a", 1, ""},
        {std::string(255, 'k'), 256, std::string(255, 'k')},
        {std::string(256, 'k'), 256, std::string(255, 'k')},
        {std::string(254, 'k') + "\\", 256, std::string(254, 'k')},
        {std::string(253, 'k') + "\\", 256, std::string(253, 'k') + "\r\n"},
        {std::string(255, '\\'), 256,
         [] {
             std::string s;
             for (int i = 0; i < 127; ++i) {
                 s += "\r\n";
             }
             return s;
         }()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("text \"" + row.text + "\" capacity " + std::to_string(row.capacity));
        EXPECT_EQ(converted(row.text, row.capacity), row.expected);
    }
}

TEST(ConvertLineBreaks, StopsAtTheFirstNul) {
    char field[16] = "ab\0c\\nd";
    convert_line_breaks(field, sizeof field);
    EXPECT_STREQ(field, "ab");
    for (std::size_t i = 2; i < sizeof field; ++i) {
        EXPECT_EQ(field[i], '\0');
    }
}

TEST(ConvertLineBreaks, ZeroCapacityTouchesNothing) {
    char byte = 'q';
    convert_line_breaks(&byte, 0);
    EXPECT_EQ(byte, 'q');
    convert_line_breaks(nullptr, 10);
}

// Any field content: the result is terminated, holds no backslash, never grows past the source
// by more than the one byte of a final backslash, and a second conversion changes nothing.
TEST(ConvertLineBreaks, PropertiesOnAnyBytes) {
    std::mt19937 random(7);
    const char alphabet[] = {'\\', '\\', 'n', 'a', '\r', '\n', '\0', 'z'};
    for (int round = 0; round < 2000; ++round) {
        const std::size_t capacity = 1 + random() % 40;
        std::vector<char> field(capacity);
        for (char& c : field) {
            c = alphabet[random() % sizeof alphabet];
        }
        const std::size_t source_length =
            std::find(field.begin(), field.end(), '\0') - field.begin();
        convert_line_breaks(field.data(), capacity);
        const std::size_t length = std::find(field.begin(), field.end(), '\0') - field.begin();
        ASSERT_LT(length, capacity);
        EXPECT_LE(length, source_length + 1);
        EXPECT_EQ(std::count(field.begin(), field.end(), '\\'), 0);
        std::vector<char> again = field;
        convert_line_breaks(again.data(), capacity);
        EXPECT_EQ(again, field);
    }
}

} // namespace

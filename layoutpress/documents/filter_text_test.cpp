#include "layoutpress/documents/filter_text.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string shown(const char* filter, uint32_t length, size_t room = settings_text_size) {
    char text[settings_text_size + 8];
    std::memset(text, 'x', sizeof text);
    const size_t count = filter_to_text(filter, length, text, room);
    EXPECT_EQ(count, std::strlen(text));
    EXPECT_EQ(text[room], 'x') << "written beyond out_size";
    return text;
}

TEST(FilterText, ShowsZeroBytesAsBackslashZeroAndReadsThemBack) {
    const struct {
        std::string filter;
        uint32_t length;
        const char* text;
    } cases[] = {{std::string("A\0*.a\0\0", 7), 7, "A\\0*.a\\0\\0"},
                 {std::string("A\0*.a\0\0\0", 8), 5, "A\\0*.a"},
                 {std::string("a\\b\0", 4), 4, "a\\b\\0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(shown(c.filter.data(), c.length), c.text);
    }
    // A field of zero bytes would take 512 characters: 254 fit, no pair is cut; a length beyond
    // the field reads no further than the field.
    EXPECT_EQ(shown(std::string(settings_text_size, '\0').data(), settings_text_size).size(), 254u);
    EXPECT_EQ(shown(std::string(settings_text_size + 100, 'q').data(), 9999),
              std::string(255, 'q'));
    EXPECT_EQ(shown("ab", 2, 3), "ab");
    EXPECT_EQ(shown("a\0", 2, 3), "a");

    const struct {
        const char* text;
        std::string filter;
    } back[] = {{"a\\\\0", std::string("a\\\0", 3)},
                {"end\\", "end\\"},
                {"\\00", std::string("\0"
                                     "0",
                                     2)},
                {"abcdefgh", "abcd"}}; // at most its room
    for (const auto& c : back) {
        char out[6];
        std::memset(out, 'x', sizeof out);
        const size_t count = text_to_filter(c.text, out, 4);
        EXPECT_EQ(std::string(out, count), c.filter) << c.text;
        EXPECT_EQ(out[4], 'x');
    }
}

// The default lists show as their texts and pairs and read back whole; "Initialize" restores
// texts and filters but not the options.
TEST(FilterText, DefaultListsRoundTripAndInitializeRestoresThem) {
    Settings defaults, changed{};
    set_default_settings(defaults);
    EXPECT_EQ(shown(defaults.file_filter[2], defaults.file_filter_length[2]),
              "Binary\\0*.bin\\0Struct\\0*.str\\0Text\\0*.TXT\\0ALL\\0*.*\\0\\0\\0");
    for (int kind = 0; kind < 3; ++kind) {
        const std::string text =
            shown(defaults.file_filter[kind], defaults.file_filter_length[kind]);
        char back[settings_text_size] = {};
        EXPECT_EQ(text_to_filter(text.c_str(), back, filter_field_chars), 47u);
        EXPECT_EQ(std::memcmp(back, defaults.file_filter[kind], settings_text_size), 0);
    }
    changed.organize_line_feed = 1;
    changed.binary_output_mode = Decimal;
    std::memset(changed.file_filter[2], 'z', settings_text_size);
    std::strcpy(changed.ini_file_name[1], "mine.txt");
    restore_default_file_formats(changed);
    EXPECT_EQ(
        std::memcmp(changed.ini_file_name, defaults.ini_file_name, sizeof changed.ini_file_name),
        0);
    EXPECT_EQ(std::memcmp(changed.file_filter, defaults.file_filter, sizeof changed.file_filter),
              0);
    EXPECT_EQ(std::memcmp(changed.file_filter_length, defaults.file_filter_length, 12), 0);
    EXPECT_EQ(changed.organize_space, 0);
    EXPECT_EQ(changed.binary_output_mode, Decimal);
}

} // namespace

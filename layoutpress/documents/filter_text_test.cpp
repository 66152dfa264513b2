#include "layoutpress/documents/filter_text.h"

#include <cstddef>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string shown(const std::string& filter, uint32_t length, size_t room = settings_text_size) {
    char text[settings_text_size + 8];
    std::memset(text, 'x', sizeof text);
    const size_t count = filter_to_text(filter.data(), length, text, room);
    EXPECT_EQ(count, std::strlen(text));
    EXPECT_EQ(text[room], 'x') << "written beyond out_size";
    return text;
}

// Zero bytes show as "\0" and read back; a pair is never cut, a length beyond the field reads no
// further than the field, and reading back takes at most its room. "Initialize" restores texts
// and filters but not the options.
TEST(FilterText, ShowsZeroBytesAsBackslashZeroAndReadsThemBack) {
    EXPECT_EQ(shown(std::string("A\0*.a\0\0\0", 8), 5), "A\\0*.a");
    EXPECT_EQ(shown(std::string(settings_text_size, '\0'), settings_text_size).size(), 254u);
    EXPECT_EQ(shown(std::string(settings_text_size + 100, 'q'), 9999), std::string(255, 'q'));
    EXPECT_EQ(shown(std::string("a\0", 2), 2, 3), "a");
    const struct {
        const char* text;
        std::string filter;
    } back[] = {{"a\\\\0", std::string("a\\\0", 3)}, {"end\\", "end\\"}, {"abcdefgh", "abcd"}};
    for (const auto& c : back) {
        char out[6] = "xxxxx";
        EXPECT_EQ(std::string(out, text_to_filter(c.text, out, 4)), c.filter) << c.text;
        EXPECT_EQ(out[4], 'x');
    }

    Settings defaults, changed{};
    set_default_settings(defaults);
    changed.binary_output_mode = Decimal;
    std::memset(changed.file_filter[2], 'z', settings_text_size);
    std::strcpy(changed.ini_file_name[1], "mine.txt");
    restore_default_file_formats(changed);
    Settings expected = defaults;
    expected.organize_space = 0;
    expected.organize_line_feed = 0;
    expected.binary_output_mode = Decimal;
    EXPECT_EQ(std::memcmp(&changed, &expected, offsetof(Settings, file_filter_length)), 0);
    EXPECT_EQ(std::memcmp(changed.file_filter_length, defaults.file_filter_length, 12), 0);
}

} // namespace

#include "layoutpress/documents/filter_text.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string shown(const char* filter, uint32_t length) {
    char text[settings_text_size];
    const size_t count = filter_to_text(filter, length, text, sizeof text);
    EXPECT_EQ(count, std::strlen(text));
    return text;
}

std::string bytes_of(const char* text) {
    char filter[settings_text_size] = {};
    const size_t count = text_to_filter(text, filter, filter_field_chars);
    return std::string(filter, count);
}

TEST(FilterText, ShowsEveryZeroByteAsBackslashZero) {
    struct Case {
        std::string filter;
        uint32_t length;
        const char* want;
    };
    const Case cases[] = {
        {std::string("A\0*.a\0\0", 7), 7, "A\\0*.a\\0\\0"},
        {std::string("A\0*.a\0\0\0", 8), 5, "A\\0*.a"},
        {std::string("", 0), 0, ""},
        {std::string("\0\0", 2), 2, "\\0\\0"},
        {std::string("a\\b\0", 4), 4, "a\\b\\0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("want ") + c.want);
        EXPECT_EQ(shown(c.filter.data(), c.length), c.want);
    }
}

TEST(FilterText, ShowsTheDefaultListsAsEightTextsAndThreePairs) {
    Settings defaults;
    set_default_settings(defaults);
    EXPECT_EQ(shown(defaults.file_filter[0], defaults.file_filter_length[0]),
              "Struct\\0*.str\\0Text\\0*.txt\\0Binary\\0*.bin\\0ALL\\0*.*\\0\\0\\0");
    EXPECT_EQ(shown(defaults.file_filter[1], defaults.file_filter_length[1]),
              "Text\\0*.txt\\0Struct\\0*.str\\0Binary\\0*.bin\\0ALL\\0*.*\\0\\0\\0");
    EXPECT_EQ(shown(defaults.file_filter[2], defaults.file_filter_length[2]),
              "Binary\\0*.bin\\0Struct\\0*.str\\0Text\\0*.TXT\\0ALL\\0*.*\\0\\0\\0");
}

TEST(FilterText, NeverOverrunsItsField) {
    // A whole field of zero bytes would take 512 characters; 255 fit, and no pair is cut.
    char zeros[settings_text_size] = {};
    char text[settings_text_size + 8];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(filter_to_text(zeros, settings_text_size, text, settings_text_size), 254u);
    EXPECT_EQ(text[254], '\0');
    EXPECT_EQ(text[256], 'x') << "written beyond out_size";
    EXPECT_EQ(text[253], '0');
    // A length beyond the field reads no further than the field.
    char letters[settings_text_size + 100];
    std::memset(letters, 'q', sizeof letters);
    EXPECT_EQ(filter_to_text(letters, 9999, text, settings_text_size), 255u);
    // One character left: a "\0" would not fit, a letter does.
    char tiny[3];
    EXPECT_EQ(filter_to_text("ab", 2, tiny, sizeof tiny), 2u);
    EXPECT_STREQ(tiny, "ab");
    EXPECT_EQ(filter_to_text(std::string("a\0", 2).data(), 2, tiny, sizeof tiny), 1u);
    EXPECT_STREQ(tiny, "a");
}

TEST(TextToFilter, TurnsBackslashZeroIntoOneZeroByte) {
    struct Case {
        const char* text;
        std::string want;
    };
    const Case cases[] = {
        {"Mine\\0*.mine\\0\\0", std::string("Mine\0*.mine\0\0", 13)},
        {"", std::string()},
        {"a\\b", "a\\b"},
        {"a\\\\0", std::string("a\\\0", 3)},
        {"end\\", "end\\"},
        {"\\00", std::string("\0"
                             "0",
                             2)},
        {"C:\\0dir", std::string("C:\0dir", 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text ") + c.text);
        EXPECT_EQ(bytes_of(c.text), c.want);
    }
}

TEST(TextToFilter, RoundTripsEveryDefaultList) {
    Settings defaults;
    set_default_settings(defaults);
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        char text[settings_text_size];
        filter_to_text(defaults.file_filter[kind], defaults.file_filter_length[kind], text,
                       sizeof text);
        char back[settings_text_size] = {};
        EXPECT_EQ(text_to_filter(text, back, filter_field_chars), 47u);
        EXPECT_EQ(std::memcmp(back, defaults.file_filter[kind], settings_text_size), 0);
    }
}

TEST(TextToFilter, WritesNoMoreThanItsRoom) {
    char out[6];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(text_to_filter("abcdefgh", out, 4), 4u);
    EXPECT_EQ(std::string(out, 6), "abcdxx");
}

TEST(FileFormats, InitializeRestoresTextsAndFiltersButNotTheOptions) {
    Settings s{};
    s.organize_space = 0;
    s.organize_line_feed = 1;
    s.binary_output_mode = Decimal;
    std::strcpy(s.ini_file_name[1], "mine.txt");
    std::memset(s.file_filter[2], 'z', settings_text_size);
    s.file_filter_length[0] = 3;
    restore_default_file_formats(s);
    Settings defaults;
    set_default_settings(defaults);
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        EXPECT_EQ(
            std::memcmp(s.ini_file_name[kind], defaults.ini_file_name[kind], settings_text_size),
            0);
        EXPECT_EQ(std::memcmp(s.file_filter[kind], defaults.file_filter[kind], settings_text_size),
                  0);
        EXPECT_EQ(s.file_filter_length[kind], 47u);
    }
    EXPECT_STREQ(s.ini_file_name[0], "*.str");
    EXPECT_EQ(s.organize_space, 0);
    EXPECT_EQ(s.organize_line_feed, 1);
    EXPECT_EQ(s.binary_output_mode, Decimal);
}

} // namespace

#include "layoutpress/documents/binary_display.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

std::string render(const Bytes& bytes, uint8_t mode) {
    std::string out(binary_display_size(bytes.size(), mode), '#');
    DisplayReport report;
    EXPECT_TRUE(
        render_binary_display(&out[0], out.size(), bytes.data(), bytes.size(), mode, &report));
    EXPECT_EQ(report.problem, DisplayProblem::none);
    EXPECT_EQ(out.back(), '\0') << "the terminator belongs to the last byte of the size";
    return std::string(out.c_str());
}

std::string char_view(const Bytes& bytes) {
    std::string out(char_view_size(bytes.size()), '#');
    EXPECT_TRUE(build_char_view(&out[0], out.size(), bytes.data(), bytes.size()));
    EXPECT_EQ(out.back(), '\0');
    return out.substr(0, out.size() - 1); // the view may hold a lone CR or LF but no zero
}

Bytes parse(const std::string& dump, uint8_t mode, DisplayReport* report = nullptr) {
    Bytes out(dump.size() + 1, 0xEE);
    const size_t count =
        parse_binary_display(out.data(), out.size(), dump.c_str(), dump.size() + 1, mode, report);
    out.resize(count);
    return out;
}

Bytes range(int first, int last) {
    Bytes bytes;
    for (int b = first; b <= last; ++b) {
        bytes.push_back(static_cast<uint8_t>(b));
    }
    return bytes;
}

TEST(BinaryDisplay, SizesOfDumpsAndCharacterViews) {
    struct Case {
        size_t count;
        size_t hex, pairs, decimal, view;
    };
    const Case cases[] = {
        {0, 1, 1, 1, 1},
        {1, 4, 3, 5, 2},
        {2, 7, 6, 9, 3},
        {16, 49, 41, 65, 17},
        {17, 54, 45, 71, 20},
        {32, 99, 83, 131, 35},
        {10000, 31249, 26249, 41249, 11249},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " bytes");
        EXPECT_EQ(binary_display_size(c.count, 0), c.hex);
        EXPECT_EQ(binary_display_size(c.count, 1), c.pairs);
        EXPECT_EQ(binary_display_size(c.count, 2), c.decimal);
        EXPECT_EQ(binary_display_size(c.count, 200), c.decimal) << "other modes act as decimal";
        EXPECT_EQ(char_view_size(c.count), c.view);
    }
    // Counts whose dump cannot be counted saturate rather than wrap to a small size.
    EXPECT_EQ(binary_display_size(SIZE_MAX / 3, 2), SIZE_MAX);
    EXPECT_EQ(char_view_size(SIZE_MAX - 1), SIZE_MAX);
}

TEST(BinaryDisplay, RenderedLayouts) {
    struct Case {
        Bytes bytes;
        uint8_t mode;
        std::string dump;
    };
    const std::string first_line = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ";
    const Case cases[] = {
        {{}, 0, ""},
        {{}, 1, ""},
        {{}, 2, ""},
        {range(0, 16), 0, first_line + "\r\n10 "},
        {range(0, 15), 0, first_line},
        {{0x0A, 0xFF, 0x10}, 1, "0AFF 10"},
        {{0x0A, 0xFF, 0x10}, 2, " 10 255  16 "},
        {{0x0A, 0xFF, 0x10}, 7, " 10 255  16 "},
        {{0xab, 0xcd}, 0, "AB CD "},
        {range(0, 16), 1, "0001 0203 0405 0607 0809 0A0B 0C0D 0E0F \r\n10"},
        {range(0x60, 0x71), 1, "6061 6263 6465 6667 6869 6A6B 6C6D 6E6F \r\n7071 "},
        {{0, 9, 10, 99, 100, 255}, 2, "  0   9  10  99 100 255 "},
        {Bytes(33, 0x5C), 0,
         "5C 5C 5C 5C 5C 5C 5C 5C 5C 5C 5C 5C 5C 5C 5C 5C \r\n5C 5C 5C 5C 5C 5C 5C 5C 5C 5C 5C 5C "
         "5C 5C 5C 5C \r\n5C "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bytes.size() << " bytes, mode " << int(c.mode));
        EXPECT_EQ(render(c.bytes, c.mode), c.dump);
    }
}

TEST(BinaryDisplay, RulerNumbersStandAboveTheLastDigitOfTheirColumn) {
    EXPECT_STREQ(binary_display_ruler(0), " 1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16  ");
    EXPECT_STREQ(binary_display_ruler(1), "   1    2    3    4    5    6    7    8  ");
    EXPECT_STREQ(binary_display_ruler(2),
                 "  1   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16  ");
    EXPECT_STREQ(binary_display_ruler(3), binary_display_ruler(2));

    for (uint8_t mode : {0, 1, 2}) {
        SCOPED_TRACE(testing::Message() << "mode " << int(mode));
        const std::string ruler = binary_display_ruler(mode);
        const std::string line = render(Bytes(16, 0x11), mode);
        // Each number ends where a column's digits end: a digit followed by a space.
        size_t column = 0;
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            if (line[i] != ' ' && line[i + 1] == ' ') {
                ++column;
                const std::string number = std::to_string(column);
                ASSERT_GE(i + 1, number.size());
                EXPECT_EQ(ruler.substr(i + 1 - number.size(), number.size()), number)
                    << "column " << column;
            }
        }
        EXPECT_EQ(column, mode == 1 ? 8u : 16u);
    }
}

TEST(BinaryDisplay, ReadingDumpsBack) {
    struct Case {
        std::string dump;
        uint8_t mode;
        Bytes bytes;
    };
    const Case cases[] = {
        {"", 0, {}},
        {"", 2, {}},
        {"0a ff\r\n1", 0, {0x0A, 0xFF}},
        {"0 AFF1 0", 1, {0x0A, 0xFF, 0x10}},
        {"0 AFF1 0", 0, {0x0A, 0xFF, 0x10}},
        {"0\r\nA", 0, {0x0A}},
        {"   \r\n  ", 1, {}},
        {"fFaA09", 0, {0xFF, 0xAA, 0x09}},
        {"1\r2\n3", 0, {0x12}}, // lone line ends are skipped too
        {"300 7 ", 2, {0x2C, 0x07}},
        {"12\r\n34 ", 2, {0xD2}},
        {"5", 2, {}},
        {"5\r\n", 2, {}},
        {"  1   2 ", 2, {1, 2}},
        {"1\r2 ", 2, {12}},
        {"1\n2 ", 9, {12}},
        {"255 256 ", 2, {255, 0}},
        {"00000000000000000000000000007 ", 2, {7}},
        {"12345678901234567890123 ", 2, {203}}, // its value mod 256
        {"18446744073709551617 ", 2, {1}},      // 2^64 + 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dump \"" << c.dump << "\", mode " << int(c.mode));
        DisplayReport report;
        EXPECT_EQ(parse(c.dump, c.mode, &report), c.bytes);
        EXPECT_EQ(report.problem, DisplayProblem::none);
        EXPECT_EQ(report.needed, c.bytes.size());
    }
}

TEST(BinaryDisplay, InvalidCharactersAreReportedWhereTheyStand) {
    struct Case {
        std::string dump;
        uint8_t mode;
        size_t offset;
    };
    const Case cases[] = {
        {"0G", 0, 1},         {"00 1\t2", 1, 4}, {"-1", 0, 0},    {"00 0x", 0, 4},
        {"12 ab ", 2, 3},     {"1 -2 ", 2, 2},   {"1\t2 ", 5, 1}, {"+", 2, 0},
        {"00\r\nFF g", 0, 7}, {"1 2 3.", 2, 5},  {"\xC4", 0, 0},  {"12 \xFF ", 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dump \"" << c.dump << "\", mode " << int(c.mode));
        Bytes out(16, 0xEE);
        DisplayReport report;
        EXPECT_EQ(parse_binary_display(out.data(), out.size(), c.dump.c_str(), c.dump.size() + 1,
                                       c.mode, &report),
                  0u);
        EXPECT_EQ(report.problem, DisplayProblem::invalid_character);
        EXPECT_EQ(report.offset, c.offset);
        EXPECT_EQ(out, Bytes(16, 0xEE)) << "the output must be unchanged";
    }
}

TEST(BinaryDisplay, ReadingStopsAtTheDumpCapacityOrItsZeroByte) {
    Bytes out(8, 0);
    const char dump[] = {'1', '2', '3', '4', 'x'}; // no terminator: the capacity ends it
    EXPECT_EQ(parse_binary_display(out.data(), out.size(), dump, 4, 0), 2u);
    EXPECT_EQ(out[1], 0x34);
    const char decimal[] = "7 8 \0 9 ";
    EXPECT_EQ(parse_binary_display(out.data(), out.size(), decimal, sizeof decimal, 2), 2u);
}

TEST(BinaryDisplay, DumpsReadBackToTheSameBytes) {
    std::mt19937 random(20240601);
    std::vector<size_t> lengths;
    for (size_t n = 0; n <= 100; ++n) {
        lengths.push_back(n);
    }
    for (size_t n : {255u, 4096u, 10000u, 65537u}) {
        lengths.push_back(n);
    }
    for (size_t n : lengths) {
        Bytes bytes(n);
        for (uint8_t& b : bytes) {
            b = static_cast<uint8_t>(random());
        }
        for (uint8_t mode : {0, 1, 2, 42}) {
            SCOPED_TRACE(testing::Message() << n << " bytes, mode " << int(mode));
            const std::string dump = render(bytes, mode);
            ASSERT_EQ(dump.size(), binary_display_size(n, mode) - 1);
            Bytes back(n, 0xEE);
            DisplayReport report;
            ASSERT_EQ(parse_binary_display(back.data(), back.size(), dump.c_str(), dump.size() + 1,
                                           mode, &report),
                      n);
            ASSERT_EQ(back, bytes);
        }
    }
}

TEST(BinaryDisplay, TextsOfExactlyTheirSizeFitAndOneByteLessIsRefused) {
    const Bytes bytes = range(0, 40);
    for (int what = 0; what < 4; ++what) {
        SCOPED_TRACE(testing::Message() << (what < 3 ? "dump mode " : "char view ") << what);
        const size_t needed = what < 3
                                  ? binary_display_size(bytes.size(), static_cast<uint8_t>(what))
                                  : char_view_size(bytes.size());
        auto make = [&](char* out, size_t capacity, DisplayReport* report) {
            return what < 3 ? render_binary_display(out, capacity, bytes.data(), bytes.size(),
                                                    static_cast<uint8_t>(what), report)
                            : build_char_view(out, capacity, bytes.data(), bytes.size(), report);
        };
        std::string out(needed + 8, '#');
        DisplayReport report;
        EXPECT_FALSE(make(&out[0], needed - 1, &report));
        EXPECT_EQ(report.problem, DisplayProblem::output_full);
        EXPECT_EQ(report.needed, needed);
        EXPECT_EQ(out, std::string(needed + 8, '#')) << "a refused text writes nothing";

        EXPECT_TRUE(make(&out[0], needed, &report));
        EXPECT_EQ(report.problem, DisplayProblem::none);
        EXPECT_EQ(out[needed - 1], '\0');
        EXPECT_EQ(out.substr(needed), std::string(8, '#')) << "nothing beyond the capacity";
    }
}

TEST(BinaryDisplay, ReadingIntoTooSmallAnOutputIsRefused) {
    const std::string dump = "01 02 03 04";
    for (uint8_t mode : {0, 2}) {
        SCOPED_TRACE(testing::Message() << "mode " << int(mode));
        const std::string text = mode == 0 ? dump : std::string("1 2 3 4 ");
        Bytes out(4, 0xEE);
        DisplayReport report;
        EXPECT_EQ(parse_binary_display(out.data(), 3, text.c_str(), text.size() + 1, mode, &report),
                  0u);
        EXPECT_EQ(report.problem, DisplayProblem::output_full);
        EXPECT_EQ(report.needed, 4u);
        EXPECT_EQ(out, Bytes(4, 0xEE));
        EXPECT_EQ(parse_binary_display(out.data(), 4, text.c_str(), text.size() + 1, mode), 4u);
        EXPECT_EQ(out, (Bytes{1, 2, 3, 4}));
    }
}

TEST(BinaryDisplay, MissingBuffersAreReported) {
    char text[8] = "keep";
    uint8_t bytes[4] = {1, 2, 3, 4};
    DisplayReport report;
    EXPECT_FALSE(render_binary_display(nullptr, 8, bytes, 1, 0, &report));
    EXPECT_EQ(report.problem, DisplayProblem::missing_buffer);
    EXPECT_FALSE(render_binary_display(text, 8, nullptr, 1, 0, &report));
    EXPECT_EQ(report.problem, DisplayProblem::missing_buffer);
    EXPECT_FALSE(build_char_view(text, 8, nullptr, 1, &report));
    EXPECT_EQ(report.problem, DisplayProblem::missing_buffer);
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(parse_binary_display(nullptr, 4, "01", 3, 0, &report), 0u);
    EXPECT_EQ(report.problem, DisplayProblem::missing_buffer);
    EXPECT_EQ(parse_binary_display(bytes, 4, nullptr, 3, 0, &report), 0u);
    EXPECT_EQ(report.problem, DisplayProblem::missing_buffer);

    // No bytes need no byte pointer: the texts are empty.
    EXPECT_TRUE(render_binary_display(text, 1, nullptr, 0, 1, &report));
    EXPECT_STREQ(text, "");
    std::strcpy(text, "keep");
    EXPECT_TRUE(build_char_view(text, 1, nullptr, 0, &report));
    EXPECT_STREQ(text, "");
}

TEST(BinaryDisplay, CharacterView) {
    struct Case {
        Bytes bytes;
        std::string view;
    };
    const Case cases[] = {
        {{}, ""},
        {{'A', '\r', '\n', 'B', '\t', 0}, "A  B  "},
        {{'\r', 'x'}, "\rx"},         // a lone CR is shown as it is
        {{'\n', 'x'}, "\nx"},         // so is an LF that no CR precedes
        {{'\n', '\r'}, "\n\r"},       // LF CR is no line end
        {{'\r', '\r', '\n'}, "\r  "}, // only the CR next to the LF pairs
        {{'a', '\r', '\n', '\n'}, "a  \n"},
        {{0x80, 0xFF, ' '}, "\x80\xFF "},
        {Bytes(17, 'q'), std::string(16, 'q') + "\r\nq"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case with " << c.bytes.size() << " bytes");
        EXPECT_EQ(char_view(c.bytes), c.view);
    }
    // A CR LF pair split by the line break of the view is still a pair of the data.
    Bytes split(15, 'x');
    split.push_back('\r');
    split.push_back('\n');
    EXPECT_EQ(char_view(split), std::string(15, 'x') + " \r\n ");
}

// Long hex dumps, over several of the counting pass's blocks, against the rules written out
// plainly: digits pair up in order across spaces and line ends, an odd last digit is dropped,
// and the first invalid character is reported where it stands.
TEST(BinaryDisplay, LongHexDumpsReadAsTheirDigitsPairUp) {
    std::mt19937 random(20261207);
    const char layout[] = "0123456789abcdefABCDEF    \r\n";
    for (int round = 0; round < 40; ++round) {
        std::string dump(65535 * 2 + random() % 70000, ' ');
        for (char& c : dump) {
            c = layout[random() % (sizeof layout - 1)];
        }
        const bool spoiled = round % 2 == 1;
        const size_t bad_at =
            round % 4 == 1 ? 65535 - 1 + random() % 3 : random() % dump.size(); // near a block end
        if (spoiled) {
            dump[bad_at] = "gG,\t\x80"[random() % 5];
        }
        std::vector<uint8_t> expected;
        int high = -1;
        for (char c : dump) {
            const char* digit =
                std::strchr("0123456789ABCDEF", std::toupper(static_cast<unsigned char>(c)));
            if (c == ' ' || c == '\r' || c == '\n' || digit == nullptr) {
                continue;
            }
            const int value = static_cast<int>(digit - "0123456789ABCDEF");
            if (high < 0) {
                high = value;
            } else {
                expected.push_back(static_cast<uint8_t>(high << 4 | value));
                high = -1;
            }
        }
        std::vector<uint8_t> out(dump.size(), 0xEE);
        DisplayReport report;
        const size_t count =
            parse_binary_display(out.data(), out.size(), dump.data(), dump.size(), 0, &report);
        if (spoiled) {
            EXPECT_EQ(count, 0u);
            EXPECT_EQ(report.problem, DisplayProblem::invalid_character);
            EXPECT_EQ(report.offset, bad_at);
            EXPECT_EQ(out, std::vector<uint8_t>(dump.size(), 0xEE)) << "out was changed";
        } else {
            ASSERT_EQ(count, expected.size());
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin()));
            EXPECT_EQ(out[count], 0xEE) << "written past the bytes";
        }
    }
}

} // namespace

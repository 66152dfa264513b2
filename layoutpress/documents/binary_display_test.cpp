// The dump of the binary data in its three modes, its reading back, and the character view.
#include "layoutpress/documents/binary_display.h"

#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

// Renders into a buffer of exactly the size the dump needs; its terminator takes the last byte.
std::string render(const Bytes& bytes, uint8_t mode) {
    std::string out(binary_display_size(bytes.size(), mode), '#');
    EXPECT_TRUE(render_binary_display(&out[0], out.size(), bytes.data(), bytes.size(), mode));
    EXPECT_EQ(out.back(), '\0');
    return out.substr(0, out.size() - 1);
}

Bytes parse(const std::string& dump, uint8_t mode, DisplayReport* report) {
    Bytes out(dump.size() + 1, 0xEE);
    out.resize(
        parse_binary_display(out.data(), out.size(), dump.c_str(), dump.size() + 1, mode, report));
    return out;
}

TEST(BinaryDisplay, LayoutsSizesAndRuler) {
    const std::string line = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ";
    Bytes sixteen;
    for (int b = 0; b <= 16; ++b) {
        sixteen.push_back(static_cast<uint8_t>(b));
    }
    const struct {
        Bytes bytes;
        uint8_t mode;
        std::string dump;
    } cases[] = {
        {{}, 1, ""},
        {sixteen, 0, line + "\r\n10 "},
        {{0x0A, 0xFF, 0x10}, 1, "0AFF 10"},
        {sixteen, 1, "0001 0203 0405 0607 0809 0A0B 0C0D 0E0F \r\n10"},
        {{0x70, 0x71}, 1, "7071 "},
        {{0, 9, 10, 99, 100, 255}, 2, "  0   9  10  99 100 255 "},
        {{0x0A, 0xFF, 0x10}, 7, " 10 255  16 "}, // other modes act as decimal
    };
    for (const auto& c : cases) {
        EXPECT_EQ(render(c.bytes, c.mode), c.dump);
    }
    EXPECT_EQ(binary_display_size(10000, 0), 31249u);
    EXPECT_EQ(binary_display_size(10000, 1), 26249u);
    EXPECT_EQ(binary_display_size(10000, 2), 41249u);
    EXPECT_EQ(char_view_size(10000), 11249u);
    // Counts whose dump cannot be counted saturate rather than wrap to a small size.
    EXPECT_EQ(binary_display_size(SIZE_MAX / 3, 2), SIZE_MAX);
    EXPECT_EQ(char_view_size(SIZE_MAX - 1), SIZE_MAX);

    // Each ruler number ends where its column's digits end.
    EXPECT_STREQ(binary_display_ruler(3), binary_display_ruler(2));
    for (uint8_t mode : {0, 1, 2}) {
        const std::string ruler = binary_display_ruler(mode);
        const std::string dump = render(Bytes(16, 0x11), mode);
        size_t column = 0;
        for (size_t i = 0; i + 1 < dump.size(); ++i) {
            if (dump[i] != ' ' && dump[i + 1] == ' ') {
                const std::string number = std::to_string(++column);
                EXPECT_EQ(ruler.substr(i + 1 - number.size(), number.size() + 1), number + " ");
            }
        }
        EXPECT_EQ(column, mode == 1 ? 8u : 16u);
    }
}

TEST(BinaryDisplay, ReadingDumpsBack) {
    const struct {
        std::string dump;
        uint8_t mode;
        Bytes bytes;
    } cases[] = {
        {"0a ff\r\n1", 0, {0x0A, 0xFF}}, // an odd last digit is dropped
        {"0 AFF1 0", 1, {0x0A, 0xFF, 0x10}},
        {"1\r2\n3", 0, {0x12}}, // lone line ends are skipped too
        {"300 7 ", 2, {0x2C, 0x07}},
        {"12\r\n34 ", 2, {0xD2}},
        {"5\r\n", 2, {}},
        {"1\n2 ", 9, {12}},
        {"12345678901234567890123 ", 2, {203}}, // its value mod 256
        {"18446744073709551617 ", 2, {1}},      // 2^64 + 1
    };
    for (const auto& c : cases) {
        DisplayReport report;
        EXPECT_EQ(parse(c.dump, c.mode, &report), c.bytes) << c.dump;
        EXPECT_EQ(report.needed, c.bytes.size());
    }
    const struct {
        std::string dump;
        uint8_t mode;
        size_t offset;
    } invalid[] = {{"0G", 0, 1},    {"00 1\t2", 1, 4}, {"-1", 0, 0},     {"1 -2 ", 2, 2},
                   {"1\t2 ", 5, 1}, {"+", 2, 0},       {"1 2 3.", 2, 5}, {"12 \xFF ", 2, 3}};
    for (const auto& c : invalid) {
        Bytes out(16, 0xEE);
        DisplayReport report;
        EXPECT_EQ(parse_binary_display(out.data(), 16, c.dump.c_str(), c.dump.size() + 1, c.mode,
                                       &report),
                  0u);
        EXPECT_EQ(report.problem, DisplayProblem::invalid_character) << c.dump;
        EXPECT_EQ(report.offset, c.offset) << c.dump;
        EXPECT_EQ(out, Bytes(16, 0xEE)) << "the output must be unchanged";
    }
    Bytes out(8, 0);
    const char unterminated[] = {'1', '2', '3', '4', 'x'};
    EXPECT_EQ(parse_binary_display(out.data(), 8, unterminated, 4, 0), 2u);
    EXPECT_EQ(parse_binary_display(out.data(), 8, "7 8 \0 9 ", 9, 2), 2u);
}

// Every mode, lengths 0 to 100 and some long ones: the dump reads back to the same bytes; one
// byte less of room (for the texts, or for the bytes read back) is refused and writes nothing.
TEST(BinaryDisplay, DumpsReadBackAndRefuseTooLittleRoom) {
    std::mt19937 random(20240601);
    for (size_t n : {0, 1, 2, 15, 16, 17, 31, 32, 33, 99, 4096, 10000, 65537}) {
        Bytes bytes(n);
        for (uint8_t& b : bytes) {
            b = static_cast<uint8_t>(random());
        }
        for (int what : {0, 1, 2, 42, -1}) { // -1: the character view
            SCOPED_TRACE(testing::Message() << n << " bytes, mode " << what);
            const uint8_t mode = static_cast<uint8_t>(what);
            const size_t needed = what < 0 ? char_view_size(n) : binary_display_size(n, mode);
            std::string out(needed + 1, '#');
            auto make = [&](size_t capacity, DisplayReport* report) {
                return what < 0 ? build_char_view(&out[0], capacity, bytes.data(), n, report)
                                : render_binary_display(&out[0], capacity, bytes.data(), n, mode,
                                                        report);
            };
            DisplayReport report;
            ASSERT_FALSE(make(needed - 1, &report));
            EXPECT_EQ(report.problem, DisplayProblem::output_full);
            EXPECT_EQ(report.needed, needed);
            ASSERT_EQ(out, std::string(needed + 1, '#')) << "a refused text writes nothing";
            ASSERT_TRUE(make(needed, &report));
            ASSERT_EQ(out.substr(needed - 1), std::string("\0#", 2));
            if (what < 0 || n == 0) {
                continue;
            }
            Bytes back(n, 0xEE);
            ASSERT_EQ(parse_binary_display(back.data(), n - 1, out.c_str(), needed, mode, &report),
                      0u);
            EXPECT_EQ(report.problem, DisplayProblem::output_full);
            ASSERT_EQ(back, Bytes(n, 0xEE));
            ASSERT_EQ(parse_binary_display(back.data(), n, out.c_str(), needed, mode), n);
            ASSERT_EQ(back, bytes);
        }
    }
}

TEST(BinaryDisplay, MissingBuffersAreReported) {
    char text[8] = "keep";
    uint8_t bytes[4] = {1, 2, 3, 4};
    DisplayReport report;
    EXPECT_FALSE(render_binary_display(text, 8, nullptr, 1, 0, &report));
    EXPECT_FALSE(build_char_view(text, 8, nullptr, 1, &report));
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(parse_binary_display(nullptr, 4, "01", 3, 0, &report), 0u);
    EXPECT_EQ(parse_binary_display(bytes, 4, nullptr, 3, 0, &report), 0u);
    EXPECT_EQ(report.problem, DisplayProblem::missing_buffer);
    EXPECT_TRUE(render_binary_display(text, 1, nullptr, 0, 1, &report)); // no bytes, no pointer
    EXPECT_STREQ(text, "");
}

TEST(BinaryDisplay, CharacterView) {
    const struct {
        Bytes bytes;
        std::string view;
    } cases[] = {
        {{'A', '\r', '\n', 'B', '\t', 0}, "A  B  "},
        {{'\n', 'x', '\n', '\r'}, "\nx\n\r"}, // a lone LF or CR, and LF CR, are no line end
        {{'\r', '\r', '\n'}, "\r  "},         // only the CR next to the LF pairs
        {{0x80, 0xFF, ' '}, "\x80\xFF "},
        {Bytes(17, 'q'), std::string(16, 'q') + "\r\nq"},
        {Bytes(15, 'x'), std::string(15, 'x') + " \r\n "}, // and CR LF: split by the line break
    };
    for (auto c : cases) {
        if (c.bytes == Bytes(15, 'x')) {
            c.bytes.insert(c.bytes.end(), {'\r', '\n'});
        }
        std::string out(char_view_size(c.bytes.size()), '#');
        EXPECT_TRUE(build_char_view(&out[0], out.size(), c.bytes.data(), c.bytes.size()));
        EXPECT_EQ(out, c.view + '\0');
    }
    // A CR that ends the data does not look past it for an LF.
    const Bytes cr_then_lf = {'a', '\r', '\n'};
    std::string out(char_view_size(2), '#');
    EXPECT_TRUE(build_char_view(&out[0], out.size(), cr_then_lf.data(), 2));
    EXPECT_EQ(out, std::string("a\r") + '\0');
}

// Long hex dumps over several of the counting pass's blocks, against the rules written out
// plainly: digits pair up in order across spaces and line ends, an odd last digit is dropped,
// and the first invalid character is reported where it stands.
TEST(BinaryDisplay, LongHexDumpsReadAsTheirDigitsPairUp) {
    std::mt19937 random(20261207);
    const std::string digits = "0123456789ABCDEF", layout = digits + "abcdef    \r\n";
    for (int round = 0; round < 40; ++round) {
        std::string dump(65535 * 2 + random() % 70000, ' ');
        for (char& c : dump) {
            c = layout[random() % layout.size()];
        }
        const bool spoiled = round % 2 == 1;
        const size_t bad_at = round % 4 == 1 ? 65535 - 1 + random() % 3 : random() % dump.size();
        if (spoiled) {
            dump[bad_at] = "gG,\t\x80"[random() % 5];
        }
        Bytes expected;
        int high = -1;
        for (char c : dump) {
            const size_t value = digits.find(static_cast<char>(std::toupper(c)));
            if (value != std::string::npos && high < 0) {
                high = static_cast<int>(value);
            } else if (value != std::string::npos) {
                expected.push_back(static_cast<uint8_t>(high << 4 | static_cast<int>(value)));
                high = -1;
            }
        }
        Bytes out(dump.size(), 0xEE);
        DisplayReport report;
        const size_t count =
            parse_binary_display(out.data(), out.size(), dump.data(), dump.size(), 0, &report);
        if (spoiled) {
            EXPECT_EQ(count, 0u);
            EXPECT_EQ(report.offset, bad_at);
            EXPECT_EQ(out, Bytes(dump.size(), 0xEE)) << "out was changed";
        } else {
            ASSERT_EQ(count, expected.size());
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin()));
            EXPECT_EQ(out[count], 0xEE) << "written past the bytes";
        }
    }
}

} // namespace

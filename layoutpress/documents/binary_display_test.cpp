// The dump of the binary data in its three modes, its reading back, and the character view.
#include "layoutpress/documents/binary_display.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testing/files/test_files.h"

namespace {

using test_files::Bytes;

constexpr int view = -1; // the character view instead of a dump mode

// Renders into a buffer of exactly the size the text needs (its terminator takes the last byte),
// after one byte less of room is refused and has written nothing.
std::string render(const uint8_t* bytes, size_t n, int mode) {
    const uint8_t dump_mode = static_cast<uint8_t>(mode);
    const size_t needed = mode == view ? char_view_size(n) : binary_display_size(n, dump_mode);
    std::string out(needed + 1, '#');
    const auto make = [&](size_t capacity, DisplayReport* report) {
        return mode == view ? build_char_view(&out[0], capacity, bytes, n, report)
                            : render_binary_display(&out[0], capacity, bytes, n, dump_mode, report);
    };
    DisplayReport report;
    EXPECT_FALSE(make(needed - 1, &report));
    EXPECT_EQ(report.problem, DisplayProblem::output_full);
    EXPECT_EQ(report.needed, needed);
    EXPECT_EQ(out, std::string(needed + 1, '#')) << "a refused text writes nothing";
    EXPECT_TRUE(make(needed, &report));
    EXPECT_EQ(out.substr(needed - 1), std::string("\0#", 2));
    return out.substr(0, needed - 1);
}

std::string render(const std::string& bytes, int mode) {
    return render(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), mode);
}

// The dump's layouts; the character view blanks what would break its lines or end its text.
TEST(BinaryDisplay, LayoutsAndRuler) {
    std::string seventeen;
    for (char b = 0; b <= 16; ++b)
        seventeen += b;
    const struct {
        std::string bytes;
        int mode;
        std::string text;
    } cases[] = {
        {seventeen, 0, "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \r\n10 "},
        {seventeen, 1, "0001 0203 0405 0607 0809 0A0B 0C0D 0E0F \r\n10"},
        {std::string("\0\x09\x0a\x63\x64\xff", 6), 2, "  0   9  10  99 100 255 "},
        {"\x0a\xff\x10", 7, " 10 255  16 "}, // other modes act as decimal
        {std::string("\r\nA\r\nB\t\0", 8), view, "  A  B  "},
        {"\nx\n\r", view, "\nx\n\r"}, // a lone LF or CR, and LF CR, are no line end
        {"\r\r\n", view, "\r  "},     // only the CR next to the LF pairs
        {"\x80\xFF ", view, "\x80\xFF "},
        {std::string(17, 'q'), view, std::string(16, 'q') + "\r\nq"},
        {std::string(15, 'x') + "\r\n", view, std::string(15, 'x') + " \r\n "}, // split
    };
    for (const auto& c : cases)
        EXPECT_EQ(render(c.bytes, c.mode), c.text);
    // Counts whose dump cannot be counted saturate rather than wrap to a small size.
    EXPECT_EQ(binary_display_size(SIZE_MAX / 3, 2), SIZE_MAX);
    EXPECT_EQ(char_view_size(SIZE_MAX - 1), SIZE_MAX);

    // The ruler spans a full line of the dump and the character after it.
    EXPECT_STREQ(binary_display_ruler(3), binary_display_ruler(2));
    for (uint8_t mode : {0, 1, 2}) {
        EXPECT_EQ(std::strlen(binary_display_ruler(mode)),
                  render(std::string(16, 1), mode).size() + 1);
    }
}

// Every mode and the character view at several lengths: the text fits exactly the size given
// and the dump reads back to the same bytes; one byte less of room (for the text, or for the
// bytes read back) is refused and writes nothing.
TEST(BinaryDisplay, DumpsReadBackAndRefuseTooLittleRoom) {
    for (size_t n : {0, 1, 16, 17, 65537}) {
        const Bytes bytes = test_files::pattern(n);
        for (int what : {0, 1, 2, 42, -1}) { // -1: the character view
            SCOPED_TRACE(testing::Message() << n << " bytes, mode " << what);
            const std::string dump = render(bytes.data(), n, what);
            if (what < 0 || n == 0)
                continue;
            const uint8_t mode = static_cast<uint8_t>(what);
            Bytes back(n, 0xEE);
            DisplayReport report;
            ASSERT_EQ(parse_binary_display(back.data(), n - 1, dump.c_str(), dump.size() + 1, mode,
                                           &report),
                      0u);
            EXPECT_EQ(report.problem, DisplayProblem::output_full);
            ASSERT_EQ(back, Bytes(n, 0xEE));
            ASSERT_EQ(parse_binary_display(back.data(), n, dump.c_str(), dump.size() + 1, mode), n);
            ASSERT_EQ(back, bytes);
        }
    }
    char text[8] = "keep";
    DisplayReport report;
    EXPECT_FALSE(render_binary_display(text, 8, nullptr, 1, 0, &report));
    EXPECT_FALSE(build_char_view(text, 8, nullptr, 1, &report));
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(parse_binary_display(nullptr, 4, "01", 3, 0, &report), 0u);
    EXPECT_EQ(parse_binary_display(reinterpret_cast<uint8_t*>(text), 4, nullptr, 3, 0, &report),
              0u);
    EXPECT_EQ(report.problem, DisplayProblem::missing_buffer);
    EXPECT_TRUE(render_binary_display(text, 1, nullptr, 0, 1, &report)); // no bytes, no pointer
    EXPECT_STREQ(text, "");
}

// Typed dumps: hexadecimal digits pair across spaces and line ends and an odd last one is
// dropped; a decimal number ends at a space only and reads mod 256; the first invalid character
// is reported where it stands, past the first counting block too, and nothing is written.
TEST(BinaryDisplay, TypedDumpsReadByTheRules) {
    const size_t valid = std::string::npos;
    const struct {
        std::string dump;
        uint8_t mode;
        std::string bytes;
        size_t bad_at;
    } cases[] = {
        {"0 aF\r\nf1 2 3", 1, "\x0a\xff\x12", valid},
        {std::string(70000, '0') + "g", 0, "", 70000},
        {"12\r\n3 4567 89", 2, "\x7b\xd7", valid},
        {"12 \t", 9, "", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dump.substr(0, 20));
        Bytes out(c.dump.size(), 0xEE);
        DisplayReport report;
        const size_t count = parse_binary_display(out.data(), out.size(), c.dump.data(),
                                                  c.dump.size(), c.mode, &report);
        EXPECT_EQ(std::string(out.begin(), out.begin() + count), c.bytes);
        EXPECT_EQ(out[count], 0xEE) << "written past the bytes";
        if (c.bad_at != valid) {
            EXPECT_EQ(report.problem, DisplayProblem::invalid_character);
            EXPECT_EQ(report.offset, c.bad_at);
            EXPECT_EQ(out, Bytes(c.dump.size(), 0xEE));
        }
    }
    uint8_t out[8];
    EXPECT_EQ(parse_binary_display(out, 8, "1234x", 4, 0), 2u) << "the capacity ends the dump";
    EXPECT_EQ(parse_binary_display(out, 8, "7 8 \0 9 ", 9, 9), 2u) << "and so does a zero";
}

} // namespace

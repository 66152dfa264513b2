#include "layoutpress/documents/binary_display.h"

#include <cstdint>
#include <cstring>

#include "layoutpress/documents/settings.h"

namespace {

constexpr size_t bytes_per_line = 16;
constexpr size_t size_limit = SIZE_MAX;

// Sizes saturate: a dump too large to count can never fit a buffer.
size_t add(size_t a, size_t b) {
    return a > size_limit - b ? size_limit : a + b;
}
size_t times(size_t a, size_t k) {
    return a > size_limit / k ? size_limit : a * k;
}

size_t line_break_bytes(size_t count) {
    return count == 0 ? 0 : times((count - 1) / 16, 2);
}

// Every byte's text is looked up rather than formatted: the dump of a large buffer is made
// on every file load and conversion, so it has to be quick.
struct DigitTables {
    char hex[256][2];
    char decimal[256][4]; // right-aligned in three characters, then a space
};

constexpr DigitTables make_digit_tables() {
    DigitTables tables{};
    const char digits[] = "0123456789ABCDEF";
    for (int value = 0; value < 256; ++value) {
        tables.hex[value][0] = digits[value >> 4];
        tables.hex[value][1] = digits[value & 15];
        tables.decimal[value][0] = value >= 100 ? static_cast<char>('0' + value / 100) : ' ';
        tables.decimal[value][1] = value >= 10 ? static_cast<char>('0' + value / 10 % 10) : ' ';
        tables.decimal[value][2] = static_cast<char>('0' + value % 10);
        tables.decimal[value][3] = ' ';
    }
    return tables;
}

constexpr DigitTables digit_tables = make_digit_tables();

// What a dump character means to the hexadecimal reading.
constexpr uint8_t skipped = 16; // space, CR or LF
constexpr uint8_t foreign = 17; // anything else that is no digit

struct HexClasses {
    uint8_t of[256];
};

constexpr HexClasses make_hex_classes() {
    HexClasses classes{};
    for (int c = 0; c < 256; ++c) {
        classes.of[c] = foreign;
    }
    for (int v = 0; v < 10; ++v) {
        classes.of['0' + v] = static_cast<uint8_t>(v);
    }
    for (int v = 0; v < 6; ++v) {
        classes.of['A' + v] = static_cast<uint8_t>(10 + v);
        classes.of['a' + v] = static_cast<uint8_t>(10 + v);
    }
    // The table is indexed by byte value, never by a (signed) char.
    classes.of[static_cast<unsigned char>(' ')] = skipped;
    classes.of[static_cast<unsigned char>('\r')] = skipped;
    classes.of[static_cast<unsigned char>('\n')] = skipped;
    return classes;
}

constexpr HexClasses hex_classes = make_hex_classes();

bool is_decimal_mode(uint8_t mode) {
    return mode != Hexadecimal && mode != HexadecimalPairs;
}

void set_report(DisplayReport* report, DisplayProblem problem, size_t needed, size_t offset) {
    if (report != nullptr) {
        report->problem = problem;
        report->needed = needed;
        report->offset = offset;
    }
}

// Checks the pointers and the room for a text of needed bytes; reports when it fails.
bool text_fits(const char* out, size_t out_capacity, const uint8_t* bytes, size_t count,
               size_t needed, DisplayReport* report) {
    if (out == nullptr || (bytes == nullptr && count != 0)) {
        set_report(report, DisplayProblem::missing_buffer, needed, 0);
        return false;
    }
    if (needed == size_limit || needed > out_capacity) {
        set_report(report, DisplayProblem::output_full, needed, 0);
        return false;
    }
    set_report(report, DisplayProblem::none, needed, 0);
    return true;
}

char* put_line_break(char* p) {
    p[0] = '\r';
    p[1] = '\n';
    return p + 2;
}

// For the counting pass: 1 for a digit, 1 << 16 for a character that is neither digit nor
// skipped, so that one sum counts both.
struct HexCounts {
    uint32_t of[256];
};

constexpr HexCounts make_hex_counts() {
    HexCounts counts{};
    for (int c = 0; c < 256; ++c) {
        const uint8_t value = hex_classes.of[c];
        counts.of[c] = value < 16 ? 1u : value == foreign ? 1u << 16 : 0u;
    }
    return counts;
}

constexpr HexCounts hex_counts = make_hex_counts();

size_t parse_hexadecimal(uint8_t* out, size_t out_capacity, const char* dump, size_t dump_capacity,
                         DisplayReport* report) {
    // First pass: validate and count, so that a refused dump leaves out untouched. The sums
    // run over blocks short enough that the digits never carry into the count of the others;
    // a block with an invalid character is looked at again to find it.
    const void* terminator = std::memchr(dump, 0, dump_capacity);
    const size_t end =
        terminator == nullptr ? dump_capacity : static_cast<const char*>(terminator) - dump;
    constexpr size_t block = 65535;
    size_t digits = 0;
    for (size_t start = 0; start < end; start += block) {
        const size_t stop = end - start < block ? end : start + block;
        uint32_t sum = 0;
        for (size_t i = start; i < stop; ++i) {
            sum += hex_counts.of[static_cast<uint8_t>(dump[i])];
        }
        if ((sum >> 16) != 0) {
            size_t at = start;
            while (hex_classes.of[static_cast<uint8_t>(dump[at])] != foreign) {
                ++at;
            }
            set_report(report, DisplayProblem::invalid_character, 0, at);
            return 0;
        }
        digits += sum & 0xFFFF;
    }
    const size_t count = digits / 2; // a last digit without a partner is dropped
    if (count > out_capacity) {
        set_report(report, DisplayProblem::output_full, count, 0);
        return 0;
    }
    // Second pass: only digits and skipped characters are left, and while a byte is still to
    // come its two digits are there; its second digit nearly always follows the first.
    size_t written = 0;
    size_t i = 0;
    while (written < count) {
        const uint8_t high = hex_classes.of[static_cast<uint8_t>(dump[i])];
        if (high >= 16) {
            ++i;
            continue;
        }
        size_t partner = i + 1;
        while (hex_classes.of[static_cast<uint8_t>(dump[partner])] >= 16) {
            ++partner;
        }
        out[written++] =
            static_cast<uint8_t>(high << 4 | hex_classes.of[static_cast<uint8_t>(dump[partner])]);
        i = partner + 1;
    }
    set_report(report, DisplayProblem::none, count, 0);
    return count;
}

size_t parse_decimal(uint8_t* out, size_t out_capacity, const char* dump, size_t dump_capacity,
                     DisplayReport* report) {
    size_t end = 0;
    size_t count = 0;
    bool in_number = false;
    for (; end < dump_capacity && dump[end] != '\0'; ++end) {
        const char c = dump[end];
        if (c >= '0' && c <= '9') {
            in_number = true;
        } else if (c == ' ') {
            count += in_number ? 1 : 0;
            in_number = false;
        } else if (c != '\r' && c != '\n') { // a line end does not end a number
            set_report(report, DisplayProblem::invalid_character, 0, end);
            return 0;
        }
    }
    // A number that no space ends is dropped.
    if (count > out_capacity) {
        set_report(report, DisplayProblem::output_full, count, 0);
        return 0;
    }
    size_t written = 0;
    unsigned value = 0;
    in_number = false;
    for (size_t i = 0; i < end && written < count; ++i) {
        const char c = dump[i];
        if (c >= '0' && c <= '9') {
            // Reduced at every digit, so numbers of any length never overflow.
            value = (value * 10 + static_cast<unsigned>(c - '0')) % 256;
            in_number = true;
        } else if (c == ' ' && in_number) {
            out[written++] = static_cast<uint8_t>(value);
            value = 0;
            in_number = false;
        }
    }
    set_report(report, DisplayProblem::none, count, 0);
    return count;
}

} // namespace

size_t binary_display_size(size_t count, uint8_t mode) {
    if (count == 0) {
        return 1;
    }
    size_t characters;
    if (mode == Hexadecimal) {
        characters = times(count, 3);
    } else if (mode == HexadecimalPairs) {
        characters = add(times(count, 2), count / 2);
    } else {
        characters = times(count, 4);
    }
    return add(add(characters, line_break_bytes(count)), 1);
}

size_t char_view_size(size_t count) {
    return add(add(count, line_break_bytes(count)), 1);
}

const char* binary_display_ruler(uint8_t mode) {
    if (mode == Hexadecimal) {
        return " 1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16  ";
    }
    if (mode == HexadecimalPairs) {
        return "   1    2    3    4    5    6    7    8  ";
    }
    return "  1   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16  ";
}

bool render_binary_display(char* out, size_t out_capacity, const uint8_t* bytes, size_t count,
                           uint8_t mode, DisplayReport* report) {
    if (!text_fits(out, out_capacity, bytes, count, binary_display_size(count, mode), report)) {
        return false;
    }
    char* p = out;
    for (size_t line = 0; line < count; line += bytes_per_line) {
        if (line != 0) {
            p = put_line_break(p);
        }
        const size_t line_end = count - line < bytes_per_line ? count : line + bytes_per_line;
        if (mode == Hexadecimal) {
            for (size_t i = line; i < line_end; ++i) {
                const char* digits = digit_tables.hex[bytes[i]];
                p[0] = digits[0];
                p[1] = digits[1];
                p[2] = ' ';
                p += 3;
            }
        } else if (mode == HexadecimalPairs) {
            for (size_t i = line; i < line_end; ++i) {
                const char* digits = digit_tables.hex[bytes[i]];
                p[0] = digits[0];
                p[1] = digits[1];
                p += 2;
                if (i % 2 == 1) { // lines hold an even count, so this pairs across the data
                    *p++ = ' ';
                }
            }
        } else {
            for (size_t i = line; i < line_end; ++i) {
                const char* digits = digit_tables.decimal[bytes[i]];
                p[0] = digits[0];
                p[1] = digits[1];
                p[2] = digits[2];
                p[3] = digits[3];
                p += 4;
            }
        }
    }
    *p = '\0';
    return true;
}

size_t parse_binary_display(uint8_t* out, size_t out_capacity, const char* dump,
                            size_t dump_capacity, uint8_t mode, DisplayReport* report) {
    if (out == nullptr || dump == nullptr) {
        set_report(report, DisplayProblem::missing_buffer, 0, 0);
        return 0;
    }
    if (is_decimal_mode(mode)) {
        return parse_decimal(out, out_capacity, dump, dump_capacity, report);
    }
    return parse_hexadecimal(out, out_capacity, dump, dump_capacity, report);
}

bool build_char_view(char* out, size_t out_capacity, const uint8_t* bytes, size_t count,
                     DisplayReport* report) {
    if (!text_fits(out, out_capacity, bytes, count, char_view_size(count), report)) {
        return false;
    }
    char* p = out;
    for (size_t line = 0; line < count; line += bytes_per_line) {
        if (line != 0) {
            p = put_line_break(p);
        }
        const size_t line_end = count - line < bytes_per_line ? count : line + bytes_per_line;
        for (size_t i = line; i < line_end; ++i) {
            const uint8_t b = bytes[i];
            // A CR LF of the data, a tab or a zero byte would break the view's own lines or
            // end its text early.
            const bool blank = b == 0 || b == '\t' ||
                               (b == '\r' && i + 1 < count && bytes[i + 1] == '\n') ||
                               (b == '\n' && i > 0 && bytes[i - 1] == '\r');
            *p++ = blank ? ' ' : static_cast<char>(b);
        }
    }
    *p = '\0';
    return true;
}

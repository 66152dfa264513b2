// The quick readers of text_to_binary (integers and bit patterns eight characters at a time,
// quoted texts a word at a time, the usual separators at once) against the rules written out
// one character at a time, on edge values and on random texts, tables and buffer sizes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "layoutpress/conversion/number_reading.h"
#include "layoutpress/conversion/text_to_binary.h"

namespace {

struct Outcome {
    size_t result;
    ConversionProblem problem;
    std::vector<uint8_t> bytes; // [0, result)
};

bool operator==(const Outcome& a, const Outcome& b) {
    return a.result == b.result && a.problem == b.problem && a.bytes == b.bytes;
}

std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
    out << "result " << outcome.result << ", problem " << static_cast<int>(outcome.problem)
        << ", bytes";
    for (uint8_t byte : outcome.bytes) {
        out << ' ' << static_cast<int>(byte);
    }
    return out;
}

// The rules, plainly: a field ends at "," or CR LF or the end of the text, a quoted value at
// the next quote; every value is read by the general readers within its field.
class Reference {
  public:
    Reference(const char* text, size_t capacity) : p_(text), limit_(text + capacity) {}

    Outcome convert(const MemberTable& table, size_t out_capacity) {
        std::vector<uint8_t> out(out_capacity, 0);
        if (p_ == limit_ || *p_ == 0) {
            return {0, ConversionProblem::no_input, {}};
        }
        size_t written = 0;
        int index = 0;
        bool any_value = false;
        while (p_ != limit_ && *p_ != 0) {
            if (*p_ == ' ' || *p_ == ',') {
                ++p_;
                continue;
            }
            if (at_line_end(p_)) {
                p_ += 2;
                continue;
            }
            const char* value;
            const char* value_end;
            if (*p_ == '"') {
                value = ++p_;
                while (p_ != limit_ && *p_ != 0 && *p_ != '"') {
                    ++p_;
                }
                if (p_ == limit_ || *p_ == 0) {
                    break;
                }
                value_end = p_;
                p_ = past_separator(field_end(p_ + 1));
            } else {
                value = p_;
                value_end = field_end(p_);
                p_ = past_separator(value_end);
            }
            any_value = true;
            if (index == member_table_entries || is_end_mark(table.entries[index])) {
                index = 0;
            }
            const MemberEntry& entry = table.entries[index];
            if (is_end_mark(entry)) {
                return {0, ConversionProblem::empty_structure, {}};
            }
            if (!member_size_allowed(entry)) {
                return {0, ConversionProblem::bad_member_size, {}};
            }
            if (static_cast<size_t>(entry.size) > out_capacity - written) {
                return {0, ConversionProblem::output_full, {}};
            }
            store(&out[written], entry, value, value_end);
            written += static_cast<size_t>(entry.size);
            ++index;
        }
        if (!any_value) {
            return {0, ConversionProblem::no_value, {}};
        }
        out.resize(written);
        return {written, ConversionProblem::none, out};
    }

  private:
    bool at_line_end(const char* p) const { return *p == '\r' && p + 1 != limit_ && p[1] == '\n'; }

    const char* field_end(const char* p) const {
        while (p != limit_ && *p != 0 && *p != ',' && !at_line_end(p)) {
            ++p;
        }
        return p;
    }

    const char* past_separator(const char* p) const {
        if (p == limit_ || *p == 0) {
            return p;
        }
        return p + (*p == ',' ? 1 : 2);
    }

    static void put(uint8_t* out, uint64_t value, int count) {
        for (int i = 0; i < count; ++i) {
            out[i] = static_cast<uint8_t>(value >> (8 * i));
        }
    }

    static void store(uint8_t* out, const MemberEntry& entry, const char* value, const char* end) {
        switch (entry.kind) {
        case MemberKind::Text:
            for (int i = 0; i < entry.size && value + i != end; ++i) {
                out[i] = static_cast<uint8_t>(value[i]);
            }
            break;
        case MemberKind::Signed:
        case MemberKind::Unsigned:
            put(out, read_integer_value(value, end), entry.size);
            break;
        case MemberKind::Float:
            if (entry.size == 4) {
                const float number = read_float_value(value, end);
                uint32_t bits;
                std::memcpy(&bits, &number, sizeof bits);
                put(out, bits, 4);
            } else {
                const double number = read_double_value(value, end);
                uint64_t bits;
                std::memcpy(&bits, &number, sizeof bits);
                put(out, bits, 8);
            }
            break;
        case MemberKind::Bits: {
            uint32_t bits = 0;
            const int digits = 8 * entry.size;
            if (end - value >= digits) {
                for (int i = 0; i < digits; ++i) {
                    if (value[i] != '0' && value[i] != '1') {
                        bits = 0;
                        break;
                    }
                    bits = bits << 1 | static_cast<uint32_t>(value[i] - '0');
                }
            }
            put(out, bits, entry.size);
            break;
        }
        default:
            break;
        }
    }

    const char* p_;
    const char* limit_;
};

Outcome reference(const MemberTable& table, const std::string& text, size_t out_capacity) {
    return Reference(text.data(), text.size()).convert(table, out_capacity);
}

constexpr uint8_t dirt = 0xA5;

// text_to_binary: the same outcome, and every byte after the result zero.
Outcome filled(const MemberTable& table, const std::string& text, size_t out_capacity) {
    const std::vector<char> input(text.begin(), text.end()); // a read past it is caught
    std::vector<uint8_t> out(out_capacity + 1, dirt);
    ConversionProblem problem = ConversionProblem::none;
    const size_t result =
        text_to_binary(out.data(), out_capacity, input.data(), input.size(), table, &problem);
    for (size_t i = result; i < out_capacity; ++i) {
        EXPECT_EQ(out[i], 0) << "byte " << i << " after the result";
    }
    EXPECT_EQ(out[out_capacity], dirt) << "written past the capacity";
    return {result, problem, std::vector<uint8_t>(out.begin(), out.begin() + result)};
}

// text_to_binary_unfilled: the same outcome; after a success nothing past the result touched.
Outcome unfilled(const MemberTable& table, const std::string& text, size_t out_capacity) {
    const std::vector<char> input(text.begin(), text.end());
    std::vector<uint8_t> out(out_capacity + 1, dirt);
    ConversionProblem problem = ConversionProblem::none;
    const size_t result = text_to_binary_unfilled(out.data(), out_capacity, input.data(),
                                                  input.size(), table, &problem);
    for (size_t i = result == 0 ? out_capacity : result; i <= out_capacity; ++i) {
        EXPECT_EQ(out[i], dirt) << "byte " << i << " after the result";
    }
    return {result, problem, std::vector<uint8_t>(out.begin(), out.begin() + result)};
}

MemberTable table_of(const std::vector<MemberEntry>& entries) {
    MemberTable table = {};
    for (size_t i = 0; i < entries.size(); ++i) {
        table.entries[i] = entries[i];
    }
    return table;
}

// Both entry points against the reference, with room to spare, exactly the room the result
// needs, and one byte less.
void expect_same(const MemberTable& table, const std::string& text) {
    const Outcome roomy = reference(table, text, text.size() * 8 + 64);
    std::vector<size_t> capacities = {text.size() * 8 + 64};
    if (roomy.result > 0) {
        capacities.push_back(roomy.result);
        capacities.push_back(roomy.result - 1);
    }
    for (size_t capacity : capacities) {
        const Outcome expected = reference(table, text, capacity);
        EXPECT_EQ(filled(table, text, capacity), expected)
            << "text [" << text << "], capacity " << capacity;
        EXPECT_EQ(unfilled(table, text, capacity), expected)
            << "text [" << text << "], capacity " << capacity;
    }
}

const MemberEntry s1{MemberKind::Signed, 1, 1}, s2{MemberKind::Signed, 2, 1};
const MemberEntry s4{MemberKind::Signed, 4, 1}, u1{MemberKind::Unsigned, 1, 1};
const MemberEntry u2{MemberKind::Unsigned, 2, 1}, u4{MemberKind::Unsigned, 4, 1};
const MemberEntry b8{MemberKind::Bits, 1, 1}, b16{MemberKind::Bits, 2, 1};
const MemberEntry b32{MemberKind::Bits, 4, 1}, f4{MemberKind::Float, 4, 1};
const MemberEntry f10{MemberKind::Float, 10, 1};

TEST(TextToBinaryPaths, IntegersWrapAsThirtyTwoBitsAtEveryLength) {
    const MemberTable table = table_of({u4});
    const struct {
        const char* text;
        std::vector<uint8_t> bytes;
    } rows[] = {
        {"4294967295", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"4294967296", {0, 0, 0, 0}},
        {"4294967297,", {1, 0, 0, 0}},
        {"-1", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"-2147483648", {0, 0, 0, 0x80}},
        {"+12345678", {0x4E, 0x61, 0xBC, 0}},
        {"12345678901", {0x35, 0x1C, 0xDC, 0xDF}},
        {"-99999999999, ", {0x01, 0x18, 0x89, 0xB7}},
        {"99999999999999999999", {0xFF, 0xFF, 0x0F, 0x63}},
        {"00000000000000000000000000000007", {7, 0, 0, 0}},
        {"12x34", {12, 0, 0, 0}},
        {"-", {0, 0, 0, 0}},
        {"+-5", {0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        const std::string text = row.text;
        EXPECT_EQ(filled(table, text, 4).bytes, row.bytes) << text;
        expect_same(table, text);
    }
}

TEST(TextToBinaryPaths, EdgeTextsGiveTheBytesOfTheGeneralRules) {
    const std::vector<MemberTable> tables = {
        table_of({s4, s2, u1, b8}),
        table_of({u2, s1, b16, b32}),
        table_of({{MemberKind::Text, 5, 1}, s4}),
        table_of({f4, f10, u4}),
        table_of({{MemberKind::Text, 1, 1}, b32, {MemberKind::Bits, 3, 1}}),
        table_of({})};
    const std::string texts[] = {
        " -19, 2778, 162, 10110010,\r\n -99, 26773, 157, 00011110,",
        "12345678,87654321,1,2",
        "123456789012345678, 1",
        " \t5, 6 ,7\r8,\n9",
        " 1\r\n\r\n2,,,3, ,4",
        "-2147483648, -32768, 255, 11111111",
        "1011001, 101100101, 1",
        "10110010x, 1O110010, 10110010 , 1011001010110010",
        "10110012, 30110010, 1011001010130010, 10110010101100101011001010110013",
        "\"ab,c\", 5, \"x\r\ny\", -6",
        "\"quote left open",
        "\"\", 7, \"a\"b\", 8",
        "\"exactly8\", 12345678,\r\n",
        std::string("1\0 2, 3", 7),
        "+7, +, -, 0000000000012",
        "1e5, 2.5, -0, 1.#INF, nan",
        "a, b, c",
        ",\r\n ,\r\n ",
        "99999999,999999999,9999999999,99999999999999999"};
    for (const MemberTable& table : tables) {
        for (const std::string& whole : texts) {
            // Every cut of the text, so that values are split by its end.
            for (size_t cut = 0; cut <= whole.size(); ++cut) {
                expect_same(table, whole.substr(0, cut));
            }
        }
    }
}

// Pieces that the quick readers treat specially, and some they must leave to the rules.
std::string random_piece(std::mt19937& random) {
    auto digits = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += static_cast<char>('0' + random() % 10);
        }
        return text;
    };
    auto bits = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += static_cast<char>('0' + random() % 2);
        }
        if (count > 0 && random() % 4 == 0) {
            text[random() % count] = "23/:"[random() % 4]; // next to the binary digits
        }
        return text;
    };
    switch (random() % 12) {
    case 0:
    case 1:
    case 2:
        return (random() % 3 == 0   ? "-"
                : random() % 8 == 0 ? "+"
                                    : "") +
               digits(static_cast<int>(random() % 13));
    case 3:
        return std::string(1 + random() % 20, '9');
    case 4:
    case 5:
        return bits(8 * (1 + static_cast<int>(random() % 4)) + static_cast<int>(random() % 3) - 1);
    case 6: {
        std::string text = "\"";
        const char* const inside = "ab ,\r\n\"x09";
        for (int i = static_cast<int>(random() % 20); i > 0; --i) {
            text += inside[random() % 10];
        }
        return text + (random() % 4 != 0 ? "\"" : "");
    }
    case 7: {
        const char* const odd[] = {"\t", "\r", "\n", "x", "1O", "2", " ", ".5", "1e3"};
        const unsigned pick = random() % 10;
        return pick == 9 ? std::string(1, '\0') : std::string(odd[pick]);
    }
    default: {
        const char* const separators[] = {",", ", ", ",\r\n ", "\r\n", ",,", " , "};
        return separators[random() % 6];
    }
    }
}

MemberTable random_table(std::mt19937& random) {
    const MemberEntry kinds[] = {s1, s2, s4, u1, u2, u4, b8, b16, b32, b8, s4, f4, f10};
    MemberTable table = {};
    const int members = static_cast<int>(random() % 7);
    for (int i = 0; i < members; ++i) {
        if (random() % 6 == 0) {
            table.entries[i] = {MemberKind::Text, 1 + static_cast<int32_t>(random() % 12), 1};
        } else if (random() % 40 == 0) {
            table.entries[i] = {MemberKind::Signed, 3, 1}; // a size the kind does not allow
        } else {
            table.entries[i] = kinds[random() % (sizeof kinds / sizeof kinds[0])];
        }
    }
    return table;
}

TEST(TextToBinaryPaths, RandomTextsGiveTheBytesOfTheGeneralRules) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 6000; ++round) {
        const MemberTable table = random_table(random);
        std::string text;
        for (int pieces = static_cast<int>(random() % 24); pieces > 0; --pieces) {
            text += random_piece(random);
            if (random() % 3 != 0) {
                text += random() % 2 == 0 ? ", " : ",\r\n ";
            }
        }
        expect_same(table, text);
        if (::testing::Test::HasFailure()) {
            break;
        }
    }
}

} // namespace

#include "layoutpress/conversion/text_to_binary.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct Member {
    MemberKind kind;
    int32_t size;
};

constexpr Member s1{MemberKind::Signed, 1}, s2{MemberKind::Signed, 2}, s4{MemberKind::Signed, 4};
constexpr Member u1{MemberKind::Unsigned, 1}, u2{MemberKind::Unsigned, 2};
constexpr Member u4{MemberKind::Unsigned, 4};
constexpr Member f4{MemberKind::Float, 4}, f8{MemberKind::Float, 8}, f10{MemberKind::Float, 10};
constexpr Member b8{MemberKind::Bits, 1}, b16{MemberKind::Bits, 2}, b32{MemberKind::Bits, 4};
constexpr Member end_mark{MemberKind::End, 0};
constexpr Member text(int32_t size) {
    return {MemberKind::Text, size};
}

// Heap-allocated, so that a read past the last entry is caught by the address sanitizer.
std::unique_ptr<MemberTable> make_table(const std::vector<Member>& members) {
    auto table = std::make_unique<MemberTable>();
    *table = MemberTable{};
    for (size_t i = 0; i < members.size(); ++i) {
        table->entries[i] = {members[i].kind, members[i].size, 0};
    }
    return table;
}

std::vector<uint8_t> from_hex(const char* hex) {
    std::vector<uint8_t> bytes;
    for (const char* p = hex; *p != 0;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        uint8_t byte = 0;
        std::from_chars(p, p + 2, byte, 16);
        bytes.push_back(byte);
        p += 2;
    }
    return bytes;
}

struct Outcome {
    size_t result;
    ConversionProblem problem;
    std::vector<uint8_t> bytes; // the produced bytes, [0, result)
};

// Converts text (exactly text_capacity bytes, no terminator added) into an output buffer of
// exactly out_capacity bytes that starts out dirty; checks that everything after the result is
// zero.
Outcome convert(const MemberTable& table, const std::string& text, size_t text_capacity,
                size_t out_capacity) {
    const std::vector<char> input(text.begin(), text.begin() + text_capacity);
    std::vector<uint8_t> out(out_capacity, 0xAA);
    ConversionProblem problem = ConversionProblem::none;
    const size_t result =
        text_to_binary(out.data(), out.size(), input.data(), input.size(), table, &problem);
    EXPECT_LE(result, out_capacity);
    for (size_t i = result; i < out.size(); ++i) {
        EXPECT_EQ(out[i], 0) << "byte " << i << " after the result is not zero";
    }
    EXPECT_EQ(result == 0, problem != ConversionProblem::none);
    out.resize(result);
    return {result, problem, out};
}

// Each row is converted twice: from a zero-terminated text, and from an unterminated text that
// exactly fills text_capacity. Both must give the same bytes.
void expect_rows(
    std::initializer_list<std::tuple<const char*, std::vector<Member>, std::string, const char*>>
        rows) {
    for (const auto& [name, members, input, hex] : rows) {
        SCOPED_TRACE(testing::Message() << name << ": text \"" << input << "\"");
        const auto table = make_table(members);
        const std::vector<uint8_t> expected = from_hex(hex);
        const Outcome terminated = convert(*table, input + '\0' + "9,9", input.size() + 4, 256);
        EXPECT_EQ(terminated.problem, ConversionProblem::none);
        EXPECT_EQ(terminated.bytes, expected);
        EXPECT_EQ(convert(*table, input, input.size(), 256).bytes, expected) << "unterminated";
    }
}

TEST(TextToBinary, SplitsValuesAtCommasAndCrLf) {
    expect_rows({
        {"two lines of shorts", {s2, s2}, " 1, 2,\r\n 3, 4,", "01 00 02 00 03 00 04 00"},
        {"empty fields take no member", {s1, s1}, "1,,,2", "01 02"},
        {"blank lines take no member", {s1}, "\r\n1\r\n\r\n , \r\n2\r\n", "01 02"},
        {"no separator at the end", {s1}, "7", "07"},
        {"lone LF is part of a value", {s1}, "1\n2", "01"},
        {"numbers skip a leading lone LF", {s1, s1}, "1,\n2", "01 02"},
        {"text keeps a leading lone LF", {text(2), text(2)}, "ab,\ncd", "61 62 0A 63"},
        {"lone LF at the end is a value", {s1, s1, s1}, "1,2,\n", "01 02 00"},
        {"lone CR is part of a value", {s1, s1}, "1\r2,3", "01 03"},
        {"CR as the last character", {text(2)}, "a\r", "61 0D"},
        {"CR CR LF", {text(3), s1}, "a\r\r\n4", "61 0D 00 04"},
        {"records follow one another", {s1, s2}, "1,2,3,4,5", "01 02 00 03 04 00 05"},
        {"entries after the end mark take no part", {s1, end_mark, s2}, "1,2", "01 02"},
        {"a bad member not reached is not looked at", {s1, {MemberKind::Signed, 3}}, "1", "01"},
    });
}

TEST(TextToBinary, ReadsQuotedAndBareValues) {
    expect_rows({
        {"quoted value keeps a comma", {text(4)}, "\"a,b\"", "61 2C 62 00"},
        {"quoted value keeps CR LF", {text(4)}, "\"a\r\nb\"", "61 0D 0A 62"},
        {"after the closing quote up to a comma", {text(4), s1}, "\"ab\"xy,5", "61 62 00 00 05"},
        {"after the closing quote up to CR LF", {text(2), s1}, "\"ab\" \"c\r\n7", "61 62 07"},
        {"after the closing quote up to the end", {text(2)}, "\"ab\"c", "61 62"},
        {"empty quoted value takes a member", {text(2), s1}, "\"\",5", "00 00 05"},
        {"quoted number", {s2}, " \"258\"", "02 01"},
        {"unclosed quote at the end is dropped", {s1, text(3)}, "1,\"abc", "01"},
        {"unclosed quote runs over separators", {s1, s1}, "1,\"2,3\r\n4", "01"},
        {"bare text keeps its trailing space", {text(4)}, "abc ,", "61 62 63 20"},
        {"leading spaces are skipped", {text(3)}, "   abc", "61 62 63"},
        {"bare value may hold quotes and tabs", {text(5)}, "ab\"c\t", "61 62 22 63 09"},
        {"text is cut after its size",
         {text(2), text(2), s1},
         "abcdef,\"ghij\",3",
         "61 62 67 68 03"},
    });
}

TEST(TextToBinary, EncodesEachKind) {
    expect_rows({
        {"300 in a char", {s1}, "300", "2C"},
        {"-1 in an unsigned short", {u2}, "-1", "FF FF"},
        {"wraps modulo 2^32", {s4, u4}, "4294967297,-2147483649", "01 00 00 00 FF FF FF 7F"},
        {"little-endian", {u4, s2}, "305419896,-2", "78 56 34 12 FE FF"},
        {"leading digits only", {u1, s2}, "12abc,0x1F", "0C 00 00"},
        {"signs and blanks", {s1, s1, s1}, "\t+5,\n-5,- 5", "05 FB 00"},
        {"not a number", {s2, u1}, "abc,x", "00 00 00"},
        {"float 0.1", {f4}, "0.1", "CD CC CC 3D"},
        {"double", {f8, f8}, "0.1,-2", "9A 99 99 99 99 99 B9 3F 00 00 00 00 00 00 00 C0"},
        {"long double", {f10, u1}, "1.5,9", "00 00 00 00 00 00 F8 3F 00 00 09"},
        {"bits 8", {b8, b8, b8}, "10100101xyz,00000011,1010012", "A5 03 00"},
        {"bits 16", {b16}, "1000000000000001", "01 80"},
        {"bits 16 too short", {b16, s1}, "10,1", "00 00 01"},
        {"bits too short at the end of the text", {s1, b8}, "1,1010", "01 00"},
        {"bits 32", {b32}, "10000000000000000000000000000011", "03 00 00 80"},
    });
}

TEST(TextToBinary, ReportsWhyNothingWasProduced) {
    const struct {
        const char* name;
        std::vector<Member> members;
        const char* text;
        ConversionProblem expected;
    } rows[] = {
        {"empty text", {s1}, "", ConversionProblem::no_input},
        {"only spaces and separators", {s1}, "  ,,\r\n , ", ConversionProblem::no_value},
        {"only an unclosed quote", {s1}, " \"12", ConversionProblem::no_value},
        {"empty structure", {}, "1", ConversionProblem::empty_structure},
        {"empty structure without values", {}, ",,", ConversionProblem::no_value},
        {"Text of size 0 first", {text(0), s1}, "1", ConversionProblem::empty_structure},
        {"Signed of 3 bytes", {{MemberKind::Signed, 3}}, "1", ConversionProblem::bad_member_size},
        {"Float of 2 bytes", {{MemberKind::Float, 2}}, "1", ConversionProblem::bad_member_size},
        {"Bits of 8 bytes", {{MemberKind::Bits, 8}}, "1", ConversionProblem::bad_member_size},
        {"unknown kind",
         {{static_cast<MemberKind>(6), 1}},
         "1",
         ConversionProblem::bad_member_size},
        {"bad second member",
         {s1, {MemberKind::Unsigned, 8}},
         "1,2",
         ConversionProblem::bad_member_size},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto table = make_table(row.members);
        const Outcome outcome = convert(*table, row.text, std::strlen(row.text) + 1, 64);
        EXPECT_EQ(outcome.result, 0u);
        EXPECT_EQ(outcome.problem, row.expected);
    }
    ConversionProblem problem = ConversionProblem::none;
    uint8_t out[4] = {1, 2, 3, 4};
    EXPECT_EQ(text_to_binary(out, sizeof out, nullptr, 10, *make_table({s1}), &problem), 0u);
    EXPECT_EQ(problem, ConversionProblem::no_input);
    EXPECT_EQ(out[0] | out[1] | out[2] | out[3], 0) << "zero fill comes before the input check";
    EXPECT_EQ(text_to_binary(out, sizeof out, "1", 0, *make_table({s1}), &problem), 0u);
    EXPECT_EQ(problem, ConversionProblem::no_input);
}

TEST(TextToBinary, NeverWritesPastTheOutputCapacity) {
    const auto table = make_table({s2, s2});
    const Outcome exact = convert(*table, "1,2", 3, 4);
    EXPECT_EQ(exact.problem, ConversionProblem::none);
    EXPECT_EQ(exact.bytes, from_hex("01 00 02 00"));
    for (size_t capacity : {0, 1, 3}) {
        SCOPED_TRACE(testing::Message() << "capacity " << capacity);
        EXPECT_EQ(convert(*table, "1,2", 3, capacity).problem, ConversionProblem::output_full);
    }
    ConversionProblem problem = ConversionProblem::none;
    EXPECT_EQ(text_to_binary(nullptr, 0, "1", 2, *table, &problem), 0u);
    EXPECT_EQ(problem, ConversionProblem::output_full);
}

TEST(TextToBinary, TakesTextOnlyUpToItsCapacityOrTerminator) {
    const auto table = make_table({s1, s1});
    EXPECT_EQ(convert(*table, "12,34", 4, 8).bytes, from_hex("0C 03"));
    EXPECT_EQ(convert(*make_table({text(2)}), "a\r\n", 2, 8).bytes, from_hex("61 0D"))
        << "a CR at the limit is no line end";
    EXPECT_EQ(convert(*table, std::string("1\0,2", 4), 4, 8).bytes, from_hex("01"));
}

TEST(TextToBinary, TakesLongValuesWhole) {
    const auto table = make_table({text(5000), s1});
    const std::string value(4500, 'v');
    const Outcome outcome = convert(*table, "\"" + value + "\",3", value.size() + 4, 5001);
    std::vector<uint8_t> expected(value.begin(), value.end());
    expected.resize(5000, 0);
    expected.push_back(3);
    EXPECT_EQ(outcome.bytes, expected);
}

TEST(TextToBinary, WrapsAfterAFullTableWithoutEndMark) {
    const auto table = make_table(std::vector<Member>(member_table_entries, u1));
    std::string input;
    std::vector<uint8_t> expected;
    for (int i = 0; i < 300; ++i) {
        input += std::to_string(i) + ",";
        expected.push_back(static_cast<uint8_t>(i));
    }
    EXPECT_EQ(convert(*table, input, input.size(), 300).bytes, expected);
}

// Random records written with every kind of separator, spacing and quoting convert back to the
// bytes they were made from.
TEST(TextToBinary, ConvertsRandomRecordsToTheirBytes) {
    std::mt19937_64 random(3);
    const Member kinds[] = {s1, s2, s4, u1, u2, u4, f4, f8, f10, b8, b16, b32, text(1), text(6)};
    const char* const separators[] = {",", "\r\n", " , ", ",,", "\r\n\r\n", ", \r\n  "};
    for (int round = 0; round < 300; ++round) {
        std::vector<Member> members(1 + random() % 8);
        for (Member& member : members) {
            member = kinds[random() % std::size(kinds)];
        }
        const auto table = make_table(members);
        std::string input;
        std::vector<uint8_t> expected;
        const size_t values = 1 + random() % 30;
        for (size_t v = 0; v < values; ++v) {
            const Member member = members[v % members.size()];
            const uint64_t bits = random();
            const size_t at = expected.size();
            expected.resize(at + static_cast<size_t>(member.size), 0);
            const auto put = [&](uint64_t value, int count) {
                for (int i = 0; i < count; ++i) {
                    expected[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> 8 * i);
                }
            };
            std::string field;
            if (member.kind == MemberKind::Signed || member.kind == MemberKind::Unsigned) {
                const int64_t value = static_cast<int32_t>(bits) >> (bits >> 59);
                field = (value >= 0 && bits & 1u << 20 ? "+" : "") + std::to_string(value);
                put(static_cast<uint64_t>(value), member.size);
            } else if (member.kind == MemberKind::Float) {
                char digits[40];
                if (member.size == 4) {
                    float number;
                    const uint32_t pattern = static_cast<uint32_t>(bits) & 0xBF7FFFFF; // finite
                    std::memcpy(&number, &pattern, sizeof number);
                    field.assign(digits, std::to_chars(digits, digits + 40, number).ptr);
                    put(pattern, 4);
                } else {
                    double number;
                    const uint64_t pattern = bits & 0xBFEFFFFFFFFFFFFF;
                    std::memcpy(&number, &pattern, sizeof number);
                    field.assign(digits, std::to_chars(digits, digits + 40, number).ptr);
                    put(pattern, 8);
                }
            } else if (member.kind == MemberKind::Bits) {
                for (int i = member.size * 8 - 1; i >= 0; --i) {
                    field += static_cast<char>('0' + (bits >> i & 1));
                }
                field += "01x";
                put(bits, member.size);
            } else {
                const char* const letters = "ab ,\r\n\t.";
                for (uint64_t n = bits % 9, b = bits >> 4; n != 0; --n, b >>= 3) {
                    field += letters[b % 8];
                }
                const size_t stored = std::min(field.size(), static_cast<size_t>(member.size));
                std::copy(field.begin(), field.begin() + stored, expected.begin() + at);
                field = "\"" + field + "\"";
            }
            input += field + separators[random() % std::size(separators)];
        }
        SCOPED_TRACE(testing::Message() << "round " << round << ": text \"" << input << "\"");
        const Outcome outcome = convert(*table, input, input.size(), expected.size());
        EXPECT_EQ(outcome.problem, ConversionProblem::none);
        ASSERT_EQ(outcome.bytes, expected);
    }
}

} // namespace

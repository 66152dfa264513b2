// text_to_binary and text_to_binary_unfilled: the failures and worked examples, and the quick
// readers (integers and bit patterns eight characters at a time, quoted texts a word at a time)
// against the rules written out one character at a time on edge and random texts.
#include "layoutpress/conversion/text_to_binary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "layoutpress/conversion/number_reading.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Outcome = std::pair<ConversionProblem, Bytes>; // the result's bytes
constexpr MemberKind S = MemberKind::Signed, U = MemberKind::Unsigned, F = MemberKind::Float;
constexpr MemberKind B = MemberKind::Bits;
const MemberEntry s1{S, 1, 0}, s2{S, 2, 0}, s4{S, 4, 0}, u1{U, 1, 0}, u2{U, 2, 0}, u4{U, 4, 0};
const MemberEntry f4{F, 4, 0}, f8{F, 8, 0}, f10{F, 10, 0}, b8{B, 1, 0}, b16{B, 2, 0}, b32{B, 4, 0};
MemberEntry text(int32_t size) {
    return {MemberKind::Text, size, size};
}

MemberTable table_of(const std::vector<MemberEntry>& entries) {
    MemberTable table = {};
    std::copy(entries.begin(), entries.end(), table.entries);
    return table;
}

// One entry point on an unterminated copy of the text and a dirty output one byte larger than
// the capacity: the filling entry zeroes everything after the result, the other touches nothing
// past a result; neither writes past the capacity.
Outcome convert(bool fill, const MemberTable& table, const std::string& text, size_t capacity) {
    const std::vector<char> input(text.begin(), text.end());
    Bytes out(capacity + 1, 0xA5);
    ConversionProblem problem = ConversionProblem::none;
    const size_t result = (fill ? text_to_binary : text_to_binary_unfilled)(
        out.data(), capacity, input.data(), input.size(), table, &problem);
    for (size_t i = result; i <= capacity; ++i) {
        const bool untouched = i == capacity || (!fill && result != 0);
        EXPECT_TRUE((!untouched && !fill) || out[i] == (untouched ? 0xA5 : 0)) << "byte " << i;
    }
    EXPECT_EQ(result == 0, problem != ConversionProblem::none);
    return {problem, Bytes(out.begin(), out.begin() + static_cast<long>(result))};
}

// The rules plainly: a field ends at "," or CR LF or the end, a quoted value at the next quote;
// each value is read by the general readers within its field.
Outcome reference(const MemberTable& table, const std::string& whole, size_t capacity) {
    const std::string text = whole.c_str(); // up to the first zero byte
    const auto field_end = [&](size_t from) {
        return std::min({text.find(',', from), text.find("\r\n", from), text.size()});
    };
    if (text.empty())
        return {ConversionProblem::no_input, {}};
    Bytes out;
    int index = 0;
    bool any_value = false;
    for (size_t p = 0; p < text.size();) {
        if (text[p] == ' ' || text[p] == ',' || text.compare(p, 2, "\r\n") == 0) {
            p += text[p] == '\r' ? 2 : 1;
            continue;
        }
        const bool quoted = text[p] == '"';
        const size_t end = quoted ? text.find('"', p + 1) : field_end(p);
        if (end == std::string::npos)
            break; // an unclosed quote ends the text
        const std::string value = text.substr(p + quoted, end - p - quoted);
        const char *first = value.data(), *last = first + value.size();
        p = field_end(end);
        p += p == text.size() ? 0 : text[p] == ',' ? 1 : 2;
        any_value = true;
        if (index == member_table_entries || is_end_mark(table.entries[index]))
            index = 0;
        const MemberEntry& entry = table.entries[index++];
        if (is_end_mark(entry))
            return {ConversionProblem::empty_structure, {}};
        if (!member_size_allowed(entry))
            return {ConversionProblem::bad_member_size, {}};
        if (static_cast<size_t>(entry.size) > capacity - out.size())
            return {ConversionProblem::output_full, {}};
        uint64_t bits = read_integer_value(first, last);
        const float single = read_float_value(first, last);
        const double real = read_double_value(first, last);
        if (entry.kind == MemberKind::Float) {
            entry.size == 4 ? std::memcpy(&bits, &single, 4) : std::memcpy(&bits, &real, 8);
        } else if (entry.kind == MemberKind::Bits) { // all its digits, or 0
            const std::string digits = value.substr(0, 8 * entry.size);
            const bool all = digits.size() == 8u * entry.size &&
                             digits.find_first_not_of("01") == std::string::npos;
            bits = all ? std::stoull(digits, nullptr, 2) : 0;
        }
        for (size_t i = 0; i < static_cast<size_t>(entry.size); ++i)
            out.push_back(entry.kind == MemberKind::Text ? (i < value.size() ? value[i] : 0)
                          : i < 8                        ? static_cast<uint8_t>(bits >> 8 * i)
                                                         : 0);
    }
    if (!any_value)
        return {ConversionProblem::no_value, {}};
    return {ConversionProblem::none, out};
}

// Both entry points as the reference, with room to spare, exactly enough room and one byte less.
void expect_as_reference(const MemberTable& table, const std::string& text) {
    const size_t roomy = text.size() * 8 + 64;
    const size_t needed = reference(table, text, roomy).second.size();
    for (size_t capacity : {roomy, needed, std::min(needed - 1, roomy)}) {
        SCOPED_TRACE(testing::Message() << "text [" << text << "], capacity " << capacity);
        for (bool fill : {true, false})
            ASSERT_EQ(convert(fill, table, text, capacity), reference(table, text, capacity));
    }
}

// The failures, and what each rule gives by example; each row also as the reference, on the
// text alone and followed by a zero byte and more text.
TEST(TextToBinary, WorkedExamples) {
    const struct {
        std::vector<MemberEntry> members;
        const char* text;
        Bytes bytes;
        ConversionProblem problem = ConversionProblem::none;
    } rows[] = {
        {{s1}, "", {}, ConversionProblem::no_input},
        {{s1}, "  ,,\r\n , ", {}, ConversionProblem::no_value},
        {{text(0), s1}, "1", {}, ConversionProblem::empty_structure},
        {{{static_cast<MemberKind>(6), 1, 0}}, "1", {}, ConversionProblem::bad_member_size},
        {{text(2), text(2)}, "ab,\ncd", {'a', 'b', '\n', 'c'}}, // a lone LF is part of a value
        {{s1, {MemberKind::End, 0, 0}, s2}, "1,2", {1, 2}},
        {{text(4), s1}, "\"a,\"xy,5", {'a', ',', 0, 0, 5}},
        {{s1, text(3)}, "1,\"abc", {1}}, // an unclosed quote is dropped
        {{text(2), text(5)}, "abcdef,ab\"c\t", {'a', 'b', 'a', 'b', '"', 'c', '\t'}},
        {{f4, f8}, "0.1,-2", {0xCD, 0xCC, 0xCC, 0x3D, 0, 0, 0, 0, 0, 0, 0, 0xC0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "text \"" << row.text << "\"");
        const MemberTable table = table_of(row.members);
        EXPECT_EQ(convert(true, table, row.text, 256), Outcome(row.problem, row.bytes));
        expect_as_reference(table, row.text);
        expect_as_reference(table, row.text + std::string(1, '\0') + "9,9"); // ends at the zero
    }
    ConversionProblem problem = ConversionProblem::none;
    uint8_t out[4] = {1, 2, 3, 4};
    EXPECT_EQ(text_to_binary(out, sizeof out, nullptr, 10, table_of({s1}), &problem), 0u);
    EXPECT_EQ(problem, ConversionProblem::no_input);
    EXPECT_EQ(out[0] | out[1] | out[2] | out[3], 0) << "zero fill comes before the input check";
    EXPECT_EQ(text_to_binary(nullptr, 0, "1", 2, table_of({s1}), &problem), 0u);
    EXPECT_EQ(problem, ConversionProblem::output_full);
    // A value longer than any fixed value buffer; 256 members without an end mark, after the last
    // of which the record starts again.
    expect_as_reference(table_of({text(5000), s1}), "\"" + std::string(4500, 'v') + "\",3");
    std::string numbers;
    for (int i = 0; i < 300; ++i)
        numbers += std::to_string(i) + ",";
    expect_as_reference(table_of(std::vector<MemberEntry>(256, u1)), numbers);
}

// Random tables and texts of the pieces the quick readers take apart (digit runs of every length
// around eight, bit patterns of 8 to 32 digits and one off, quoted values closed or left open,
// separators, blanks, signs and stray characters): both entries as the reference.
TEST(TextToBinary, RandomTextsConvertAsTheRules) {
    std::mt19937 random(20261207);
    auto digits = [&](int count, int base) {
        std::string s;
        while (count-- > 0)
            s += static_cast<char>('0' + random() % base);
        return s;
    };
    const MemberEntry kinds[] = {s1, s2, s4, u1, u2, u4, b8, b16, b32, f4, f10, text(3), text(9)};
    for (int round = 0; round < 8000 && !testing::Test::HasFailure(); ++round) {
        std::vector<MemberEntry> members(random() % 7);
        for (MemberEntry& member : members)
            member = random() % 40 == 0 ? MemberEntry{S, 3, 0} : kinds[random() % std::size(kinds)];
        std::string text;
        for (int pieces = static_cast<int>(random() % 24); pieces > 0; --pieces) {
            const int piece = static_cast<int>(random() % 6);
            text += piece == 0   ? (random() % 3 == 0 ? "-" : "") + digits(random() % 13, 10)
                    : piece == 1 ? std::string(1 + random() % 20, '9')
                    : piece == 2 ? digits(8 * (1 + random() % 4) + random() % 3 - 1, 2)
                    : piece == 3 ? "\"" + digits(random() % 12, 10) + (random() % 4 ? "\"" : "")
                    : piece == 4 ? std::string(1, "\t\rx2 .\n\"+-e"[random() % 11])
                                 : (random() % 2 ? ", " : ",\r\n");
        }
        expect_as_reference(table_of(members), text);
    }
}

} // namespace

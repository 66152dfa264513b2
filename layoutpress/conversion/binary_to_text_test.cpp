// binary_to_text and binary_to_text_unfilled: the organizations by example and by property, and
// the quick loop for whole records against the text written value by value with the general
// number writers, for random tables, data lengths and buffer sizes.
#include "layoutpress/conversion/binary_to_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "layoutpress/conversion/number_format.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr MemberKind T = MemberKind::Text, S = MemberKind::Signed, U = MemberKind::Unsigned;
constexpr MemberKind F = MemberKind::Float, B = MemberKind::Bits;

MemberTable table_of(const std::vector<MemberEntry>& entries) {
    MemberTable table = {};
    std::copy(entries.begin(), entries.end(), table.entries);
    return table;
}

TextOrganization options(int bits) {
    return {(bits & 1) != 0, (bits & 2) != 0};
}

struct Outcome {
    size_t result;
    ConversionProblem problem;
    std::string text; // what stands in the buffer, also after a failure
    bool operator==(const Outcome& o) const {
        return result == o.result && problem == o.problem && text == o.text;
    }
};

constexpr char dirt = '\x5A';

// The data in an allocation of exactly its size; the text terminated inside the capacity, the
// rest zero-filled by the filling entry, nothing written past the capacity by either.
Outcome convert(bool fill, const Bytes& bytes, const MemberTable& table, int organization,
                size_t capacity = 1 << 16) {
    const std::unique_ptr<uint8_t[]> data(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    std::vector<char> out(capacity + 1, dirt);
    ConversionProblem problem = ConversionProblem::none;
    const size_t result = (fill ? binary_to_text : binary_to_text_unfilled)(
        out.data(), capacity, data.get(), bytes.size(), table, options(organization), &problem);
    EXPECT_EQ(out[capacity], dirt) << "written past the capacity";
    const void* end = std::memchr(out.data(), 0, capacity);
    EXPECT_TRUE(capacity == 0 || end != nullptr) << "no terminator";
    const size_t length = end == nullptr ? 0 : static_cast<const char*>(end) - out.data();
    EXPECT_TRUE(!fill || static_cast<size_t>(std::count(out.begin() + length, out.end() - 1, 0)) ==
                             capacity - length)
        << "not zero-filled after the text";
    EXPECT_EQ(result, problem == ConversionProblem::none ? length : 0u);
    return {result, problem, std::string(out.data(), length)};
}

TEST(BinaryToText, ValuesAndFailures) {
    const ConversionProblem ok = ConversionProblem::none, bad = ConversionProblem::bad_member_size;
    const struct {
        std::vector<MemberEntry> table;
        Bytes bytes;
        int organization;
        ConversionProblem problem;
        const char* text;
    } rows[] = {
        {{{T, 4, 4}}, {0x61, 0, 0x62, 0}, 0, ok, " \"ab\","}, // zero bytes left out
        {{{T, 5, 5}}, {'a', ',', '\r', '\n', '"'}, 0, ok, " \"a,\r\n\"\","},
        {{{F, 10, 0}, {S, 1, 0}}, {0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0xAA, 0xBB, 7}, 0, ok, " 1.5, 7,"},
        {{{F, 4, 0}}, {0, 0, 0xC0, 0xFF}, 0, ok, " -1.#IND,"},
        {{{F, 4, 0}}, {1, 0, 0x80, 0x7F}, 0, ok, " 1.#QNAN,"}, // a signalling NaN widens quiet
        {{{S, 4, 0}}, {1, 2, 3}, 0, ok, " 197121,"},           // missing bytes read as zero
        {{{F, 10, 0}}, {0, 0, 0, 0, 0, 0, 0xF8, 0x3F}, 0, ok, " 1.5,"},
        {{{S, 1, 0}}, {}, 0, ConversionProblem::no_input, ""},
        {{}, {1, 2}, 3, ConversionProblem::empty_structure, ""},
        {{{T, 0, 0}, {S, 1, 0}}, {1}, 0, ConversionProblem::empty_structure, ""},
        {{{S, 1, 2}, {S, 3, 0}}, {1, 2}, 3, bad, " 1,"}, // no organization after a bad member
        {{{B, 8, 0}}, {1}, 0, bad, ""},
        {{{static_cast<MemberKind>(7), 4, 0}}, {1}, 0, bad, ""},
        {{{S, 1, 1}}, {1, 2, 3}, 2, ok, " 1,\r\n\r\n 2,\r\n\r\n 3,\r\n"}, // line feeds
        {{{S, 1, 3}, {S, 1, 0}, {S, 1, 0}}, {1, 2, 3}, 2, ok, " 1, 2, 3,\r\n"},
        {{{S, 1, 2}, {S, 1, 0}, {T, 1, 1}, {S, 1, 0}},
         {1, 2, 3, 4},
         2,
         ok,
         " 1, 2,\r\n \"\x03\",\r\n 4,\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const Outcome outcome = convert(true, row.bytes, table_of(row.table), row.organization);
        EXPECT_EQ(outcome.problem, row.problem);
        EXPECT_EQ(outcome.text, row.text);
    }
}

// f_char name[8]; short n[2]; long x; with ("ab", 5, 6, -7) and ("abcdef", 1234, 0, 8). A text
// that fills the buffer exactly (terminator included) fits; with less room the conversion fails
// and keeps the whole values (each with its line end) that fit.
TEST(BinaryToText, ExampleInEveryOrganizationAndBufferSize) {
    const MemberTable table = table_of({{T, 8, 8}, {S, 2, 2}, {S, 2, 0}, {S, 4, 0}});
    const Bytes data = {'a', 'b', 0,   0,   0,   0,   0, 0, 5,    0, 6, 0, 0xF9, 0xFF, 0xFF, 0xFF,
                        'a', 'b', 'c', 'd', 'e', 'f', 0, 0, 0xD2, 4, 0, 0, 8,    0,    0,    0};
    const std::string texts[4] = {
        " \"ab\", 5, 6, -7,\r\n \"abcdef\", 1234, 0, 8,",
        " \"ab\"    ,    5, 6, -7,\r\n \"abcdef\", 1234, 0,  8,",
        " \"ab\",\r\n 5, 6,\r\n -7,\r\n\r\n \"abcdef\",\r\n 1234, 0,\r\n 8,\r\n",
        " \"ab\",\r\n    5, 6,\r\n -7,\r\n\r\n \"abcdef\",\r\n 1234, 0,\r\n  8,\r\n",
    };
    for (int bits = 0; bits < 4; ++bits) {
        const std::string& full = texts[bits];
        for (size_t capacity = 0; capacity <= full.size() + 1; ++capacity) {
            size_t fits = 0;
            for (size_t i = 0; i < full.size(); ++i) {
                const size_t end =
                    full[i] != ',' ? 0
                                   : i + (full.compare(i + 1, 2, "\r\n") == 0 && bits & 2 ? 3 : 1);
                fits = end != 0 && end < capacity ? end : fits;
            }
            const Outcome expected =
                capacity > full.size()
                    ? Outcome{full.size(), ConversionProblem::none, full}
                    : Outcome{0, ConversionProblem::output_full, full.substr(0, fits)};
            for (bool fill : {true, false}) {
                EXPECT_TRUE(convert(fill, data, table, bits, capacity) == expected)
                    << "options " << bits << ", capacity " << capacity;
            }
        }
    }
}

// 300 records of a text and a number, the widest values (over 127 characters) in the last:
// every line of the aligned text has the same length.
TEST(BinaryToText, AlignsWideColumnsOverManyRecords) {
    Bytes data;
    for (int r = 0; r < 300; ++r) {
        for (int i = 0; i < 200; ++i)
            data.push_back(i < (r == 299 ? 200 : r % 150) ? 'a' : 0);
        const uint32_t number = r == 299 ? 4000000000u : static_cast<uint32_t>(r);
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<uint8_t>(number >> (8 * i)));
    }
    const Outcome outcome = convert(true, data, table_of({{T, 200, 200}, {U, 4, 0}}), 1, 1 << 20);
    ASSERT_EQ(outcome.problem, ConversionProblem::none);
    EXPECT_EQ(outcome.text.substr(0, 218), " \"\"" + std::string(200, ' ') + ",          0,\r\n");
    EXPECT_EQ(outcome.text.size(), 300 * (1 + 202 + 1 + 11 + 1 + 2) - 2u);
    for (size_t at = 216; at < outcome.text.size(); at += 218)
        EXPECT_EQ(outcome.text[at], '\r');
}

// The text of one value by the general writers (a member cut by the end of the data reads its
// missing bytes as zero).
std::string value_text(const MemberEntry& entry, const uint8_t* bytes, size_t available) {
    if (entry.kind == T) {
        std::string text = "\"";
        for (size_t i = 0; i < available; ++i) {
            if (bytes[i] != 0)
                text += static_cast<char>(bytes[i]);
        }
        return text + "\"";
    }
    uint8_t member[8] = {};
    std::memcpy(member, bytes, std::min<size_t>(available, 8));
    uint64_t wide = 0;
    for (int i = 7; i >= 0; --i)
        wide = wide << 8 | member[i];
    const uint32_t low = static_cast<uint32_t>(wide);
    const int shift = 32 - 8 * std::min(entry.size, 4);
    char number[number_text_capacity];
    double value;
    if (entry.kind == S) {
        return std::string(number,
                           format_signed(number, static_cast<int32_t>(low << shift) >> shift));
    } else if (entry.kind == U) {
        return std::string(number, format_unsigned(number, low));
    } else if (entry.kind == B) {
        return std::string(number, format_bits(number, low, 8 * entry.size));
    } else if (entry.size == 4) {
        float single;
        std::memcpy(&single, &low, 4);
        value = single;
    } else {
        std::memcpy(&value, &wide, 8);
    }
    return std::string(number, format_general(number, value));
}

// Value after value: " value," each, CR LF between records, a value in whole or not at all.
Outcome reference(const MemberTable& table, const Bytes& data, size_t capacity) {
    if (data.empty())
        return {0, ConversionProblem::no_input, ""};
    if (is_end_mark(table.entries[0]))
        return {0, ConversionProblem::empty_structure, ""};
    std::string text;
    for (size_t position = 0, index = 0; position < data.size(); ++index) {
        if (index == member_table_entries || is_end_mark(table.entries[index]))
            index = 0;
        const MemberEntry& entry = table.entries[index];
        if (!member_size_allowed(entry))
            return {0, ConversionProblem::bad_member_size, text};
        const size_t available = std::min<size_t>(entry.size, data.size() - position);
        const std::string piece = (index == 0 && !text.empty() ? "\r\n " : " ") +
                                  value_text(entry, &data[position], available) + ",";
        if (text.size() + piece.size() >= capacity)
            return {0, ConversionProblem::output_full, text};
        text += piece;
        position += available;
    }
    return {text.size(), ConversionProblem::none, text};
}

// Numbers of every length and their neighbours, where the quick writers change their count.
TEST(BinaryToText, NumbersOfEveryLength) {
    Bytes data;
    for (uint32_t power = 1; power <= 1000000000; power *= 10) {
        for (uint32_t value : {power - 1, power, power + 1, 0u - power, 0u - power - 1}) {
            for (int copy = 0; copy < 12; ++copy) { // as S4, U4 and B4
                data.push_back(static_cast<uint8_t>(value >> (8 * (copy % 4))));
            }
        }
    }
    const MemberTable table = table_of({{S, 4, 1}, {U, 4, 1}, {B, 4, 1}});
    EXPECT_TRUE(convert(false, data, table, 0) == reference(table, data, 1 << 16));
}

// Random tables and records (numbers of every length with bytes at their extremes, finite
// floats), data ending inside a record or a member: both entries give the reference's text in
// every buffer size, and the other organizations differ from it only by spaces and line ends,
// aligned full records all of one length.
TEST(BinaryToText, RandomRecordsGiveTheTextOfTheGeneralWriters) {
    std::mt19937 random(20261207);
    const MemberEntry kinds[] = {{S, 1, 1}, {S, 2, 1}, {S, 4, 1}, {U, 1, 1}, {U, 2, 1}, {U, 4, 1},
                                 {B, 1, 1}, {B, 2, 1}, {B, 4, 1}, {F, 4, 1}, {F, 8, 1}};
    for (int round = 0; round < 3000 && !testing::Test::HasFailure(); ++round) {
        std::vector<MemberEntry> members(1 + random() % 6);
        for (MemberEntry& member : members) {
            member = random() % 5 == 0 ? MemberEntry{T, 1 + static_cast<int32_t>(random() % 20), 1}
                     : random() % 50 == 0 ? MemberEntry{B, 3, 1}
                                          : kinds[random() % std::size(kinds)];
            member.element_count = static_cast<int32_t>(random() % 4);
        }
        Bytes data;
        const int records = static_cast<int>(random() % 6);
        for (int r = 0; r < records; ++r) {
            for (const MemberEntry& member : members) {
                uint8_t bytes[8] = {};
                const uint32_t value = static_cast<uint32_t>(random()) >> (random() % 32);
                std::memcpy(bytes, &value, 4);
                if (member.kind == F) {
                    const double real = std::ldexp(static_cast<double>(random()) - 2147483648.0,
                                                   static_cast<int>(random() % 80) - 40);
                    const float single = static_cast<float>(real);
                    member.size == 4 ? std::memcpy(bytes, &single, 4)
                                     : std::memcpy(bytes, &real, 8);
                } else if (member.kind == T) {
                    for (int i = 0; i < 8; ++i)
                        bytes[i] = random() % 3 ? 'a' + random() % 26 : random() % 256;
                } else if (random() % 8 == 0) {
                    bytes[random() % member.size] = random() % 2 == 0 ? 0xFF : 0x00;
                }
                for (int i = 0; i < member.size; ++i)
                    data.push_back(i < 8 ? bytes[i] : 0);
            }
        }
        if (random() % 2 == 0)
            data.resize(data.size() + random() % 12, static_cast<uint8_t>(random()));
        const MemberTable table = table_of(members);
        const Outcome roomy = reference(table, data, data.size() * 48 + 64);
        for (size_t capacity : {data.size() * 48 + 64, roomy.text.size() + 1, roomy.text.size(),
                                roomy.text.size() / 2, size_t{1}, size_t{0}}) {
            for (bool fill : {true, false}) {
                ASSERT_TRUE(convert(fill, data, table, 0, capacity) ==
                            reference(table, data, capacity))
                    << "capacity " << capacity << ", filling " << fill;
            }
        }
        if (roomy.problem != ConversionProblem::none)
            continue;
        auto squeezed = [](std::string text) {
            text.erase(std::remove_if(text.begin(), text.end(),
                                      [](char c) { return c == ' ' || c == '\r' || c == '\n'; }),
                       text.end());
            return text;
        };
        for (int bits = 1; bits < 4; ++bits) {
            const std::string text = convert(true, data, table, bits).text;
            ASSERT_EQ(squeezed(text), squeezed(roomy.text)) << "options " << bits;
            size_t record_size = 0;
            bool has_text = false;
            for (const MemberEntry& member : members) {
                record_size += member.size;
                has_text = has_text || member.kind == T;
            }
            const size_t line = text.find('\r');
            if (bits == 1 && !has_text && data.size() % record_size == 0 &&
                line != std::string::npos) {
                EXPECT_EQ(text.size(), data.size() / record_size * (line + 2) - 2) << text;
            }
        }
    }
}

} // namespace

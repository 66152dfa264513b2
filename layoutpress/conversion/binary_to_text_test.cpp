// binary_to_text and binary_to_text_unfilled against the text written value by value with the
// general number writers and the organization rules written out plainly, for worked examples
// and for random tables, data, organizations and buffer sizes; what reads back through
// text_to_binary does.
#include "layoutpress/conversion/binary_to_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "layoutpress/conversion/number_format.h"
#include "layoutpress/conversion/text_to_binary.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr MemberKind T = MemberKind::Text, S = MemberKind::Signed, U = MemberKind::Unsigned;
constexpr MemberKind F = MemberKind::Float, B = MemberKind::Bits;
constexpr TextOrganization organizations[] = {
    {false, false}, {true, false}, {false, true}, {true, true}};

MemberTable table_of(const std::vector<MemberEntry>& entries) {
    MemberTable table = {};
    std::copy(entries.begin(), entries.end(), table.entries);
    return table;
}

struct Outcome {
    size_t result;
    ConversionProblem problem;
    std::string text; // what stands in the buffer, also after a failure
    bool operator==(const Outcome& o) const {
        return result == o.result && problem == o.problem && text == o.text;
    }
};

std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
    return out << "result " << outcome.result << ", problem " << static_cast<int>(outcome.problem)
               << ", text [" << outcome.text << "]";
}

constexpr char dirt = '\x5A';

// The data in an allocation of exactly its size; the text terminated inside the capacity, the
// rest zero-filled by the filling entry, nothing written past the capacity by either.
Outcome convert(bool fill, const Bytes& bytes, const MemberTable& table,
                TextOrganization organization, size_t capacity = 1 << 16) {
    const std::unique_ptr<uint8_t[]> data(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    std::vector<char> out(capacity + 1, dirt);
    ConversionProblem problem = ConversionProblem::none;
    const size_t result = (fill ? binary_to_text : binary_to_text_unfilled)(
        out.data(), capacity, data.get(), bytes.size(), table, organization, &problem);
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
// "[SPACE]": each member's column as wide as its widest value in any record, numbers
// right-aligned, texts left-aligned (not padded at all with "[LINE FEED]"). "[LINE FEED]": a
// line end after every value but the leading elements of an array. A member of a size its kind
// does not allow stops the conversion, without organization when the data reaches it.
Outcome reference(const MemberTable& table, const Bytes& data, size_t capacity,
                  TextOrganization organization) {
    if (data.empty())
        return {0, ConversionProblem::no_input, ""};
    if (is_end_mark(table.entries[0]))
        return {0, ConversionProblem::empty_structure, ""};
    struct Value {
        size_t index;
        std::string text; // empty for a member of a size its kind does not allow
    };
    std::vector<Value> values;
    size_t widths[member_table_entries] = {};
    for (size_t position = 0, index = 0; position < data.size(); ++index) {
        if (index == member_table_entries || is_end_mark(table.entries[index]))
            index = 0;
        const MemberEntry& entry = table.entries[index];
        if (!member_size_allowed(entry)) {
            organization = {};
            values.push_back({index, ""});
            break;
        }
        const size_t available = std::min<size_t>(entry.size, data.size() - position);
        values.push_back({index, value_text(entry, &data[position], available)});
        const size_t width = values.back().text.size() - (entry.kind == T ? 2 : 0);
        if (entry.kind != T || !organization.line_feed)
            widths[index] = std::max(widths[index], width);
        position += available;
    }
    std::string text;
    int pending = 0; // array elements still to come on this line
    for (const Value& value : values) {
        const MemberEntry& entry = table.entries[value.index];
        if (value.text.empty())
            return {0, ConversionProblem::bad_member_size, text};
        const bool is_text = entry.kind == T;
        std::string piece = value.text;
        const size_t width = piece.size() - (is_text ? 2 : 0);
        if (organization.space && !(is_text && organization.line_feed)) {
            const std::string pad(widths[value.index] - width, ' ');
            piece = is_text ? piece + pad : pad + piece;
        }
        piece = (value.index == 0 && !text.empty() ? "\r\n " : " ") + piece + ",";
        if (organization.line_feed && !is_text && entry.element_count >= 2) {
            pending = entry.element_count - 1;
        } else if (organization.line_feed && !is_text && pending > 1) {
            --pending;
        } else if (organization.line_feed) {
            piece += "\r\n";
        }
        if (text.size() + piece.size() >= capacity)
            return {0, ConversionProblem::output_full, text};
        text += piece;
    }
    return {text.size(), ConversionProblem::none, text};
}

// Both entries give the reference's outcome with room to spare, exactly enough room, one byte
// less, half of it and none.
void expect_as_reference(const MemberTable& table, const Bytes& data,
                         TextOrganization organization) {
    const size_t roomy = data.size() * 48 + 64;
    const size_t length = reference(table, data, roomy, organization).text.size();
    for (size_t capacity : {roomy, length + 1, length, length / 2, size_t{1}, size_t{0}}) {
        for (bool fill : {true, false}) {
            ASSERT_EQ(convert(fill, data, table, organization, capacity),
                      reference(table, data, capacity, organization))
                << "capacity " << capacity << ", filling " << fill << ", space "
                << organization.space << ", line feed " << organization.line_feed;
        }
    }
}

TEST(BinaryToText, WorkedExamples) {
    const ConversionProblem ok = ConversionProblem::none, bad = ConversionProblem::bad_member_size;
    // f_char name[8]; short n[2]; long x; with ("ab", 5, 6, -7) and ("abcdef", 1234, 0, 8).
    const std::vector<MemberEntry> record = {{T, 8, 8}, {S, 2, 2}, {S, 2, 0}, {S, 4, 0}};
    const Bytes two = {'a', 'b', 0,   0,   0,   0,   0, 0, 5,    0, 6, 0, 0xF9, 0xFF, 0xFF, 0xFF,
                       'a', 'b', 'c', 'd', 'e', 'f', 0, 0, 0xD2, 4, 0, 0, 8,    0,    0,    0};
    const struct {
        std::vector<MemberEntry> table;
        Bytes bytes;
        int organization; // index into organizations
        ConversionProblem problem;
        const char* text;
    } rows[] = {
        {record, two, 0, ok, " \"ab\", 5, 6, -7,\r\n \"abcdef\", 1234, 0, 8,"},
        {record, two, 1, ok, " \"ab\"    ,    5, 6, -7,\r\n \"abcdef\", 1234, 0,  8,"},
        {record, two, 2, ok,
         " \"ab\",\r\n 5, 6,\r\n -7,\r\n\r\n \"abcdef\",\r\n 1234, 0,\r\n 8,\r\n"},
        {record, two, 3, ok,
         " \"ab\",\r\n    5, 6,\r\n -7,\r\n\r\n \"abcdef\",\r\n 1234, 0,\r\n  8,\r\n"},
        {{{T, 5, 5}}, {'a', ',', '\r', '\n', '"'}, 0, ok, " \"a,\r\n\"\","},
        {{{F, 10, 0}, {S, 1, 0}}, {0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0xAA, 0xBB, 7}, 0, ok, " 1.5, 7,"},
        {{{F, 4, 0}}, {0, 0, 0xC0, 0xFF}, 0, ok, " -1.#IND,"},
        {{{F, 4, 0}}, {1, 0, 0x80, 0x7F}, 0, ok, " 1.#QNAN,"}, // a signalling NaN widens quiet
        {{{S, 4, 0}}, {1, 2, 3}, 0, ok, " 197121,"},           // missing bytes read as zero
        {{{S, 1, 0}}, {}, 0, ConversionProblem::no_input, ""},
        {{}, {1, 2}, 3, ConversionProblem::empty_structure, ""},
        {{{T, 0, 0}, {S, 1, 0}}, {1}, 0, ConversionProblem::empty_structure, ""},
        {{{S, 1, 2}, {S, 3, 0}}, {1, 2}, 3, bad, " 1,"}, // no organization after a bad member
        {{{B, 8, 0}}, {1}, 0, bad, ""},
        {{{static_cast<MemberKind>(7), 4, 0}}, {1}, 0, bad, ""},
        {{{S, 1, 1}}, {1, 2, 3}, 2, ok, " 1,\r\n\r\n 2,\r\n\r\n 3,\r\n"},
        {{{S, 1, 2}, {S, 1, 0}, {T, 1, 1}, {S, 1, 0}},
         {1, 2, 3, 4},
         2,
         ok,
         " 1, 2,\r\n \"\x03\",\r\n 4,\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const MemberTable table = table_of(row.table);
        const TextOrganization organization = organizations[row.organization];
        EXPECT_EQ(convert(true, row.bytes, table, organization),
                  (Outcome{row.problem == ok ? std::strlen(row.text) : 0, row.problem, row.text}));
        expect_as_reference(table, row.bytes, organization);
    }
    char out[4] = "abc"; // missing data, and no one to tell: zero-filled all the same
    EXPECT_EQ(binary_to_text(out, sizeof out, nullptr, 4, table_of({{S, 1, 0}}), {}), 0u);
    EXPECT_EQ(out[0] | out[3], 0);
}

// Numbers of every length and their neighbours, where the quick writers change their count,
// and 300 records whose widest values (over 127 characters) come last, aligned.
TEST(BinaryToText, NumbersOfEveryLengthAndWideColumnsOverManyRecords) {
    Bytes data;
    for (uint32_t power = 1; power <= 1000000000; power *= 10) {
        for (uint32_t value : {power - 1, power, power + 1, 0u - power, 0u - power - 1}) {
            for (int copy = 0; copy < 12; ++copy) // as S4, U4 and B4
                data.push_back(static_cast<uint8_t>(value >> (8 * (copy % 4))));
        }
    }
    for (const TextOrganization organization : organizations)
        expect_as_reference(table_of({{S, 4, 1}, {U, 4, 1}, {B, 4, 1}}), data, organization);
    data.clear();
    for (int r = 0; r < 300; ++r) {
        for (int i = 0; i < 200; ++i)
            data.push_back(i < (r == 299 ? 200 : r % 150) ? 'a' : 0);
        const uint32_t number = r == 299 ? 4000000000u : static_cast<uint32_t>(r);
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<uint8_t>(number >> (8 * i)));
    }
    const MemberTable table = table_of({{T, 200, 200}, {U, 4, 0}});
    const Outcome outcome = convert(false, data, table, {true, false}, 1 << 20);
    EXPECT_EQ(outcome.text.substr(0, 218), " \"\"" + std::string(200, ' ') + ",          0,\r\n");
    EXPECT_EQ(outcome, reference(table, data, 1 << 20, {true, false}));
}

// Random tables (arrays of every count, now and then a size the kind does not allow) and
// records (numbers of every length with bytes at their extremes, finite floats, texts with any
// byte), data ending inside a record or a member: the reference's text in every organization
// and buffer size; where the text reads back, text_to_binary gives the data again.
TEST(BinaryToText, RandomRecordsAsTheReferenceAndBack) {
    std::mt19937 random(20261207);
    const MemberEntry kinds[] = {{S, 1, 1}, {S, 2, 1}, {S, 4, 1}, {U, 1, 1}, {U, 2, 1}, {U, 4, 1},
                                 {B, 1, 1}, {B, 2, 1}, {B, 4, 1}, {F, 4, 1}, {F, 8, 1}};
    for (int round = 0; round < 3000 && !testing::Test::HasFailure(); ++round) {
        std::vector<MemberEntry> members(1 + random() % 6);
        // Whole records without Float members and with texts of letters read back.
        bool reads_back = true;
        for (MemberEntry& member : members) {
            member = random() % 5 == 0 ? MemberEntry{T, 1 + static_cast<int32_t>(random() % 20), 1}
                     : random() % 50 == 0 ? MemberEntry{B, 3, 1}
                                          : kinds[random() % std::size(kinds)];
            member.element_count = static_cast<int32_t>(random() % 4);
            reads_back = reads_back && member.kind != F && member_size_allowed(member);
        }
        Bytes data;
        const int records = static_cast<int>(random() % 6);
        for (int r = 0; r < records; ++r) {
            for (const MemberEntry& member : members) {
                uint8_t bytes[20] = {};
                const uint32_t value = static_cast<uint32_t>(random()) >> (random() % 32);
                std::memcpy(bytes, &value, 4);
                if (member.kind == F) {
                    const double real = std::ldexp(static_cast<double>(random()) - 2147483648.0,
                                                   static_cast<int>(random() % 80) - 40);
                    const float single = static_cast<float>(real);
                    member.size == 4 ? std::memcpy(bytes, &single, 4)
                                     : std::memcpy(bytes, &real, 8);
                } else if (member.kind == T) {
                    std::memset(bytes, 0, 4);
                    const bool letters = random() % 4 != 0;
                    for (int i = static_cast<int>(random() % (member.size + 1)); i > 0; --i)
                        bytes[i - 1] = letters ? 'a' + random() % 26 : random() % 256;
                    reads_back = reads_back && letters;
                } else if (random() % 8 == 0) {
                    bytes[random() % member.size] = random() % 2 == 0 ? 0xFF : 0x00;
                }
                data.insert(data.end(), bytes, bytes + std::min(member.size, 20));
            }
        }
        if (random() % 2 == 0) {
            data.resize(data.size() + random() % 12, static_cast<uint8_t>(random()));
            reads_back = false;
        }
        const MemberTable table = table_of(members);
        for (const TextOrganization organization : organizations) {
            expect_as_reference(table, data, organization);
            if (reads_back && !data.empty()) {
                const std::string text = convert(true, data, table, organization).text;
                Bytes back(data.size(), 0xA5);
                back.resize(
                    text_to_binary(back.data(), back.size(), text.data(), text.size(), table));
                ASSERT_EQ(back, data) << text;
            }
        }
    }
}

} // namespace

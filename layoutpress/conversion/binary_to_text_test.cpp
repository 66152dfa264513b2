// binary_to_text and binary_to_text_unfilled against the rules written out value by value, for
// worked examples and for random tables, data, organizations and buffer sizes.
#include "layoutpress/conversion/binary_to_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
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
using Outcome = std::pair<ConversionProblem, std::string>; // and the text in the buffer
constexpr MemberKind T = MemberKind::Text, S = MemberKind::Signed, U = MemberKind::Unsigned;
constexpr MemberKind F = MemberKind::Float, B = MemberKind::Bits;
constexpr TextOrganization organizations[] = {
    {false, false}, {true, false}, {false, true}, {true, true}};

MemberTable table_of(const std::vector<MemberEntry>& entries) {
    MemberTable table = {};
    std::copy(entries.begin(), entries.end(), table.entries);
    return table;
}

// The data in an allocation of exactly its size; the text terminated inside the capacity, the
// rest zero-filled by the filling entry, nothing written past the capacity by either.
Outcome convert(bool fill, const Bytes& bytes, const MemberTable& table,
                TextOrganization organization, size_t capacity = 1 << 16) {
    const std::unique_ptr<uint8_t[]> data(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    std::vector<char> out(capacity + 1, '\x5A');
    ConversionProblem problem = ConversionProblem::none;
    const size_t result = (fill ? binary_to_text : binary_to_text_unfilled)(
        out.data(), capacity, data.get(), bytes.size(), table, organization, &problem);
    EXPECT_EQ(out[capacity], '\x5A') << "written past the capacity";
    const void* end = std::memchr(out.data(), 0, capacity);
    EXPECT_TRUE(capacity == 0 || end != nullptr) << "no terminator";
    const size_t length = end == nullptr ? 0 : static_cast<const char*>(end) - out.data();
    EXPECT_TRUE(!fill || std::count(out.begin() + length, out.end(), 0) + length == capacity)
        << "not zero-filled after the text";
    EXPECT_EQ(result, problem == ConversionProblem::none ? length : 0u);
    return {problem, std::string(out.data(), length)};
}

// " value," each, CR LF between records, a value in whole or not at all, missing bytes of a cut
// member read as zero; numbers by the general writers, texts quoted without zero bytes. "[SPACE]":
// each member's column as wide as its widest value, numbers right-aligned, texts left-aligned (not
// padded at all with "[LINE FEED]"). "[LINE FEED]": a line end after every value but the leading
// elements of an array. A member of a size its kind does not allow stops the conversion, without
// organization when the data reaches it.
Outcome reference(const MemberTable& table, const Bytes& data, size_t capacity,
                  TextOrganization organization) {
    if (data.empty())
        return {ConversionProblem::no_input, ""};
    if (is_end_mark(table.entries[0]))
        return {ConversionProblem::empty_structure, ""};
    std::vector<std::pair<size_t, std::string>> values; // member index, text without quotes
    size_t widths[member_table_entries] = {};
    bool bad_size = false;
    for (size_t position = 0, index = 0; position < data.size(); ++index) {
        if (index == member_table_entries || is_end_mark(table.entries[index]))
            index = 0;
        const MemberEntry& entry = table.entries[index];
        if ((bad_size = !member_size_allowed(entry))) {
            organization = {};
            break;
        }
        const size_t available = std::min<size_t>(entry.size, data.size() - position);
        std::string value(&data[position], &data[position] + available);
        uint64_t wide = 0; // the first 8 bytes, little-endian
        for (size_t i = std::min<size_t>(available, 8); i > 0; --i)
            wide = wide << 8 | data[position + i - 1];
        const uint32_t low = static_cast<uint32_t>(wide);
        const int shift = 32 - 8 * std::min(entry.size, 4);
        float single;
        double real;
        std::memcpy(&single, &low, 4);
        std::memcpy(&real, &wide, 8);
        char number[number_text_capacity];
        if (entry.kind == T)
            value.erase(std::remove(value.begin(), value.end(), '\0'), value.end());
        else if (entry.kind == S)
            value.assign(number,
                         format_signed(number, static_cast<int32_t>(low << shift) >> shift));
        else if (entry.kind == U)
            value.assign(number, format_unsigned(number, low));
        else if (entry.kind == B)
            value = std::bitset<32>(low).to_string().substr(32 - 8 * entry.size);
        else
            value.assign(number, format_general(number, entry.size == 4 ? single : real));
        widths[index] = std::max(widths[index], value.size());
        values.push_back({index, value});
        position += available;
    }
    std::string text;
    int pending = 0; // array elements still to come on this line
    for (const auto& [index, value] : values) {
        const MemberEntry& entry = table.entries[index];
        const bool is_text = entry.kind == T, line_feed = organization.line_feed;
        const std::string pad(
            organization.space && !(is_text && line_feed) ? widths[index] - value.size() : 0, ' ');
        std::string piece = (index == 0 && !text.empty() ? "\r\n " : " ") +
                            (is_text ? "\"" + value + "\"" + pad : pad + value) + ",";
        if (line_feed && !is_text && entry.element_count >= 2)
            pending = entry.element_count - 1;
        else if (line_feed && !is_text && pending > 1)
            --pending;
        else if (line_feed)
            piece += "\r\n";
        if (text.size() + piece.size() >= capacity)
            return {ConversionProblem::output_full, text};
        text += piece;
    }
    return {bad_size ? ConversionProblem::bad_member_size : ConversionProblem::none, text};
}

// The text written in two parts, split after each whole record in turn, in the room asked for.
void expect_parts_as_whole(const MemberTable& table, const Bytes& data,
                           TextOrganization organization, const Outcome& whole) {
    const TextInParts parts(data.data(), data.size(), table, organization);
    if (parts.record_size() != 0) {
        EXPECT_EQ(parts.room(SIZE_MAX), SIZE_MAX) << "a room that wrapped around";
    }
    for (size_t split = parts.record_size(); split != 0 && split < data.size();
         split += parts.record_size()) {
        std::string text;
        for (const auto& [offset, length] :
             {std::pair{size_t{0}, split}, {split, data.size() - split}}) {
            std::vector<char> out(parts.room(length));
            ConversionProblem problem;
            text.append(out.data(), parts.write(out.data(), out.size(), offset, length, &problem));
            EXPECT_EQ(problem, ConversionProblem::none);
        }
        ASSERT_EQ(text, whole.second) << "split after " << split << " bytes";
    }
}

// Every entry as the reference: the buffered ones with room to spare, exactly enough, one byte
// less, half, none; in parts.
void expect_as_reference(const MemberTable& table, const Bytes& data,
                         TextOrganization organization) {
    const size_t roomy = data.size() * 48 + 64;
    const Outcome whole = reference(table, data, roomy, organization);
    expect_parts_as_whole(table, data, organization, whole);
    const size_t length = whole.second.size();
    for (size_t capacity : {roomy, length + 1, length, length / 2, size_t{1}, size_t{0}}) {
        for (bool fill : {true, false})
            ASSERT_EQ(convert(fill, data, table, organization, capacity),
                      reference(table, data, capacity, organization))
                << "capacity " << capacity << ", filling " << fill << ", organization "
                << organization.space << organization.line_feed;
    }
}

// The room of a part holds thousands of records of each member's longest value.
TEST(BinaryToText, PartsHaveRoomForTheLongestValues) {
    const std::pair<MemberEntry, uint64_t> longest[] = {
        {{S, 1, 1}, 0x80},
        {{S, 2, 1}, 0x8000},
        {{S, 4, 1}, 0x80000000},
        {{U, 1, 1}, 0xFF},
        {{U, 2, 1}, 0xFFFF},
        {{U, 4, 1}, 0xFFFFFFFF},
        {{B, 4, 1}, 0},
        {{T, 3, 1}, 0x414141},
        {{F, 4, 1}, 0x80800000},          // -1.17549e-038
        {{F, 8, 1}, 0x8010000000000000}}; // -2.22507e-308
    for (const auto& [member, value] : longest) {
        Bytes data(2000 * member.size);
        for (size_t at = 0; at < data.size(); at += member.size)
            std::memcpy(&data[at], &value, member.size);
        const TextInParts parts(data.data(), data.size(), table_of({member}), {true, true});
        std::vector<char> out(parts.room(data.size()));
        ConversionProblem problem;
        parts.write(out.data(), out.size(), 0, data.size(), &problem);
        EXPECT_EQ(problem, ConversionProblem::none) << member_kind_name(member.kind) << member.size;
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
        {record, two, 3, ok,
         " \"ab\",\r\n    5, 6,\r\n -7,\r\n\r\n \"abcdef\",\r\n 1234, 0,\r\n  8,\r\n"},
        {{{F, 10, 0}, {S, 1, 0}}, {0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0xAA, 0xBB, 7}, 0, ok, " 1.5, 7,"},
        {{{F, 4, 0}}, {1, 0, 0x80, 0x7F}, 0, ok, " 1.#QNAN,"}, // a signalling NaN widens quiet
        {{{T, 0, 0}, {S, 1, 0}}, {1}, 0, ConversionProblem::empty_structure, ""},
        {{{S, 1, 2}, {F, 2, 0}}, {1, 2}, 3, bad, " 1,"}, // no organization after a bad member
        {{{static_cast<MemberKind>(7), 4, 0}}, {1}, 0, bad, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const MemberTable table = table_of(row.table);
        EXPECT_EQ(convert(true, row.bytes, table, organizations[row.organization]),
                  Outcome(row.problem, row.text));
        expect_as_reference(table, row.bytes, organizations[row.organization]);
    }
    char out[4] = "abc"; // missing data, and no one to tell: zero-filled all the same
    EXPECT_EQ(binary_to_text(out, sizeof out, nullptr, 4, table_of({{S, 1, 0}}), {}), 0u);
    EXPECT_EQ(out[0] | out[3], 0);
    Bytes data; // 300 records whose widest values (over 127 characters) come last, aligned
    for (uint32_t r = 0; r < 300; ++r) {
        const uint32_t number = r == 299 ? 4000000000u : r;
        data.resize(data.size() + 200);
        std::fill_n(data.end() - 200, r == 299 ? 200 : r % 150, 'a');
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<uint8_t>(number >> (8 * i)));
    }
    const MemberTable table = table_of({{T, 200, 200}, {U, 4, 0}});
    const Outcome outcome = convert(false, data, table, {true, false}, 1 << 20);
    EXPECT_EQ(outcome, reference(table, data, 1 << 20, {true, false}));
}

// Random tables (arrays of every count, now and then a bad size) and records (numbers of every
// length and around every power of ten, finite floats, texts of any bytes), data ending inside a
// record or a member, in every organization and buffer size; whole records of integers and
// letters come back from their text byte for byte.
TEST(BinaryToText, RandomRecordsAsTheReference) {
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
        for (int r = static_cast<int>(random() % 6); r > 0; --r) {
            for (const MemberEntry& member : members) {
                uint64_t bits = static_cast<uint32_t>(random()) >> (random() % 32);
                const double power = std::pow(10, 1 + random() % 9) + random() % 3 - 1.0;
                if (random() % 4 == 0) // 10^k - 1, 10^k or 10^k + 1, negated or not
                    bits =
                        static_cast<uint32_t>(static_cast<int64_t>(random() % 2 ? power : -power));
                const double real = std::ldexp(static_cast<double>(random()) - 2147483648.0,
                                               static_cast<int>(random() % 80) - 40);
                const float single = static_cast<float>(real);
                if (member.kind == F)
                    member.size == 4 ? std::memcpy(&bits, &single, 4)
                                     : std::memcpy(&bits, &real, 8);
                const size_t at = data.size(), text_end = at + random() % (member.size + 1);
                data.resize(at + member.size);
                std::memcpy(&data[at], &bits, std::min(member.size, 8));
                for (size_t i = at; member.kind == T && i < data.size(); ++i) // letters or any
                    data[i] = i >= text_end ? 0 : 'a' + random() % (round % 2 ? 26 : 256);
            }
        }
        const size_t whole = data.size();
        if (random() % 2 == 0)
            data.resize(data.size() + random() % 12, static_cast<uint8_t>(random()));
        for (const TextOrganization organization : organizations)
            expect_as_reference(table_of(members), data, organization);
        if (round % 2 == 0 || data.size() != whole ||
            std::any_of(members.begin(), members.end(), [](const MemberEntry& member) {
                return member.kind == F || !member_size_allowed(member);
            }))
            continue;
        const std::string text = convert(true, data, table_of(members), {}).second;
        Bytes back(data.size());
        EXPECT_EQ(
            text_to_binary(back.data(), back.size(), text.data(), text.size(), table_of(members)),
            data.size());
        EXPECT_EQ(back, data);
    }
}

} // namespace

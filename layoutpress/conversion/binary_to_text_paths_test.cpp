// The loops that write whole records, without and with organization (numbers made without a
// branch on their length, texts copied a word at a time, columns and line ends decided once per
// member) against the text written value by value with the general number writers and the
// organization rules, for random tables, data, data lengths, organizations and buffer sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "layoutpress/conversion/binary_to_text.h"
#include "layoutpress/conversion/number_format.h"

namespace {

struct Outcome {
    size_t result;
    ConversionProblem problem;
    std::string text; // the text that stands in the buffer, also after a failure
};

bool operator==(const Outcome& a, const Outcome& b) {
    return a.result == b.result && a.problem == b.problem && a.text == b.text;
}

std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
    return out << "result " << outcome.result << ", problem " << static_cast<int>(outcome.problem)
               << ", text [" << outcome.text << "]";
}

uint32_t little_endian(const uint8_t* bytes, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

// The text of one value, by the general writers.
std::string value_text(const MemberEntry& entry, const uint8_t* bytes, size_t available) {
    uint8_t member[10] = {}; // a member cut by the end of the data reads as zero bytes
    if (entry.kind != MemberKind::Text) {
        std::memcpy(member, bytes, available);
    }
    char number[number_text_capacity];
    const int low_size = entry.size < 4 ? entry.size : 4;
    const uint32_t low = little_endian(member, low_size);
    switch (entry.kind) {
    case MemberKind::Text: {
        std::string text = "\"";
        for (size_t i = 0; i < available; ++i) {
            if (bytes[i] != 0) {
                text += static_cast<char>(bytes[i]);
            }
        }
        return text + "\"";
    }
    case MemberKind::Signed: {
        const int shift = 32 - 8 * entry.size;
        const int32_t value = static_cast<int32_t>(low << shift) >> shift;
        return std::string(number, format_signed(number, value));
    }
    case MemberKind::Unsigned:
        return std::string(number, format_unsigned(number, low));
    case MemberKind::Bits:
        return std::string(number, format_bits(number, low, 8 * entry.size));
    default: {
        // Only finite values are made for Float members, which widen exactly.
        double value;
        if (entry.size == 4) {
            float single;
            std::memcpy(&single, &low, sizeof single);
            value = single;
        } else {
            uint64_t wide = static_cast<uint64_t>(little_endian(member + 4, 4)) << 32 | low;
            std::memcpy(&value, &wide, sizeof value);
        }
        return std::string(number, format_general(number, value));
    }
    }
}

// The widest value of each member over all records; texts count their characters between the
// quotes, and only when they are padded (no line feed).
std::vector<size_t> column_widths(const MemberTable& table, const std::vector<uint8_t>& data,
                                  bool measure_texts) {
    std::vector<size_t> widths(member_table_entries, 0);
    size_t position = 0;
    int index = 0;
    while (position < data.size()) {
        if (index == member_table_entries || is_end_mark(table.entries[index])) {
            index = 0;
        }
        const MemberEntry& entry = table.entries[index];
        const size_t left = data.size() - position;
        const size_t available = static_cast<size_t>(entry.size) < left ? entry.size : left;
        if (entry.kind != MemberKind::Text || measure_texts) {
            const size_t quotes = entry.kind == MemberKind::Text ? 2 : 0;
            const size_t width = value_text(entry, &data[position], available).size() - quotes;
            widths[index] = std::max(widths[index], width);
        }
        position += available;
        ++index;
    }
    return widths;
}

// Value after value: " value," each, CR LF between records, a value in whole or not at all;
// with "[SPACE]" numbers right-aligned and texts left-aligned (unless "[LINE FEED]") in their
// member's column, with "[LINE FEED]" a line end after every value but the leading elements of
// an array.
Outcome reference(const MemberTable& table, const std::vector<uint8_t>& data, size_t out_capacity,
                  TextOrganization organization = {}) {
    if (data.empty()) {
        return {0, ConversionProblem::no_input, ""};
    }
    if (is_end_mark(table.entries[0])) {
        return {0, ConversionProblem::empty_structure, ""};
    }
    size_t offset = 0;
    for (int i = 0; i < member_table_entries && !is_end_mark(table.entries[i]); ++i) {
        if (!member_size_allowed(table.entries[i])) {
            if (data.size() > offset) {
                organization = {}; // the conversion stops at it in the first record, unorganized
            }
            break;
        }
        offset += static_cast<size_t>(table.entries[i].size);
    }
    const std::vector<size_t> widths = column_widths(table, data, !organization.line_feed);
    const size_t limit = out_capacity > 0 ? out_capacity - 1 : 0;
    std::string text;
    size_t position = 0;
    int index = 0;
    int pending = 0; // array elements still to come on this line
    bool record_start = true;
    while (position < data.size()) {
        if (index == member_table_entries || is_end_mark(table.entries[index])) {
            index = 0;
            record_start = true;
        }
        const MemberEntry& entry = table.entries[index];
        if (!member_size_allowed(entry)) {
            return {0, ConversionProblem::bad_member_size, text};
        }
        const size_t left = data.size() - position;
        const size_t available = static_cast<size_t>(entry.size) < left ? entry.size : left;
        std::string value = value_text(entry, &data[position], available);
        const bool text_value = entry.kind == MemberKind::Text;
        const size_t width = value.size() - (text_value ? 2 : 0);
        if (organization.space && widths[index] > width &&
            !(text_value && organization.line_feed)) {
            const std::string pad(widths[index] - width, ' ');
            value = text_value ? value + pad : pad + value;
        }
        std::string piece = (record_start && !text.empty() ? "\r\n " : " ") + value + ",";
        if (organization.line_feed) {
            bool line_end = true;
            if (!text_value && entry.element_count >= 2) {
                pending = entry.element_count - 1;
                line_end = false;
            } else if (!text_value && pending > 1) {
                --pending;
                line_end = false;
            }
            piece += line_end ? "\r\n" : "";
        }
        if (piece.size() > limit - text.size()) {
            return {0, ConversionProblem::output_full, text};
        }
        text += piece;
        position += available;
        record_start = false;
        ++index;
    }
    return {text.size(), ConversionProblem::none, text};
}

constexpr char dirt = '\x5A';

Outcome filled(const MemberTable& table, const std::vector<uint8_t>& data, size_t out_capacity,
               TextOrganization organization = {}) {
    std::vector<char> out(out_capacity + 1, dirt);
    ConversionProblem problem = ConversionProblem::none;
    const size_t result = binary_to_text(out.data(), out_capacity, data.data(), data.size(), table,
                                         organization, &problem);
    const size_t length = out_capacity == 0 ? 0 : std::strlen(out.data());
    for (size_t i = length; i < out_capacity; ++i) {
        EXPECT_EQ(out[i], 0) << "byte " << i << " after the text";
    }
    EXPECT_EQ(out[out_capacity], dirt) << "written past the capacity";
    return {result, problem, std::string(out.data(), length)};
}

Outcome unfilled(const MemberTable& table, const std::vector<uint8_t>& data, size_t out_capacity,
                 TextOrganization organization = {}) {
    std::vector<char> out(out_capacity + 1, dirt);
    ConversionProblem problem = ConversionProblem::none;
    const size_t result = binary_to_text_unfilled(out.data(), out_capacity, data.data(),
                                                  data.size(), table, organization, &problem);
    EXPECT_EQ(out[out_capacity], dirt) << "written past the capacity";
    const void* end = std::memchr(out.data(), 0, out_capacity);
    EXPECT_TRUE(out_capacity == 0 || end != nullptr) << "no terminator";
    const size_t length = end == nullptr ? 0 : static_cast<const char*>(end) - out.data();
    return {result, problem, std::string(out.data(), length)};
}

void expect_same(const MemberTable& table, const std::vector<uint8_t>& data,
                 TextOrganization organization = {}) {
    const size_t room = data.size() * 200 + 64;
    const Outcome roomy = reference(table, data, room, organization);
    std::vector<size_t> capacities = {
        room, roomy.text.size() + 1, roomy.text.size(), roomy.text.size() / 2, 1, 0};
    for (size_t capacity : capacities) {
        const Outcome expected = reference(table, data, capacity, organization);
        EXPECT_EQ(filled(table, data, capacity, organization), expected)
            << "capacity " << capacity << ", space " << organization.space << ", line feed "
            << organization.line_feed;
        EXPECT_EQ(unfilled(table, data, capacity, organization), expected)
            << "capacity " << capacity;
    }
}

const MemberEntry kinds[] = {
    {MemberKind::Signed, 1, 1},   {MemberKind::Signed, 2, 1},   {MemberKind::Signed, 4, 1},
    {MemberKind::Unsigned, 1, 1}, {MemberKind::Unsigned, 2, 1}, {MemberKind::Unsigned, 4, 1},
    {MemberKind::Bits, 1, 1},     {MemberKind::Bits, 2, 1},     {MemberKind::Bits, 4, 1},
    {MemberKind::Float, 4, 1},    {MemberKind::Float, 8, 1},
};

// Values of every length: a random magnitude, then some bytes set to their extremes.
void fill_member(std::mt19937& random, const MemberEntry& entry, uint8_t* bytes) {
    if (entry.kind == MemberKind::Text) {
        const int length = static_cast<int>(random() % (entry.size + 1));
        for (int i = 0; i < entry.size; ++i) {
            bytes[i] = i < length ? static_cast<uint8_t>(random() % 4 == 0 ? random() % 256
                                                                           : 'a' + random() % 26)
                                  : 0;
        }
        return;
    }
    if (entry.kind == MemberKind::Float) {
        const double value = std::ldexp(static_cast<double>(random()) - 2147483648.0,
                                        static_cast<int>(random() % 80) - 40);
        if (entry.size == 4) {
            const float single = static_cast<float>(value);
            std::memcpy(bytes, &single, 4);
        } else {
            std::memcpy(bytes, &value, 8);
        }
        return;
    }
    const uint32_t value = static_cast<uint32_t>(random()) >> (random() % 32);
    for (int i = 0; i < entry.size; ++i) {
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
    if (random() % 8 == 0) {
        bytes[random() % entry.size] = random() % 2 == 0 ? 0xFF : 0x00;
    }
}

TEST(BinaryToTextPaths, WholeRecordsGiveTheTextOfTheGeneralWriters) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 3000; ++round) {
        MemberTable table = {};
        const int members = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < members; ++i) {
            if (random() % 5 == 0) {
                table.entries[i] = {MemberKind::Text, 1 + static_cast<int32_t>(random() % 20), 1};
            } else if (random() % 50 == 0) {
                table.entries[i] = {MemberKind::Bits, 3, 1}; // a size the kind does not allow
            } else {
                table.entries[i] = kinds[random() % (sizeof kinds / sizeof kinds[0])];
            }
        }
        // Arrays, so that line breaking keeps their elements together.
        for (int i = 0; i + 2 < members; ++i) {
            if (random() % 4 == 0 && table.entries[i].kind != MemberKind::Text) {
                const int count = 2 + static_cast<int>(random() % (members - i - 1));
                for (int k = 0; k < count; ++k) {
                    table.entries[i + k] = table.entries[i];
                    table.entries[i + k].element_count = k == 0 ? count : 0;
                }
                i += count - 1;
            }
        }
        std::vector<uint8_t> data;
        const int records = static_cast<int>(random() % 6);
        for (int r = 0; r < records; ++r) {
            for (int i = 0; i < members; ++i) {
                const size_t at = data.size();
                data.resize(at + static_cast<size_t>(table.entries[i].size));
                fill_member(random, table.entries[i], &data[at]);
            }
        }
        // Data that ends inside a record, or inside a member.
        if (random() % 2 == 0) {
            data.resize(data.size() + random() % 12, static_cast<uint8_t>(random()));
        }
        for (const TextOrganization organization :
             {TextOrganization{false, false}, TextOrganization{true, false},
              TextOrganization{false, true}, TextOrganization{true, true}}) {
            expect_same(table, data, organization);
        }
        if (::testing::Test::HasFailure()) {
            break;
        }
    }
}

TEST(BinaryToTextPaths, NumbersOfEveryLengthAndTheirExtremes) {
    MemberTable table = {};
    table.entries[0] = {MemberKind::Signed, 4, 1};
    table.entries[1] = {MemberKind::Unsigned, 4, 1};
    table.entries[2] = {MemberKind::Bits, 4, 1};
    std::vector<uint8_t> data;
    uint32_t values[] = {0,         1,          9,          10,          99999999,    100000000,
                         999999999, 1000000000, 2147483647, 2147483648u, 4294967295u, 4294967286u};
    for (uint32_t power = 1; power < 1000000000; power *= 10) {
        for (uint32_t value : {power - 1, power, power + 1}) {
            for (int copy = 0; copy < 3; ++copy) {
                for (int i = 0; i < 4; ++i) {
                    data.push_back(static_cast<uint8_t>(value >> (8 * i)));
                }
            }
        }
    }
    for (uint32_t value : values) {
        for (uint32_t v : {value, 0u - value}) {
            for (int copy = 0; copy < 3; ++copy) {
                for (int i = 0; i < 4; ++i) {
                    data.push_back(static_cast<uint8_t>(v >> (8 * i)));
                }
            }
        }
    }
    expect_same(table, data);
    // -10 as each of the three members.
    const std::vector<uint8_t> minus_ten = {0xF6, 0xFF, 0xFF, 0xFF, 0xF6, 0xFF,
                                            0xFF, 0xFF, 0xF6, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(filled(table, minus_ten, 64).text,
              " -10, 4294967286, 11111111111111111111111111110110,");
}

} // namespace

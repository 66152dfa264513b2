#include "layoutpress/conversion/binary_to_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr MemberKind T = MemberKind::Text;
constexpr MemberKind S = MemberKind::Signed;
constexpr MemberKind U = MemberKind::Unsigned;
constexpr MemberKind F = MemberKind::Float;
constexpr MemberKind B = MemberKind::Bits;

MemberTable table_of(std::initializer_list<MemberEntry> members) {
    MemberTable table{};
    int i = 0;
    for (const MemberEntry& member : members) {
        table.entries[i++] = member;
    }
    return table;
}

TextOrganization options(int bits) {
    TextOrganization organization;
    organization.space = (bits & 1) != 0;
    organization.line_feed = (bits & 2) != 0;
    return organization;
}

struct Result {
    size_t length;
    ConversionProblem problem;
    std::string text;
};

// Runs a conversion with the data in an allocation of exactly its size (so that a read past it
// is caught by the sanitizers) and checks what must hold for any outcome: the buffer is zero
// after the text, nothing is written past the capacity, and the result is the text's length.
Result convert(const Bytes& bytes, const MemberTable& table, TextOrganization organization,
               size_t capacity = 1 << 16) {
    std::unique_ptr<uint8_t[]> data(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    std::vector<char> out(capacity + 16, 'x');
    Result result;
    result.problem = ConversionProblem::no_value;
    result.length = binary_to_text(out.data(), capacity, data.get(), bytes.size(), table,
                                   organization, &result.problem);
    size_t end = 0;
    while (end < capacity && out[end] != 0) {
        ++end;
    }
    EXPECT_TRUE(capacity == 0 || end < capacity) << "not terminated inside the buffer";
    for (size_t i = end; i < capacity; ++i) {
        EXPECT_EQ(0, out[i]) << "not zero-filled at " << i;
    }
    for (size_t i = capacity; i < out.size(); ++i) {
        EXPECT_EQ('x', out[i]) << "written past the capacity at " << i;
    }
    result.text.assign(out.data(), end);
    EXPECT_EQ(result.problem == ConversionProblem::none ? end : 0u, result.length);
    return result;
}

TEST(BinaryToText, ValueTexts) {
    struct Row {
        const char* context;
        MemberTable table;
        Bytes bytes;
        const char* text;
    };
    const Row rows[] = {
        {"zero bytes left out", table_of({{T, 4, 4}}), {0x61, 0, 0x62, 0}, " \"ab\","},
        {"all-zero text", table_of({{T, 3, 3}}), {0, 0, 0}, " \"\","},
        {"text unchanged", table_of({{T, 5, 5}}), {'a', ',', '\r', '\n', '"'}, " \"a,\r\n\"\","},
        {"signed 1", table_of({{S, 1, 0}}), {0xFF}, " -1,"},
        {"unsigned 1", table_of({{U, 1, 0}}), {0xFF}, " 255,"},
        {"bits 8", table_of({{B, 1, 0}}), {0xFF}, " 11111111,"},
        {"signed 2", table_of({{S, 2, 0}}), {0x00, 0x80}, " -32768,"},
        {"unsigned 2", table_of({{U, 2, 0}}), {0x00, 0x80}, " 32768,"},
        {"signed 4", table_of({{S, 4, 0}}), {0, 0, 0, 0x80}, " -2147483648,"},
        {"unsigned 4", table_of({{U, 4, 0}}), {0xFF, 0xFF, 0xFF, 0xFF}, " 4294967295,"},
        {"bits 16", table_of({{B, 2, 0}}), {0x01, 0x80}, " 1000000000000001,"},
        {"bits 32", table_of({{B, 4, 0}}), {1, 0, 0, 0x80}, " 10000000000000000000000000000001,"},
        {"float 4", table_of({{F, 4, 0}}), {0x00, 0x24, 0x74, 0x49}, " 1e+006,"},
        {"float 8", table_of({{F, 8, 0}}), {0, 0, 0, 0, 0, 0, 0xF8, 0x3F}, " 1.5,"},
        {"long double takes 10 bytes",
         table_of({{F, 10, 0}, {S, 1, 0}}),
         {0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0xAA, 0xBB, 7},
         " 1.5, 7,"},
        {"float 4 infinity", table_of({{F, 4, 0}}), {0, 0, 0x80, 0xFF}, " -1.#INF,"},
        {"float 4 default NaN", table_of({{F, 4, 0}}), {0, 0, 0xC0, 0xFF}, " -1.#IND,"},
        {"float 4 signalling NaN widens quiet",
         table_of({{F, 4, 0}}),
         {1, 0, 0x80, 0x7F},
         " 1.#QNAN,"},
        {"one record: no line end", table_of({{S, 1, 0}, {S, 1, 0}}), {1, 2}, " 1, 2,"},
        {"records, the last one cut after a member",
         table_of({{S, 1, 0}, {S, 1, 0}}),
         {1, 2, 3, 4, 5},
         " 1, 2,\r\n 3, 4,\r\n 5,"},
        {"partial number", table_of({{S, 4, 0}}), {1, 2, 3}, " 197121,"},
        {"partial text", table_of({{T, 6, 6}}), {'a', 'b'}, " \"ab\","},
        {"partial long double", table_of({{F, 10, 0}}), {0, 0, 0, 0, 0, 0, 0xF8, 0x3F}, " 1.5,"},
        {"bad member never reached", table_of({{S, 1, 0}, {S, 3, 0}}), {9}, " 9,"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.context);
        Result result = convert(row.bytes, row.table, TextOrganization{});
        EXPECT_EQ(ConversionProblem::none, result.problem);
        EXPECT_EQ(row.text, result.text);
    }
}

TEST(BinaryToText, Failures) {
    struct Row {
        const char* context;
        MemberTable table;
        Bytes bytes;
        int organization;
        ConversionProblem problem;
        const char* text; // what stands in the buffer
    };
    const ConversionProblem bad = ConversionProblem::bad_member_size;
    const Row rows[] = {
        {"no data", table_of({{S, 1, 0}}), {}, 0, ConversionProblem::no_input, ""},
        {"empty table", table_of({}), {1, 2}, 3, ConversionProblem::empty_structure, ""},
        {"text of count 0 ends the record",
         table_of({{T, 0, 0}, {S, 1, 0}}),
         {1},
         0,
         ConversionProblem::empty_structure,
         ""},
        {"signed 3", table_of({{S, 1, 0}, {S, 3, 0}}), {1, 2, 3, 4}, 0, bad, " 1,"},
        {"no organization after a bad member",
         table_of({{S, 1, 2}, {S, 3, 0}}),
         {1, 2},
         3,
         bad,
         " 1,"},
        {"float 2", table_of({{F, 2, 0}}), {1, 2}, 0, bad, ""},
        {"bits 8 bytes", table_of({{B, 8, 0}}), {1}, 0, bad, ""},
        {"unknown kind", table_of({{static_cast<MemberKind>(7), 4, 0}}), {1}, 0, bad, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.context);
        Result result = convert(row.bytes, row.table, options(row.organization));
        EXPECT_EQ(row.problem, result.problem);
        EXPECT_EQ(row.text, result.text);
    }
}

// f_char name[8]; short n[2]; long x; with ("ab", 5, 6, -7) and ("abcdef", 1234, 0, 8).
const MemberTable example_table = table_of({{T, 8, 8}, {S, 2, 2}, {S, 2, 0}, {S, 4, 0}});
const Bytes example_data = {'a', 'b',  0,    0,    0,    0,   0,   0,   5,   0,   6,
                            0,   0xF9, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c', 'd', 'e', 'f',
                            0,   0,    0xD2, 4,    0,    0,   8,   0,   0,   0};
const char* const example_texts[4] = {
    " \"ab\", 5, 6, -7,\r\n \"abcdef\", 1234, 0, 8,",
    " \"ab\"    ,    5, 6, -7,\r\n \"abcdef\", 1234, 0,  8,",
    " \"ab\",\r\n 5, 6,\r\n -7,\r\n\r\n \"abcdef\",\r\n 1234, 0,\r\n 8,\r\n",
    " \"ab\",\r\n    5, 6,\r\n -7,\r\n\r\n \"abcdef\",\r\n 1234, 0,\r\n  8,\r\n",
};

TEST(BinaryToText, ExampleInEveryOrganization) {
    for (int bits = 0; bits < 4; ++bits) {
        SCOPED_TRACE("space " + std::to_string(bits & 1) + ", line feed " +
                     std::to_string(bits >> 1));
        Result result = convert(example_data, example_table, options(bits));
        EXPECT_EQ(ConversionProblem::none, result.problem);
        EXPECT_EQ(example_texts[bits], result.text);
    }
}

TEST(BinaryToText, LineBreaksKeepArraysTogether) {
    struct Row {
        const char* context;
        MemberTable table;
        const char* text;
    };
    const Row rows[] = {
        {"char a[1];", table_of({{S, 1, 1}}), " 1,\r\n\r\n 2,\r\n\r\n 3,\r\n"},
        {"char a;", table_of({{S, 1, 0}}), " 1,\r\n\r\n 2,\r\n\r\n 3,\r\n"},
        {"char a[3];", table_of({{S, 1, 3}, {S, 1, 0}, {S, 1, 0}}), " 1, 2, 3,\r\n"},
        {"char a[2]; f_char t[1]; char b;", table_of({{S, 1, 2}, {S, 1, 0}, {T, 1, 1}, {S, 1, 0}}),
         " 1, 2,\r\n \"\x03\",\r\n 4,\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.context);
        Result result = convert({1, 2, 3, 4}, row.table, options(2));
        EXPECT_EQ(row.text, result.text.substr(0, std::strlen(row.text)));
    }
}

// Records of a Text member and a number, the widest values in the last of 300 records and wider
// than 127 characters: every line of the aligned text has the same length.
TEST(BinaryToText, AlignsWideColumnsOverManyRecords) {
    const int records = 300;
    MemberTable table = table_of({{T, 200, 200}, {U, 4, 0}});
    Bytes data;
    for (int r = 0; r < records; ++r) {
        int length = r == records - 1 ? 200 : r % 150;
        for (int i = 0; i < 200; ++i) {
            data.push_back(i < length ? 'a' : 0);
        }
        uint32_t number = r == records - 1 ? 4000000000u : static_cast<uint32_t>(r);
        for (int i = 0; i < 4; ++i) {
            data.push_back(static_cast<uint8_t>(number >> (8 * i)));
        }
    }
    Result result = convert(data, table, options(1), 1 << 20);
    ASSERT_EQ(ConversionProblem::none, result.problem);
    EXPECT_EQ(" \"\"" + std::string(200, ' ') + ",          0,",
              result.text.substr(0, result.text.find('\r')));
    size_t lines = 0;
    for (size_t start = 0; start <= result.text.size(); ++lines) {
        size_t end = result.text.find("\r\n", start);
        end = end == std::string::npos ? result.text.size() : end;
        ASSERT_EQ(1 + 202 + 1 + 11 + 1u, end - start) << "line " << lines;
        start = end + 2;
    }
    EXPECT_EQ(static_cast<size_t>(records), lines);
}

// For numbers the options only add spaces and line ends; aligned full records have one length.
TEST(BinaryToText, OrganizationOnlyAddsSpacesAndLineEnds) {
    std::mt19937 random(3);
    const MemberKind kinds[] = {S, U, B, F};
    for (int round = 0; round < 200; ++round) {
        MemberTable table{};
        int members = 1 + static_cast<int>(random() % 6);
        size_t record_size = 0;
        for (int i = 0; i < members; ++i) {
            MemberKind kind = kinds[random() % 4];
            int32_t size = kind == F ? (random() % 2 ? 4 : 8) : 1 << (random() % 3);
            table.entries[i] = {kind, size, static_cast<int32_t>(random() % 4)};
            record_size += static_cast<size_t>(size);
        }
        size_t records = 1 + random() % 5;
        Bytes data(records * record_size);
        for (uint8_t& byte : data) {
            byte = static_cast<uint8_t>(random() % 3 == 0 ? random() : 0);
        }
        std::string squeezed[4];
        for (int bits = 0; bits < 4; ++bits) {
            SCOPED_TRACE("round " + std::to_string(round) + " options " + std::to_string(bits));
            Result result = convert(data, table, options(bits));
            ASSERT_EQ(ConversionProblem::none, result.problem);
            for (char c : result.text) {
                if (c != ' ' && c != '\r' && c != '\n') {
                    squeezed[bits] += c;
                }
            }
            EXPECT_EQ(squeezed[0], squeezed[bits]);
            if (bits == 1) {
                size_t first_line = result.text.find('\r');
                first_line = first_line == std::string::npos ? result.text.size() : first_line;
                EXPECT_EQ(records * (first_line + 2) - 2, result.text.size()) << result.text;
            }
        }
    }
}

// A text exactly filling the buffer (terminator included) fits; with any less room the
// conversion fails and leaves as many whole values (each with its line end) as fit.
TEST(BinaryToText, OutputCapacity) {
    for (int bits = 0; bits < 4; ++bits) {
        const std::string full = example_texts[bits];
        std::vector<size_t> value_ends = {0};
        for (size_t i = 0; i < full.size(); ++i) {
            if (full[i] == ',') {
                value_ends.push_back(full.compare(i + 1, 2, "\r\n") == 0 && (bits & 2) ? i + 3
                                                                                       : i + 1);
            }
        }
        for (size_t capacity = 0; capacity <= full.size() + 1; ++capacity) {
            SCOPED_TRACE("options " + std::to_string(bits) + ", capacity " +
                         std::to_string(capacity));
            Result result = convert(example_data, example_table, options(bits), capacity);
            if (capacity == full.size() + 1) {
                EXPECT_EQ(ConversionProblem::none, result.problem);
                EXPECT_EQ(full, result.text);
                continue;
            }
            size_t fits = 0;
            for (size_t end : value_ends) {
                fits = end < capacity ? end : fits;
            }
            EXPECT_EQ(ConversionProblem::output_full, result.problem);
            EXPECT_EQ(full.substr(0, fits), result.text);
        }
    }
}

} // namespace

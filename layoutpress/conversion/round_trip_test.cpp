// Binary records written as text read back to the same bytes, for random structures and
// records, under every combination of the two text organization options.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "layoutpress/conversion/binary_to_text.h"
#include "layoutpress/conversion/text_to_binary.h"
#include "layoutpress/structure/structure_parser.h"

namespace {

struct TypeWord {
    const char* words;
    int size;
    bool is_float;
};

const TypeWord type_words[] = {
    {"char", 1, false},           {"unsigned char", 1, false},
    {"u_char", 1, false},         {"short", 2, false},
    {"unsigned short", 2, false}, {"u_short", 2, false},
    {"long", 4, false},           {"unsigned long", 4, false},
    {"u_long", 4, false},         {"bit:8", 1, false},
    {"bit:16", 2, false},         {"bit:32", 4, false},
    {"const short", 2, false},    {"int", 4, false},
    {"float", 4, true},           {"double", 8, true},
    {"long double", 10, true},
};

struct RandomStructure {
    std::string text;
    MemberTable table;
};

// Declarations of every kind, arrays among them, with comments between them.
RandomStructure random_structure(std::mt19937& random, bool with_floats) {
    RandomStructure result;
    int members = 0;
    int declarations = 1 + static_cast<int>(random() % 12);
    for (int d = 0; d < declarations; ++d) {
        std::string line;
        if (random() % 4 == 0) {
            int size = 1 + static_cast<int>(random() % 24);
            line = "f_char text" + std::to_string(d) + "[" + std::to_string(size) + "];";
            members += 1;
        } else {
            const TypeWord* type;
            do {
                type = &type_words[random() % (sizeof type_words / sizeof type_words[0])];
            } while (type->is_float && !with_floats);
            int count = random() % 3 == 0 ? 1 + static_cast<int>(random() % 5) : 0;
            line = std::string(type->words) + " value" + std::to_string(d);
            if (count > 0) {
                line += "[" + std::to_string(count) + "]";
            }
            line += ";";
            members += count > 0 ? count : 1;
        }
        if (members > max_members) {
            break;
        }
        result.text += line + (random() % 3 == 0 ? " // note\r\n" : "\r\n");
    }
    EXPECT_EQ(1, parse_structure(result.text.c_str(), result.text.size() + 1, result.table))
        << result.text;
    return result;
}

void put_little_endian(std::vector<uint8_t>& out, uint64_t value, int size) {
    for (int i = 0; i < size; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// A float value with at most six significant digits, so its text is exact.
double short_decimal(std::mt19937& random) {
    double value = static_cast<double>(random() % 2000) / (1 << (random() % 4));
    return random() % 2 ? -value : value;
}

void put_float(std::vector<uint8_t>& out, double value, int size) {
    uint64_t bits = 0;
    if (size == 4) {
        float single = static_cast<float>(value);
        uint32_t single_bits;
        std::memcpy(&single_bits, &single, sizeof single_bits);
        bits = single_bits;
    } else {
        std::memcpy(&bits, &value, sizeof bits);
    }
    put_little_endian(out, bits, size == 10 ? 8 : size);
    if (size == 10) {
        put_little_endian(out, 0, 2); // the two padding bytes read back as zero
    }
}

// Text members hold no double quote and no zero byte before a non-zero byte: those are the
// values that text can carry. Commas, CR and LF are fine inside the quotes.
void put_text(std::mt19937& random, std::vector<uint8_t>& out, int size) {
    int length = static_cast<int>(random() % (size + 1));
    for (int i = 0; i < size; ++i) {
        uint8_t byte = 0;
        if (i < length) {
            do {
                byte = static_cast<uint8_t>(random());
            } while (byte == 0 || byte == '"');
        }
        out.push_back(byte);
    }
}

std::vector<uint8_t> random_records(std::mt19937& random, const MemberTable& table, int records) {
    std::vector<uint8_t> data;
    for (int r = 0; r < records; ++r) {
        for (int i = 0; !is_end_mark(table.entries[i]); ++i) {
            const MemberEntry& entry = table.entries[i];
            if (entry.kind == MemberKind::Text) {
                put_text(random, data, entry.size);
            } else if (entry.kind == MemberKind::Float) {
                put_float(data, short_decimal(random), entry.size);
            } else {
                put_little_endian(data, random(), entry.size);
            }
        }
    }
    return data;
}

std::string hex(const std::vector<uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
        text += ' ';
    }
    return text;
}

void expect_round_trip(const RandomStructure& structure, const std::vector<uint8_t>& data) {
    for (int options = 0; options < 4; ++options) {
        TextOrganization organization;
        organization.space = (options & 1) != 0;
        organization.line_feed = (options & 2) != 0;
        SCOPED_TRACE("structure:\n" + structure.text + "space " +
                     std::to_string(organization.space) + ", line feed " +
                     std::to_string(organization.line_feed) + ", data " + hex(data));

        std::vector<char> text(data.size() * 200 + 256);
        ConversionProblem problem = ConversionProblem::none;
        size_t length = binary_to_text(text.data(), text.size(), data.data(), data.size(),
                                       structure.table, organization, &problem);
        ASSERT_NE(0u, length);
        ASSERT_EQ(ConversionProblem::none, problem);
        ASSERT_EQ(length, std::strlen(text.data()));

        std::vector<uint8_t> back(data.size() + 16, 0xAA);
        size_t count = text_to_binary(back.data(), back.size(), text.data(), text.size(),
                                      structure.table, &problem);
        ASSERT_EQ(data.size(), count) << text.data();
        back.resize(count);
        EXPECT_EQ(hex(data), hex(back)) << text.data();
    }
}

TEST(RoundTrip, WholeRecordsWithoutFloatsReadBackToTheSameBytes) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 300; ++round) {
        RandomStructure structure = random_structure(random, false);
        std::vector<uint8_t> data =
            random_records(random, structure.table, 1 + static_cast<int>(random() % 6));
        expect_round_trip(structure, data);
        if (testing::Test::HasFailure()) {
            return;
        }
    }
}

TEST(RoundTrip, FloatsWithShortDecimalsReadBackToTheSameBytes) {
    std::mt19937 random(175);
    for (int round = 0; round < 150; ++round) {
        RandomStructure structure = random_structure(random, true);
        std::vector<uint8_t> data =
            random_records(random, structure.table, 1 + static_cast<int>(random() % 4));
        expect_round_trip(structure, data);
        if (testing::Test::HasFailure()) {
            return;
        }
    }
}

TEST(RoundTrip, ManyRecordsStayAlignedAndReadBack) {
    // More records than the original's alignment tables held.
    std::mt19937 random(7);
    RandomStructure structure;
    structure.text = "f_char name[6]; short n[3]; u_long id; bit:16 flags;";
    ASSERT_EQ(1,
              parse_structure(structure.text.c_str(), structure.text.size() + 1, structure.table));
    expect_round_trip(structure, random_records(random, structure.table, 600));
}

} // namespace

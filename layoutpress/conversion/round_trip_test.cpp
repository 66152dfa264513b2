// Binary records written as text read back to the same bytes, for random structures (parsed
// from their declarations) and records, under every combination of the organization options.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "layoutpress/conversion/binary_to_text.h"
#include "layoutpress/conversion/text_to_binary.h"
#include "layoutpress/structure/structure_parser.h"

namespace {

const char* const type_words[] = {"char",           "unsigned char", "u_char", "short",
                                  "unsigned short", "u_short",       "long",   "u_long",
                                  "bit:8",          "bit:16",        "bit:32", "int",
                                  "f_char",         "float",         "double", "long double"};

void expect_round_trip(const std::string& structure, std::mt19937& random, int records) {
    MemberTable table;
    ASSERT_EQ(parse_structure(structure.c_str(), structure.size(), table), 1) << structure;
    std::vector<uint8_t> data;
    for (int r = 0; r < records; ++r) {
        for (int i = 0; !is_end_mark(table.entries[i]); ++i) {
            const MemberEntry& entry = table.entries[i];
            const size_t at = data.size();
            data.resize(at + entry.size);
            if (entry.kind == MemberKind::Float) { // a short decimal, whose text is exact
                const double value =
                    (static_cast<double>(random() % 4000) - 2000) / (1 << random() % 4);
                const float single = static_cast<float>(value);
                std::memcpy(&data[at], entry.size == 4 ? static_cast<const void*>(&single) : &value,
                            entry.size == 4 ? 4 : 8);
            } else if (entry.kind == MemberKind::Text) { // no quote, no zero before a non-zero
                for (int k = static_cast<int>(random() % (entry.size + 1)); k > 0; --k) {
                    do
                        data[at + k - 1] = static_cast<uint8_t>(random());
                    while (data[at + k - 1] == 0 || data[at + k - 1] == '"');
                }
            } else {
                for (int k = 0; k < entry.size; ++k)
                    data[at + k] = static_cast<uint8_t>(random());
            }
        }
    }
    for (int options = 0; options < 4; ++options) {
        SCOPED_TRACE(structure + " options " + std::to_string(options));
        std::vector<char> text(data.size() * 200 + 256);
        const TextOrganization organization{(options & 1) != 0, (options & 2) != 0};
        const size_t length =
            binary_to_text(text.data(), text.size(), data.data(), data.size(), table, organization);
        ASSERT_EQ(length, std::strlen(text.data()));
        std::vector<uint8_t> back(data.size() + 16, 0xAA);
        back.resize(text_to_binary(back.data(), back.size(), text.data(), text.size(), table));
        ASSERT_EQ(back, data) << text.data();
    }
}

TEST(RoundTrip, RandomStructuresAndRecordsReadBackToTheSameBytes) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 400 && !testing::Test::HasFailure(); ++round) {
        std::string structure;
        const int declarations = 1 + static_cast<int>(random() % 12); // at most 60 members
        for (int d = 0; d < declarations; ++d) {
            const std::string type = type_words[random() % std::size(type_words)];
            const int count = 1 + static_cast<int>(random() % (type == "f_char" ? 24 : 5));
            const bool array = type == "f_char" || random() % 3 == 0;
            structure += type + " v" + std::to_string(d) +
                         (array ? "[" + std::to_string(count) + "];" : ";") +
                         (random() % 3 == 0 ? " // note\r\n" : "\r\n");
        }
        expect_round_trip(structure, random, 1 + static_cast<int>(random() % 6));
    }
    // More records than the original's alignment tables held.
    expect_round_trip("f_char name[6]; short n[3]; u_long id; bit:16 flags;", random, 600);
}

} // namespace

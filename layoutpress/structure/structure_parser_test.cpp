// parse_structure and parse_declaration: every type word and count form, comments, the limits
// and where a failure stops, on terminated and unterminated texts.
#include "layoutpress/structure/structure_parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr MemberKind T = MemberKind::Text, S = MemberKind::Signed, U = MemberKind::Unsigned;
constexpr MemberKind F = MemberKind::Float, B = MemberKind::Bits;

// `repeat` consecutive entries of one kind and size; only the first carries first_count.
struct Span {
    int repeat;
    MemberKind kind;
    int32_t size, first_count;
};

struct Case {
    std::string text;
    std::vector<Span> runs; // on failure: the entries of the declarations before the failing one
    StructureProblem problem = StructureProblem::none;
    size_t offset = 0;
};

constexpr StructureProblem too_many = StructureProblem::too_many_members;

const Case cases[] = {
    // Every type word, and "unsigned" and "long" phrases.
    {"char a; unsigned char b[4]; u_char c; f_char d;",
     {{1, S, 1, 0}, {4, U, 1, 4}, {1, U, 1, 0}, {1, T, 1, 1}}},
    {"short a; unsigned short b; u_short c; bit:16 d;", {{1, S, 2, 0}, {2, U, 2, 0}, {1, B, 2, 0}}},
    {"long a; unsigned long b; u_long c; bit:32 d;", {{1, S, 4, 0}, {2, U, 4, 0}, {1, B, 4, 0}}},
    {"float a; double b; long double c; bit:8 d;",
     {{1, F, 4, 0}, {1, F, 8, 0}, {1, F, 10, 0}, {1, B, 1, 0}}},
    {"f_char name[20]; short m[2][3];", {{1, T, 20, 20}, {2, S, 2, 2}}},
    // Type resolution: the last phrase decides, then the first non-modifier type word, else long.
    {"unsigned long double x; long unsigned char x;", {{1, F, 10, 0}, {1, U, 1, 0}}},
    {"unsigned long long x; long long x; static register unsigned char x;",
     {{1, U, 4, 0}, {1, S, 4, 0}, {1, U, 1, 0}}},
    {"const volatile short s; unsigned const char c; char unsigned x; char x double;",
     {{1, S, 2, 0}, {3, S, 1, 0}}},
    // Counts.
    {"char a 5; char 5 a; char a[3x]; char a[007];",
     {{5, S, 1, 5}, {5, S, 1, 5}, {3, S, 1, 3}, {7, S, 1, 7}}},
    {"f_char s[0]; f_char t[2147483647];", {{1, T, 0, 0}, {1, T, 2147483647, 2147483647}}},
    {"const const const const const const const const char x[4];", {{1, S, 1, 0}}},
    // Tabs and line ends join words; comment markers inside a declaration are words.
    {"struct rec {\r\nchar a;\r\n};\r\n", {{1, S, 4, 0}}},
    {"char /* x */ a; unsigned /* x */ char a;", {{1, S, 1, 0}, {1, S, 4, 0}}},
    {"char // x\r\na; short b;", {{1, S, 1, 0}, {1, S, 2, 0}}},
    // Comments and skipped characters between declarations.
    {" \r\n\t // only a comment\r\n/* and a block */", {}},
    {"// lone LF\nchar a;\nshort b;\r\nlong c;", {{1, S, 4, 0}}},
    {"/*/ char a; * */ short b;", {{1, S, 2, 0}}},
    {"/* open char a;", {}},
    {"{ } # ; 12 / * char a; /", {{1, S, 1, 0}}},
    {"1char a; _short b;", {{1, S, 1, 0}, {1, S, 2, 0}}},
    {"char a;\r\nshort b", {{1, S, 1, 0}}},
    {"//\r\nchar a;;; // tail", {{1, S, 1, 0}}},
    // Failures stop the scan at the faulty declaration.
    {"", {}, StructureProblem::no_text, 0},
    {"char a; short b[0]; long c;", {{1, S, 1, 0}}, StructureProblem::zero_count, 8},
    {"char a[256];", {}, too_many, 0},
    {"char a; char b[255];", {{1, S, 1, 0}}, too_many, 8},
    {"char a[255]; f_char t;", {{255, S, 1, 255}}, too_many, 13},
    {"char a[4294967297];", {}, too_many, 0},
    {"f_char t[2147483648];", {}, too_many, 0},
};

TEST(ParseStructure, BuildsTheExpectedTableOrFailsWhereExpected) {
    const std::string name(249, 'n'); // with "short ": a declaration of 255 characters
    std::vector<Case> all(std::begin(cases), std::end(cases));
    all.push_back({"// head\r\nshort " + name + ";", {{1, S, 2, 0}}});
    all.push_back(
        {"// head\r\nshort n" + name + ";", {}, StructureProblem::declaration_too_long, 9});
    all.push_back({"", {{255, S, 1, 0}}, too_many, 255 * 9});
    for (int i = 0; i < 256; ++i)
        all.back().text += "char a;\r\n";
    for (const Case& c : all) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        // From a heap buffer of exactly the text's size (a read past it is caught by the
        // sanitizers) into a table full of garbage, and from the terminated text followed by a
        // declaration the parser must not see.
        const std::vector<char> exact(c.text.begin(), c.text.end());
        const std::string terminated = c.text + std::string(1, '\0') + "char hidden;";
        MemberTable table, other;
        std::memset(&table, 0x5A, sizeof table);
        StructureFailure failure;
        const int success = c.problem == StructureProblem::none ? 1 : 0;
        EXPECT_EQ(parse_structure(exact.data(), exact.size(), table, &failure), success);
        EXPECT_EQ(std::make_pair(failure.problem, failure.offset),
                  std::make_pair(c.problem, c.offset));
        EXPECT_EQ(parse_structure(terminated.data(), terminated.size(), other), success);
        MemberTable expected = {};
        int entry = 0;
        for (const Span& run : c.runs)
            for (int i = 0; i < run.repeat; ++i)
                expected.entries[entry++] = {run.kind, run.size, i == 0 ? run.first_count : 0};
        EXPECT_EQ(std::memcmp(&table, &expected, sizeof table), 0);
        EXPECT_EQ(std::memcmp(&table, &other, sizeof table), 0) << "terminated text differs";
    }
    MemberTable table; // the text ends at its capacity, or at no text at all
    EXPECT_EQ(parse_structure(nullptr, 100, table), 0);
    EXPECT_EQ(parse_structure("char a;", 6, table), 1) << "the text ends at its capacity";
    EXPECT_TRUE(is_end_mark(table.entries[0]));
}

TEST(ParseDeclaration, WritesNothingOutsideTheTable) {
    MemberTable table, expected;
    std::memset(&table, 0x5A, sizeof table);
    expected = table;
    StructureProblem problem = StructureProblem::none;
    EXPECT_EQ(parse_declaration("char a", 6, -1, table, &problem), 0);
    EXPECT_EQ(parse_declaration("char a[2]", 9, 254, table), 0);
    set_member_type(17, 3, table);
    set_member_type(2, member_table_entries, table);
    EXPECT_EQ(std::memcmp(&table, &expected, sizeof table), 0) << "written after a failure";
    EXPECT_EQ(problem, too_many);
}

// The conversions stop at every size their kinds do not allow; a Text of no size ends a table
// before they could ask.
TEST(MemberTable, NamesPerKindAndTextSizes) {
    const char* const names[] = {"End", "Text", "Signed", "Unsigned", "Float", "Bits", "End"};
    for (int kind = 0; kind <= 6; ++kind)
        EXPECT_STREQ(member_kind_name(static_cast<MemberKind>(kind)), names[kind]);
    EXPECT_FALSE(member_size_allowed({T, 0, 0}));
    EXPECT_TRUE(member_size_allowed({T, 1, 0}));
}

} // namespace

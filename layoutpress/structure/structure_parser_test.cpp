// parse_structure and parse_declaration: every type word and count form, comments, the limits
// and where a failure stops, on terminated and unterminated texts; random texts keep the table's
// invariants.
#include "layoutpress/structure/structure_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr MemberKind T = MemberKind::Text, S = MemberKind::Signed, U = MemberKind::Unsigned;
constexpr MemberKind F = MemberKind::Float, B = MemberKind::Bits;

// `repeat` consecutive entries of one kind and size; only the first carries first_count.
struct Span {
    int repeat;
    MemberKind kind;
    int32_t size;
    int32_t first_count;
};

MemberTable table_of(const std::vector<Span>& runs) {
    MemberTable table = {};
    int index = 0;
    for (const Span& run : runs) {
        for (int i = 0; i < run.repeat; ++i) {
            table.entries[index++] = {run.kind, run.size, i == 0 ? run.first_count : 0};
        }
    }
    return table;
}

// Parses from a heap buffer of exactly the text's size (a read past it is caught by the
// sanitizers) into a table full of garbage, or from the terminated text followed by a
// declaration the parser must not see; both must give the same result.
int parse(const std::string& text, MemberTable& table, StructureFailure* failure) {
    const std::unique_ptr<char[]> exact(new char[text.size()]);
    std::memcpy(exact.get(), text.data(), text.size());
    std::memset(&table, 0x5A, sizeof table);
    const int result = parse_structure(exact.get(), text.size(), table, failure);
    const std::string terminated = text + std::string(1, '\0') + "char hidden;";
    MemberTable other;
    StructureFailure other_failure;
    EXPECT_EQ(parse_structure(terminated.data(), terminated.size(), other, &other_failure), result);
    EXPECT_EQ(std::memcmp(&table, &other, sizeof table), 0) << "terminated text differs";
    return result;
}

struct Case {
    std::string text;
    std::vector<Span> runs; // on failure: the entries of the declarations before the failing one
    StructureProblem problem = StructureProblem::none;
    size_t offset = 0;
};

constexpr StructureProblem zero_count = StructureProblem::zero_count;
constexpr StructureProblem too_many = StructureProblem::too_many_members;

const Case cases[] = {
    {"char a;", {{1, S, 1, 0}}},
    {"unsigned char b[4];", {{4, U, 1, 4}}},
    {"u_short port;", {{1, U, 2, 0}}},
    {"unsigned long n;", {{1, U, 4, 0}}},
    {"long double v;", {{1, F, 10, 0}}},
    {"const volatile short s;", {{1, S, 2, 0}}},
    {"unsigned const char c;", {{1, S, 1, 0}}},
    {"f_char name[20];", {{1, T, 20, 20}}},
    {"f_char c;", {{1, T, 1, 1}}},
    {"bit:16 flags;", {{1, B, 2, 0}}},
    {"u_char a;", {{1, U, 1, 0}}},
    {"unsigned short a;", {{1, U, 2, 0}}},
    {"u_long a;", {{1, U, 4, 0}}},
    {"bit:32 a;", {{1, B, 4, 0}}}, // the last type word
    {"char a[255];", {{255, S, 1, 255}}},
    {"int x;", {{1, S, 4, 0}}},
    {"unsigned u;", {{1, S, 4, 0}}},
    {"short m[2][3];", {{2, S, 2, 2}}},
    {"char a, b;", {{1, S, 1, 0}}},
    // The remaining type words.
    {"short a;", {{1, S, 2, 0}}},
    {"long a;", {{1, S, 4, 0}}},
    {"float a;", {{1, F, 4, 0}}},
    {"double a;", {{1, F, 8, 0}}},
    {"bit:8 a;", {{1, B, 1, 0}}},
    // Type resolution: the last phrase decides, then the first non-modifier type word.
    {"unsigned long double x;", {{1, F, 10, 0}}},
    {"long unsigned char x;", {{1, U, 1, 0}}},
    {"unsigned long long x;", {{1, U, 4, 0}}},
    {"long long x;", {{1, S, 4, 0}}},
    {"char unsigned x;", {{1, S, 1, 0}}},
    {"static register unsigned char x;", {{1, U, 1, 0}}},
    {"const volatile;", {{1, S, 4, 0}}},
    {"CHAR x;", {{1, S, 4, 0}}},
    {"char x double;", {{1, S, 1, 0}}},
    // Counts.
    {"char a 5;", {{5, S, 1, 5}}},
    {"char 5 a;", {{5, S, 1, 5}}},
    {"char a[3x];", {{3, S, 1, 3}}},
    {"char a[007];", {{7, S, 1, 7}}},
    {"f_char s[0];", {{1, T, 0, 0}}},
    {"f_char t[2147483647];", {{1, T, 2147483647, 2147483647}}},
    {"const const const const const const const const char x[4];", {{1, S, 1, 0}}},
    {"char a; short b[2]; f_char t[3];", {{1, S, 1, 0}, {2, S, 2, 2}, {1, T, 3, 3}}},
    // Tabs and line ends join words; comment markers inside a declaration are words.
    {"unsigned\r\nchar c;", {{1, S, 4, 0}}},
    {"struct rec {\r\nchar a;\r\n};\r\n", {{1, S, 4, 0}}},
    {"char /* x */ a;", {{1, S, 1, 0}}},
    {"unsigned /* x */ char a;", {{1, S, 4, 0}}},
    {"char // x\r\na; short b;", {{1, S, 1, 0}, {1, S, 2, 0}}},
    // Comments and skipped characters between declarations.
    {"// only a comment\r\n/* and a block */", {}},
    {" \r\n\t \r\n", {}},
    {"//\r\nchar a;", {{1, S, 1, 0}}},
    {"// lone LF\nchar a;\nshort b;\r\nlong c;", {{1, S, 4, 0}}},
    {"/*/ char a; */ short b;", {{1, S, 2, 0}}},
    {"/* open char a;", {}},
    {"{ } # ; 12 / * char a;", {{1, S, 1, 0}}},
    {"1char a; _short b;", {{1, S, 1, 0}, {1, S, 2, 0}}},
    {"char a;\r\nshort b", {{1, S, 1, 0}}},
    {"char a;;; // tail\r\n", {{1, S, 1, 0}}},
    // Failures stop the scan at the faulty declaration.
    {"", {}, StructureProblem::no_text, 0},
    {"char a[0];", {}, zero_count, 0},
    {"char a; short b[0]; long c;", {{1, S, 1, 0}}, zero_count, 8},
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
    for (int i = 0; i < 256; ++i) {
        all.back().text += "char a;\r\n";
    }
    for (const Case& c : all) {
        const std::string& text = c.text;
        SCOPED_TRACE("text \"" + text + "\"");
        MemberTable table;
        StructureFailure failure;
        EXPECT_EQ(parse(text, table, &failure), c.problem == StructureProblem::none ? 1 : 0);
        EXPECT_EQ(failure.problem, c.problem);
        EXPECT_EQ(failure.offset, c.offset);
        const MemberTable expected = table_of(c.runs);
        for (int e = 0; e < member_table_entries; ++e) {
            const MemberEntry &a = table.entries[e], &w = expected.entries[e];
            ASSERT_TRUE(a.kind == w.kind && a.size == w.size && a.element_count == w.element_count)
                << "entry " << e << ": kind " << static_cast<int>(a.kind) << " size " << a.size
                << " count " << a.element_count;
        }
    }
    MemberTable table;
    StructureFailure failure;
    EXPECT_EQ(parse_structure(nullptr, 100, table, &failure), 0);
    EXPECT_EQ(failure.problem, StructureProblem::no_text);
    EXPECT_EQ(parse_structure("char a;", 6, table, &failure), 1) << "the text ends at its capacity";
    EXPECT_TRUE(is_end_mark(table.entries[0]));
}

TEST(ParseDeclaration, WritesFromTheFirstEntryOrNothingAtAll) {
    const struct {
        const char* declaration;
        int first_entry;
        StructureProblem problem;
        std::vector<MemberEntry> written; // from first_entry on; empty on failure
    } cases[] = {
        {"short m[2]", 10, StructureProblem::none, {{S, 2, 2}, {S, 2, 0}}},
        {"f_char t[9]", 254, StructureProblem::none, {{T, 9, 9}}},
        {"char a[2]", 254, too_many, {}},
        {"char a", -1, too_many, {}},
        {"char a[0]", 3, zero_count, {}},
    };
    for (const auto& c : cases) {
        MemberTable table, expected;
        std::memset(&table, 0x5A, sizeof table); // the declaration sets every field it owns
        expected = table;
        std::copy(c.written.begin(), c.written.end(), expected.entries + c.first_entry);
        StructureProblem problem = StructureProblem::none;
        EXPECT_EQ(parse_declaration(c.declaration, std::strlen(c.declaration), c.first_entry, table,
                                    &problem),
                  static_cast<int>(c.written.size()));
        EXPECT_EQ(problem, c.problem);
        EXPECT_EQ(std::memcmp(&table, &expected, sizeof table), 0) << c.declaration;
    }
    MemberTable table, untouched;
    std::memset(&table, 0x5A, sizeof table);
    untouched = table;
    set_member_type(17, 3, table);
    set_member_type(2, member_table_entries, table);
    EXPECT_EQ(std::memcmp(&table, &untouched, sizeof table), 0) << "outside the type words";
}

TEST(MemberTable, SizesAndNamesPerKind) {
    const struct {
        int kind;
        const char* name;
        std::vector<int32_t> allowed; // among -1 to 12
    } cases[] = {{0, "End", {}},           {1, "Text", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                 {2, "Signed", {1, 2, 4}}, {3, "Unsigned", {1, 2, 4}},
                 {4, "Float", {4, 8, 10}}, {5, "Bits", {1, 2, 4}},
                 {6, "End", {}},           {-1, "End", {}}};
    for (const auto& c : cases) {
        const MemberKind kind = static_cast<MemberKind>(c.kind);
        EXPECT_STREQ(member_kind_name(kind), c.name);
        for (int32_t size = -1; size <= 12; ++size) {
            const bool allowed = std::count(c.allowed.begin(), c.allowed.end(), size) != 0;
            EXPECT_EQ(member_size_allowed({kind, size, 0}), allowed) << c.name << " " << size;
            EXPECT_EQ(is_end_mark({kind, size, 0}), c.kind < 1 || size < 1) << c.name << size;
        }
    }
}

// Random texts of the language's pieces: every entry in use has a size its kind allows, the
// rest of the table is zero, and a failure keeps exactly what the text before it gives.
TEST(ParseStructure, RandomTextsKeepTheTableInvariants) {
    const char* const pieces[] = {"char", "f_char", "unsigned", "long", "x",  " ",  "[",  "]",
                                  "0",    "9",      "300",      ";",    "/",  "*",  "\r", "\n",
                                  "\t",   "double", "bit:8",    "//",   "/*", "*/", "{",  "const"};
    std::mt19937 random(20240611u);
    int failures = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int i = 1 + static_cast<int>(random() % 60); i > 0; --i) {
            text += pieces[random() % std::size(pieces)];
        }
        SCOPED_TRACE("text \"" + text + "\"");
        MemberTable table;
        StructureFailure failure;
        const int result = parse(text, table, &failure);
        int used = 0;
        for (; table.entries[used].kind != MemberKind::End; ++used) {
            const MemberEntry& entry = table.entries[used];
            ASSERT_TRUE(member_size_allowed(entry) || (entry.kind == T && entry.size == 0));
            ASSERT_GE(entry.element_count, 0);
        }
        ASSERT_LE(used, max_members);
        for (int i = used; i < member_table_entries; ++i) {
            ASSERT_EQ(table.entries[i].size | table.entries[i].element_count, 0) << i;
        }
        if (result == 0) {
            ++failures;
            ASSERT_LT(failure.offset, text.size());
            ASSERT_TRUE(std::isalpha(static_cast<unsigned char>(text[failure.offset])));
            MemberTable prefix = {};
            if (failure.offset > 0) {
                ASSERT_EQ(parse(text.substr(0, failure.offset), prefix, nullptr), 1);
            }
            ASSERT_EQ(std::memcmp(&table, &prefix, sizeof table), 0);
        }
    }
    EXPECT_GT(failures, 100); // both outcomes are reached
}

} // namespace

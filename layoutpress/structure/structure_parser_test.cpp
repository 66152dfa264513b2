#include "layoutpress/structure/structure_parser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr MemberKind T = MemberKind::Text;
constexpr MemberKind S = MemberKind::Signed;
constexpr MemberKind U = MemberKind::Unsigned;
constexpr MemberKind F = MemberKind::Float;
constexpr MemberKind B = MemberKind::Bits;

// `repeat` consecutive entries of one kind and size; only the first carries first_count.
struct Span {
    int repeat;
    MemberKind kind;
    int32_t size;
    int32_t first_count;
};

MemberTable table_of(const std::vector<Span>& runs) {
    MemberTable table;
    clear_member_table(table);
    int index = 0;
    for (const Span& run : runs) {
        for (int i = 0; i < run.repeat; ++i, ++index) {
            table.entries[index] = MemberEntry{run.kind, run.size, i == 0 ? run.first_count : 0};
        }
    }
    return table;
}

std::string describe(const MemberEntry& entry) {
    std::ostringstream out;
    out << member_kind_name(entry.kind) << "(" << static_cast<int>(entry.kind) << ") size "
        << entry.size << " count " << entry.element_count;
    return out.str();
}

// Compares all 256 entries, so stale or stray entries anywhere are caught.
void expect_table(const MemberTable& actual, const std::vector<Span>& runs) {
    const MemberTable expected = table_of(runs);
    int reported = 0;
    for (int i = 0; i < member_table_entries && reported < 5; ++i) {
        const MemberEntry& a = actual.entries[i];
        const MemberEntry& e = expected.entries[i];
        if (a.kind != e.kind || a.size != e.size || a.element_count != e.element_count) {
            ADD_FAILURE() << "entry " << i << ": got " << describe(a) << ", want " << describe(e);
            ++reported;
        }
    }
}

void fill_with_garbage(MemberTable& table) {
    std::memset(&table, 0x5A, sizeof table);
}

// Hands the parser a heap buffer of exactly the text's size with no terminator, so the
// sanitizer catches any read past the end.
int parse_exact(const std::string& text, MemberTable& table, StructureFailure* failure) {
    std::unique_ptr<char[]> buffer(new char[text.size()]);
    std::memcpy(buffer.get(), text.data(), text.size());
    return parse_structure(buffer.get(), text.size(), table, failure);
}

// The text terminated, followed by a declaration the parser must not see.
int parse_terminated(const std::string& text, MemberTable& table, StructureFailure* failure) {
    std::string stored = text;
    stored.push_back('\0');
    stored += "char hidden;";
    return parse_structure(stored.data(), stored.size(), table, failure);
}

struct Case {
    const char* text;
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
    {"int x;", {{1, S, 4, 0}}},
    {"unsigned u;", {{1, S, 4, 0}}},
    {"short m[2][3];", {{2, S, 2, 2}}},
    {"char a, b;", {{1, S, 1, 0}}},
    // The remaining type words.
    {"u_char a;", {{1, U, 1, 0}}},
    {"short a;", {{1, S, 2, 0}}},
    {"unsigned short a;", {{1, U, 2, 0}}},
    {"long a;", {{1, S, 4, 0}}},
    {"u_long a;", {{1, U, 4, 0}}},
    {"float a;", {{1, F, 4, 0}}},
    {"double a;", {{1, F, 8, 0}}},
    {"bit:8 a;", {{1, B, 1, 0}}},
    {"bit:32 a;", {{1, B, 4, 0}}},
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
    {"char a[1];", {{1, S, 1, 1}}},
    {"char a 5;", {{5, S, 1, 5}}},
    {"char 5 a;", {{5, S, 1, 5}}},
    {"char a[3x];", {{3, S, 1, 3}}},
    {"char a[007];", {{7, S, 1, 7}}},
    {"char a[255];", {{255, S, 1, 255}}},
    {"f_char s[0];", {{1, T, 0, 0}}},
    {"f_char s[0]; char b;", {{1, T, 0, 0}, {1, S, 1, 0}}},
    {"f_char t[2147483647];", {{1, T, 2147483647, 2147483647}}},
    {"const const const const const const const const char x[4];", {{1, S, 1, 0}}},
    {"char a; short b[2]; f_char t[3];", {{1, S, 1, 0}, {2, S, 2, 2}, {1, T, 3, 3}}},
    // Tabs and line ends join words; comment markers inside a declaration are words.
    {"unsigned\r\nchar c;", {{1, S, 4, 0}}},
    {"unsigned\tchar c;", {{1, S, 4, 0}}},
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
    {"/**/char a;", {{1, S, 1, 0}}},
    {"/* open char a;", {}},
    {"// open char a;", {}},
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
    {"char a[99999999999999999999999999];", {}, too_many, 0},
    {"f_char t[2147483648];", {}, too_many, 0},
    {"f_char t[99999999999999999999999999];", {}, too_many, 0},
};

TEST(ParseStructure, BuildsTheExpectedTableOrFailsWhereExpected) {
    for (const Case& c : cases) {
        const bool succeeds = c.problem == StructureProblem::none;
        for (int exact = 0; exact < 2; ++exact) {
            SCOPED_TRACE(testing::Message() << (exact ? "unterminated" : "terminated") << " text \""
                                            << c.text << "\"");
            MemberTable table;
            fill_with_garbage(table);
            StructureFailure failure;
            const int result = exact ? parse_exact(c.text, table, &failure)
                                     : parse_terminated(c.text, table, &failure);
            EXPECT_EQ(result, succeeds ? 1 : 0);
            EXPECT_EQ(failure.problem, c.problem);
            EXPECT_EQ(failure.offset, c.offset);
            expect_table(table, c.runs);
        }
    }
}

TEST(ParseStructure, MissingTextFailsAndStillClearsTheTable) {
    const char nul_first[] = "\0char a;";
    struct {
        const char* label;
        const char* text;
        size_t capacity;
    } const cases[] = {
        {"null pointer", nullptr, 100},
        {"zero capacity", "char a;", 0},
        {"null pointer without capacity", nullptr, 0},
        {"zero byte first", nul_first, sizeof nul_first},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        MemberTable table;
        fill_with_garbage(table);
        StructureFailure failure;
        EXPECT_EQ(parse_structure(c.text, c.capacity, table, &failure), 0);
        EXPECT_EQ(failure.problem, StructureProblem::no_text);
        expect_table(table, {});
    }
}

TEST(ParseStructure, TextEndsAtItsCapacity) {
    const std::string text = "char a; short b;";
    struct {
        size_t capacity;
        std::vector<Span> runs;
    } const cases[] = {
        {6, {}}, // "char a" lost its ';'
        {7, {{1, S, 1, 0}}},
        {15, {{1, S, 1, 0}}},
        {16, {{1, S, 1, 0}, {1, S, 2, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "capacity " << c.capacity);
        MemberTable table;
        EXPECT_EQ(parse_exact(text.substr(0, c.capacity), table, nullptr), 1);
        expect_table(table, c.runs);
    }
}

TEST(ParseStructure, ReparsingLeavesNothingOfTheEarlierStructure) {
    MemberTable table;
    ASSERT_EQ(parse_exact("char a; short b[8]; long c[3];", table, nullptr), 1);
    ASSERT_EQ(parse_exact("char a; short b[3];", table, nullptr), 1);
    expect_table(table, {{1, S, 1, 0}, {3, S, 2, 3}});
}

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

TEST(ParseStructure, HoldsAtMost255Members) {
    MemberTable table;
    StructureFailure failure;
    ASSERT_EQ(parse_exact(repeated("char a;\r\n", 255), table, &failure), 1);
    expect_table(table, {{255, S, 1, 0}});

    EXPECT_EQ(parse_exact(repeated("char a;\r\n", 256), table, &failure), 0);
    EXPECT_EQ(failure.problem, StructureProblem::too_many_members);
    EXPECT_EQ(failure.offset, 255u * 9u);
    expect_table(table, {{255, S, 1, 0}});
}

TEST(ParseStructure, DeclarationHoldsAtMost255Characters) {
    const std::string prefix = "// head\r\n";
    for (size_t length : {size_t{255}, size_t{256}}) {
        SCOPED_TRACE(testing::Message() << "declaration of " << length << " characters");
        const std::string declaration = "short " + std::string(length - 6, 'n');
        ASSERT_EQ(declaration.size(), length);
        MemberTable table;
        StructureFailure failure;
        const int result = parse_exact(prefix + declaration + ";", table, &failure);
        if (length == 255) {
            EXPECT_EQ(result, 1);
            expect_table(table, {{1, S, 2, 0}});
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(failure.problem, StructureProblem::declaration_too_long);
            EXPECT_EQ(failure.offset, prefix.size());
            expect_table(table, {});
        }
    }
}

TEST(ParseDeclaration, WritesFromTheFirstEntryOrNothingAtAll) {
    struct {
        const char* declaration;
        int first_entry;
        StructureProblem problem;
        std::vector<MemberEntry> written; // from first_entry on; empty on failure
    } const cases[] = {
        {"short m[2]", 10, StructureProblem::none, {{S, 2, 2}, {S, 2, 0}}},
        {"double d", 0, StructureProblem::none, {{F, 8, 0}}},
        {"f_char t[9]", 254, StructureProblem::none, {{T, 9, 9}}},
        {"char a[2]", 254, StructureProblem::too_many_members, {}},
        {"f_char t", 255, StructureProblem::too_many_members, {}},
        {"char a", -1, StructureProblem::too_many_members, {}},
        {"char a[0]", 3, StructureProblem::zero_count, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.declaration << "\" at " << c.first_entry);
        // Garbage everywhere: the declaration must set every field it owns.
        MemberTable table;
        fill_with_garbage(table);
        MemberTable expected = table;
        for (size_t i = 0; i < c.written.size(); ++i) {
            expected.entries[c.first_entry + static_cast<int>(i)] = c.written[i];
        }
        StructureProblem problem = StructureProblem::none;
        EXPECT_EQ(parse_declaration(c.declaration, std::strlen(c.declaration), c.first_entry, table,
                                    &problem),
                  static_cast<int>(c.written.size()));
        EXPECT_EQ(problem, c.problem);
        for (int i = 0; i < member_table_entries; ++i) {
            EXPECT_EQ(describe(table.entries[i]), describe(expected.entries[i])) << "entry " << i;
        }
    }
}

TEST(SetMemberType, WritesKindAndSizeOfEachTypeWord) {
    const MemberEntry types[17] = {{},        {T, 1, 0}, {S, 1, 0}, {U, 1, 0},  {U, 1, 0},
                                   {S, 2, 0}, {U, 2, 0}, {U, 2, 0}, {S, 4, 0},  {U, 4, 0},
                                   {U, 4, 0}, {F, 4, 0}, {F, 8, 0}, {F, 10, 0}, {B, 1, 0},
                                   {B, 2, 0}, {B, 4, 0}};
    struct {
        MemberEntry before;
        MemberTable table;
        MemberEntry after;
    } guarded;
    for (int index = -1; index <= 17; ++index) {
        SCOPED_TRACE(testing::Message() << "type index " << index);
        std::memset(&guarded, 0x5A, sizeof guarded);
        const auto untouched = guarded;
        set_member_type(index, 7, guarded.table);
        const bool valid = index >= 1 && index <= 16;
        if (valid) {
            EXPECT_EQ(guarded.table.entries[7].kind, types[index].kind);
            EXPECT_EQ(guarded.table.entries[7].size, types[index].size);
            EXPECT_TRUE(member_size_allowed(guarded.table.entries[7]));
        }
        // Nothing but kind and size of that one entry changes.
        guarded.table.entries[7].kind = untouched.table.entries[7].kind;
        guarded.table.entries[7].size = untouched.table.entries[7].size;
        EXPECT_EQ(std::memcmp(&guarded, &untouched, sizeof guarded), 0);
    }
    for (int entry : {-1, member_table_entries}) {
        std::memset(&guarded, 0x5A, sizeof guarded);
        const auto untouched = guarded;
        set_member_type(2, entry, guarded.table);
        EXPECT_EQ(std::memcmp(&guarded, &untouched, sizeof guarded), 0) << "entry " << entry;
    }
}

TEST(MemberTable, SizesAndNamesPerKind) {
    struct {
        int kind;
        const char* name;
        std::vector<int32_t> allowed; // among -1 to 12
    } const cases[] = {
        {0, "End", {}},           {1, "Text", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {2, "Signed", {1, 2, 4}}, {3, "Unsigned", {1, 2, 4}},
        {4, "Float", {4, 8, 10}}, {5, "Bits", {1, 2, 4}},
        {6, "End", {}},           {-1, "End", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind);
        const MemberKind kind = static_cast<MemberKind>(c.kind);
        EXPECT_STREQ(member_kind_name(kind), c.name);
        for (int32_t size = -1; size <= 12; ++size) {
            bool expected = false;
            for (int32_t a : c.allowed) {
                expected = expected || a == size;
            }
            EXPECT_EQ(member_size_allowed(MemberEntry{kind, size, 0}), expected) << "size " << size;
            EXPECT_EQ(is_end_mark(MemberEntry{kind, size, 0}), c.kind < 1 || size < 1)
                << "size " << size;
        }
    }
    EXPECT_TRUE(member_size_allowed(MemberEntry{T, 2147483647, 0}));
}

// Random texts built from the language's own pieces: whatever the parser makes of them, the
// table must keep its invariants and a failure must keep exactly what came before it.
TEST(ParseStructure, RandomTextsKeepTheTableInvariants) {
    const char* const pieces[] = {"char", "f_char", "unsigned", "long", "x",  " ",  "[",  "]",
                                  "0",    "9",      "300",      ";",    "/",  "*",  "\r", "\n",
                                  "\t",   "double", "bit:8",    "//",   "/*", "*/", "{",  "const"};
    std::mt19937 random(20240611u);
    int failures = 0;
    int filled = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) {
            text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
        }
        SCOPED_TRACE(testing::Message() << "text \"" << text << "\"");
        MemberTable table;
        StructureFailure failure;
        const int result = parse_exact(text, table, &failure);

        MemberTable terminated;
        StructureFailure terminated_failure;
        ASSERT_EQ(parse_terminated(text, terminated, &terminated_failure), result);
        ASSERT_EQ(std::memcmp(&table, &terminated, sizeof table), 0);

        int used = 0;
        while (used < member_table_entries && table.entries[used].kind != MemberKind::End) {
            const MemberEntry& entry = table.entries[used];
            const bool empty_text = entry.kind == T && entry.size == 0;
            ASSERT_TRUE(member_size_allowed(entry) || empty_text) << describe(entry);
            ASSERT_GE(entry.element_count, 0);
            ++used;
        }
        ASSERT_LE(used, max_members);
        filled += used > 0 ? 1 : 0;
        for (int i = used; i < member_table_entries; ++i) {
            const MemberEntry& entry = table.entries[i];
            ASSERT_TRUE(entry.kind == MemberKind::End && entry.size == 0 &&
                        entry.element_count == 0)
                << "entry " << i << ": " << describe(entry);
        }

        if (result == 0) {
            ++failures;
            ASSERT_NE(failure.problem, StructureProblem::none);
            ASSERT_LT(failure.offset, text.size());
            const char first = text[failure.offset];
            ASSERT_TRUE((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z'));
            MemberTable prefix;
            if (failure.offset > 0) {
                ASSERT_EQ(parse_exact(text.substr(0, failure.offset), prefix, nullptr), 1);
            } else {
                clear_member_table(prefix);
            }
            ASSERT_EQ(std::memcmp(&table, &prefix, sizeof table), 0);
        }
    }
    // Both outcomes must be reached for the checks above to mean anything.
    EXPECT_GT(failures, 100);
    EXPECT_GT(filled, 100);
}

} // namespace

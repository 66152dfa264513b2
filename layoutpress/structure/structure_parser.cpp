#include "layoutpress/structure/structure_parser.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t max_declaration_length = 255;
constexpr int max_words = 10;
constexpr int f_char_index = 1;
constexpr int long_index = 8;
constexpr int64_t largest_count = 2147483647;

struct TypeWord {
    const char* text;
    MemberKind kind;
    int32_t size;
};

// Indexed by type word index; index 0 is unused so that the indexes read as written.
const TypeWord type_words[17] = {
    {"", MemberKind::End, 0},
    {"f_char", MemberKind::Text, 1},
    {"char", MemberKind::Signed, 1},
    {"unsigned char", MemberKind::Unsigned, 1},
    {"u_char", MemberKind::Unsigned, 1},
    {"short", MemberKind::Signed, 2},
    {"unsigned short", MemberKind::Unsigned, 2},
    {"u_short", MemberKind::Unsigned, 2},
    {"long", MemberKind::Signed, 4},
    {"unsigned long", MemberKind::Unsigned, 4},
    {"u_long", MemberKind::Unsigned, 4},
    {"float", MemberKind::Float, 4},
    {"double", MemberKind::Float, 8},
    {"long double", MemberKind::Float, 10},
    {"bit:8", MemberKind::Bits, 1},
    {"bit:16", MemberKind::Bits, 2},
    {"bit:32", MemberKind::Bits, 4},
};
constexpr int type_word_count = 16;

const char* const modifier_words[] = {"unsigned", "long"};
const char* const qualifier_words[] = {"auto", "register", "static", "const", "volatile"};

struct Word {
    const char* text;
    size_t length;
};

bool word_is(const Word& word, const char* keyword) {
    return word.length == std::strlen(keyword) && std::memcmp(word.text, keyword, word.length) == 0;
}

// Type words with a space in them never match here: words hold no spaces.
int type_word_index(const Word& word) {
    for (int index = 1; index <= type_word_count; ++index) {
        if (word_is(word, type_words[index].text)) {
            return index;
        }
    }
    return 0;
}

bool is_modifier(const Word& word) {
    for (const char* modifier : modifier_words) {
        if (word_is(word, modifier)) {
            return true;
        }
    }
    return false;
}

bool is_qualifier(const Word& word) {
    for (const char* qualifier : qualifier_words) {
        if (word_is(word, qualifier)) {
            return true;
        }
    }
    return false;
}

// The type word that "first second" spells, 0 when none.
int phrase_index(const Word& first, const Word& second) {
    for (int index = 1; index <= type_word_count; ++index) {
        const char* text = type_words[index].text;
        const size_t length = std::strlen(text);
        if (length == first.length + 1 + second.length &&
            std::memcmp(text, first.text, first.length) == 0 && text[first.length] == ' ' &&
            std::memcmp(text + first.length + 1, second.text, second.length) == 0) {
            return index;
        }
    }
    return 0;
}

bool is_separator(char c) {
    return c == ' ' || c == '[' || c == ']';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int split_words(const char* text, size_t length, Word (&words)[max_words]) {
    int count = 0;
    size_t i = 0;
    while (count < max_words) {
        while (i < length && is_separator(text[i])) {
            ++i;
        }
        if (i == length) {
            break;
        }
        const size_t start = i;
        while (i < length && !is_separator(text[i])) {
            ++i;
        }
        words[count++] = Word{text + start, i - start};
    }
    return count;
}

// Leading digits of the word; stops growing just above the largest count any type accepts, so
// a long run of digits can neither overflow nor slip under a limit.
int64_t read_count(const Word& word) {
    int64_t value = 0;
    for (size_t i = 0; i < word.length && is_digit(word.text[i]); ++i) {
        value = value * 10 + (word.text[i] - '0');
        if (value > largest_count) {
            return largest_count + 1;
        }
    }
    return value;
}

int resolve_type(const Word* specifiers, int count) {
    int candidate = 0;
    for (int i = 0; i + 1 < count; ++i) {
        if (is_modifier(specifiers[i])) {
            const int index = phrase_index(specifiers[i], specifiers[i + 1]);
            if (index != 0) {
                candidate = index;
            }
        }
    }
    if (candidate != 0) {
        return candidate;
    }
    for (int i = 0; i < count; ++i) {
        if (!is_modifier(specifiers[i])) {
            const int index = type_word_index(specifiers[i]);
            if (index != 0) {
                return index;
            }
        }
    }
    return long_index;
}

void report(StructureProblem* problem, StructureProblem value) {
    if (problem != nullptr) {
        *problem = value;
    }
}

// Index of the first "first second" pair at or after from, or end when there is none.
size_t find_pair(const char* text, size_t from, size_t end, char first, char second) {
    for (size_t i = from; i + 1 < end; ++i) {
        if (text[i] == first && text[i + 1] == second) {
            return i;
        }
    }
    return end;
}

} // namespace

void set_member_type(int type_index, int entry_index, MemberTable& table) {
    if (type_index < 1 || type_index > type_word_count || entry_index < 0 ||
        entry_index >= member_table_entries) {
        return;
    }
    table.entries[entry_index].kind = type_words[type_index].kind;
    table.entries[entry_index].size = type_words[type_index].size;
}

int parse_declaration(const char* declaration, size_t length, int first_entry, MemberTable& table,
                      StructureProblem* problem) {
    report(problem, StructureProblem::none);
    if (declaration == nullptr) {
        length = 0;
    }
    if (length > max_declaration_length) {
        report(problem, StructureProblem::declaration_too_long);
        return 0;
    }
    if (first_entry < 0 || first_entry >= max_members) {
        report(problem, StructureProblem::too_many_members);
        return 0;
    }

    Word words[max_words];
    int word_count = split_words(declaration, length, words);

    bool has_count = false;
    int64_t count = 1;
    for (int i = 0; i < word_count; ++i) {
        if (is_digit(words[i].text[0])) {
            has_count = true;
            count = read_count(words[i]);
            word_count = i;
            break;
        }
    }

    int specifier_count = word_count;
    for (int i = 0; i < word_count; ++i) {
        if (type_word_index(words[i]) == 0 && !is_modifier(words[i]) && !is_qualifier(words[i])) {
            specifier_count = i;
            break;
        }
    }

    const int type_index = resolve_type(words, specifier_count);
    if (type_index == f_char_index) {
        if (count > largest_count) {
            report(problem, StructureProblem::too_many_members);
            return 0;
        }
        MemberEntry& entry = table.entries[first_entry];
        set_member_type(type_index, first_entry, table);
        entry.size = static_cast<int32_t>(count);
        entry.element_count = static_cast<int32_t>(count);
        return 1;
    }

    if (count == 0) {
        report(problem, StructureProblem::zero_count);
        return 0;
    }
    if (count > max_members - first_entry) {
        report(problem, StructureProblem::too_many_members);
        return 0;
    }
    const int members = static_cast<int>(count);
    for (int i = 0; i < members; ++i) {
        set_member_type(type_index, first_entry + i, table);
        table.entries[first_entry + i].element_count = 0;
    }
    table.entries[first_entry].element_count = has_count ? members : 0;
    return members;
}

int parse_structure(const char* text, size_t text_capacity, MemberTable& table,
                    StructureFailure* failure) {
    clear_member_table(table);
    if (failure != nullptr) {
        *failure = StructureFailure{};
    }
    size_t end = 0;
    if (text != nullptr) {
        const void* nul = std::memchr(text, '\0', text_capacity);
        end = nul == nullptr ? text_capacity
                             : static_cast<size_t>(static_cast<const char*>(nul) - text);
    }
    if (end == 0) {
        if (failure != nullptr) {
            failure->problem = StructureProblem::no_text;
        }
        return 0;
    }

    int running_count = 0;
    size_t i = 0;
    while (i < end) {
        const char c = text[i];
        if (is_letter(c)) {
            const char* semicolon = static_cast<const char*>(std::memchr(text + i, ';', end - i));
            if (semicolon == nullptr) {
                break; // an unfinished declaration at the end declares nothing
            }
            const size_t length = static_cast<size_t>(semicolon - (text + i));
            StructureProblem problem = StructureProblem::none;
            const int entries = parse_declaration(text + i, length, running_count, table, &problem);
            if (entries == 0) {
                if (failure != nullptr) {
                    failure->problem = problem;
                    failure->offset = i;
                }
                return 0;
            }
            running_count += entries;
            i += length + 1;
        } else if (c == '/' && i + 1 < end && text[i + 1] == '/') {
            const size_t line_end = find_pair(text, i + 2, end, '\r', '\n');
            i = line_end == end ? end : line_end + 2;
        } else if (c == '/' && i + 1 < end && text[i + 1] == '*') {
            const size_t close = find_pair(text, i + 2, end, '*', '/');
            i = close == end ? end : close + 2;
        } else {
            ++i;
        }
    }
    return 1;
}

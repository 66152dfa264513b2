// Reads the data structure document into the member table.
#pragma once

#include <cstddef>

#include "layoutpress/structure/member_table.h"

enum class StructureProblem {
    none,
    no_text,              // missing or empty text
    zero_count,           // a declaration with count 0 that is not f_char
    declaration_too_long, // more than 255 characters before the ';'
    too_many_members,     // the structure needs more than 255 entries
};

struct StructureFailure {
    StructureProblem problem = StructureProblem::none;
    size_t offset = 0; // where the failing declaration starts in the text
};

// Clears the table and reads every declaration of the text (which ends at its first zero byte
// or after text_capacity bytes). Returns 1 on success, 0 on failure; after a failure the table
// holds the entries of the declarations before the failing one.
int parse_structure(const char* text, size_t text_capacity, MemberTable& table,
                    StructureFailure* failure = nullptr);

// Reads one declaration (the text between its first letter and its ';') into the table from
// first_entry on. Returns the number of entries it occupies, 0 on failure (nothing written).
int parse_declaration(const char* declaration, size_t length, int first_entry, MemberTable& table,
                      StructureProblem* problem = nullptr);

// Writes kind and size of type word type_index (1 to 16) into one entry; other indexes write
// nothing.
void set_member_type(int type_index, int entry_index, MemberTable& table);

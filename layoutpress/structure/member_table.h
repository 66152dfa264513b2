// The parsed form of a data structure: one entry per member, in storage order.
#pragma once

#include <cstdint>

enum class MemberKind : int32_t { End = 0, Text = 1, Signed = 2, Unsigned = 3, Float = 4, Bits = 5 };

struct MemberEntry {
    MemberKind kind;
    int32_t size;          // bytes the member occupies in a record
    int32_t element_count; // declared count, kept on the first entry of a declaration
};

constexpr int member_table_entries = 256;
constexpr int max_members = member_table_entries - 1; // the last entry always stays an end mark

struct MemberTable {
    MemberEntry entries[member_table_entries];
};

// Zeroes every field of every entry.
void clear_member_table(MemberTable& table);

// An entry whose kind is below Text or whose size is below 1 ends the record.
inline bool is_end_mark(const MemberEntry& entry) {
    return static_cast<int32_t>(entry.kind) < 1 || entry.size < 1;
}

// Whether the entry's size is one its kind allows (Text: any size of 1 or more).
bool member_size_allowed(const MemberEntry& entry);

// "Text", "Signed", "Unsigned", "Float", "Bits"; "End" for anything else.
const char* member_kind_name(MemberKind kind);

#include "layoutpress/structure/member_table.h"

void clear_member_table(MemberTable& table) {
    for (MemberEntry& entry : table.entries) {
        entry.kind = MemberKind::End;
        entry.size = 0;
        entry.element_count = 0;
    }
}

bool member_size_allowed(const MemberEntry& entry) {
    switch (entry.kind) {
    case MemberKind::Text:
        return entry.size >= 1;
    case MemberKind::Signed:
    case MemberKind::Unsigned:
    case MemberKind::Bits:
        return entry.size == 1 || entry.size == 2 || entry.size == 4;
    case MemberKind::Float:
        return entry.size == 4 || entry.size == 8 || entry.size == 10;
    default:
        return false;
    }
}

const char* member_kind_name(MemberKind kind) {
    switch (kind) {
    case MemberKind::Text:
        return "Text";
    case MemberKind::Signed:
        return "Signed";
    case MemberKind::Unsigned:
        return "Unsigned";
    case MemberKind::Float:
        return "Float";
    case MemberKind::Bits:
        return "Bits";
    default:
        return "End";
    }
}

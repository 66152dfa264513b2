#include "tallydrill/cli/hand_layout.h"

#include "tallydrill/cli/tile_names.h"

namespace {

bool is_run(int low, int middle, int high) {
    // Kinds below 27 are suited; a run stays inside one suit's nine numbers.
    return high < 27 && low / 9 == high / 9 && middle == low + 1 && high == low + 2;
}

GroupShape three_tile_shape(const TileCode* codes, int* kind) {
    int kinds[3];
    int sideways = 0;
    for (int i = 0; i < 3; ++i) {
        kinds[i] = tile_kind(codes[i]);
        if (kinds[i] == no_tile_kind) {
            return GroupShape::malformed;
        }
        sideways += is_sideways_code(codes[i]) ? 1 : 0;
    }
    if (sideways != 1) {
        return GroupShape::malformed;
    }
    if (kinds[0] == kinds[1] && kinds[1] == kinds[2]) {
        *kind = kinds[0];
        return GroupShape::pon;
    }
    // The called tile may stand anywhere; sort the three kinds.
    for (int i = 0; i < 2; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            if (kinds[j] < kinds[i]) {
                const int t = kinds[i];
                kinds[i] = kinds[j];
                kinds[j] = t;
            }
        }
    }
    if (is_run(kinds[0], kinds[1], kinds[2])) {
        *kind = kinds[0];
        return GroupShape::chi;
    }
    return GroupShape::malformed;
}

GroupShape four_tile_shape(const TileCode* codes, int* kind) {
    int sideways = 0;
    int shown_kind = no_tile_kind;
    for (int i = 0; i < 4; ++i) {
        if (is_sideways_code(codes[i])) {
            ++sideways;
        }
        if (is_tile_back(codes[i]) && is_upright_code(codes[i])) {
            continue;
        }
        const int k = tile_kind(codes[i]);
        if (k == no_tile_kind || (shown_kind != no_tile_kind && k != shown_kind)) {
            return GroupShape::malformed;
        }
        shown_kind = k;
    }
    if (shown_kind == no_tile_kind) {
        return GroupShape::malformed; // four backs show no tile
    }
    int backs = 0;
    for (int i = 0; i < 4; ++i) {
        backs += is_tile_back(codes[i]) ? 1 : 0;
    }
    GroupShape shape = GroupShape::malformed;
    if (sideways == 0) {
        shape = GroupShape::closed_kan;
    } else if (backs != 0) {
        shape = GroupShape::malformed; // only a closed kan hides tiles
    } else if (sideways == 1) {
        shape = GroupShape::open_kan;
    } else if (sideways == 2) {
        for (int i = 0; i < 3; ++i) {
            if (is_sideways_code(codes[i]) && codes[i + 1] == codes[i]) {
                shape = GroupShape::added_kan;
            }
        }
    }
    if (shape != GroupShape::malformed) {
        *kind = shown_kind;
    }
    return shape;
}

} // namespace

const char* group_shape_name(GroupShape shape) {
    switch (shape) {
    case GroupShape::chi:
        return "chi";
    case GroupShape::pon:
        return "pon";
    case GroupShape::open_kan:
        return "open kan";
    case GroupShape::added_kan:
        return "added kan";
    case GroupShape::closed_kan:
        return "closed kan";
    case GroupShape::malformed:
        break;
    }
    return "malformed group";
}

GroupShape group_shape(const TileCode* codes, std::size_t count, int* kind) {
    int ignored = no_tile_kind;
    int* out = kind != nullptr ? kind : &ignored;
    *out = no_tile_kind;
    if (codes == nullptr) {
        return GroupShape::malformed;
    }
    if (count == 3) {
        return three_tile_shape(codes, out);
    }
    if (count == 4) {
        return four_tile_shape(codes, out);
    }
    return GroupShape::malformed;
}

HandLayout read_hand_layout(const QuestionRecord& record) {
    HandLayout layout{};
    layout.length = hand_length(record);
    layout.terminated = layout.length < hand_capacity;
    while (layout.concealed_count < layout.length &&
           !is_separator_code(record.hand[layout.concealed_count])) {
        ++layout.concealed_count;
    }
    std::size_t i = layout.concealed_count;
    while (i < layout.length && layout.group_count < max_called_groups) {
        CalledGroup& group = layout.groups[layout.group_count++];
        group.separator = i;
        group.first = i + 1;
        std::size_t end = group.first;
        while (end < layout.length && !is_separator_code(record.hand[end])) {
            ++end;
        }
        group.count = end - group.first;
        group.shape = group_shape(record.hand + group.first, group.count, &group.kind);
        i = end;
    }
    return layout;
}

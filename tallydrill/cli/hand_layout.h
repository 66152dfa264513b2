// The parts of a question's `hand`: the concealed tiles and the called groups, each group read
// as the chi, pon or kan it draws.
#pragma once

#include <cstddef>

#include "tallydrill/questions/question_record.h"

enum class GroupShape {
    chi,        // three tiles of a run of one suit, one of them sideways
    pon,        // three equal tiles, one sideways
    open_kan,   // four equal tiles, one sideways (a kan called on a discard)
    added_kan,  // four equal tiles, two equal sideways codes side by side (drawn stacked)
    closed_kan, // four upright codes of one tile, tile backs allowed in any place
    malformed,  // anything else, an empty group included
};

// "chi", "pon", "open kan", "added kan", "closed kan", "malformed group".
const char* group_shape_name(GroupShape shape);

// The shape of the codes of one group and, unless malformed, the kind of its tiles (the lowest
// kind of a chi).
GroupShape group_shape(const TileCode* codes, std::size_t count, int* kind);

struct CalledGroup {
    std::size_t separator; // index of the separator in `hand`
    std::size_t first;     // index of the group's first code
    std::size_t count;     // number of codes up to the next separator or the end of the list
    GroupShape shape;
    int kind; // see group_shape
};

// A list of 32 bytes holds at most 16 groups.
constexpr std::size_t max_called_groups = hand_capacity / 2;

struct HandLayout {
    std::size_t length;          // codes before the 255, or the whole field without one
    bool terminated;             // a 255 stands inside the field
    std::size_t concealed_count; // codes before the first of 80 or more
    CalledGroup groups[max_called_groups];
    std::size_t group_count;
};

HandLayout read_hand_layout(const QuestionRecord& record);

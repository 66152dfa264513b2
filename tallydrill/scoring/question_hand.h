// A question record read as a hand to score: the situation from the question text and the
// tiles from the tile codes (tallydrill/data/TILES.md, the call pictures of the pack README).
#pragma once

#include <cstddef>

#include "tallydrill/questions/question_record.h"
#include "tallydrill/scoring/hand_score.h"

// The one phrasing of the pack and the generator:
//   "<East|South> round, you sit <East|South|West|North> (<dealer|non-dealer>). What is the
//   payment?\n<You declared riichi and win by|Open hand; you win by|Closed hand, no riichi; you
//   win by> <ron on a discard|tsumo (self-draw)>."
// ("\n" here is the two characters backslash and n, as question texts mark a line break.)
// Gives false when the text does not follow it or contradicts itself (a dealer who does not
// sit East, riichi with an open hand is checked by read_question_hand).
bool read_situation(const char* text, std::size_t capacity, HandSituation& situation,
                    bool& open_hand);

// Writes the phrasing for a situation into `text` (zero-filled to `capacity` first); false, with
// nothing written, when it does not fit.
bool write_situation(const HandSituation& situation, bool open_hand, char* text,
                     std::size_t capacity);

// Reads the whole hand: tiles, calls, winning tile, indicators and situation. On failure gives
// false and a one-line reason in `why` (always terminated inside `why_capacity`): a hand of the
// wrong size, five of a tile, a called group that is no group, an unknown tile code, a
// situation that cannot be read.
bool read_question_hand(const QuestionRecord& record, HandInput& hand, char* why,
                        std::size_t why_capacity);

// The tile codes of a hand as the pack draws them (concealed tiles in order, then a separator
// and each called group's picture codes; indicators; winning tile). The situation text is not
// written. False, with the record's tile fields unchanged, when the hand cannot be drawn.
bool write_question_hand(const HandInput& hand, QuestionRecord& record);

// Generated questions: a hand dealt from the wall to a level's taste, scored by the hand scorer,
// and written as a question record with its situation, answers, explanation and time limit.
#pragma once

#include <cstdint>

#include "tallydrill/questions/question_record.h"
#include "tallydrill/scoring/hand_score.h"

enum class QuestionLevel {
    basic,   // 1 to 3 han with the common fu (20 to 40)
    fu,      // below mangan, 40 to 110 fu, with triplets, kans or closed waits to count
    limits,  // mangan to sanbaiman
    yakuman, // yakuman
    all,     // each question one of the four above
};

// "basic", "fu", "limits", "yakuman", "all".
const char* question_level_name(QuestionLevel level);
bool parse_question_level(const char* name, QuestionLevel& level);

struct GeneratedQuestion {
    QuestionRecord record;
    QuestionLevel level; // the level the hand was dealt for (never `all`)
    HandInput hand;
    HandScore score;
};

// Question `index` of the bank of `seed`: the same bytes on every host. Hands are dealt again
// until one fits the level, a bounded number of times; after that the last scorable hand is
// taken. False only when no hand could be scored at all.
bool generate_question(std::uint64_t seed, std::uint32_t index, QuestionLevel level,
                       GeneratedQuestion& question);

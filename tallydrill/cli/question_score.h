// A question file's hand scored by the hand scorer, and its answers held against the score.
// Kept apart from the drawing helpers (hand_layout.h), whose names are for tile pictures.
#pragma once

#include <string>
#include <vector>

#include "tallydrill/questions/question_record.h"

enum class ScoreVerdict {
    agrees,     // the right answer reads as the scored payment
    differs,    // it reads as another score
    unreadable, // the situation or the hand cannot be understood; `why` says which and how
};

struct QuestionScoreReport {
    ScoreVerdict verdict;
    std::string text; // the situation, yaku, dora, fu steps and payment, lines ending with LF
    std::string why;  // for `unreadable`
};

QuestionScoreReport score_question(const QuestionRecord& record);

// For `check`: nothing when the question text does not state the situation in the pack's
// phrasing; otherwise a problem when the hand cannot be scored, when the right answer is not
// the scored payment, and for each wrong answer that is; each line names the field and both
// values.
std::vector<std::string> scored_answer_problems(const QuestionRecord& record);

// A question written out for people: the situation, the tiles by name, the answers and the
// explanation, with the texts' line marks turned into line breaks.
#pragma once

#include <string>

#include "tallydrill/questions/question_record.h"

// Lines end with LF. Codes that name no picture are shown by number, so a damaged record can be
// shown as well.
std::string show_question(const QuestionRecord& record);

// The tile part of show_question: the indicator rows, the concealed tiles, the winning tile and
// the called groups, one line each.
std::string show_question_tiles(const QuestionRecord& record);

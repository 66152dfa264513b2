// A question record as text format data of tallydrill/questions/question.str, in the form
// `layoutpress-cli to-text --line-feed` writes (one line per value or array, CR LF line ends),
// which `layoutpress-cli to-binary` turns back into the same 820 bytes.
#pragma once

#include <string>

#include "tallydrill/questions/question_record.h"

// False, with `text` untouched, when a text field holds a character the text form cannot carry
// as it is (a double quote or a control character) or is not ended inside its field.
bool write_question_text_form(const QuestionRecord& record, std::string& text);

#include "tallydrill/generator/question_text_form.h"

namespace {

constexpr const char* line_end = ",\r\n";

void add_codes(std::string& out, const std::uint8_t* codes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        out += (i == 0 ? " " : ", ") + std::to_string(codes[i]);
    }
    out += line_end;
}

bool add_text(std::string& out, const char* field, std::size_t capacity) {
    const std::size_t length = text_field_length(field, capacity);
    if (length == capacity) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(field[i]);
        if (c < 0x20 || c == 0x7f || c == '"') {
            return false;
        }
    }
    out += " \"" + std::string(field, length) + "\"" + line_end;
    return true;
}

} // namespace

bool write_question_text_form(const QuestionRecord& record, std::string& text) {
    std::string out;
    add_codes(out, &record.reserved, 1);
    add_codes(out, record.dora_indicators, dora_list_capacity);
    add_codes(out, record.back_dora, dora_list_capacity);
    add_codes(out, record.hand, hand_capacity);
    add_codes(out, &record.winning_tile, 1);
    out += " " + std::to_string(question_time_limit(record)) + line_end;
    bool sound = add_text(out, record.question_text, question_text_capacity);
    for (std::size_t i = 0; i < answer_count; ++i) {
        sound = sound && add_text(out, record.answers[i], answer_text_capacity);
    }
    sound = sound && add_text(out, record.explanation, explanation_capacity);
    if (sound) {
        text = out;
    }
    return sound;
}

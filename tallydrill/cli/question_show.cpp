#include "tallydrill/cli/question_show.h"

#include <string_view>

#include "tallydrill/cli/hand_layout.h"
#include "tallydrill/cli/tile_names.h"

namespace {

const char* const answer_labels[answer_count] = {"right", "wrong", "wrong", "wrong"};

std::string code_name(TileCode code) {
    if (const char* name = tile_name(code)) {
        return name;
    }
    if (is_separator_code(code)) {
        return "separator " + std::to_string(code);
    }
    return "code " + std::to_string(code);
}

// A list of tiles: "1-man, 2-man, 3-man"; sideways codes marked.
std::string tile_list(const TileCode* codes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += code_name(codes[i]);
        if (is_sideways_code(codes[i])) {
            const bool stacked = i + 1 < count && codes[i + 1] == codes[i];
            text += stacked ? " (sideways, stacked pair)" : " (sideways)";
            if (stacked) {
                ++i; // the pair takes one place
            }
        }
    }
    return text.empty() ? "(none)" : text;
}

std::string indicator_row(const TileCode* list) {
    const std::size_t count = tile_list_length(list, dora_list_capacity);
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += i == 0 ? "" : ", ";
        text += code_name(list[i]);
        if (const char* dora = tile_kind_name(dora_kind_for_indicator(tile_kind(list[i])))) {
            text += std::string(" (dora ") + dora + ")";
        }
    }
    return text.empty() ? "(none)" : text;
}

// The text with each backslash and the character after it as a line break, every line
// indented.
std::string indented_text(std::string_view text) {
    std::string result = "  ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            result += "\n  ";
            ++i;
        } else {
            result += text[i];
        }
    }
    return result + "\n";
}

} // namespace

std::string show_question_tiles(const QuestionRecord& record) {
    std::string out;
    out += "dora indicators: " + indicator_row(record.dora_indicators) + "\n";
    out += "back dora indicators: " + indicator_row(record.back_dora) + "\n";
    const HandLayout layout = read_hand_layout(record);
    out += "concealed tiles: " + tile_list(record.hand, layout.concealed_count) + "\n";
    out += "winning tile: " + code_name(record.winning_tile) +
           (is_sideways_code(record.winning_tile) ? " (sideways)" : "") + "\n";
    if (layout.group_count == 0) {
        out += "called groups: (none)\n";
    }
    for (std::size_t g = 0; g < layout.group_count; ++g) {
        const CalledGroup& group = layout.groups[g];
        out += "called group " + std::to_string(g + 1) + ", " + group_shape_name(group.shape) +
               ": " + tile_list(record.hand + group.first, group.count) + "\n";
    }
    if (!layout.terminated) {
        out += "(the hand list has no 255)\n";
    }
    return out;
}

std::string show_question(const QuestionRecord& record) {
    std::string out;
    out += "question:\n";
    out += indented_text(text_field(record.question_text, question_text_capacity));
    out += "time limit: " + std::to_string(question_time_limit(record)) + " seconds\n";
    out += show_question_tiles(record);
    out += "answers:\n";
    for (std::size_t i = 0; i < answer_count; ++i) {
        out += std::string("  ") + answer_labels[i] + ": " + std::string(answer_text(record, i)) +
               "\n";
    }
    out += "explanation:\n";
    out += indented_text(text_field(record.explanation, explanation_capacity));
    return out;
}

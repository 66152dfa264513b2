#include "tallydrill/cli/question_check.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "tallydrill/cli/hand_layout.h"
#include "tallydrill/cli/question_score.h"
#include "tallydrill/cli/tile_names.h"
#include "tallydrill/practice/score_answer.h"
#include "tallydrill/questions/question_record.h"

namespace {

constexpr int tiles_of_a_kind = 4;
constexpr std::size_t complete_hand_tiles = 14;
constexpr std::size_t group_places = 4;

const char* const answer_field_names[answer_count] = {"answer_right", "answer_wrong_1",
                                                      "answer_wrong_2", "answer_wrong_3"};

class Problems {
  public:
    void add(std::string text) { list_.push_back(std::move(text)); }
    std::vector<std::string> take() { return std::move(list_); }

  private:
    std::vector<std::string> list_;
};

std::string code_text(TileCode code) {
    std::string text = "code " + std::to_string(code);
    if (const char* name = tile_name(code)) {
        text += std::string(" (") + name + (is_sideways_code(code) ? ", sideways)" : ")");
    }
    return text;
}

std::string entry_text(std::size_t index) {
    return "entry " + std::to_string(index);
}

// A dora row: picture codes drawn upright; backs and blank faces may cover a place.
void check_dora_row(const char* field, const TileCode* list, Problems& problems) {
    const std::size_t length = tile_list_length(list, dora_list_capacity);
    if (length == dora_list_capacity) {
        problems.add(std::string(field) + ": no 255 ends the list inside its " +
                     std::to_string(dora_list_capacity) + " bytes");
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (!is_picture_code(list[i])) {
            problems.add(std::string(field) + ": " + entry_text(i) + " is " + code_text(list[i]) +
                         ", not a tile picture");
        } else if (is_sideways_code(list[i])) {
            problems.add(std::string(field) + ": " + entry_text(i) + " is " + code_text(list[i]) +
                         "; indicators are drawn upright");
        }
    }
}

void check_concealed(const QuestionRecord& record, const HandLayout& layout, Problems& problems) {
    for (std::size_t i = 0; i < layout.concealed_count; ++i) {
        const TileCode code = record.hand[i];
        if (is_sideways_code(code)) {
            problems.add("hand: concealed " + entry_text(i) + " is " + code_text(code) +
                         "; concealed tiles are drawn upright");
        } else if (tile_kind(code) == no_tile_kind) {
            problems.add("hand: concealed " + entry_text(i) + " is " + code_text(code) +
                         ", not a tile of the hand");
        }
    }
}

// Returns whether every group is well formed.
bool check_groups(const QuestionRecord& record, const HandLayout& layout, Problems& problems) {
    bool sound = true;
    for (std::size_t g = 0; g < layout.group_count; ++g) {
        const CalledGroup& group = layout.groups[g];
        const std::string name = "hand: called group " + std::to_string(g + 1);
        if (group.count == 0) {
            sound = false;
            if (group.first < layout.length) {
                problems.add(name + ": two separators in a row at entries " +
                             std::to_string(group.separator) + " and " +
                             std::to_string(group.first));
            } else {
                problems.add(name + ": the separator at " + entry_text(group.separator) +
                             " opens no group before the end of the list");
            }
            continue;
        }
        if (group.shape == GroupShape::malformed) {
            sound = false;
            std::string codes;
            for (std::size_t i = 0; i < group.count; ++i) {
                codes += (i == 0 ? "" : ", ") + std::to_string(record.hand[group.first + i]);
            }
            problems.add(name + " (" + codes +
                         ") is no chi, pon or kan: a chi or pon is three tiles with one "
                         "sideways, an open kan four with one sideways, an added kan four with "
                         "a stacked pair of equal sideways codes, a closed kan four upright");
        }
    }
    if (layout.group_count > group_places) {
        sound = false;
        problems.add("hand: " + std::to_string(layout.group_count) +
                     " called groups; the display has places for " + std::to_string(group_places));
    }
    return sound;
}

void check_tile_counts(const QuestionRecord& record, const HandLayout& layout, Problems& problems) {
    int counts[tile_kind_count] = {};
    auto count_code = [&counts](TileCode code) {
        const int kind = tile_kind(code);
        if (kind != no_tile_kind) {
            ++counts[kind];
        }
    };
    for (std::size_t i = 0; i < layout.concealed_count; ++i) {
        count_code(record.hand[i]);
    }
    for (std::size_t g = 0; g < layout.group_count; ++g) {
        const CalledGroup& group = layout.groups[g];
        if (group.shape == GroupShape::closed_kan) {
            counts[group.kind] += tiles_of_a_kind; // the backs hide the same tile
            continue;
        }
        for (std::size_t i = 0; i < group.count; ++i) {
            count_code(record.hand[group.first + i]);
        }
    }
    count_code(record.winning_tile);
    for (std::size_t i = 0; i < dora_indicator_count(record); ++i) {
        count_code(record.dora_indicators[i]);
    }
    for (std::size_t i = 0; i < back_dora_count(record); ++i) {
        count_code(record.back_dora[i]);
    }
    for (int kind = 0; kind < tile_kind_count; ++kind) {
        if (counts[kind] > tiles_of_a_kind) {
            problems.add(std::string("tiles: ") + std::to_string(counts[kind]) + " of " +
                         tile_kind_name(kind) + " counting the dora indicators; a set has four");
        }
    }
}

void check_text(const char* field_name, const char* field, std::size_t capacity,
                Problems& problems) {
    if (text_field_length(field, capacity) == capacity) {
        problems.add(std::string(field_name) + ": no NUL ends the text inside its " +
                     std::to_string(capacity) + " bytes");
    }
}

void check_answers(const QuestionRecord& record, Problems& problems) {
    for (std::size_t i = 0; i < answer_count; ++i) {
        check_text(answer_field_names[i], record.answers[i], answer_text_capacity, problems);
        if (answer_text(record, i).empty()) {
            problems.add(std::string(answer_field_names[i]) + ": the answer is empty");
        }
    }
    for (std::size_t i = 0; i < answer_count; ++i) {
        for (std::size_t j = i + 1; j < answer_count; ++j) {
            if (!answer_text(record, i).empty() &&
                answer_text(record, i) == answer_text(record, j)) {
                problems.add(std::string(answer_field_names[j]) + ": the same text as " +
                             answer_field_names[i] + " (\"" + std::string(answer_text(record, i)) +
                             "\")");
            }
        }
    }
    const std::string_view right = answer_text(record, 0);
    if (parse_score_answer(right).invalid) {
        problems.add(std::string(answer_field_names[0]) + ": \"" + std::string(right) +
                     "\" is not a score text (such as 8000, 1000 2000 or 2600 a), so a typed "
                     "answer cannot be judged");
        return;
    }
    for (std::size_t i = 1; i < answer_count; ++i) {
        const std::string_view wrong = answer_text(record, i);
        if (!wrong.empty() && wrong != right &&
            compare_score_answers(right, wrong) == ScoreComparison::right) {
            problems.add(std::string(answer_field_names[i]) + ": \"" + std::string(wrong) +
                         "\" reads as the same score as the right answer \"" + std::string(right) +
                         "\"");
        }
    }
}

} // namespace

std::vector<std::string> check_question(const std::uint8_t* bytes, std::size_t size) {
    Problems problems;
    if (size != question_record_size) {
        problems.add("size: " + std::to_string(size) + " bytes; a question file holds exactly " +
                     std::to_string(question_record_size));
        if (size < question_record_size) {
            return problems.take();
        }
    }
    QuestionRecord record;
    std::memset(&record, 0, sizeof record);
    read_question_bytes(record, bytes, size);

    check_dora_row("dora_indicators", record.dora_indicators, problems);
    check_dora_row("back_dora", record.back_dora, problems);

    const HandLayout layout = read_hand_layout(record);
    if (!layout.terminated) {
        problems.add("hand: no 255 ends the list inside its " + std::to_string(hand_capacity) +
                     " bytes");
    }
    check_concealed(record, layout, problems);
    const bool groups_sound = check_groups(record, layout, problems);

    const TileCode winning = record.winning_tile;
    if (is_sideways_code(winning)) {
        problems.add("winning_tile: " + code_text(winning) + "; the winning tile is drawn upright");
    } else if (tile_kind(winning) == no_tile_kind) {
        problems.add("winning_tile: " + code_text(winning) + " is not a tile of the hand");
    }

    if (groups_sound) {
        const std::size_t tiles = layout.concealed_count + 1 + 3 * layout.group_count;
        if (tiles != complete_hand_tiles) {
            problems.add("hand: " + std::to_string(layout.concealed_count) +
                         " concealed tiles, the winning tile and " +
                         std::to_string(layout.group_count) + " called groups make " +
                         std::to_string(tiles) + " tiles; a winning hand has 14 (a kan counts 3)");
        }
    }
    check_tile_counts(record, layout, problems);

    const std::int32_t limit = question_time_limit(record);
    if (limit <= 0) {
        problems.add("time_limit: " + std::to_string(limit) +
                     " seconds; the limit must be positive");
    }
    check_text("question_text", record.question_text, question_text_capacity, problems);
    check_answers(record, problems);
    check_text("explanation", record.explanation, explanation_capacity, problems);
    for (std::string& problem : scored_answer_problems(record)) {
        problems.add(std::move(problem));
    }
    return problems.take();
}

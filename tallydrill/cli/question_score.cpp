#include "tallydrill/cli/question_score.h"

#include "tallydrill/generator/explanation.h"
#include "tallydrill/practice/score_answer.h"
#include "tallydrill/scoring/hand_score.h"
#include "tallydrill/scoring/question_hand.h"

namespace {

constexpr std::size_t why_capacity = 160;

const char* const wind_names[] = {"East", "South", "West", "North"};
const char* const limit_names[] = {"none", "mangan", "haneman", "baiman", "sanbaiman", "yakuman"};
const char* const answer_fields[answer_count] = {"answer_right", "answer_wrong_1", "answer_wrong_2",
                                                 "answer_wrong_3"};

struct ScoredHand {
    bool situation_read;
    bool scored;
    std::string why;
    bool open_hand;
    HandInput hand;
    HandScore score;
};

ScoredHand score_record(const QuestionRecord& record) {
    ScoredHand result{};
    const auto text = terminated_copy(record.question_text);
    result.situation_read =
        read_situation(text.text, sizeof text.text, result.hand.situation, result.open_hand);
    if (!result.situation_read) {
        result.why = "the question text does not state the situation in the pack's phrasing";
        return result;
    }
    char why[why_capacity] = {};
    if (!read_question_hand(record, result.hand, why, sizeof why)) {
        result.why = why;
        return result;
    }
    const ScoreError error = score_hand(result.hand, result.score);
    if (error != ScoreError::none) {
        result.why = score_error_text(error);
        return result;
    }
    result.scored = true;
    return result;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string situation_line(const HandSituation& s, bool open_hand) {
    return std::string(wind_names[static_cast<int>(s.round_wind)]) + " round, seat " +
           wind_names[static_cast<int>(s.seat_wind)] +
           (s.seat_wind == Wind::east ? " (dealer), " : " (non-dealer), ") +
           (open_hand  ? "open hand"
            : s.riichi ? "riichi"
                       : "closed hand, no riichi") +
           ", " + (s.tsumo ? "tsumo" : "ron");
}

std::string score_lines(const HandScore& score) {
    std::string out = "yaku:";
    for (int i = 0; i < score.yaku_count && i < max_yaku_lines; ++i) {
        out += std::string(i == 0 ? " " : ", ") + yaku_name(score.yaku[i].yaku) + " " +
               (score.yaku[i].yaku >= first_yakuman ? std::string("yakuman")
                                                    : std::to_string(score.yaku[i].han));
    }
    out += "\ndora " + std::to_string(score.dora) + ", back dora " +
           std::to_string(score.back_dora) + ", red fives " + std::to_string(score.red_fives) +
           "\n";
    if (score.yakuman_count > 0) {
        out += "yakuman: " + std::to_string(score.yakuman_count) + "\n";
    } else {
        out += "han: " + std::to_string(score.han) + "\n";
    }
    out += "fu:";
    for (int i = 0; i < score.fu_step_count && i < max_fu_steps; ++i) {
        out += (i == 0 ? " " : " + ") + fu_step_text(score.fu_steps[i]);
    }
    out += " = " + std::to_string(score.fu_unrounded);
    if (score.fu != score.fu_unrounded) {
        out += " -> " + std::to_string(score.fu);
    }
    out += std::string("\nlimit: ") + limit_names[static_cast<int>(score.limit)] +
           "\nbasic points: " + std::to_string(score.basic_points) + "\npayment: " + score.payment +
           "\n";
    return out;
}

bool reads_as(std::string_view payment, std::string_view answer) {
    return compare_score_answers(payment, answer) == ScoreComparison::right;
}

} // namespace

QuestionScoreReport score_question(const QuestionRecord& record) {
    QuestionScoreReport report{ScoreVerdict::unreadable, std::string(), std::string()};
    const ScoredHand scored = score_record(record);
    if (!scored.scored) {
        report.why = scored.why;
        return report;
    }
    const std::string_view right = answer_text(record, 0);
    report.verdict =
        reads_as(scored.score.payment, right) ? ScoreVerdict::agrees : ScoreVerdict::differs;
    report.text =
        "situation: " + situation_line(scored.hand.situation, scored.open_hand) + "\n" +
        score_lines(scored.score) + "right answer: " + quoted(right) +
        (report.verdict == ScoreVerdict::agrees ? " agrees" : " differs from the payment") + "\n";
    return report;
}

std::vector<std::string> scored_answer_problems(const QuestionRecord& record) {
    const ScoredHand scored = score_record(record);
    if (!scored.situation_read) {
        return {};
    }
    if (!scored.scored) {
        return {"hand: cannot be scored: " + scored.why};
    }
    const std::string payment = quoted(scored.score.payment);
    std::vector<std::string> problems;
    const std::string_view right = answer_text(record, 0);
    if (reads_as(scored.score.payment, right)) {
        return problems; // a wrong answer equal to it is already a problem of check_question
    }
    problems.push_back(std::string(answer_fields[0]) + ": " + quoted(right) +
                       " is not the hand's payment " + payment);
    for (std::size_t i = 1; i < answer_count; ++i) {
        const std::string_view wrong = answer_text(record, i);
        if (reads_as(scored.score.payment, wrong)) {
            problems.push_back(std::string(answer_fields[i]) + ": " + quoted(wrong) +
                               " reads as the hand's payment " + payment);
        }
    }
    return problems;
}

#include "tallydrill/generator/question_generator.h"

#include <cstring>
#include <string>

#include "tallydrill/generator/explanation.h"
#include "tallydrill/generator/generator_random.h"
#include "tallydrill/generator/hand_themes.h"
#include "tallydrill/generator/mistaken_answers.h"
#include "tallydrill/generator/wall.h"
#include "tallydrill/scoring/question_hand.h"

namespace {

// Enough for the rarest level (yakuman takes a few dozen deals on average). A theme is kept for
// a number of deals, so that themes that seldom come off still get their share of a bank.
constexpr int max_deals = 4000;
constexpr int deals_per_theme = 100;
constexpr int tsumo_percent = 45;

struct ThemeWeight {
    HandTheme theme;
    int weight;
};

const ThemeWeight basic_themes[] = {
    {HandTheme::mixed, 30},   {HandTheme::tanyao, 20},    {HandTheme::pinfu, 22},
    {HandTheme::yakuhai, 15}, {HandTheme::chiitoitsu, 7}, {HandTheme::iipeikou, 6},
};
const ThemeWeight fu_themes[] = {
    {HandTheme::triplets, 60}, {HandTheme::yakuhai, 20}, {HandTheme::mixed, 10},
    {HandTheme::toitoi, 5},    {HandTheme::sanankou, 5}, {HandTheme::sankantsu, 4},
    {HandTheme::doukou, 2},
};
const ThemeWeight limit_themes[] = {
    {HandTheme::honitsu, 14},   {HandTheme::chinitsu, 10},  {HandTheme::toitoi, 10},
    {HandTheme::ittsu, 8},      {HandTheme::sanshoku, 8},   {HandTheme::chanta, 8},
    {HandTheme::ryanpeikou, 4}, {HandTheme::sanankou, 6},   {HandTheme::shousangen, 5},
    {HandTheme::honroutou, 3},  {HandTheme::tanyao, 8},     {HandTheme::pinfu, 8},
    {HandTheme::iipeikou, 6},   {HandTheme::chiitoitsu, 4}, {HandTheme::doukou, 3},
};
const ThemeWeight yakuman_themes[] = {
    {HandTheme::kokushi, 10},     {HandTheme::suuankou, 10},   {HandTheme::daisangen, 10},
    {HandTheme::shousuushii, 10}, {HandTheme::daisuushii, 10}, {HandTheme::tsuuiisou, 10},
    {HandTheme::chinroutou, 10},  {HandTheme::ryuuiisou, 10},  {HandTheme::chuuren, 10},
    {HandTheme::suukantsu, 10},
};

// The share of each level in a bank of `all`, and each level's seconds to answer.
const int all_level_weights[] = {40, 25, 25, 10};
const int time_limits[] = {45, 90, 60, 40};

template <std::size_t N>
HandTheme pick_theme(const ThemeWeight (&themes)[N], GeneratorRandom& random) {
    int weights[N];
    for (std::size_t i = 0; i < N; ++i) {
        weights[i] = themes[i].weight;
    }
    return themes[random_weighted(random, weights, static_cast<int>(N))].theme;
}

HandTheme theme_for(QuestionLevel level, GeneratorRandom& random) {
    switch (level) {
    case QuestionLevel::fu:
        return pick_theme(fu_themes, random);
    case QuestionLevel::limits:
        return pick_theme(limit_themes, random);
    case QuestionLevel::yakuman:
        return pick_theme(yakuman_themes, random);
    default:
        return pick_theme(basic_themes, random);
    }
}

bool fu_to_count(const HandScore& score) {
    for (int i = 0; i < score.fu_step_count && i < max_fu_steps; ++i) {
        switch (score.fu_steps[i].item) {
        case FuItem::open_triplet:
        case FuItem::closed_triplet:
        case FuItem::open_kan:
        case FuItem::closed_kan:
        case FuItem::kanchan_wait:
        case FuItem::penchan_wait:
        case FuItem::tanki_wait:
            return true;
        default:
            break;
        }
    }
    return false;
}

bool fits_level(const HandScore& score, QuestionLevel level) {
    switch (level) {
    case QuestionLevel::basic:
        return score.limit == LimitName::none && score.han >= 1 && score.han <= 3 && score.fu <= 40;
    case QuestionLevel::fu:
        return score.limit == LimitName::none && score.fu >= 40 && score.fu <= 110 &&
               fu_to_count(score);
    case QuestionLevel::limits:
        return score.limit != LimitName::none && score.limit != LimitName::yakuman;
    case QuestionLevel::yakuman:
        return score.yakuman_count > 0;
    case QuestionLevel::all:
        break;
    }
    return true;
}

HandSituation random_situation(GeneratorRandom& random) {
    HandSituation situation{};
    situation.round_wind = random_below(random, 2) == 0 ? Wind::east : Wind::south;
    situation.seat_wind = static_cast<Wind>(random_below(random, 4));
    situation.tsumo = random_percent(random, tsumo_percent);
    situation.riichi = false; // the hand decides
    return situation;
}

bool is_open(const HandInput& hand) {
    for (int i = 0; i < hand.call_count; ++i) {
        if (hand.calls[i].kind != CallKind::closed_kan) {
            return true;
        }
    }
    return false;
}

void copy_text(char* field, std::size_t capacity, const std::string& text) {
    std::memset(field, 0, capacity);
    const std::size_t length = text.size() < capacity ? text.size() : capacity - 1;
    std::memcpy(field, text.data(), length);
}

bool write_record(GeneratedQuestion& q, GeneratorRandom& random) {
    QuestionRecord& record = q.record;
    std::memset(&record, 0, sizeof record);
    if (!write_question_hand(q.hand, record) ||
        !write_situation(q.hand.situation, is_open(q.hand), record.question_text,
                         question_text_capacity)) {
        return false;
    }
    set_question_time_limit(record, time_limits[static_cast<int>(q.level)]);
    copy_text(record.answers[0], answer_text_capacity, q.score.payment);
    char wrong[3][score_text_capacity];
    write_mistaken_answers(q.score, q.hand.situation, random, wrong);
    for (int i = 0; i < 3; ++i) {
        copy_text(record.answers[1 + i], answer_text_capacity, wrong[i]);
    }
    copy_text(record.explanation, explanation_capacity,
              write_explanation(q.score, q.hand.situation, explanation_capacity));
    return true;
}

} // namespace

const char* question_level_name(QuestionLevel level) {
    switch (level) {
    case QuestionLevel::basic:
        return "basic";
    case QuestionLevel::fu:
        return "fu";
    case QuestionLevel::limits:
        return "limits";
    case QuestionLevel::yakuman:
        return "yakuman";
    case QuestionLevel::all:
        break;
    }
    return "all";
}

bool parse_question_level(const char* name, QuestionLevel& level) {
    const QuestionLevel levels[] = {QuestionLevel::basic, QuestionLevel::fu, QuestionLevel::limits,
                                    QuestionLevel::yakuman, QuestionLevel::all};
    for (QuestionLevel each : levels) {
        if (name != nullptr && std::strcmp(name, question_level_name(each)) == 0) {
            level = each;
            return true;
        }
    }
    return false;
}

bool generate_question(std::uint64_t seed, std::uint32_t index, QuestionLevel level,
                       GeneratedQuestion& question) {
    GeneratorRandom random = question_random(seed, index);
    if (level == QuestionLevel::all) {
        level = static_cast<QuestionLevel>(random_weighted(random, all_level_weights, 4));
    }
    question.level = level;
    bool have_fallback = false;
    GeneratedQuestion fallback;
    HandTheme theme = theme_for(level, random);
    for (int deal = 0; deal < max_deals; ++deal) {
        if (deal > 0 && deal % deals_per_theme == 0) {
            theme = theme_for(level, random);
        }
        Wall wall;
        fill_wall(wall);
        HandInput hand{};
        if (!deal_themed_hand(theme, random_situation(random), wall, random, hand)) {
            continue;
        }
        HandScore score;
        if (score_hand(hand, score) != ScoreError::none) {
            continue;
        }
        question.hand = hand;
        question.score = score;
        if (!write_record(question, random)) {
            continue;
        }
        if (fits_level(score, level)) {
            return true;
        }
        if (!have_fallback) {
            fallback = question;
            have_fallback = true;
        }
    }
    if (have_fallback) {
        question = fallback;
    }
    return have_fallback;
}

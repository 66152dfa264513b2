#include "tallydrill/generator/mistaken_answers.h"

#include <cstdio>
#include <cstring>

#include "tallydrill/practice/score_answer.h"
#include "tallydrill/scoring/score_payment.h"

namespace {

constexpr std::int32_t yakuman_points = 8000;
constexpr int wrong_answer_count = 3;

std::int32_t round_up_100(std::int32_t points) {
    return (points + 99) / 100 * 100;
}

struct Mistake {
    int han;
    int fu;
    int yakuman;
    bool dealer;
    bool tsumo;
};

} // namespace

std::int32_t limited_basic_points(int han, int fu, int yakuman) {
    return yakuman > 0 ? yakuman_points * yakuman : basic_points(han, fu);
}

void write_payment_text(std::int32_t basic_points, bool dealer, bool tsumo, char* text,
                        std::size_t capacity) {
    const long ron = round_up_100(basic_points * (dealer ? 6 : 4));
    const long single = round_up_100(basic_points);
    const long twice = round_up_100(basic_points * 2);
    if (!tsumo) {
        std::snprintf(text, capacity, "%ld", ron);
    } else if (dealer) {
        std::snprintf(text, capacity, "%ld a", twice);
    } else {
        std::snprintf(text, capacity, "%ld %ld", single, twice);
    }
}

void write_mistaken_answers(const HandScore& score, const HandSituation& situation,
                            GeneratorRandom& random, char (*answers)[score_text_capacity]) {
    const bool dealer = situation.seat_wind == Wind::east;
    const bool tsumo = situation.tsumo;
    const int yakuman = score.yakuman_count;
    // A yakuman's han and fu do not count; these stand in for the limits just below it.
    const int han = yakuman > 0 ? 13 : score.han;
    const int fu = score.fu >= 20 ? score.fu : 30;
    // A fu step is 10 after rounding (chiitoitsu's 25 fu taken for 30 is the same slip).
    const int fu_down = fu == 25 ? 20 : fu - 10;
    const int fu_up = fu == 25 ? 30 : fu + 10;
    const int han_down = yakuman > 0 ? 12 : han - 1;
    const int yakuman_down = 0;
    Mistake usual[] = {
        {han, fu, yakuman, !dealer, tsumo},                          // the other seat's payment
        {han, fu, yakuman, dealer, !tsumo},                          // ron and tsumo mixed up
        {han_down, fu, yakuman_down, dealer, tsumo},                 // a han missed
        {han + 1, fu, yakuman > 0 ? yakuman + 1 : 0, dealer, tsumo}, // a han too many
        {han, fu_down, yakuman, dealer, tsumo},                      // a fu step missed
        {han, fu_up, yakuman, dealer, tsumo},                        // a fu step added
    };
    const int usual_count = static_cast<int>(sizeof usual / sizeof usual[0]);
    for (int i = 0; i < usual_count - 1; ++i) {
        const int j = i + random_below(random, usual_count - i);
        const Mistake kept = usual[i];
        usual[i] = usual[j];
        usual[j] = kept;
    }
    // Two slips at once, when single slips give too few different payments (limit hands).
    const Mistake doubled[] = {
        {han, fu, yakuman, !dealer, !tsumo},
        {han_down, fu, yakuman_down, !dealer, tsumo},
        {han + 1, fu, yakuman > 0 ? yakuman + 1 : 0, !dealer, tsumo},
        {han_down, fu, yakuman_down, dealer, !tsumo},
        {han + 2, fu, yakuman > 0 ? yakuman + 2 : 0, dealer, tsumo},
        {han + 3, fu, yakuman > 0 ? yakuman + 3 : 0, dealer, tsumo},
    };
    const char* right = score.payment;

    int found = 0;
    auto consider = [&](const Mistake& m) {
        if (found == wrong_answer_count || (m.yakuman == 0 && (m.han < 1 || m.fu < 20))) {
            return;
        }
        char text[score_text_capacity];
        write_payment_text(limited_basic_points(m.han, m.fu, m.yakuman), m.dealer, m.tsumo, text,
                           sizeof text);
        if (compare_score_answers(right, text) == ScoreComparison::right) {
            return;
        }
        for (int i = 0; i < found; ++i) {
            if (std::strcmp(answers[i], text) == 0) {
                return;
            }
        }
        std::memcpy(answers[found++], text, sizeof text);
    };
    for (const Mistake& m : usual) {
        consider(m);
    }
    for (const Mistake& m : doubled) {
        consider(m);
    }
    // Never reached for a real hand; keeps three answers whatever the score: each step pays
    // more than the one before, so three of them differ from the right one and each other.
    for (int extra = 1; found < wrong_answer_count && extra <= 2 * wrong_answer_count; ++extra) {
        consider(Mistake{han, fu, yakuman + 3 + extra, dealer, tsumo});
    }
}

// The wrong choices are the payments of the usual slips, never the right payment, never twice.
#include "tallydrill/generator/mistaken_answers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "tallydrill/practice/score_answer.h"

namespace {

struct Row {
    const char* hand;
    int han;
    int fu;
    int yakuman;
    Wind seat;
    bool tsumo;
    const char* right;
    const char* slips; // each payment one slip gives other than the right one, sorted, by |
};

TEST(MistakenAnswers, AreTheSlipsOfTheHandAndNeverTheRightPayment) {
    const Row rows[] = {
        {"1 han 30 fu, non-dealer ron", 1, 30, 0, Wind::south, false, "1000",
         "1300|1500|2000|300 500|700"},
        {"chiitoitsu 2 han 25 fu, dealer tsumo", 2, 25, 0, Wind::east, true, "800 a",
         "1000 a|1600 a|2400|400 800|400 a|700 a"},
        {"sanbaiman, dealer tsumo: fu and one han more change nothing", 11, 40, 0, Wind::east, true,
         "12000 a", "36000|6000 12000|8000 a"},
        {"yakuman, non-dealer ron", 0, 0, 1, Wind::west, false, "32000",
         "24000|48000|64000|8000 16000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.hand);
        HandScore score{};
        score.han = row.han;
        score.fu = row.fu;
        score.yakuman_count = row.yakuman;
        std::strcpy(score.payment, row.right);
        const HandSituation situation{Wind::east, row.seat, false, row.tsumo};
        std::set<std::string> seen;
        for (std::uint32_t stream = 0; stream < 60; ++stream) {
            GeneratorRandom random = question_random(stream, 0);
            char answers[3][score_text_capacity];
            write_mistaken_answers(score, situation, random, answers);
            std::set<std::string> distinct;
            for (const char* answer : answers) {
                EXPECT_FALSE(parse_score_answer(answer).invalid) << answer;
                EXPECT_EQ(compare_score_answers(row.right, answer), ScoreComparison::wrong)
                    << answer;
                distinct.insert(answer);
                seen.insert(answer);
            }
            EXPECT_EQ(distinct.size(), 3u);
        }
        // With three single slips or more to choose from, only single slips are offered, each
        // of them sometimes.
        std::string offered;
        for (const std::string& answer : seen) {
            offered += (offered.empty() ? "" : "|") + answer;
        }
        EXPECT_EQ(offered, row.slips);
    }
}

} // namespace

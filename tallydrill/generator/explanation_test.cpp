#include "tallydrill/generator/explanation.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tallydrill/scoring/hand_notation_test_support.h"

namespace {

// The hand of the pack's q14: a closed kan of North and a closed 9-man triplet, dealer ron.
TEST(Explanation, ReadsLikeThePack) {
    HandInput hand;
    ASSERT_TRUE(
        hand_notation::parse_hand("999m234p5688s 7s ron E/E riichi ankan:4444z dora:1p", hand));
    HandScore score;
    ASSERT_EQ(score_hand(hand, score), ScoreError::none);
    EXPECT_EQ(write_explanation(score, hand.situation, 256),
              "Riichi 1 + dora 1 = 2 han.\\n"
              "Fu: 20 + 10 closed ron + 8 closed 9-man triplet +\\n"
              "32 closed kan of North = 70.\\n"
              "Basic points: 70 x 2^(2+2) = 1120.\\n"
              "Dealer ron: 1120 x 6 = 6720 -> 6800.");
}

// Six lines of 64 characters with every number of the payment; the fu give way first.
TEST(Explanation, TheLongestHandStillFits) {
    HandScore score{};
    const Yaku yaku[] = {Yaku::riichi,       Yaku::menzen_tsumo, Yaku::sanshoku_doukou,
                         Yaku::white_dragon, Yaku::green_dragon, Yaku::sanankou,
                         Yaku::honroutou,    Yaku::toitoi,       Yaku::honitsu};
    for (Yaku each : yaku) {
        score.yaku[score.yaku_count++] = YakuHan{each, 2};
    }
    score.dora = 12;
    score.red_fives = 3;
    score.back_dora = 12;
    score.han = 45;
    for (int i = 0; i < max_fu_steps; ++i) {
        score.fu_steps[score.fu_step_count++] = FuStep{FuItem::closed_kan, 32, 31};
    }
    score.fu_unrounded = 384;
    score.fu = 390;
    score.yakuman_count = 1; // 13 han or more: counted as yakuman
    score.limit = LimitName::yakuman;
    score.basic_points = 8000;
    const HandSituation tsumo{Wind::south, Wind::north, true, true};
    const std::string text = write_explanation(score, tsumo, 256);
    EXPECT_LT(text.size(), 256u);
    std::istringstream lines(text); // a backslash and the letter after it end a line
    int count = 0;
    for (std::string line; std::getline(lines, line, '\\'); ++count) {
        EXPECT_LE(line.size() - (count ? 1 : 0), 64u) << line;
    }
    EXPECT_LE(count, 6) << text;
    for (const char* part : {"45 han", "8000 from each non-dealer", "16000 from the dealer"}) {
        EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
    }
}

} // namespace

#include "tallydrill/generator/explanation.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

TEST(Explanation, ReadsLikeThePack) {
    HandScore score{};
    score.yaku[0] = YakuHan{Yaku::riichi, 1};
    score.yaku_count = 1;
    score.dora = 1;
    score.han = 2;
    score.fu_steps[0] = FuStep{FuItem::base, 20, 0};
    score.fu_steps[1] = FuStep{FuItem::closed_ron, 10, 0};
    score.fu_steps[2] = FuStep{FuItem::closed_kan, 32, 30};
    score.fu_steps[3] = FuStep{FuItem::closed_triplet, 8, 8};
    score.fu_step_count = 4;
    score.fu_unrounded = 70;
    score.fu = 70;
    score.basic_points = 1120;
    const HandSituation dealer_ron{Wind::east, Wind::east, true, false};
    EXPECT_EQ(write_explanation(score, dealer_ron, 256),
              "Riichi 1 + dora 1 = 2 han.\\n"
              "Fu: 20 + 10 closed ron + 32 closed kan of North +\\n"
              "8 closed 9-man triplet = 70.\\n"
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

// Yaku names and refused faults; han, fu and payment are held by the oracle fixture's test.
#include <gtest/gtest.h>

#include <string>

#include "tallydrill/scoring/hand_notation_test_support.h"

namespace {

// The answer as the oracle fixture records it, then the yaku: ": Yaku han, ...".
std::string describe(const std::string& notation) {
    HandInput hand;
    if (!hand_notation::parse_hand(notation, hand)) {
        return "unreadable notation";
    }
    HandScore score;
    const ScoreError error = score_hand(hand, score);
    std::string text = hand_notation::answer_of(score, error);
    for (int i = 0; error == ScoreError::none && i < score.yaku_count; ++i) {
        text += std::string(i ? ", " : ": ") + yaku_name(score.yaku[i].yaku) + " " +
                std::to_string(score.yaku[i].han);
    }
    return text;
}

TEST(ScoreHand, YakuAndRefusals) {
    const struct {
        const char* hand;
        const char* answer;
    } rows[] = {
        {"5556667z123m789p 7z ron E/S dora:1s", // shousangen with both dragons and chanta
         "6 50 12000: White dragon 1, Green dragon 1, Chanta 2, Shousangen 2"},
        {"5556667771112z 2z ron E/S dora:1m", // yakuman add up
         "Y3 - 96000: Suuankou 13, Daisangen 13, Tsuuiisou 13"},
        {"123m456p789s1234z 5z ron E/S dora:1z", "error: a hand that is not complete"},
        {"1111m234p567s888s 1m ron E/S dora:1z",
         "error: five of a tile, or a red five that cannot be"},
        {"12345m99p 3m ron E/S chi:135s chi:789m dora:1z",
         "error: a called group that is no group"},
        {"123m456p789s 1z ron E/S pon:555z dora:1z", "error: a hand of the wrong size"},
        {"2355p 4p ron E/S riichi chi:234m chi:678s chi:345s",
         "error: a situation that cannot be (a wind out of range, riichi with calls)"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(describe(row.hand), row.answer) << row.hand;
    }
}

} // namespace

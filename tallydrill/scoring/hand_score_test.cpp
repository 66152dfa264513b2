// Hands in the test notation with the yaku the scorer names, counted by hand from the rules of
// tallydrill/pack/README.md, and the faults it refuses. Han, fu and payment of many more hands
// are held against the independent scorer's by the oracle fixture's test.
#include <gtest/gtest.h>

#include <string>

#include "tallydrill/scoring/hand_notation_test_support.h"

namespace {

// "han fu payment: Yaku han, ..." or "Y<count> payment: ..." for a yakuman, or the error text.
std::string describe(const std::string& notation) {
    HandInput hand;
    if (!hand_notation::parse_hand(notation, hand)) {
        return "unreadable notation";
    }
    HandScore score;
    const ScoreError error = score_hand(hand, score);
    if (error != ScoreError::none) {
        return score_error_text(error);
    }
    std::string text = score.han == 0 ? "Y" + std::to_string(score.yakuman_count)
                                      : std::to_string(score.han) + " " + std::to_string(score.fu);
    text += std::string(" ") + score.payment + ":";
    for (int i = 0; i < score.yaku_count; ++i) {
        text += std::string(i ? ", " : " ") + yaku_name(score.yaku[i].yaku) + " " +
                std::to_string(score.yaku[i].han);
    }
    return text;
}

struct Row {
    const char* rule;
    const char* hand;
    const char* answer;
};

TEST(ScoreHand, YakuFuAndLimits) {
    const Row rows[] = {
        {"pinfu tsumo is 20 fu; back dora only with riichi",
         "234m567p34567s55p 2s tsumo E/S dora:9p ura:1s",
         "3 20 700 1300: Menzen tsumo 1, Pinfu 1, Tanyao 1"},
        {"closed chanta with sanshoku; round wind pair 2 fu",
         "123m123p12s999s11z 3s ron E/W dora:1z", "4 50 8000: Sanshoku doujun 2, Chanta 2"},
        {"a triplet completed by ron is no concealed triplet",
         "111m222p333s44z55z 5z ron E/S dora:1z",
         "5 50 8000: White dragon 1, Toitoi 2, Sanankou 2"},
        {"shousangen with both dragons and chanta", "5556667z123m789p 7z ron E/S dora:1s",
         "6 50 12000: White dragon 1, Green dragon 1, Chanta 2, Shousangen 2"},
        {"ryanpeikou pays more than seven pairs",
         "223344m556677p8s 8s ron E/S riichi dora:1z ura:1z",
         "5 40 8000: Riichi 1, Tanyao 1, Ryanpeikou 3"},
        {"three closed kans and kan dora: kazoe yakuman",
         "123m4s 4s ron E/S ankan:1111p ankan:9999s ankan:2222z dora:1z1s7z9p",
         "13 130 32000: Seat wind 1, Sanankou 2, Sankantsu 2"},
        {"daisuushii and a single-wait suuankou: one yakuman each",
         "1m111222333444z 1m ron S/S dora:2p", "Y2 64000: Suuankou 13, Daisuushii 13"},
        {"suuankou, daisangen and tsuuiisou add up", "5556667771112z 2z ron E/S dora:1m",
         "Y3 96000: Suuankou 13, Daisangen 13, Tsuuiisou 13"},
        {"a complete hand without yaku", "123m456p789s1144z 4z ron E/S dora:1z",
         "a complete hand without a yaku"},
        {"not complete", "123m456p789s1234z 5z ron E/S dora:1z", "a hand that is not complete"},
        {"five of a tile", "1111m234p567s888s 1m ron E/S dora:1z",
         "five of a tile, or a red five that cannot be"},
        {"a chi that is no sequence", "12345m99p 3m ron E/S chi:135s chi:789m dora:1z",
         "a called group that is no group"},
        {"twelve tiles with a call", "123m456p789s 1z ron E/S pon:555z dora:1z",
         "a hand of the wrong size"},
        {"riichi with a call", "2355p 4p ron E/S riichi chi:234m chi:678s chi:345s",
         "a situation that cannot be (a wind out of range, riichi with calls)"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(describe(row.hand), row.answer) << row.rule << ": " << row.hand;
    }
}

// Values the notation cannot write: out of range counts, kinds and flags are refused, never read.
TEST(ScoreHand, RefusesOutOfRangeInput) {
    HandInput good;
    ASSERT_TRUE(hand_notation::parse_hand("234m567p34567s55p 2s tsumo E/S dora:9p", good));
    struct Case {
        const char* what;
        void (*spoil)(HandInput&);
        ScoreError error;
    };
    const Case cases[] = {
        {"negative count", [](HandInput& h) { h.concealed_count = -1; },
         ScoreError::wrong_tile_count},
        {"too many calls", [](HandInput& h) { h.call_count = 5; }, ScoreError::wrong_tile_count},
        {"kind 34", [](HandInput& h) { h.concealed[0].kind = 34; }, ScoreError::too_many_of_a_kind},
        {"red 4-man", [](HandInput& h) { h.concealed[0].red = true; },
         ScoreError::too_many_of_a_kind},
        {"six indicators", [](HandInput& h) { h.dora_indicator_count = 6; },
         ScoreError::bad_indicator},
        {"indicator kind 200", [](HandInput& h) { h.dora_indicators[0] = 200; },
         ScoreError::bad_indicator},
        {"back dora count -3", [](HandInput& h) { h.back_dora_indicator_count = -3; },
         ScoreError::bad_indicator},
        {"wind 9", [](HandInput& h) { h.situation.seat_wind = static_cast<Wind>(9); },
         ScoreError::bad_situation},
    };
    for (const Case& c : cases) {
        HandInput hand = good;
        c.spoil(hand);
        HandScore score;
        EXPECT_EQ(score_hand(hand, score), c.error) << c.what;
        EXPECT_EQ(score.error, c.error) << c.what;
    }
}

} // namespace

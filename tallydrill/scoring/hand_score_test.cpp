// One row per rule of the scorer: a hand in the test notation and the answer counted by hand
// from the rules of tallydrill/pack/README.md. The authored pack and the oracle's hands are
// checked by their own tests.
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
        {"tanki or ryanmen: the ryanmen pays more", "4566m234678p345s 6m ron E/S riichi dora:1z",
         "3 30 3900: Riichi 1, Pinfu 1, Tanyao 1"},
        {"kanchan or ryanmen: the ryanmen pays more", "56778m234678p55s 6m ron E/S riichi dora:1z",
         "3 30 3900: Riichi 1, Pinfu 1, Tanyao 1"},
        {"iipeikou with pinfu", "223344m678p45s99p 3s ron E/S dora:1z",
         "2 30 2000: Pinfu 1, Iipeikou 1"},
        {"double east triplet completed by ron: open, 4 fu; dragon pair 2 fu",
         "234m567p678s1155z 1z ron E/E dora:2z", "2 40 3900: Seat wind 1, Round wind 1"},
        {"sanshoku; 4 han 30 fu is not rounded up to mangan",
         "234m234p23s567s88p 4s ron E/S dora:1z",
         "4 30 7700: Pinfu 1, Tanyao 1, Sanshoku doujun 2"},
        {"open ittsu 1 han; penchan 2 fu", "12m99p 3m ron E/S chi:456m chi:789m pon:111z dora:7z",
         "2 30 2000: Round wind 1, Ittsu 1"},
        {"closed chanta with sanshoku; round wind pair 2 fu",
         "123m123p12s999s11z 3s ron E/W dora:1z", "4 50 8000: Sanshoku doujun 2, Chanta 2"},
        {"closed junchan 3 han; tanki 2 fu", "123m789p123999s1p 1p ron E/S riichi dora:1z ura:1z",
         "4 40 8000: Riichi 1, Junchan 3"},
        {"a triplet completed by ron is no concealed triplet",
         "111m222p333s44z55z 5z ron E/S dora:1z",
         "5 50 8000: White dragon 1, Toitoi 2, Sanankou 2"},
        {"sanshoku doukou with sanankou", "222m222p2224678s 4s ron E/S dora:1z",
         "5 50 8000: Tanyao 1, Sanankou 2, Sanshoku doukou 2"},
        {"honroutou with toitoi", "111m999p1155z 1z ron E/S pon:999s dora:3z",
         "5 50 8000: Round wind 1, Toitoi 2, Honroutou 2"},
        {"shousangen with both dragons and chanta", "5556667z123m789p 7z ron E/S dora:1s",
         "6 50 12000: White dragon 1, Green dragon 1, Chanta 2, Shousangen 2"},
        {"ryanpeikou pays more than seven pairs",
         "223344m556677p8s 8s ron E/S riichi dora:1z ura:1z",
         "5 40 8000: Riichi 1, Tanyao 1, Ryanpeikou 3"},
        {"open pinfu form: 20 fu by ron counts 30", "2355p 4p ron E/S chi:234m chi:678s chi:345s",
         "1 30 1000: Tanyao 1"},
        {"a double wind pair is 4 fu and no pinfu",
         "234m567p34567s11z 2s ron E/E riichi dora:9p ura:9p", "1 40 2000: Riichi 1"},
        {"dora wrap: North shows East, red dragon white, 9-man 1-man",
         "111z555z123m789p9s 9s ron E/S dora:4z7z9m",
         "11 50 24000: Round wind 1, White dragon 1, Chanta 2"},
        {"three closed kans and kan dora: kazoe yakuman",
         "123m4s 4s ron E/S ankan:1111p ankan:9999s ankan:2222z dora:1z1s7z9p",
         "13 130 32000: Seat wind 1, Sanankou 2, Sankantsu 2"},
        {"suuankou by tsumo", "111m222p333s44z55z 5z tsumo E/S dora:1p",
         "Y1 8000 16000: Suuankou 13"},
        {"a yakuman reading before a kazoe reading of the same points",
         "111222333m4447p 7p tsumo E/S dora:9m1m2m3p6p", "Y1 8000 16000: Suuankou 13"},
        {"a thirteen-sided kokushi counts once", "19m19p19s1234567z 1m tsumo E/E dora:1p",
         "Y1 16000 a: Kokushi musou 13"},
        {"a nine-sided chuuren counts once", "1112345678999p 5p ron S/W dora:3z",
         "Y1 32000: Chuuren poutou 13"},
        {"daisuushii counts once", "1m 1m ron S/S pon:111z pon:222z pon:333z pon:444z",
         "Y1 32000: Daisuushii 13"},
        {"daisuushii and a single-wait suuankou: one yakuman each",
         "1m111222333444z 1m ron S/S dora:2p", "Y2 64000: Suuankou 13, Daisuushii 13"},
        {"suuankou, daisangen and tsuuiisou add up", "5556667771112z 2z ron E/S dora:1m",
         "Y3 96000: Suuankou 13, Daisangen 13, Tsuuiisou 13"},
        {"shousuushii and tsuuiisou add up", "1112223334z 4z ron E/S pon:555z dora:1m",
         "Y2 64000: Shousuushii 13, Tsuuiisou 13"},
        {"ryuuiisou", "223344666888s6z 6z ron E/S dora:5z", "Y1 32000: Ryuuiisou 13"},
        {"chinroutou", "111m999p1199s 9s ron E/S pon:999m dora:5z", "Y1 32000: Chinroutou 13"},
        {"suukantsu", "1m 1m ron E/S kan:2222p kan:3333s ankan:5555z added:9999m dora:4z5z6z7z8m",
         "Y1 32000: Suukantsu 13"},
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

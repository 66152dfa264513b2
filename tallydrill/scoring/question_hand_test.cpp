#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tallydrill/scoring/question_hand.h"

namespace {

TEST(Situation, RefusesOtherWordsAndSmallFields) {
    const std::string good = "South round, you sit East (dealer). What is the payment?\\nOpen "
                             "hand; you win by tsumo (self-draw).";
    const std::string bad[] = {
        "South round, you sit West (dealer)." + good.substr(good.find(" What")), good + " Quickly.",
        good.substr(0, good.size() - 1), "North" + good.substr(5)};
    HandSituation situation;
    bool open;
    EXPECT_TRUE(read_situation(good.c_str(), good.size(), situation, open)); // no NUL needed
    for (const std::string& text : bad) {
        EXPECT_FALSE(read_situation(text.c_str(), text.size() + 1, situation, open)) << text;
    }
    char small[40];
    std::memset(small, 'x', sizeof small);
    EXPECT_FALSE(write_situation(situation, open, small, sizeof small));
    EXPECT_EQ(small[0], 'x');
}

// A pack question (q04: an open hand with a chi) with one field spoiled at a time.
TEST(QuestionHand, ReadingSaysWhyItRefuses) {
    QuestionRecord base{};
    const TileCode hand[] = {12, 13, 14, 16, 17, 18, 35, 35, 36, 37, 90, 64, 23, 25, 255};
    std::memcpy(base.hand, hand, sizeof hand);
    base.winning_tile = 38;
    base.dora_indicators[0] = 29;
    base.dora_indicators[1] = 255;
    base.back_dora[0] = 255;
    const char* text = "East round, you sit North (non-dealer). What is the payment?\\nOpen hand; "
                       "you win by ron on a discard.";
    std::memcpy(base.question_text, text, std::strlen(text));
    HandInput read;
    char why[96];
    ASSERT_TRUE(read_question_hand(base, read, why, sizeof why)) << why;

    struct Case {
        const char* expected_why; // the start of the reason
        void (*spoil)(QuestionRecord&);
    };
    const Case cases[] = {
        {"a hand of the wrong size", [](QuestionRecord& r) { r.hand[9] = 255; }},
        {"called group 1 is no chi", [](QuestionRecord& r) { r.hand[12] = 63; }},
        {"called group 1 is no chi", [](QuestionRecord& r) { r.hand[11] = 24; }},
        {"code 9 is no concealed tile", [](QuestionRecord& r) { r.hand[0] = 9; }},
        {"code 52 is no concealed tile", [](QuestionRecord& r) { r.hand[0] = 52; }},
        {"the winning tile is no tile", [](QuestionRecord& r) { r.winning_tile = 1; }},
        {"five of a tile",
         [](QuestionRecord& r) {
             r.hand[8] = 35;
             r.winning_tile = 35;
             r.dora_indicators[0] = 35;
         }},
        {"the indicators are not",
         [](QuestionRecord& r) {
             r.dora_indicators[1] = 11;
             r.dora_indicators[2] = 255;
         }},
        {"the text says open hand",
         [](QuestionRecord& r) {
             r.hand[10] = 24; // the chi's 3-4-5 pin concealed instead
             r.hand[11] = 23;
             r.hand[12] = 25;
             r.hand[13] = 255;
         }},
        {"the question text does not", [](QuestionRecord& r) { r.question_text[0] = 'W'; }},
    };
    for (const Case& c : cases) {
        QuestionRecord record = base;
        c.spoil(record);
        std::memset(why, 'x', sizeof why);
        EXPECT_FALSE(read_question_hand(record, read, why, sizeof why)) << c.expected_why;
        EXPECT_EQ(std::string(why).rfind(c.expected_why, 0), 0u) << why;
    }
}

} // namespace

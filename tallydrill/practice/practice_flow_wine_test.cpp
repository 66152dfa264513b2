// The flow of questions in the test's own process: the keys in every state, the clock and its
// displays, the verdicts before, at and after the limit, typed scores, NEXT, the load commands
// and dealing again.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tallydrill/practice/answer_deal.h"
#include "tallydrill/practice/japanese_text.h"
#include "tallydrill/practice/practice_test_support.h"
#include "tallydrill/practice/resource_ids.h"
#include "win32_test_support.h"

namespace {

using namespace practice_test;
using win32_test::DialogDriver;

QuestionTexts limit_texts(std::int32_t limit) {
    return QuestionTexts{
        limit, "Dealer, ron.\\nScore?", {"2900", "3900", "5800", "1500"}, "Explained\\there."};
}

std::string result_text(int field) {
    return text_of(practice.result_pane.fields[field]);
}

std::vector<std::string> button_texts() {
    std::vector<std::string> texts;
    for (HWND button : practice.countdown_pane.choice_buttons) {
        texts.push_back(text_of(button));
    }
    return texts;
}

class QuestionFlow : public PracticeWindowTest {
  protected:
    // Loads a file through the real dialog with a key, or cancels the dialog when path is "".
    void load_with_key(WORD key, const std::string& path) {
        DialogDriver dialogs;
        dialogs.answer(path.empty() ? win32_test::cancel() : win32_test::choose_file(path));
        press_key(key);
        ASSERT_TRUE(dialogs.wait_done(3000));
    }
};

TEST_F(QuestionFlow, KeysF1ToF4AndEnterInEveryState) {
    const std::string path = write_question("q.tt", make_question(limit_texts(30)));
    {
        DialogDriver none; // any dialog here fails the test
        for (WORD key : {VK_F1, VK_F2, VK_F3, VK_F4, VK_RETURN}) {
            SCOPED_TRACE(key);
            press_key(key);
            EXPECT_EQ(practice.state, PracticeState::start_screen);
            EXPECT_NE(practice.start_button, nullptr);
        }
    }
    load_with_key(VK_F5, path);
    ASSERT_EQ(practice.state, PracticeState::question_running);
    {
        DialogDriver none;
        press_key(VK_RETURN);
        EXPECT_EQ(practice.state, PracticeState::question_running) << "Enter in select-answer";
    }
    const WORD answer_keys[4] = {VK_F1, VK_F2, VK_F3, VK_F4};
    for (int slot = 0; slot < 4; ++slot) {
        SCOPED_TRACE("F" + std::to_string(slot + 1));
        const std::string on_button = text_of(practice.countdown_pane.choice_buttons[slot]);
        press_key(answer_keys[slot]);
        ASSERT_EQ(practice.state, PracticeState::result_shown);
        EXPECT_EQ(practice.chosen_slot, slot);
        EXPECT_EQ(result_text(result_your_answer_value), on_button);
        EXPECT_EQ(result_text(result_answer_verdict),
                  slot == practice.right_slot ? "right" : "wrong");
        {
            DialogDriver none;
            for (WORD key : answer_keys) {
                press_key(key);
                EXPECT_EQ(practice.state, PracticeState::result_shown);
                EXPECT_EQ(practice.chosen_slot, slot);
            }
        }
        load_with_key(VK_RETURN, ""); // NEXT, dialog cancelled
        EXPECT_EQ(practice.state, PracticeState::question_running);
        EXPECT_EQ(practice.mode, AnswerMode::select_answer) << "NEXT keeps the mode";
    }
    load_with_key(VK_F6, "");
    ASSERT_EQ(practice.state, PracticeState::question_running);
    ASSERT_EQ(practice.mode, AnswerMode::direct_input);
    {
        DialogDriver none;
        for (WORD key : answer_keys) {
            press_key(key);
            EXPECT_EQ(practice.state, PracticeState::question_running) << key;
        }
    }
    win32_test::post_chars(practice.countdown_pane.score_input, "2900");
    pump(30);
    press_key(VK_RETURN);
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    EXPECT_EQ(result_text(result_your_answer_label), "input answer");
    EXPECT_EQ(result_text(result_your_answer_value), "2900");
    EXPECT_EQ(result_text(result_answer_verdict), "right");
    load_with_key(VK_RETURN, "");
    EXPECT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.mode, AnswerMode::direct_input);
}

TEST_F(QuestionFlow, VerdictsBeforeAtAndAfterTheLimit) {
    struct Row {
        std::uint32_t answer_ms;
        bool right_button;
        const char* elapsed;
        const char* timing;
    };
    const Row rows[] = {
        {9960, true, "10.0 sec", "permit"},     {10000, false, "10.0 sec", "permit"},
        {10001, true, "10.0 sec", "too late"},  {0, true, "0.0 sec", "permit"},
        {12340, false, "12.3 sec", "too late"}, {250000, true, "250.0 sec", "too late"},
    };
    const std::string path = write_question("ten.tt", make_question(limit_texts(10)));
    clock_ms = 5000;
    load_with_key(VK_F5, path);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.answer_ms);
        ASSERT_EQ(practice.state, PracticeState::question_running);
        clock_ms = practice.question_start_ms + row.answer_ms;
        const int slot = row.right_button ? practice.right_slot : (practice.right_slot + 1) % 4;
        accelerator_command(IDM_ANSWER_F1 + slot);
        ASSERT_EQ(practice.state, PracticeState::result_shown);
        EXPECT_EQ(practice.answer_ms, static_cast<std::int32_t>(row.answer_ms));
        EXPECT_EQ(result_text(result_limit_value), "10 sec");
        EXPECT_EQ(result_text(result_elapsed_value), row.elapsed);
        EXPECT_EQ(result_text(result_timing_verdict), row.timing);
        EXPECT_EQ(result_text(result_answer_verdict), row.right_button ? "right" : "wrong");
        EXPECT_EQ(result_text(result_right_answer_value), "2900");
        clock_ms += 777; // NEXT reads the clock again after its dialog
        load_with_key(VK_RETURN, "");
        EXPECT_EQ(practice.question_start_ms, clock_ms);
    }
}

TEST_F(QuestionFlow, TheElapsedDisplaysFollowTheClock) {
    struct Row {
        std::int32_t limit;
        std::uint32_t elapsed_ms;
        const char* text;
        int position;
    };
    const Row rows[] = {
        {30, 0, "0 sec", 0},         {30, 15000, "15 sec", 500}, {30, 29999, "29 sec", 999},
        {30, 45000, "45 sec", 1000}, {0, 0, "0 sec", 1000},      {0, 3000, "3 sec", 1000},
        {-5, 3000, "3 sec", 1000},   {7, 1000, "1 sec", 142},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.limit) + " s, " + std::to_string(row.elapsed_ms) + " ms");
        const std::string path = write_question("limit.tt", make_question(limit_texts(row.limit)));
        load_with_key(VK_F5, path); // after the first, a load drops the running question
        ASSERT_EQ(practice.state, PracticeState::question_running);
        EXPECT_EQ(text_of(practice.countdown_pane.fields[countdown_limit_value]),
                  std::to_string(row.limit) + " sec");
        clock_ms = practice.question_start_ms + row.elapsed_ms;
        SendMessageA(window(), WM_TIMER, 1, 0);
        HWND bar = practice.countdown_pane.fields[countdown_elapsed_bar];
        EXPECT_EQ(text_of(practice.countdown_pane.fields[countdown_elapsed_value]), row.text);
        EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), row.position);
        EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 1000);
        EXPECT_EQ(
            SendMessageA(practice.countdown_pane.fields[countdown_limit_bar], PBM_GETPOS, 0, 0),
            1000)
            << "the limit bar stands full";
    }
    // The real timer runs every 50 ms from the first question on.
    clock_ms = practice.question_start_ms + 4000;
    pump(120);
    EXPECT_EQ(text_of(practice.countdown_pane.fields[countdown_elapsed_value]), "4 sec");
    clock_ms += 1000;
    pump(120);
    EXPECT_EQ(text_of(practice.countdown_pane.fields[countdown_elapsed_value]), "5 sec");
}

TEST_F(QuestionFlow, EachAnswerAppearsOnceWithTheRightOneWhereTheDealPutsIt) {
    const std::string path = write_question("q.tt", make_question(limit_texts(30)));
    load_with_key(VK_F5, path);
    const std::vector<std::string> answers = {"2900", "3900", "5800", "1500"};
    for (std::uint32_t seed : {1u, 0u, 12345u, 4294967295u, 1733512345u}) {
        SCOPED_TRACE(seed);
        calendar_seconds = seed;
        accelerator_command(IDM_DEAL_AGAIN);
        const AnswerDeal deal = deal_answers(seed);
        EXPECT_EQ(practice.right_slot, deal.right_slot);
        const std::vector<std::string> texts = button_texts();
        EXPECT_EQ(texts[deal.right_slot], "2900");
        std::vector<std::string> sorted = texts;
        std::sort(sorted.begin(), sorted.end());
        std::vector<std::string> expected = answers;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected);
        for (int entry = 0; entry < 4; ++entry) {
            EXPECT_EQ(texts[deal.slot_of_entry[entry]], answers[entry]) << entry;
        }
    }
}

TEST_F(QuestionFlow, ClickingAChoiceButtonAnswersWithIt) {
    const std::string path = write_question("q.tt", make_question(limit_texts(30)));
    load_with_key(VK_F5, path);
    clock_ms = practice.question_start_ms + 3100;
    const int slot = (practice.right_slot + 2) % 4;
    const std::string text = text_of(practice.countdown_pane.choice_buttons[slot]);
    click(practice.countdown_pane.choice_buttons[slot]);
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    EXPECT_EQ(practice.chosen_slot, slot);
    EXPECT_EQ(result_text(result_your_answer_value), text);
    EXPECT_EQ(result_text(result_answer_verdict), "wrong");
    EXPECT_EQ(result_text(result_elapsed_value), "3.1 sec");

    // NEXT by its button, once the pane has opened: the dialog comes, and a cancel deals the
    // same question again.
    for (int tick = 0; tick < 10; ++tick) {
        SendMessageA(window(), WM_TIMER, 1, 0);
    }
    DialogDriver dialogs;
    dialogs.answer(win32_test::cancel());
    calendar_seconds = 0;
    click(practice.result_pane.fields[result_next_button]);
    ASSERT_TRUE(dialogs.wait_done(3000));
    EXPECT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.result_pane.explanation_box, nullptr);
    EXPECT_EQ(button_texts(), (std::vector<std::string>{"1500", "5800", "2900", "3900"}))
        << "seed 0 deals entries 0..3 to slots 2, 3, 1, 0";
    EXPECT_EQ(text_of(practice.question_pane.question_box), "Dealer, ron.\r\nScore?");
}

TEST_F(QuestionFlow, TypedScoresAreJudgedByTheScoreRules) {
    struct Row {
        const char* right;
        std::string typed;
        const char* verdict;
    };
    const std::string long_run = std::string(70, '9');
    const Row rows[] = {
        {"1000 2000", "1000 2000", "right"},
        {"1000 2000", "  1000-2000", "right"},
        {"1000 2000", "1000/2000", "right"},
        {"1000 2000", "2000 1000", "wrong"},
        {"1000 2000", "1000", "wrong"},
        {"2600 a", "2600 a", "right"},
        {"2600 a", "2600 all", "right"},
        {"2600 a", "2600A", "right"},
        {"2600 a", "2600", "wrong"},
        {"2600 a", "2600 1300", "wrong"},
        {"8000", "", "wrong"},
        {"8000", "8000", "right"},
        {"Mangan", "8000", "---"},
        {"8000", long_run, "wrong"},
        {"8000", long_run + " " + long_run, "wrong"},
    };
    QuestionRecord record = make_question(limit_texts(30));
    const std::string path = write_question("typed.tt", record);
    load_with_key(VK_F6, path);
    bool by_button = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.right) + " / \"" + row.typed + "\"");
        // Deal again without a dialog, with the right answer of this row in the record.
        std::memset(practice.question.answers[0], 0, sizeof practice.question.answers[0]);
        std::memcpy(practice.question.answers[0], row.right, std::strlen(row.right));
        if (practice.state == PracticeState::result_shown) {
            accelerator_command(IDM_DEAL_AGAIN);
        }
        ASSERT_EQ(practice.state, PracticeState::question_running);
        ASSERT_NE(practice.countdown_pane.score_input, nullptr);
        SetWindowTextA(practice.countdown_pane.score_input, row.typed.c_str());
        if (by_button) {
            click(practice.countdown_pane.decide_button);
        } else {
            press_key(VK_RETURN);
        }
        by_button = !by_button;
        ASSERT_EQ(practice.state, PracticeState::result_shown);
        EXPECT_EQ(result_text(result_answer_verdict), row.verdict);
        EXPECT_EQ(result_text(result_your_answer_value), row.typed);
        EXPECT_EQ(result_text(result_right_answer_value), row.right);
        EXPECT_EQ(result_text(result_your_answer_label), "input answer");
    }
}

TEST_F(QuestionFlow, ALongTypedAnswerIsReadUpTo255Characters) {
    load_with_key(VK_F6, "");
    const std::string typed = "8000 " + std::string(400, '7');
    SetWindowTextA(practice.countdown_pane.score_input, typed.c_str());
    press_key(VK_RETURN);
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    EXPECT_EQ(std::string(practice.user_answer_text), typed.substr(0, 255));
    EXPECT_EQ(result_text(result_your_answer_value), typed.substr(0, 255));
    EXPECT_EQ(result_text(result_answer_verdict), "---") << "the sample's answers are empty";
}

TEST_F(QuestionFlow, LoadCommandsInEveryStateSetTheirMode) {
    QuestionTexts second = limit_texts(20);
    second.question = "Second question";
    second.answers[0] = "7700";
    const std::string first_path = write_question("first.tt", make_question(limit_texts(30)));
    const std::string second_path = write_question("second.tt", make_question(second));

    load_with_key(VK_F6, first_path); // start screen, direct input
    ASSERT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.mode, AnswerMode::direct_input);
    EXPECT_EQ(practice.start_button, nullptr);
    EXPECT_EQ(practice.countdown_pane.choice_buttons[0], nullptr);
    EXPECT_EQ(wide_text_of(practice.countdown_pane.score_label), L"\u70b9\u6570\u5165\u529b");
    EXPECT_EQ(wide_text_of(practice.countdown_pane.decide_button), L"\u6c7a\u5b9a");
    EXPECT_TRUE(IsWindowUnicode(practice.countdown_pane.score_label));
    EXPECT_EQ(describe(place_of(practice.countdown_pane.score_label)),
              describe({50, 285, 150, 30}));
    EXPECT_EQ(describe(place_of(practice.countdown_pane.score_input)),
              describe({125, 316, 300, 30}));
    EXPECT_EQ(describe(place_of(practice.countdown_pane.decide_button)),
              describe({350, 347, 150, 31}));
    InvalidateRect(window(), nullptr, TRUE);
    UpdateWindow(window());
    EXPECT_EQ(GetFocus(), practice.countdown_pane.score_input) << "painting focuses the input";

    HWND old_input = practice.countdown_pane.score_input;
    load_with_key(VK_F5, second_path); // running, select answer
    EXPECT_EQ(practice.mode, AnswerMode::select_answer);
    EXPECT_FALSE(IsWindow(old_input)) << "the old countdown pane is gone";
    EXPECT_EQ(practice.countdown_pane.score_input, nullptr);
    EXPECT_EQ(text_of(window()), "second.tt");
    EXPECT_EQ(text_of(practice.question_pane.question_box), "Second question");
    EXPECT_EQ(text_of(practice.countdown_pane.fields[countdown_limit_value]), "20 sec");
    EXPECT_EQ(text_of(practice.countdown_pane.choice_buttons[practice.right_slot]), "7700");

    press_key(VK_F1);
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    HWND old_box = practice.result_pane.explanation_box;
    load_with_key(VK_F6, first_path); // result shown, direct input
    EXPECT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.mode, AnswerMode::direct_input);
    EXPECT_FALSE(IsWindow(old_box)) << "the result pane is gone";
    EXPECT_NE(practice.countdown_pane.score_input, nullptr);
    EXPECT_EQ(text_of(window()), "first.tt");

    press_key(VK_RETURN);
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    load_with_key(VK_F5, ""); // result shown, cancelled: the same question in select mode
    EXPECT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.mode, AnswerMode::select_answer);
    EXPECT_EQ(text_of(window()), "first.tt");
    EXPECT_EQ(text_of(practice.countdown_pane.choice_buttons[practice.right_slot]), "2900");
}

TEST_F(QuestionFlow, DealingAgainKeepsTheClockAndLeavesTheResult) {
    const std::string path = write_question("q.tt", make_question(limit_texts(30)));
    load_with_key(VK_F5, path);
    const std::uint32_t started = practice.question_start_ms;
    clock_ms = started + 8000;
    calendar_seconds = 0;
    accelerator_command(IDM_DEAL_AGAIN);
    EXPECT_EQ(practice.question_start_ms, started) << "the clock is not read again";
    EXPECT_EQ(button_texts(), (std::vector<std::string>{"1500", "5800", "2900", "3900"}));
    EXPECT_EQ(text_of(practice.countdown_pane.fields[countdown_elapsed_value]), "");

    accelerator_command(IDM_ANSWER_F3);
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    EXPECT_EQ(result_text(result_answer_verdict), "right");
    EXPECT_EQ(result_text(result_elapsed_value), "8.0 sec");
    calendar_seconds = 1;
    accelerator_command(IDM_DEAL_AGAIN);
    EXPECT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.result_pane.explanation_box, nullptr);
    EXPECT_EQ(button_texts(), (std::vector<std::string>{"1500", "2900", "5800", "3900"}));
    clock_ms = started + 9500;
    accelerator_command(IDM_ANSWER_F2);
    EXPECT_EQ(result_text(result_elapsed_value), "9.5 sec");
}

TEST_F(QuestionFlow, DealingAgainOnTheStartScreenDoesNothing) {
    DialogDriver none;
    accelerator_command(IDM_DEAL_AGAIN);
    press_key(VK_F7);
    EXPECT_EQ(practice.state, PracticeState::start_screen);
    EXPECT_EQ(children_of(window()).size(), 1u);
}

TEST_F(QuestionFlow, TheExplanationKeepsItsLineBreaksWhenShownAgain) {
    const std::string path = write_question("q.tt", make_question(limit_texts(30)));
    load_with_key(VK_F5, path);
    accelerator_command(IDM_ANSWER_F1);
    EXPECT_EQ(text_of(practice.result_pane.explanation_box), "Explained\r\nhere.");
    load_with_key(VK_RETURN, "");
    accelerator_command(IDM_ANSWER_F1);
    EXPECT_EQ(text_of(practice.result_pane.explanation_box), "Explained\r\nhere.")
        << "converting twice changes nothing";
    EXPECT_EQ(text_of(practice.question_pane.question_box), "Dealer, ron.\r\nScore?");
}

} // namespace

// The practice window in the test's own process under Wine, walked through as the user walks
// it: the start screen, a question loaded through the real dialog, answers by key, by button
// and by typed score, the clock, the result pane, NEXT and dealing again, question files that
// are missing, short, long or broken, the tiles read back from the screen, and the end.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tallydrill/practice/answer_deal.h"
#include "tallydrill/practice/commands.h"
#include "tallydrill/practice/japanese_text.h"
#include "tallydrill/practice/practice_test_support.h"
#include "tallydrill/practice/resource_ids.h"
#include "win32_test_support.h"

namespace {

using namespace practice_test;
using Lines = std::vector<std::string>;
using win32_test::answer_dialogs;
using win32_test::window_text;

const Lines answers = {"2900", "3900", "5800", "1500"};
const char* const title = "[ Pointsmith ][ Tilvora ] version 2.5";

std::vector<unsigned char> bytes_of(const QuestionRecord& record) {
    const auto* p = reinterpret_cast<const unsigned char*>(&record);
    return std::vector<unsigned char>(p, p + sizeof record);
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), ::tolower);
    return text;
}

LRESULT bar_position(int field) {
    return SendMessageA(practice.countdown_pane.fields[field], PBM_GETPOS, 0, 0);
}

class PracticeFlow : public PracticeWindowTest {
  protected:
    // Presses keys that must change nothing here, and no dialog may come.
    void keys_do_nothing(std::initializer_list<WORD> keys) {
        const PracticeState state = practice.state;
        answer_dialogs({}, [&] {
            for (WORD key : keys) {
                press_key(key);
                EXPECT_EQ(practice.state, state) << "key " << key;
            }
        });
    }
    void expect_deal(std::uint32_t seed) {
        const AnswerDeal deal = deal_answers(seed);
        EXPECT_EQ(practice.right_slot, deal.right_slot);
        for (int entry = 0; entry < 4; ++entry) {
            EXPECT_EQ(button_text(deal.slot_of_entry[entry]), answers[entry]) << entry;
        }
    }
};

TEST_F(PracticeFlow, ASelectedAnswerFromStartToNext) {
    const std::string path = write_question(
        "q1.tt", make_question(30, "Ron on white.\\nScore?", answers, "White dragon,\\n40 fu."));
    keys_do_nothing({VK_F1, VK_F2, VK_F3, VK_F4, VK_RETURN, VK_F7});
    ASSERT_NE(practice.start_button, nullptr);
    EXPECT_EQ(window_text(practice.start_button), "F5 : [ Pointsmith ] Start");

    Lines offered;
    clock_ms = 200000;
    answer_dialogs({[&](HWND dialog) {
                       offered = win32_test::offered_files(dialog);
                       win32_test::choose_file(path)(dialog);
                   }},
                   [&] { SendMessageA(practice.start_button, BM_CLICK, 0, 0); });
    EXPECT_EQ(offered, (Lines{"Pointsmith question*", "ALL FORMAT", "*.tt"}));
    ASSERT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.start_button, nullptr);
    EXPECT_EQ(window_text(window()), "q1.tt") << "the title is the file's";
    EXPECT_EQ(practice.question_start_ms, 200000u) << "the clock is read after the dialog";
    expect_deal(1);
    EXPECT_EQ(tile_differences(), "");
    keys_do_nothing({VK_RETURN});

    // The real 50 ms timer shows the time gone; F7 deals again without reading the clock.
    clock_ms += 15000;
    for (int i = 0; i < 100 && bar_position(countdown_elapsed_bar) != 500; ++i) {
        pump(30);
    }
    EXPECT_EQ(window_text(practice.countdown_pane.fields[countdown_elapsed_value]), "15 sec");
    EXPECT_EQ(bar_position(countdown_elapsed_bar), 500);
    EXPECT_EQ(bar_position(countdown_limit_bar), 1000);
    calendar_seconds = 0;
    press_key(VK_F7);
    expect_deal(0);
    EXPECT_EQ(practice.question_start_ms, 200000u);

    // A wrong answer by its key, too late; the keys then do nothing.
    clock_ms = 200000 + 30001;
    const int wrong = (practice.right_slot + 1) % 4;
    const std::string chosen = button_text(wrong);
    press_key(static_cast<WORD>(VK_F1 + wrong));
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    const Lines shown = {
        result_text(result_timing_verdict),    result_text(result_elapsed_value),
        result_text(result_answer_verdict),    result_text(result_right_answer_value),
        result_text(result_your_answer_label), result_text(result_your_answer_value)};
    EXPECT_EQ(shown, (Lines{"too late", "30.0 sec", "wrong", "2900", "select answer", chosen}));
    keys_do_nothing({VK_F1, VK_F2, VK_F3, VK_F4});
    EXPECT_EQ(practice.chosen_slot, wrong);

    // The pane opens over ten ticks; NEXT then offers the previous choice, and a cancelled
    // dialog deals the same question again in the same mode.
    for (int tick = 0; tick < 10; ++tick) {
        SendMessageA(window(), WM_TIMER, 1, 0);
    }
    EXPECT_EQ(tile_differences(), "") << "once the result pane has opened";
    EXPECT_EQ(window_text(practice.result_pane.explanation_box), "White dragon,\r\n40 fu.");
    answer_dialogs(
        {[&](HWND dialog) {
            offered = win32_test::offered_files(dialog);
            win32_test::cancel()(dialog);
        }},
        [&] { SendMessageA(practice.result_pane.fields[result_next_button], BM_CLICK, 0, 0); });
    EXPECT_EQ(offered.back(), "q1.tt");
    ASSERT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.mode, AnswerMode::select_answer);
    EXPECT_EQ(practice.result_pane.explanation_box, nullptr);
    EXPECT_EQ(window_text(practice.question_pane.question_box), "Ron on white.\r\nScore?");

    // The right answer by a click on its button, in time.
    clock_ms = practice.question_start_ms + 3100;
    SendMessageA(practice.countdown_pane.choice_buttons[practice.right_slot], BM_CLICK, 0, 0);
    EXPECT_EQ(result_text(result_answer_verdict), "right");
    EXPECT_EQ(result_text(result_timing_verdict), "permit");
    EXPECT_EQ(result_text(result_elapsed_value), "3.1 sec");
    EXPECT_EQ(answer_dialogs({win32_test::press(IDOK)}, [&] { press_key(VK_F12); }),
              Lines{std::string(about_caption) + ": " + about_text});
    EXPECT_EQ(practice.state, PracticeState::result_shown);
}

TEST_F(PracticeFlow, TypedScoresAndTheLoadCommandsInEveryState) {
    QuestionRecord record = make_question(30, "Typed", answers, "");
    load(VK_F6, write_question("typed.tt", record));
    ASSERT_EQ(practice.mode, AnswerMode::direct_input);
    EXPECT_EQ(practice.countdown_pane.choice_buttons[0], nullptr);
    wchar_t caption[16] = {};
    GetWindowTextW(practice.countdown_pane.score_label, caption, 16);
    EXPECT_EQ(std::wstring(caption), L"\u70b9\u6570\u5165\u529b");
    GetWindowTextW(practice.countdown_pane.decide_button, caption, 16);
    EXPECT_EQ(std::wstring(caption), L"\u6c7a\u5b9a");
    InvalidateRect(window(), nullptr, TRUE);
    UpdateWindow(window());
    EXPECT_EQ(GetFocus(), practice.countdown_pane.score_input) << "painting focuses the input";
    keys_do_nothing({VK_F1, VK_F2, VK_F3, VK_F4});

    struct Row {
        const char* right;
        std::string typed;
        const char* verdict;
    };
    const std::string long_answer = "8000 " + std::string(400, '7');
    const Row rows[] = {{"2600 a", "2600 all", "right"}, {"8000", long_answer, "wrong"}};
    bool by_button = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed.substr(0, 20));
        std::memset(practice.question.answers[0], 0, sizeof practice.question.answers[0]);
        std::strcpy(practice.question.answers[0], row.right);
        if (practice.state == PracticeState::result_shown) {
            command(IDM_DEAL_AGAIN);
        }
        SetWindowTextA(practice.countdown_pane.score_input, row.typed.c_str());
        if (by_button) {
            SendMessageA(practice.countdown_pane.decide_button, BM_CLICK, 0, 0);
        } else {
            press_key(VK_RETURN);
        }
        by_button = !by_button;
        ASSERT_EQ(practice.state, PracticeState::result_shown);
        EXPECT_EQ(result_text(result_answer_verdict), row.verdict);
        EXPECT_EQ(result_text(result_your_answer_value), row.typed.substr(0, 255));
        EXPECT_EQ(result_text(result_your_answer_label), "input answer");
    }
    load(VK_RETURN, ""); // NEXT, cancelled: the same mode
    EXPECT_EQ(practice.mode, AnswerMode::direct_input);

    // F5 over a running question, F6 over a result: each load sets its mode.
    HWND old_input = practice.countdown_pane.score_input;
    load(VK_F5, write_question("second.tt", make_question(20, "Second", {"7700"}, "")));
    EXPECT_EQ(practice.mode, AnswerMode::select_answer);
    EXPECT_FALSE(IsWindow(old_input)) << "the old countdown pane is gone";
    EXPECT_EQ(window_text(window()), "second.tt");
    EXPECT_EQ(button_text(practice.right_slot), "7700");
    press_key(VK_F1);
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    load(VK_F6, "");
    EXPECT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.mode, AnswerMode::direct_input);
    EXPECT_NE(practice.countdown_pane.score_input, nullptr);
}

TEST_F(PracticeFlow, QuestionFilesOfAnyLengthAndContent) {
    QuestionRecord sample{};
    set_initial_question(sample);
    load(VK_F5, ""); // the first dialog cancelled: the built-in sample
    EXPECT_EQ(bytes_of(practice.question), bytes_of(sample));
    EXPECT_EQ(window_text(window()), title);
    EXPECT_EQ(window_text(practice.countdown_pane.fields[countdown_limit_value]), "0 sec");

    const std::string missing = win32_test::full_path("not-there.tt");
    const Lines seen = answer_dialogs({win32_test::choose_file(missing), win32_test::press(IDOK)},
                                      [&] { press_key(VK_F5); });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(lower(seen[1]), lower("Can not Open File: " + missing));
    EXPECT_EQ(bytes_of(practice.question), bytes_of(sample)) << "the record is unchanged";
    EXPECT_EQ(practice.state, PracticeState::question_running) << "the practice goes on";

    // A short file replaces only its own bytes: the tile lists, the limit and 8 characters.
    const QuestionRecord full = make_question(45, "Full", {"1", "2", "3", "4"}, "Old");
    load(VK_F5, write_question("full.tt", full));
    QuestionRecord other = make_question(-1, "Shortened text", {}, "");
    other.hand[0] = 33;
    load(VK_F5, write_file("short.tt", &other, 60));
    std::vector<unsigned char> expected = bytes_of(full);
    std::copy_n(bytes_of(other).begin(), 60, expected.begin());
    EXPECT_EQ(bytes_of(practice.question), expected);
    EXPECT_EQ(window_text(practice.question_pane.question_box), "Shortene");
    EXPECT_EQ(window_text(practice.countdown_pane.fields[countdown_limit_value]), "-1 sec");
    SendMessageA(window(), WM_TIMER, 1, 0);
    EXPECT_EQ(bar_position(countdown_elapsed_bar), 1000) << "a limit below 1 s: a full bar";
    load(VK_F5, write_file("empty.tt", "", 0));
    EXPECT_EQ(window_text(window()), "empty.tt");
    EXPECT_EQ(bytes_of(practice.question), expected) << "an empty file changes nothing else";
    std::vector<unsigned char> long_file = bytes_of(full);
    long_file.resize(2000, 0x41);
    load(VK_F5, write_file("long.tt", long_file.data(), long_file.size()));
    EXPECT_EQ(bytes_of(practice.question), bytes_of(full)) << "bytes after the 820th are ignored";

    // Codes that name no cell, lists without their 255 and texts without a NUL: read and shown
    // inside the record's fields.
    QuestionRecord broken{};
    std::memset(&broken, 'y', sizeof broken);
    for (std::size_t i = 0; i < sizeof broken.hand; ++i) {
        broken.hand[i] = static_cast<TileCode>(i % 3 == 0 ? 100 + i : 45 + i % 2);
    }
    std::memset(broken.dora_indicators, 200, sizeof broken.dora_indicators);
    set_question_time_limit(broken, 0);
    broken.answers[1][0] = 'z';
    load(VK_F5, write_question("broken.tt", broken));
    EXPECT_EQ(window_text(practice.question_pane.question_box), std::string(255, 'y'));
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(button_text(slot).size(), 64u) << "nothing of the next field";
    }
    EXPECT_EQ(tile_differences(), "") << "the known cells";
    clock_ms = practice.question_start_ms + 1;
    command(IDM_ANSWER_F1 + practice.right_slot);
    EXPECT_EQ(result_text(result_right_answer_value), std::string(64, 'y'));
    EXPECT_EQ(result_text(result_timing_verdict), "too late");
    EXPECT_EQ(window_text(practice.result_pane.explanation_box), std::string(255, 'y'));
}

TEST_F(PracticeFlow, TheWindowKeepsItsMinimumSizeAndEndsOnce) {
    SetWindowPos(window(), nullptr, 0, 0, 400, 900, SWP_NOMOVE | SWP_NOZORDER);
    RECT outer{};
    GetWindowRect(window(), &outer);
    EXPECT_EQ(outer.right - outer.left, 630);
    EXPECT_EQ(outer.bottom - outer.top, 900);
    const HBITMAP bitmap = practice.tile_bitmap;
    ASSERT_NE(bitmap, nullptr) << "data/bp.bmp was loaded from the current folder";
    command(IDM_EXIT);
    EXPECT_EQ(practice.tile_bitmap, nullptr);
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the bitmap is gone";
    pump(20);
    EXPECT_TRUE(quit_seen_);
    SendMessageA(window(), WM_CLOSE, 0, 0); // deletes nothing twice
    EXPECT_FALSE(IsWindow(window()));
    EXPECT_EQ(start_practice(GetModuleHandleA(nullptr), SW_HIDE).window, nullptr)
        << "a second start fails cleanly: the class is taken";
}

// The tiles of the sample when data/bp.bmp is missing, and when it holds only some cells.
TEST_F(PracticeFlow, WithoutTheBitmapOrWithATooSmallOneOnlyTheCellsItHoldsAreDrawn) {
    // The top 100 rows of the bitmap: the last rows of its bottom-up file.
    std::vector<unsigned char> file(1 << 20);
    std::FILE* in = std::fopen("data\\bp.bmp", "rb");
    ASSERT_NE(in, nullptr);
    file.resize(std::fread(file.data(), 1, file.size(), in));
    std::fclose(in);
    const std::size_t row_bytes = (390 * 3 + 3) / 4 * 4;
    file.erase(file.begin() + 54, file.end() - 100 * row_bytes);
    file[22] = 100; // the height
    file[23] = 0;
    std::fill(file.begin() + 34, file.begin() + 38, 0); // the image size: not given
    ASSERT_TRUE(DeleteFileA("data\\bp.bmp"));
    restart();
    EXPECT_EQ(practice.tile_bitmap, nullptr);
    load(VK_F5, "");
    EXPECT_EQ(tile_differences(), "") << "the bands only";

    write_file("data\\bp.bmp", file.data(), file.size());
    restart();
    ASSERT_NE(practice.tile_bitmap, nullptr);
    load(VK_F5, "");
    EXPECT_EQ(tile_differences(), "");
}

TEST(JapaneseText, CaptionsConvertWithoutTheSystemTableToo) {
    EXPECT_EQ(std::wstring(cp932_to_wide_built_in(score_label_cp932).text),
              std::wstring(cp932_to_wide(score_label_cp932).text));
    EXPECT_EQ(std::wstring(cp932_to_wide_built_in(decide_button_cp932).text), L"\u6c7a\u5b9a");
    EXPECT_EQ(std::wstring(cp932_to_wide_built_in("\x82\xa0!\x93").text), L"?!?")
        << "outside the built-in table, and a lone lead byte";
}

} // namespace

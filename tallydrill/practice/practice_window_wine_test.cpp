// The practice window in the test's own process under Wine, walked through as the user walks
// it: the start screen, a question loaded through the real dialog, answers by key, by button
// and by typed score, the clock, the result pane, NEXT and dealing again, question files that
// are missing or broken, the tiles read back from the screen, and the end.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tallydrill/practice/answer_deal.h"
#include "tallydrill/practice/commands.h"
#include "tallydrill/practice/japanese_text.h"
#include "tallydrill/practice/practice_app.h"
#include "tallydrill/practice/practice_test_support.h"
#include "tallydrill/practice/practice_window.h"
#include "tallydrill/practice/question_file.h"
#include "tallydrill/practice/resource_ids.h"
#include "win32_test_support.h"

namespace {

using namespace practice_test;
using Lines = std::vector<std::string>;
using win32_test::answer_dialogs;
using win32_test::window_text;

const Lines answers = {"2900", "3900", "5800", "1500"};
std::uint32_t clock_ms = 0; // the program's clock and calendar while a test runs
std::uint32_t calendar_seconds = 0;

LRESULT bar_position(int field) {
    return SendMessageA(practice.countdown_pane.fields[field], PBM_GETPOS, 0, 0);
}

// The window in the test's own process with a clock and a calendar the test sets; messages
// dispatched as the program's loop does, offered to the accelerator table first.
class PracticeFlow : public ::testing::Test {
  protected:
    bool quit_seen = false;
    PracticeStart start{};

    void SetUp() override {
        clock_ms = 100000;
        calendar_seconds = 1;
        practice_clock_ms = [] { return clock_ms; };
        practice_calendar_seconds = [] { return calendar_seconds; };
        provide_tile_bitmap();
        restart();
    }
    void TearDown() override {
        if (start.window != nullptr && IsWindow(start.window)) {
            DestroyWindow(start.window);
        }
        if (start.accelerators != nullptr) {
            DestroyAcceleratorTable(start.accelerators);
        }
        UnregisterClassA(TD_CLASS_NAME, GetModuleHandleA(nullptr));
        pump(0);
        start = PracticeStart{};
    }
    // Ends the window and starts it again from the program's initial state.
    void restart() {
        TearDown();
        reset_question_file_path();
        start = start_practice(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
        ASSERT_NE(start.window, nullptr);
        quit_seen = false;
        pump(20);
    }
    void pump(DWORD milliseconds) {
        const DWORD begun = GetTickCount();
        do {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    quit_seen = true;
                } else if (!TranslateAcceleratorA(start.window, start.accelerators, &message)) {
                    TranslateMessage(&message);
                    DispatchMessageA(&message);
                }
            }
            Sleep(1);
        } while (GetTickCount() - begun < milliseconds);
    }
    HWND window() const { return start.window; }
    void press_key(WORD key) {
        win32_test::post_key(GetFocus() != nullptr ? GetFocus() : start.window, key);
        pump(30);
    }
    void command(int id) { SendMessageA(start.window, WM_COMMAND, MAKEWPARAM(id, 1), 0); }
    // A load key answered in the real dialog: the path chosen, or cancelled when it is "".
    void load(WORD key, const std::string& path) {
        EXPECT_EQ(
            answer_dialogs({path.empty() ? win32_test::cancel() : win32_test::choose_file(path)},
                           [&] { press_key(key); }),
            Lines{"Pointsmith question Data Load"});
    }
    std::string result_text(int field) const {
        return window_text(practice.result_pane.fields[field]);
    }
    std::string button_text(int slot) const {
        return window_text(practice.countdown_pane.choice_buttons[slot]);
    }
    // The window painted again, in front, and its tiles compared with the loaded bitmap's.
    std::string tile_differences() {
        SetForegroundWindow(start.window);
        RedrawWindow(start.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
        pump(80); // paints and a tick
        return practice_test::tile_differences(start.window, practice.tile_bitmap,
                                               practice.question);
    }
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
    Lines offered_then(const win32_test::Answer& answer, WORD key) {
        Lines offered;
        answer_dialogs({[&](HWND dialog) {
                           offered = win32_test::offered_files(dialog);
                           answer(dialog);
                       }},
                       [&] { press_key(key); });
        return offered;
    }
};

TEST_F(PracticeFlow, ASelectedAnswerFromStartToNext) {
    const std::string path = write_question(
        "q1.tt", make_question(30, "Ron on white.\\nScore?", answers, "White dragon,\\n40 fu."));
    keys_do_nothing({VK_F1, VK_F2, VK_F3, VK_F4, VK_RETURN, VK_F7});
    ASSERT_NE(practice.start_button, nullptr);
    EXPECT_EQ(window_text(practice.start_button), "F5 : [ Pointsmith ] Start");

    clock_ms = 200000;
    EXPECT_EQ(offered_then(win32_test::choose_file(path), VK_F5),
              (Lines{"Pointsmith question*", "ALL FORMAT", "*.tt"}));
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
    Lines shown;
    for (int field :
         {result_timing_verdict, result_elapsed_value, result_answer_verdict,
          result_right_answer_value, result_your_answer_label, result_your_answer_value}) {
        shown.push_back(result_text(field));
    }
    EXPECT_EQ(shown, (Lines{"too late", "30.0 sec", "wrong", "2900", "select answer", chosen}));
    keys_do_nothing({VK_F1, VK_F2, VK_F3, VK_F4});

    // The pane opens over ten ticks; NEXT then offers the previous choice, and a cancelled
    // dialog deals the same question again in the same mode.
    for (int tick = 0; tick < 10; ++tick) {
        SendMessageA(window(), WM_TIMER, 1, 0);
    }
    EXPECT_EQ(tile_differences(), "") << "once the result pane has opened";
    EXPECT_EQ(window_text(practice.result_pane.explanation_box), "White dragon,\r\n40 fu.");
    EXPECT_EQ(offered_then(win32_test::cancel(), VK_RETURN).back(), "q1.tt");
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
}

TEST_F(PracticeFlow, TypedScoresAndTheLoadCommandsInEveryState) {
    load(VK_F6, write_question("typed.tt", make_question(30, "Typed", answers, "")));
    ASSERT_EQ(practice.mode, AnswerMode::direct_input);
    EXPECT_EQ(practice.countdown_pane.choice_buttons[0], nullptr);
    // The Japanese captions, also where the system has no code page 932 table.
    wchar_t caption[16] = {};
    GetWindowTextW(practice.countdown_pane.score_label, caption, 16);
    EXPECT_EQ(std::wstring(caption), L"\u70b9\u6570\u5165\u529b");
    EXPECT_EQ(std::wstring(cp932_to_wide_built_in(score_label_cp932).text), caption);
    GetWindowTextW(practice.countdown_pane.decide_button, caption, 16);
    EXPECT_EQ(std::wstring(caption), L"\u6c7a\u5b9a");
    EXPECT_EQ(std::wstring(cp932_to_wide_built_in("\x82\xa0!\x93").text), L"?!?");
    InvalidateRect(window(), nullptr, TRUE);
    UpdateWindow(window());
    EXPECT_EQ(GetFocus(), practice.countdown_pane.score_input) << "painting focuses the input";
    keys_do_nothing({VK_F1, VK_F2, VK_F3, VK_F4});

    // Enter, then the button; an answer is read up to 255 characters.
    const std::string long_answer = "8000 " + std::string(400, '7');
    const struct {
        const char* right;
        std::string typed;
        const char* verdict;
    } rows[] = {{"2600 a", "2600 all", "right"}, {"8000", long_answer, "wrong"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed.substr(0, 20));
        std::strcpy(practice.question.answers[0], row.right);
        if (practice.state == PracticeState::result_shown) {
            command(IDM_DEAL_AGAIN);
        }
        SetWindowTextA(practice.countdown_pane.score_input, row.typed.c_str());
        if (&row == rows) {
            press_key(VK_RETURN);
        } else {
            SendMessageA(practice.countdown_pane.decide_button, BM_CLICK, 0, 0);
        }
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

// The sample when the first dialog is cancelled, a file gone, and a record whose codes name no
// cell, whose lists lack their 255 and whose texts lack their NUL: shown inside its fields.
TEST_F(PracticeFlow, MissingAndBrokenQuestionFiles) {
    QuestionRecord sample{};
    set_initial_question(sample);
    load(VK_F5, "");
    EXPECT_EQ(std::memcmp(&practice.question, &sample, sizeof sample), 0);
    EXPECT_EQ(window_text(window()), "[ Pointsmith ][ Tilvora ] version 2.5");

    const std::string missing = win32_test::full_path("not-there.tt");
    const Lines seen = answer_dialogs({win32_test::choose_file(missing), win32_test::press(IDOK)},
                                      [&] { press_key(VK_F5); });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(lstrcmpiA(seen[1].c_str(), ("Can not Open File: " + missing).c_str()), 0) << seen[1];
    EXPECT_EQ(std::memcmp(&practice.question, &sample, sizeof sample), 0) << "unchanged";
    EXPECT_EQ(practice.state, PracticeState::question_running) << "the practice goes on";

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
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the bitmap is gone";
    pump(20);
    EXPECT_TRUE(quit_seen);
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
    file.erase(file.begin() + 54, file.end() - 100 * ((390 * 3 + 3) / 4 * 4));
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

} // namespace

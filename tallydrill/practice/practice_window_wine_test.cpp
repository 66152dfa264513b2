// The practice window in the test's own process under Wine, walked through as the user does.
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
std::uint32_t clock_ms = 0; // the program's clock while a test runs

class PracticeFlow : public ::testing::Test {
  protected:
    bool quit_seen = false;
    PracticeStart start{};

    void SetUp() override {
        clock_ms = 100000;
        practice_clock_ms = [] { return clock_ms; };
        practice_calendar_seconds = [] { return std::uint32_t{1}; };
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
    void restart() {
        TearDown();
        reset_question_file_path();
        start = start_practice(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
        ASSERT_NE(start.window, nullptr);
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
    void press_key(WORD key) {
        win32_test::post_key(GetFocus() != nullptr ? GetFocus() : start.window, key);
        pump(30);
    }
    // A load key answered in the real dialog (cancelled for ""); the files it offered.
    Lines load(WORD key, const std::string& path) {
        Lines offered;
        EXPECT_EQ(answer_dialogs({[&](HWND dialog) {
                                     offered = win32_test::offered_files(dialog);
                                     (path.empty() ? win32_test::cancel()
                                                   : win32_test::choose_file(path))(dialog);
                                 }},
                                 [&] { press_key(key); }),
                  Lines{"Pointsmith question Data Load"});
        return offered;
    }
    std::string result_text(int field) const {
        return window_text(practice.result_pane.fields[field]);
    }
    std::string button_text(int slot) const {
        return window_text(practice.countdown_pane.choice_buttons[slot]);
    }
    std::string tile_differences() {
        SetForegroundWindow(start.window);
        RedrawWindow(start.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
        pump(80); // paints and a tick
        return practice_test::tile_differences(start.window, practice.tile_bitmap,
                                               practice.question);
    }
    void keys_do_nothing(std::initializer_list<WORD> keys) {
        const PracticeState state = practice.state;
        answer_dialogs({}, [&] {
            for (WORD key : keys) {
                press_key(key);
                EXPECT_EQ(practice.state, state) << "key " << key;
            }
        });
    }
};

TEST_F(PracticeFlow, ASelectedAnswerFromStartToNext) {
    const std::string path = write_question(
        "q1.tt", make_question(30, "Ron on white.\\nScore?", answers, "White dragon,\\n40 fu."));
    keys_do_nothing({VK_F1, VK_RETURN, VK_F7});
    EXPECT_EQ(window_text(practice.start_button), "F5 : [ Pointsmith ] Start");

    clock_ms = 200000;
    EXPECT_EQ(load(VK_F5, path), (Lines{"Pointsmith question*", "ALL FORMAT", "*.tt"}));
    ASSERT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(window_text(start.window), "q1.tt") << "the title is the file's";
    EXPECT_EQ(practice.question_start_ms, 200000u) << "the clock is read after the dialog";
    const AnswerDeal deal = deal_answers(1);
    for (int entry = 0; entry < 4; ++entry) {
        EXPECT_EQ(button_text(deal.slot_of_entry[entry]), answers[entry]) << entry;
    }
    EXPECT_EQ(tile_differences(), "");

    clock_ms += 15000; // shown by the real 50 ms timer
    EXPECT_TRUE(win32_test::pump_until(
        [] {
            return window_text(practice.countdown_pane.fields[countdown_elapsed_value]) == "15 sec";
        },
        3000));

    // A wrong answer by its key, too late; the keys then do nothing.
    clock_ms = 200000 + 30001;
    const int wrong = (practice.right_slot + 1) % 4;
    const std::string chosen = button_text(wrong);
    press_key(static_cast<WORD>(VK_F1 + wrong));
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    EXPECT_EQ((Lines{result_text(result_timing_verdict), result_text(result_elapsed_value),
                     result_text(result_answer_verdict), result_text(result_right_answer_value),
                     result_text(result_your_answer_value)}),
              (Lines{"too late", "30.0 sec", "wrong", "2900", chosen}));
    keys_do_nothing({VK_F1, VK_F4});

    // The pane opens over ten ticks; NEXT offers the previous choice, a cancel deals it again.
    for (int tick = 0; tick < 10; ++tick) {
        SendMessageA(start.window, WM_TIMER, 1, 0);
    }
    EXPECT_EQ(tile_differences(), "") << "once the result pane has opened";
    EXPECT_EQ(window_text(practice.result_pane.explanation_box), "White dragon,\r\n40 fu.");
    EXPECT_EQ(load(VK_RETURN, "").back(), "q1.tt");
    ASSERT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.mode, AnswerMode::select_answer);

    clock_ms = practice.question_start_ms + 3100;
    SendMessageA(practice.countdown_pane.choice_buttons[practice.right_slot], BM_CLICK, 0, 0);
    EXPECT_EQ(result_text(result_answer_verdict), "right");
    EXPECT_EQ(result_text(result_timing_verdict), "permit");
    const HBITMAP bitmap = practice.tile_bitmap;
    SendMessageA(start.window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the bitmap is gone";
    pump(20);
    EXPECT_TRUE(quit_seen);
}

TEST_F(PracticeFlow, TypedScoresAndTheLoadCommandsInEveryState) {
    load(VK_F6, write_question("typed.tt", make_question(30, "Typed", answers, "")));
    ASSERT_EQ(practice.mode, AnswerMode::direct_input);
    // The Japanese caption, also where the system has no code page 932 table.
    wchar_t caption[16] = {};
    GetWindowTextW(practice.countdown_pane.score_label, caption, 16);
    EXPECT_EQ(std::wstring(caption), L"\u70b9\u6570\u5165\u529b");
    EXPECT_EQ(std::wstring(cp932_to_wide_built_in(score_label_cp932).text), caption);
    UpdateWindow(start.window);
    EXPECT_EQ(GetFocus(), practice.countdown_pane.score_input) << "painting focuses the input";

    // A typed answer is read up to 255 characters (Enter: the program test).
    const std::string typed = "8000 " + std::string(400, '7');
    SetWindowTextA(practice.countdown_pane.score_input, typed.c_str());
    SendMessageA(practice.countdown_pane.decide_button, BM_CLICK, 0, 0);
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    EXPECT_EQ(result_text(result_answer_verdict), "wrong");
    EXPECT_EQ(result_text(result_your_answer_value), typed.substr(0, 255));

    // F5 over a result, F6 over a running question: each load sets its mode.
    load(VK_F5, write_question("second.tt", make_question(20, "Second", {"7700"}, "")));
    EXPECT_EQ(practice.mode, AnswerMode::select_answer);
    EXPECT_EQ(button_text(practice.right_slot), "7700");
    load(VK_F6, "");
    EXPECT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.mode, AnswerMode::direct_input);
    EXPECT_NE(practice.countdown_pane.score_input, nullptr);
}

// The sample when cancelled or a file is gone; a record with unknown codes, no 255 ends and no
// NULs is shown inside its fields.
TEST_F(PracticeFlow, MissingAndBrokenQuestionFiles) {
    QuestionRecord sample{};
    set_initial_question(sample);
    load(VK_F5, "");
    EXPECT_EQ(std::memcmp(&practice.question, &sample, sizeof sample), 0);

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
    load(VK_F5, write_question("broken.tt", broken));
    EXPECT_EQ(window_text(practice.question_pane.question_box), std::string(255, 'y'));
    EXPECT_EQ(button_text(0), std::string(64, 'y')) << "nothing of the next field";
    EXPECT_EQ(tile_differences(), "") << "the known cells";
    clock_ms = practice.question_start_ms + 1;
    SendMessageA(start.window, WM_COMMAND, IDM_ANSWER_F1 + practice.right_slot, 0);
    EXPECT_EQ(result_text(result_timing_verdict), "too late");
    EXPECT_EQ(window_text(practice.result_pane.explanation_box), std::string(255, 'y'));
}

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

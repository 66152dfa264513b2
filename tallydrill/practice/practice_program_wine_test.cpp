// tallydrill.exe as a person uses it, driven from outside: started from a folder that holds
// data/bp.bmp, a question chosen in its real open dialog, answered by key and by typed score,
// the verdicts read back from its windows and the tiles from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tallydrill/practice/practice_test_support.h"
#include "tallydrill/practice/resource_ids.h"
#include "win32_test_support.h"

namespace {

using namespace practice_test;
using Lines = std::vector<std::string>;
using win32_test::window_text;

// The visible child of this class whose top left corner is at x, y; nullptr when none is.
HWND child_at(HWND window, const char* window_class, int x, int y) {
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        if (r.left == x && r.top == y && IsWindowVisible(child) &&
            win32_test::window_class(child) == window_class) {
            return child;
        }
    }
    return nullptr;
}

// The result pane once it has opened: NEXT, then the verdicts and the four pairs of fields.
bool result_open(HWND window) {
    RECT r{};
    return GetWindowRect(child_at(window, "Button", 0, 50), &r) && r.right - r.left == 65;
}
Lines result_texts(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    Lines texts = {window_text(child_at(window, "Edit", 65, 50)),
                   window_text(child_at(window, "Edit", 65, 75))};
    for (int y : {50, 75}) {
        for (int k = 0; k < 4; ++k) {
            texts.push_back(
                window_text(child_at(window, "Edit", (client.right - 150) * k / 4 + 150, y)));
        }
    }
    return texts;
}

void pump_for(DWORD milliseconds) {
    win32_test::pump_until([] { return false; }, milliseconds);
}

bool answer_in_dialog(const win32_test::Program& program, HWND window, WORD key,
                      const std::string& path) {
    return win32_test::answer_dialogs(
               {win32_test::choose_file(path)}, [&] { win32_test::post_key(window, key); },
               program.id()) == Lines{"Pointsmith question Data Load"};
}

TEST(PracticeProgram, AQuestionFromTheDialogIsAnsweredByKeyAndByTypedScore) {
    provide_tile_bitmap();
    const QuestionRecord record = make_question(30, "Four added kans.\\nThe score?",
                                                {"2900", "3900", "5800", "1500"}, "Explained.");
    const std::string path = write_question("kans.tt", record);
    win32_test::Program program(TALLYDRILL_EXE);
    HWND window = program.wait_for_window(TD_CLASS_NAME, "[ Pointsmith ][ Tilvora ] version 2.5");
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(answer_in_dialog(program, window, VK_F5, path));
    ASSERT_TRUE(win32_test::pump_until([&] { return window_text(window) == "kans.tt"; }, 5000));
    EXPECT_EQ(window_text(child_at(window, "Edit", 0, 0)), "Four added kans.\r\nThe score?");
    Lines on_buttons;
    for (int slot = 0; slot < 4; ++slot) {
        on_buttons.push_back(window_text(child_at(window, "Button", 50, 280 + 30 * slot)));
        EXPECT_EQ(window_text(child_at(window, "Static", 0, 280 + 30 * slot)),
                  "F" + std::to_string(slot + 1));
    }
    const int right_slot = static_cast<int>(
        std::find(on_buttons.begin(), on_buttons.end(), "2900") - on_buttons.begin());
    std::sort(on_buttons.begin(), on_buttons.end());
    EXPECT_EQ(on_buttons, (Lines{"1500", "2900", "3900", "5800"}));

    SetForegroundWindow(window);
    pump_for(300);
    EXPECT_EQ(
        plan_differences(picture_of_client(window), picture_of_bitmap_file("data\\bp.bmp"), record),
        "");

    win32_test::post_key(window, static_cast<WORD>(VK_F1 + right_slot));
    ASSERT_TRUE(win32_test::pump_until([&] { return result_open(window); }, 5000));
    Lines shown = result_texts(window);
    ASSERT_EQ(shown.size(), 10u);
    shown[5] = shown[5].substr(shown[5].size() - 4); // the elapsed time: " sec"
    EXPECT_EQ(shown, (Lines{"permit", "right", "limitation time", "30 sec", "elapsed time", " sec",
                            "right answer", "2900", "select answer", "2900"}));
    EXPECT_EQ(window_text(child_at(window, "Edit", 0, 280)), "Explained.");

    // The next question in the typed-score mode: a wrong score typed, then Enter.
    ASSERT_TRUE(answer_in_dialog(program, window, VK_F6, path));
    HWND input = nullptr;
    ASSERT_TRUE(win32_test::pump_until(
        [&] { return (input = child_at(window, "Edit", 125, 316)) != nullptr; }, 5000));
    win32_test::post_chars(input, "2900 a");
    ASSERT_TRUE(win32_test::pump_until([&] { return window_text(input) == "2900 a"; }, 5000));
    win32_test::post_key(input, VK_RETURN);
    ASSERT_TRUE(win32_test::pump_until([&] { return result_open(window); }, 5000));
    shown = result_texts(window);
    EXPECT_EQ(shown.at(1), "wrong");
    EXPECT_EQ(shown.at(8), "input answer");
    EXPECT_EQ(shown.at(9), "2900 a");

    win32_test::post_command(window, IDM_EXIT);
    EXPECT_EQ(program.wait_for_exit(), 0);
}

// For the pictures of the README (show-practice.sh screenshot): the question file of the
// working folder shown until question.done appears, then answered right by its key and shown
// until result.done appears; each pose announced by a .flag file.
TEST(PracticeProgram, DISABLED_PoseForScreenshots) {
    provide_tile_bitmap();
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA("*.tt", &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no question file in the working folder";
    FindClose(search);
    QuestionRecord record{};
    std::FILE* file = std::fopen(found.cFileName, "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fread(&record, 1, sizeof record, file), sizeof record);
    std::fclose(file);
    win32_test::Program program(TALLYDRILL_EXE);
    HWND window = program.wait_for_window(TD_CLASS_NAME);
    ASSERT_TRUE(answer_in_dialog(program, window, VK_F5, win32_test::full_path(found.cFileName)));
    const std::string right(answer_text(record, 0));
    int right_slot = -1;
    ASSERT_TRUE(win32_test::pump_until(
        [&] {
            for (int slot = 0; slot < 4; ++slot) {
                if (window_text(child_at(window, "Button", 50, 280 + 30 * slot)) == right) {
                    right_slot = slot;
                }
            }
            return right_slot >= 0;
        },
        5000));
    SetForegroundWindow(window);
    pump_for(2300); // the clock shows a few seconds
    const auto pose = [](const char* flag, const char* done) {
        write_file(flag, "", 0);
        win32_test::pump_until([&] { return GetFileAttributesA(done) != INVALID_FILE_ATTRIBUTES; },
                               60000);
    };
    pose("question.flag", "question.done");
    win32_test::post_key(window, static_cast<WORD>(VK_F1 + right_slot));
    ASSERT_TRUE(win32_test::pump_until([&] { return result_open(window); }, 5000));
    pump_for(300);
    pose("result.flag", "result.done");
    win32_test::post_command(window, IDM_EXIT);
    program.wait_for_exit();
}

} // namespace

// tallydrill.exe driven from outside. release_test.sh runs it on an unpacked release too
// (TALLYDRILL_EXE, that folder current).
#include <windows.h>

#include <gtest/gtest.h>

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
std::string text_at(HWND window, const char* window_class, int x, int y) {
    HWND child = child_at(window, window_class, x, y);
    return child ? window_text(child) : "(none)";
}

int slot_showing(HWND window, const std::string& text) {
    for (int slot = 0; slot < 4; ++slot) {
        if (text_at(window, "Button", 50, 280 + 30 * slot) == text) {
            return slot;
        }
    }
    return -1;
}

// The verdicts and the your-answer fields, once the result pane has opened (NEXT at full size).
Lines verdicts(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const int w = client.right - 150; // the pairs of fields share the width right of x = 150
    win32_test::pump_until([&] { return text_at(window, "Button", 0, 50) == "NEXT"; }, 5000);
    return {text_at(window, "Edit", 65, 50), text_at(window, "Edit", 65, 75),
            text_at(window, "Edit", w * 2 / 4 + 150, 75),
            text_at(window, "Edit", w * 3 / 4 + 150, 75)};
}

bool load(const win32_test::Program& program, HWND window, WORD key, const std::string& path) {
    return win32_test::answer_dialogs(
               {win32_test::choose_file(path)}, [&] { win32_test::post_key(window, key); },
               program.id()) == Lines{"Pointsmith question Data Load"};
}

TEST(PracticeProgram, AQuestionFromTheDialogIsAnsweredByKeyAndByTypedScore) {
    provide_tile_bitmap();
    const QuestionRecord question = make_question(30, "Four kans.\\nThe score?",
                                                  {"2900", "3900", "5800", "1500"}, "Explained.");
    CreateDirectoryA("pack", nullptr); // where a release keeps its questions
    const std::string path = write_question("pack\\kans.tt", question);
    win32_test::Program program(win32_test::program_path("TALLYDRILL_EXE", TALLYDRILL_EXE));
    HWND window = program.wait_for_window(TD_CLASS_NAME, "[ Pointsmith ][ Tilvora ] version 2.5");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(load(program, window, VK_F5, path));
    ASSERT_TRUE(win32_test::pump_until([&] { return window_text(window) == "kans.tt"; }, 5000));
    EXPECT_EQ(text_at(window, "Edit", 0, 0), "Four kans.\r\nThe score?");
    const int right = slot_showing(window, "2900");
    ASSERT_GE(right, 0);
    HBITMAP cells = static_cast<HBITMAP>(
        LoadImageA(nullptr, "data\\bp.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(cells, nullptr);
    SetForegroundWindow(window);
    std::string differences;
    EXPECT_TRUE(win32_test::pump_until(
        [&] { return (differences = tile_differences(window, cells, question)).empty(); }, 5000))
        << differences;
    DeleteObject(cells);

    win32_test::post_key(window, static_cast<WORD>(VK_F1 + right));
    EXPECT_EQ(verdicts(window), (Lines{"permit", "right", "select answer", "2900"}));

    ASSERT_TRUE(load(program, window, VK_F6, path));
    HWND input = nullptr;
    ASSERT_TRUE(win32_test::pump_until(
        [&] { return (input = child_at(window, "Edit", 125, 316)) != nullptr; }, 5000));
    win32_test::post_chars(input, "2900 a");
    ASSERT_TRUE(win32_test::pump_until([&] { return window_text(input) == "2900 a"; }, 5000));
    win32_test::post_key(input, VK_RETURN);
    EXPECT_EQ(verdicts(window), (Lines{"permit", "wrong", "input answer", "2900 a"}));

    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(program.wait_for_exit(), 0);
}

// For the pictures of the README (show-practice.sh screenshot): the question file of the
// working folder shown until question.done appears, then answered right and shown until
// result.done appears; each pose announced by a .flag file.
TEST(PracticeProgram, DISABLED_PoseForScreenshots) {
    provide_tile_bitmap();
    WIN32_FIND_DATAA found{};
    FindClose(FindFirstFileA("*.tt", &found));
    QuestionRecord record{};
    std::FILE* file = std::fopen(found.cFileName, "rb");
    ASSERT_NE(file, nullptr) << "no question file in the working folder";
    EXPECT_EQ(std::fread(&record, 1, sizeof record, file), sizeof record);
    std::fclose(file);
    win32_test::Program program(TALLYDRILL_EXE);
    HWND window = program.wait_for_window(TD_CLASS_NAME);
    ASSERT_TRUE(load(program, window, VK_F5, win32_test::full_path(found.cFileName)));
    int right = -1;
    ASSERT_TRUE(win32_test::pump_until(
        [&] { return (right = slot_showing(window, std::string(answer_text(record, 0)))) >= 0; },
        5000));
    const auto pose = [&](DWORD ms, const char* flag, const char* done) {
        SetForegroundWindow(window);
        win32_test::pump_until([] { return false; }, ms);
        write_file(flag, "", 0);
        win32_test::pump_until([&] { return GetFileAttributesA(done) != INVALID_FILE_ATTRIBUTES; },
                               60000);
    };
    pose(2300, "question.flag", "question.done"); // the clock shows a few seconds
    win32_test::post_key(window, static_cast<WORD>(VK_F1 + right));
    verdicts(window);
    pose(300, "result.flag", "result.done");
    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    program.wait_for_exit();
}

} // namespace

// tallydrill.exe driven from outside. release_test.sh runs it on an unpacked release too
// (TALLYDRILL_EXE, that folder current).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tallydrill/practice/practice_program_test_support.h"
#include "tallydrill/practice/practice_test_support.h"
#include "tallydrill/practice/resource_ids.h"
#include "win32_test_support.h"

namespace {

using namespace practice_program_test;
using namespace practice_test;

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

} // namespace

// The pictures of the README (tallydrill/practice/show-practice.sh screenshot): the question
// file of the working folder shown until question.done appears, then answered right and shown
// until result.done appears; each pose announced by a .flag file. A tool built with the Wine
// tests, not one of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tallydrill/practice/practice_program_test_support.h"
#include "tallydrill/practice/practice_test_support.h"
#include "tallydrill/practice/resource_ids.h"
#include "win32_test_support.h"

using namespace practice_program_test;
using namespace practice_test;

TEST(Pose, QuestionAndResult) {
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

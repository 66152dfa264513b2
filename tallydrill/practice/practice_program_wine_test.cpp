// tallydrill.exe as a person uses it, driven from outside: started from a folder that holds
// data/bp.bmp, a question chosen in its real open dialog, answers given with keys and typed,
// the verdicts read back from its windows, and the screen read back at the tile places.
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
using win32_test::DialogDriver;

struct Child {
    HWND window;
    std::string window_class;
    PaneRect place;
};

BOOL CALLBACK collect(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<Child> children(HWND window) {
    std::vector<HWND> handles;
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&handles));
    std::vector<Child> found;
    for (HWND handle : handles) {
        if (GetParent(handle) == window) {
            found.push_back({handle, win32_test::window_class(handle), place_of(handle)});
        }
    }
    return found;
}

// The child of this class whose top left corner is at x, y; nullptr when there is none.
HWND child_at(HWND window, const char* window_class, int x, int y) {
    for (const Child& child : children(window)) {
        if (child.window_class == window_class && child.place.x == x && child.place.y == y &&
            IsWindowVisible(child.window)) {
            return child.window;
        }
    }
    return nullptr;
}

// The result field with this index once the pane has opened.
HWND result_field(HWND window, int index) {
    const int w = client_size(window).cx;
    if (index == result_timing_verdict) {
        return child_at(window, "Edit", 65, 50);
    }
    if (index == result_answer_verdict) {
        return child_at(window, "Edit", 65, 75);
    }
    const int k = (index - 2) % 5;
    const int y = index < result_answer_verdict ? 50 : 75;
    return child_at(window, "Edit", (w - 150) * k / 4 + 150, y);
}

bool result_pane_open(HWND window) {
    HWND next = child_at(window, "Button", 0, 50);
    return next != nullptr && place_of(next).width == 65 && place_of(next).height == 50;
}

std::string result_text(HWND window, int index) {
    HWND field = result_field(window, index);
    return field != nullptr ? win32_test::window_text(field)
                            : "(no field " + std::to_string(index) + ")";
}

TEST(PracticeProgram, AQuestionFromTheDialogIsAnsweredByKeyAndByTypedScore) {
    provide_tile_bitmap();
    QuestionRecord record = make_question({30,
                                           "Four added kans, ron on 1-man.\\nThe score?",
                                           {"2900", "3900", "5800", "1500"},
                                           "Explained."});
    const std::string path = write_question("kans.tt", record);

    win32_test::Program program("\"" + win32_test::windows_path(TALLYDRILL_EXE) + "\"");
    ASSERT_TRUE(program.started());
    HWND window = program.wait_for_window(TD_CLASS_NAME, "[ Pointsmith ][ Tilvora ] version 2.5");
    ASSERT_NE(window, nullptr);
    ASSERT_NE(child_at(window, "Button", 10, client_size(window).cy / 4), nullptr)
        << "the start button";

    {
        DialogDriver dialogs(DialogDriver::OfProcess{program.id()});
        dialogs.answer(win32_test::choose_file(path));
        win32_test::post_key(window, VK_F5);
        ASSERT_TRUE(dialogs.wait_done(5000));
        ASSERT_EQ(dialogs.seen().size(), 1u);
        EXPECT_EQ(dialogs.seen()[0].caption, "Pointsmith question Data Load");
    }
    ASSERT_TRUE(
        win32_test::pump_until([&] { return win32_test::window_text(window) == "kans.tt"; }, 5000));
    HWND question_box = child_at(window, "Edit", 0, 0);
    ASSERT_NE(question_box, nullptr);
    EXPECT_EQ(win32_test::window_text(question_box),
              "Four added kans, ron on 1-man.\r\nThe score?");

    // The four answers, each once; the right one where the deal put it.
    int right_slot = -1;
    std::vector<std::string> on_buttons;
    for (int slot = 0; slot < 4; ++slot) {
        HWND button = child_at(window, "Button", 50, 280 + 30 * slot);
        ASSERT_NE(button, nullptr) << slot;
        on_buttons.push_back(win32_test::window_text(button));
        EXPECT_EQ(win32_test::window_text(child_at(window, "Static", 0, 280 + 30 * slot)),
                  "F" + std::to_string(slot + 1));
        if (on_buttons.back() == "2900") {
            right_slot = slot;
        }
    }
    std::vector<std::string> sorted = on_buttons;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"1500", "2900", "3900", "5800"}));
    ASSERT_GE(right_slot, 0);

    // The screen, read back where the client area lies: the sample's tiles at their places.
    SetForegroundWindow(window);
    win32_test::pump_messages(300);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const SIZE client = client_size(window);
    HDC screen = GetDC(nullptr);
    const Picture shown = picture_of_dc(screen, origin.x, origin.y, client.cx, client.cy);
    ReleaseDC(nullptr, screen);
    HBITMAP tiles = static_cast<HBITMAP>(LoadImageA(nullptr, full_path("data\\bp.bmp").c_str(),
                                                    IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(tiles, nullptr);
    const Picture cells = picture_of_bitmap(tiles);
    DeleteObject(tiles);
    std::string differences;
    for (const std::string& line : tile_differences(shown, 0, 0, cells, sample_question_places())) {
        differences += line + "\n";
    }
    EXPECT_EQ(differences, "");
    EXPECT_EQ(shown.at(300, 230), RGB(0, 100, 0)) << "the hand band";

    // The right answer by its key.
    const WORD keys[4] = {VK_F1, VK_F2, VK_F3, VK_F4};
    win32_test::post_key(window, keys[right_slot]);
    ASSERT_TRUE(win32_test::pump_until([&] { return result_pane_open(window); }, 5000));
    EXPECT_EQ(result_text(window, result_answer_verdict), "right");
    EXPECT_EQ(result_text(window, result_timing_verdict), "permit");
    EXPECT_EQ(result_text(window, result_limit_label), "limitation time");
    EXPECT_EQ(result_text(window, result_limit_value), "30 sec");
    EXPECT_EQ(result_text(window, result_right_answer_value), "2900");
    EXPECT_EQ(result_text(window, result_your_answer_label), "select answer");
    EXPECT_EQ(result_text(window, result_your_answer_value), "2900");
    const std::string elapsed = result_text(window, result_elapsed_value);
    EXPECT_EQ(elapsed.substr(elapsed.size() - 4), " sec");
    EXPECT_EQ(win32_test::window_text(child_at(window, "Edit", 0, 280)), "Explained.");

    // The next question in the direct-input mode, answered by a typed wrong score and Enter.
    {
        DialogDriver dialogs(DialogDriver::OfProcess{program.id()});
        dialogs.answer(win32_test::choose_file(path));
        win32_test::post_key(window, VK_F6);
        ASSERT_TRUE(dialogs.wait_done(5000));
    }
    HWND score_input = nullptr;
    ASSERT_TRUE(win32_test::pump_until(
        [&] { return (score_input = child_at(window, "Edit", 125, 316)) != nullptr; }, 5000));
    win32_test::post_chars(score_input, "2900 a");
    ASSERT_TRUE(win32_test::pump_until(
        [&] { return win32_test::window_text(score_input) == "2900 a"; }, 3000));
    win32_test::post_key(score_input, VK_RETURN);
    ASSERT_TRUE(win32_test::pump_until([&] { return result_pane_open(window); }, 5000));
    EXPECT_EQ(result_text(window, result_answer_verdict), "wrong");
    EXPECT_EQ(result_text(window, result_your_answer_label), "input answer");
    EXPECT_EQ(result_text(window, result_your_answer_value), "2900 a");

    // Exit from the menu: the program ends with 0.
    win32_test::post_command(window, IDM_EXIT);
    DWORD exit_code = 1;
    ASSERT_TRUE(program.wait_for_exit(5000, &exit_code));
    EXPECT_EQ(exit_code, 0u);
}

TEST(PracticeProgram, ClosingTheWindowEndsTheProgramWithZero) {
    provide_tile_bitmap();
    win32_test::Program program("\"" + win32_test::windows_path(TALLYDRILL_EXE) + "\"");
    HWND window = program.wait_for_window(TD_CLASS_NAME, nullptr);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exit_code = 1;
    ASSERT_TRUE(program.wait_for_exit(5000, &exit_code));
    EXPECT_EQ(exit_code, 0u);
}

bool wait_for_file(const char* name, DWORD timeout_ms) {
    return win32_test::pump_until(
        [&] { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }, timeout_ms);
}

// For the pictures of the README (show-practice.sh screenshot): the question file of the
// working folder is loaded and shown until question.done appears, then answered right by its key
// and shown until result.done appears. Each pose is announced by a .flag file.
TEST(PracticeProgram, DISABLED_PoseForScreenshots) {
    provide_tile_bitmap();
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA("*.tt", &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no question file in the working folder";
    FindClose(search);
    const std::string path = full_path(found.cFileName);
    win32_test::Program program("\"" + win32_test::windows_path(TALLYDRILL_EXE) + "\"");
    HWND window = program.wait_for_window(TD_CLASS_NAME, nullptr);
    ASSERT_NE(window, nullptr);
    {
        DialogDriver dialogs(DialogDriver::OfProcess{program.id()});
        dialogs.answer(win32_test::choose_file(path));
        win32_test::post_key(window, VK_F5);
        ASSERT_TRUE(dialogs.wait_done(5000));
    }
    std::string right_answer;
    QuestionRecord record{};
    {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(std::fread(&record, 1, sizeof record, file), sizeof record);
        std::fclose(file);
        right_answer = std::string(answer_text(record, 0));
    }
    int right_slot = -1;
    ASSERT_TRUE(win32_test::pump_until(
        [&] {
            for (int slot = 0; slot < 4; ++slot) {
                HWND button = child_at(window, "Button", 50, 280 + 30 * slot);
                if (button != nullptr && win32_test::window_text(button) == right_answer) {
                    right_slot = slot;
                }
            }
            return right_slot >= 0;
        },
        5000));
    SetForegroundWindow(window);
    win32_test::pump_messages(2300); // the clock shows a few seconds
    write_file("question.flag", "", 0);
    ASSERT_TRUE(wait_for_file("question.done", 60000));

    const WORD keys[4] = {VK_F1, VK_F2, VK_F3, VK_F4};
    win32_test::post_key(window, keys[right_slot]);
    ASSERT_TRUE(win32_test::pump_until([&] { return result_pane_open(window); }, 5000));
    win32_test::pump_messages(300);
    write_file("result.flag", "", 0);
    ASSERT_TRUE(wait_for_file("result.done", 60000));
    win32_test::post_command(window, IDM_EXIT);
    DWORD exit_code = 1;
    EXPECT_TRUE(program.wait_for_exit(5000, &exit_code));
}

} // namespace

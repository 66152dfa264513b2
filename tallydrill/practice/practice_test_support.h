// The practice window under Wine: question files written by the test, the tiles read back
// from the screen and compared with the bitmap's cells, and the window in the test's own
// process with a clock and a calendar the test sets.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tallydrill/practice/practice_app.h"
#include "tallydrill/practice/practice_window.h"
#include "tallydrill/questions/question_record.h"
#include "tallydrill/tiles/tile_plan.h"

namespace practice_test {

// The built-in sample's tiles with this limit and these texts.
QuestionRecord make_question(std::int32_t time_limit, const std::string& question,
                             const std::vector<std::string>& answers,
                             const std::string& explanation);
// Writes bytes to a file of the test's folder; gives its full path.
std::string write_file(const std::string& name, const void* bytes, std::size_t size);
std::string write_question(const std::string& name, const QuestionRecord& record);
// Copies the tile bitmap of the source tree to data/bp.bmp in the test's folder.
void provide_tile_bitmap();

// Pixels as COLORREF gives them, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
Picture picture_of_dc(HDC dc, int left, int top, int width, int height);
Picture picture_of_client(HWND window); // as the screen shows it

constexpr COLORREF band_green = RGB(0, 100, 0);

// Compares the window with the plan the drawing rules give for this record: every copy's cell
// (the visible part of a tile that a later one covers), dora rows stretched allowing a
// neighbouring source pixel, and every other pixel of the bands green. One line per fault.
std::string plan_differences(const Picture& shown, const Picture& bitmap,
                             const QuestionRecord& record);

class PracticeWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Ends the window and starts it again from the program's initial state.
    void restart();

    // Dispatches messages for this long, each offered to the accelerator table first.
    void pump(DWORD milliseconds);
    // A key pressed and released, through the accelerator table.
    void press_key(WORD virtual_key);
    // A command of the accelerator table, handled when this returns.
    void command(int id);
    // A load key answered in the real dialog: the path chosen, or cancelled when it is "".
    void load(WORD key, const std::string& path);
    std::string result_text(int field) const;
    // The window painted again, in front, and compared with plan_differences for the cells of
    // the bitmap the program loaded.
    std::string tile_differences();
    std::string button_text(int slot) const;

    HWND window() const { return start_.window; }
    SIZE client() const;

    static std::uint32_t clock_ms;
    static std::uint32_t calendar_seconds;
    bool quit_seen_ = false;

  private:
    PracticeStart start_{};
};

} // namespace practice_test

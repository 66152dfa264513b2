// The practice window in the test's own process: started as the program starts it, with a
// clock and a calendar the test sets, question files written by the test, and a message pump
// that offers every message to the accelerator table as the program's loop does.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tallydrill/practice/practice_app.h"
#include "tallydrill/practice/practice_window.h"
#include "tallydrill/practice/window_layout.h"
#include "tallydrill/questions/question_record.h"

namespace practice_test {

// The readings the program gets from practice_clock_ms and practice_calendar_seconds.
extern std::uint32_t clock_ms;
extern std::uint32_t calendar_seconds;

// A question with the sample's tiles and the given limit and texts.
struct QuestionTexts {
    std::int32_t time_limit;
    std::string question;
    std::string answers[4];
    std::string explanation;
};
QuestionRecord make_question(const QuestionTexts& texts);

// Writes bytes to a file of the test's folder; gives its full path.
std::string write_file(const std::string& name, const void* bytes, std::size_t size);
std::string write_question(const std::string& name, const QuestionRecord& record);
std::string full_path(const std::string& name);

// Copies the tile bitmap of the source tree to data/bp.bmp in the test's folder.
void provide_tile_bitmap();

// A child window's place in its parent's client area.
PaneRect place_of(HWND child);
SIZE client_size(HWND window);
std::string text_of(HWND window);
std::wstring wide_text_of(HWND window);
std::string describe(const PaneRect& r);

// The direct children of the main window in creation order.
std::vector<HWND> children_of(HWND window);

// Pixels, 0x00RRGGBB as COLORREF gives them, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// What a bitmap holds, and what a screen or window device context shows in a rectangle.
Picture picture_of_bitmap(HBITMAP bitmap);
Picture picture_of_dc(HDC dc, int left, int top, int width, int height);

// Where the tiles of the built-in sample question lie on a client area of 630 pixels or more,
// worked out by hand from the drawing rules: dora rows stretched to 33 x 49, everything else
// copied at the cell's size. `rows` is how much of the cell stays visible from its top (the
// upper tile of a stacked pair is covered by the lower one below row 34).
struct TilePlace {
    TileCode code;
    int x;
    int y;
    bool stretched;
    int rows;
};
std::vector<TilePlace> sample_question_places();

// Compares the tiles at their places in `shown` (offset by origin_x, origin_y) with the cells
// of the tile bitmap; gives one line per tile that differs. Stretched rows may come from a
// neighbouring source row.
std::vector<std::string> tile_differences(const Picture& shown, int origin_x, int origin_y,
                                          const Picture& bitmap,
                                          const std::vector<TilePlace>& places);

class PracticeWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Ends the window and starts the program's window again from its initial state.
    void restart();

    // Dispatches messages for this long, each offered to the accelerator table first.
    void pump(DWORD milliseconds);
    // A key as the user presses it: down and up, through the accelerator table.
    void press_key(WORD virtual_key);
    // A click on a child button, as the mouse gives it; handled when this returns.
    void click(HWND button);
    // A command issued by the accelerator table (notification code 1).
    void accelerator_command(int id);

    HWND window() const { return start_.window; }
    SIZE client() const { return client_size(start_.window); }

    bool quit_seen_ = false;
    WPARAM quit_code_ = 0;

  private:
    void stop();
    PracticeStart start_{};
};

} // namespace practice_test

// The tiles on the window, read back pixel by pixel: the sample question at the places the
// drawing rules give, every copy of the tile plan, repaints, a new question over an old one, and
// missing or too small tile bitmaps. Serial: another test's window must not cover this one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tallydrill/practice/practice_test_support.h"
#include "tallydrill/practice/resource_ids.h"
#include "tallydrill/tiles/tile_plan.h"
#include "win32_test_support.h"

namespace {

using namespace practice_test;
using win32_test::DialogDriver;

constexpr COLORREF band_green = RGB(0, 100, 0);
constexpr COLORREF light_grey = RGB(192, 192, 192);

std::string join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// Writes a 24-bit bottom-up bitmap file of the top left width x height pixels of a picture.
void write_cropped_bitmap(const char* path, const Picture& picture, int width, int height) {
    const int row_bytes = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> file(54 + static_cast<std::size_t>(row_bytes) * height, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            file[at + i] = static_cast<unsigned char>(v >> (8 * i));
        }
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; ++y) {
        unsigned char* row = &file[54 + static_cast<std::size_t>(height - 1 - y) * row_bytes];
        for (int x = 0; x < width; ++x) {
            const COLORREF c = picture.at(x, y);
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
    write_file(path, file.data(), file.size());
}

class TileDrawing : public PracticeWindowTest {
  protected:
    void load(WORD key, const std::string& path) {
        DialogDriver dialogs;
        dialogs.answer(path.empty() ? win32_test::cancel() : win32_test::choose_file(path));
        press_key(key);
        ASSERT_TRUE(dialogs.wait_done(3000));
        SetForegroundWindow(window());
        pump(80); // paints and a tick
    }

    Picture shown() {
        HDC dc = GetDC(window());
        const SIZE c = client();
        Picture picture = picture_of_dc(dc, 0, 0, c.cx, c.cy);
        ReleaseDC(window(), dc);
        return picture;
    }

    Picture bitmap() { return picture_of_bitmap(practice.tile_bitmap); }
};

TEST_F(TileDrawing, TheSampleQuestionShowsItsTilesWhereTheRulesPutThem) {
    load(VK_F5, ""); // the first dialog cancelled: the built-in sample
    ASSERT_GE(client().cx, 614);
    const Picture picture = shown();
    EXPECT_EQ(join(tile_differences(picture, 0, 0, bitmap(), sample_question_places())), "");
    // The bands around the tiles, and the window background outside them.
    struct Spot {
        int x, y;
        COLORREF colour;
    };
    const Spot spots[] = {
        {150 + 33 * 5 + 3, 102, band_green}, // right of the dora row
        {160, 201, band_green},              // under the back dora row
        {300, 230, band_green},              // between the concealed tiles and the groups
        {20, 205, band_green},               // above the concealed tile
        {picture.width - 1, 279, band_green},
        {picture.width - 3, 300, light_grey}, // right of the choice buttons
    };
    for (const Spot& spot : spots) {
        EXPECT_EQ(picture.at(spot.x, spot.y), spot.colour) << spot.x << "," << spot.y;
    }
}

TEST_F(TileDrawing, EveryCopyOfThePlanReachesTheWindow) {
    QuestionRecord record = make_question({20, "Plan", {"1", "2", "3", "4"}, ""});
    const TileCode hand[] = {19, 29, 39, 2, 3, 4, 5, 6, 7, 8, 85, 44, 44, 44, 91, 21, 61, 21, 255};
    std::memcpy(record.hand, hand, sizeof hand);
    const TileCode dora[] = {79, 40, 9, 255};
    std::memcpy(record.dora_indicators, dora, sizeof dora);
    record.back_dora[0] = 255;
    record.winning_tile = 38;
    load(VK_F5, write_question("plan.tt", record));

    const Picture picture = shown();
    const Picture cells = bitmap();
    const TilePlan plan = plan_tiles(practice.question, practice.tile_cells, picture.width);
    // Dora 3, concealed 10, winning 1, three 44 as a pair and a single, and 21 61 21.
    ASSERT_EQ(plan.copy_count, 3u + 10u + 1u + 3u + 3u);
    std::vector<TilePlace> places;
    for (std::size_t i = 0; i < plan.copy_count; ++i) {
        const TileCopy& copy = plan.copies[i];
        const bool stretched = copy.destination.height() != copy.source.height();
        // A copy drawn over later keeps only the rows above the next one in the same place.
        int rows = copy.destination.height();
        if (i + 1 < plan.copy_count &&
            plan.copies[i + 1].destination.left == copy.destination.left &&
            plan.copies[i + 1].destination.top > copy.destination.top &&
            plan.copies[i + 1].destination.top < copy.destination.bottom) {
            rows = plan.copies[i + 1].destination.top - copy.destination.top;
        }
        places.push_back({copy.code, copy.destination.left, copy.destination.top, stretched, rows});
    }
    EXPECT_EQ(join(tile_differences(picture, 0, 0, cells, places)), "");
    // The back dora row is empty: only the band.
    for (int x = 150; x < 150 + 33 * 3; x += 7) {
        EXPECT_EQ(picture.at(x, 170), band_green) << x;
    }
}

TEST_F(TileDrawing, ARepaintThatErasesTheBackgroundKeepsTheTiles) {
    load(VK_F5, "");
    const std::vector<TilePlace> places = sample_question_places();
    InvalidateRect(window(), nullptr, TRUE);
    UpdateWindow(window());
    EXPECT_EQ(join(tile_differences(shown(), 0, 0, bitmap(), places)), "");
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
    pump(30);
    EXPECT_EQ(join(tile_differences(shown(), 0, 0, bitmap(), places)), "");
}

TEST_F(TileDrawing, ANewQuestionLeavesNoTraceOfTheOldTiles) {
    load(VK_F5, "");
    QuestionRecord record = make_question({20, "No groups", {"1", "2", "3", "4"}, ""});
    const TileCode hand[] = {31, 32, 33, 255};
    std::memcpy(record.hand, hand, sizeof hand);
    record.dora_indicators[0] = 255;
    record.back_dora[0] = 255;
    record.winning_tile = 34;
    load(VK_F5, write_question("plain.tt", record));
    const Picture picture = shown();
    const std::vector<TilePlace> places = {{31, 2, 219, false, 48},
                                           {32, 35, 219, false, 48},
                                           {33, 68, 219, false, 48},
                                           {34, 105, 219, false, 48}};
    EXPECT_EQ(join(tile_differences(picture, 0, 0, bitmap(), places)), "");
    int traces = 0;
    for (int y = 100; y < 280; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const bool in_band = (x >= 150 && y < 205) || y >= 200;
            const bool concealed_row = y >= 219 && y < 267 && x < 105 + 33;
            if (in_band && !concealed_row) {
                traces += picture.at(x, y) != band_green ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(traces, 0) << "pixels of the old groups or dora rows left";
}

TEST_F(TileDrawing, TheResultKeepsTheTilesOnceThePaneHasOpened) {
    load(VK_F5, "");
    accelerator_command(IDM_ANSWER_F1);
    for (int tick = 0; tick < 10; ++tick) {
        SendMessageA(window(), WM_TIMER, 1, 0);
    }
    InvalidateRect(window(), nullptr, TRUE);
    UpdateWindow(window());
    EXPECT_EQ(join(tile_differences(shown(), 0, 0, bitmap(), sample_question_places())), "");
}

TEST_F(TileDrawing, WithoutTheBitmapOnlyTheBandsArePainted) {
    ASSERT_TRUE(DeleteFileA("data\\bp.bmp"));
    restart();
    EXPECT_EQ(practice.tile_bitmap, nullptr);
    load(VK_F5, "");
    const Picture picture = shown();
    for (const TilePlace& place : sample_question_places()) {
        EXPECT_EQ(picture.at(place.x + 10, place.y + 10), band_green) << int{place.code};
    }
}

TEST_F(TileDrawing, ATooSmallBitmapDrawsOnlyTheCellsItHolds) {
    const Picture full = bitmap();
    // 200 x 100 pixels hold the upright cells 0 to 5 and 10 to 15 only.
    write_cropped_bitmap("data\\bp.bmp", full, 200, 100);
    restart();
    ASSERT_NE(practice.tile_bitmap, nullptr);
    load(VK_F5, "");
    const Picture picture = shown();
    std::vector<TilePlace> inside;
    for (const TilePlace& place : sample_question_places()) {
        const bool held =
            !place.stretched && place.code < 40 && place.code % 10 <= 5 && place.code / 10 <= 1;
        if (held) {
            inside.push_back(place);
        } else if (!place.stretched || place.code > 5) {
            EXPECT_EQ(picture.at(place.x + 10, place.y + 10), band_green) << int{place.code};
        }
    }
    EXPECT_EQ(inside.size(), 4u) << "11, 0 and the two 12";
    EXPECT_EQ(join(tile_differences(picture, 0, 0, full, inside)), "");
}

} // namespace

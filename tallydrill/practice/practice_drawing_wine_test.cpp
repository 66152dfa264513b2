// The tiles on the window, read back pixel by pixel and compared with the plan of the drawing
// rules: the sample, a question using every kind of copy, repaints, the opened result pane, a
// new question over an old one, and a missing or too small tile bitmap.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tallydrill/practice/practice_test_support.h"
#include "tallydrill/practice/resource_ids.h"

namespace {

using namespace practice_test;

using TileDrawing = PracticeWindowTest;

TEST_F(TileDrawing, TheTilesAreWhereThePlanPutsThemThroughRepaintsAndNewQuestions) {
    const Picture bitmap = picture_of_bitmap_file("data\\bp.bmp");
    load(VK_F5, ""); // the built-in sample
    ASSERT_GE(client().cx, 614);
    EXPECT_EQ(tile_differences(bitmap), "") << "painted after erasing the background";
    command(IDM_ANSWER_F1);
    for (int tick = 0; tick < 10; ++tick) {
        SendMessageA(window(), WM_TIMER, 1, 0);
    }
    EXPECT_EQ(tile_differences(bitmap), "") << "the result pane, opened";

    // Sideways, stacked and unknown codes, a short dora row and no back dora, over the sample.
    QuestionRecord record = make_question(20, "Plan", {"1", "2", "3", "4"}, "");
    const TileCode hand[] = {19, 29, 39, 2, 3, 4, 5, 6, 7, 8, 85, 44, 44, 44, 91, 21, 61, 21, 255};
    std::memcpy(record.hand, hand, sizeof hand);
    const TileCode dora[] = {79, 40, 9, 255};
    std::memcpy(record.dora_indicators, dora, sizeof dora);
    record.back_dora[0] = 255;
    record.winning_tile = 38;
    load(VK_F5, write_question("plan.tt", record));
    EXPECT_EQ(tile_differences(bitmap), "");
}

TEST_F(TileDrawing, WithoutTheBitmapOrWithATooSmallOneOnlyTheCellsItHoldsAreDrawn) {
    // The top 100 rows of the bitmap: the last rows of its bottom-up file.
    std::vector<unsigned char> file(1 << 20);
    std::FILE* in = std::fopen("data\\bp.bmp", "rb");
    ASSERT_NE(in, nullptr);
    file.resize(std::fread(file.data(), 1, file.size(), in));
    std::fclose(in);
    const std::size_t row_bytes = (390 * 3 + 3) / 4 * 4;
    file.erase(file.begin() + 54, file.end() - 100 * row_bytes);
    file[22] = 100; // the height
    file[23] = 0;
    std::fill(file.begin() + 34, file.begin() + 38, 0); // the image size: not given
    ASSERT_TRUE(DeleteFileA("data\\bp.bmp"));
    restart();
    EXPECT_EQ(practice.tile_bitmap, nullptr);
    load(VK_F5, "");
    EXPECT_EQ(tile_differences(Picture{}), "") << "the bands only";

    write_file("data\\bp.bmp", file.data(), file.size());
    restart();
    ASSERT_NE(practice.tile_bitmap, nullptr);
    load(VK_F5, "");
    EXPECT_EQ(tile_differences(picture_of_bitmap_file("data\\bp.bmp")), "");
}

} // namespace

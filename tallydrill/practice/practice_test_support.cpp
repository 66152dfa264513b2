#include "tallydrill/practice/practice_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <gtest/gtest.h>

#include "tallydrill/tiles/tile_plan.h"
#include "win32_test_support.h"

namespace practice_test {

namespace {

template <std::size_t N> void put_text(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N));
}

bool inside(const TileRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

QuestionRecord make_question(std::int32_t time_limit, const std::string& question,
                             const std::vector<std::string>& answers,
                             const std::string& explanation) {
    QuestionRecord record{};
    set_initial_question(record);
    set_question_time_limit(record, time_limit);
    put_text(record.question_text, question);
    for (std::size_t i = 0; i < 4; ++i) {
        put_text(record.answers[i], i < answers.size() ? answers[i] : "");
    }
    put_text(record.explanation, explanation);
    return record;
}

std::string write_file(const std::string& name, const void* bytes, std::size_t size) {
    std::FILE* file = std::fopen(name.c_str(), "wb");
    EXPECT_TRUE(file != nullptr && std::fwrite(bytes, 1, size, file) == size) << name;
    if (file != nullptr) {
        std::fclose(file);
    }
    return win32_test::full_path(name);
}

void provide_tile_bitmap() {
    CreateDirectoryA("data", nullptr);
    std::string source = "Z:" TILE_BITMAP;
    std::replace(source.begin(), source.end(), '/', '\\');
    CopyFileA(source.c_str(), "data\\bp.bmp", TRUE);
    ASSERT_NE(GetFileAttributesA("data\\bp.bmp"), INVALID_FILE_ATTRIBUTES) << source;
}

std::string tile_differences(HWND window, HBITMAP cells, const QuestionRecord& record) {
    // The client area as the screen shows it, and the cells (none without a bitmap).
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    const win32_test::Picture shown =
        win32_test::picture_of_dc(screen, origin.x, origin.y, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    BITMAP size{};
    win32_test::Picture bitmap;
    if (GetObjectA(cells, sizeof size, &size) == sizeof size) {
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, cells);
        bitmap = win32_test::picture_of_dc(memory, 0, 0, size.bmWidth, size.bmHeight);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    const TilePlan plan = plan_tiles(record, make_tile_cell_table(), shown.width);
    // The copy that shows at each pixel: the last one drawn there whose cell the bitmap holds.
    std::vector<int> shown_copy(shown.pixels.size(), -1);
    for (std::size_t i = 0; i < plan.copy_count; ++i) {
        const TileRect& s = plan.copies[i].source;
        const TileRect& d = plan.copies[i].destination;
        if (s.left >= 0 && s.top >= 0 && s.right <= bitmap.width && s.bottom <= bitmap.height) {
            for (int y = std::max(d.top, 0); y < std::min(d.bottom, shown.height); ++y) {
                for (int x = std::max(d.left, 0); x < std::min(d.right, shown.width); ++x) {
                    shown_copy[static_cast<std::size_t>(y) * shown.width + x] = static_cast<int>(i);
                }
            }
        }
    }
    std::vector<int> faults(plan.copy_count + 1, 0); // the last: band pixels
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            // Outside the bands the panes' controls may cover the tiles.
            if (!inside(plan.dora_band, x, y) && !inside(plan.hand_band, x, y)) {
                continue;
            }
            const COLORREF seen = shown.at(x, y);
            const int i = shown_copy[static_cast<std::size_t>(y) * shown.width + x];
            if (i < 0) {
                faults.back() += seen != RGB(tile_band_red, tile_band_green, tile_band_blue);
                continue;
            }
            // A stretched pixel comes from the source pixel at the same proportion of the cell
            // or from a neighbour of it, however the stretching rounds.
            const TileRect& s = plan.copies[i].source;
            const TileRect& d = plan.copies[i].destination;
            const int sx = s.left + (x - d.left) * s.width() / d.width();
            const int sy = s.top + (y - d.top) * s.height() / d.height();
            const int reach = d.width() == s.width() && d.height() == s.height() ? 0 : 1;
            bool found = false;
            for (int by = sy - reach; by <= sy + reach; ++by) {
                for (int bx = sx - reach; bx <= sx + reach; ++bx) {
                    found = found || (inside(s, bx, by) && seen == bitmap.at(bx, by));
                }
            }
            faults[i] += !found;
        }
    }
    std::string report;
    for (std::size_t i = 0; i < faults.size(); ++i) {
        if (faults[i] != 0) {
            const TileRect& d = plan.copies[i].destination;
            report +=
                (i == plan.copy_count ? std::string("band")
                                      : "tile " + std::to_string(plan.copies[i].code) + " at " +
                                            std::to_string(d.left) + "," + std::to_string(d.top)) +
                ": " + std::to_string(faults[i]) + " pixels differ\n";
        }
    }
    return report;
}

} // namespace practice_test

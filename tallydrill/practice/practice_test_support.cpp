#include "tallydrill/practice/practice_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tallydrill/practice/question_file.h"
#include "tallydrill/practice/resource_ids.h"
#include "win32_test_support.h"

namespace practice_test {

namespace {

template <std::size_t N> void put_text(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
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
    EXPECT_NE(file, nullptr) << name;
    if (file != nullptr) {
        EXPECT_EQ(std::fwrite(bytes, 1, size, file), size) << name;
        std::fclose(file);
    }
    return win32_test::full_path(name);
}

std::string write_question(const std::string& name, const QuestionRecord& record) {
    return write_file(name, &record, sizeof record);
}

void provide_tile_bitmap() {
    CreateDirectoryA("data", nullptr);
    std::string source = "Z:" TILE_BITMAP;
    std::replace(source.begin(), source.end(), '/', '\\');
    ASSERT_TRUE(CopyFileA(source.c_str(), "data\\bp.bmp", FALSE)) << source;
}

Picture picture_of_dc(HDC dc, int left, int top, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, dc, left, top, SRCCOPY);
    GdiFlush();
    Picture picture{width, height, {}};
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (int i = 0; i < width * height; ++i) {
        picture.pixels.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    return picture;
}

Picture picture_of_client(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    Picture picture = picture_of_dc(screen, origin.x, origin.y, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    return picture;
}

std::string plan_differences(const Picture& shown, const Picture& bitmap,
                             const QuestionRecord& record) {
    const TilePlan plan = plan_tiles(record, make_tile_cell_table(), shown.width);
    // The copy that shows at each pixel: the last one drawn there whose cell the bitmap holds.
    std::vector<int> shown_copy(shown.pixels.size(), -1);
    for (std::size_t i = 0; i < plan.copy_count; ++i) {
        const TileRect& s = plan.copies[i].source;
        const TileRect& d = plan.copies[i].destination;
        if (s.left < 0 || s.top < 0 || s.right > bitmap.width || s.bottom > bitmap.height) {
            continue;
        }
        for (int y = d.top < 0 ? 0 : d.top; y < d.bottom && y < shown.height; ++y) {
            for (int x = d.left < 0 ? 0 : d.left; x < d.right && x < shown.width; ++x) {
                shown_copy[static_cast<std::size_t>(y) * shown.width + x] = static_cast<int>(i);
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
                faults.back() += seen != band_green ? 1 : 0;
                continue;
            }
            const TileRect& s = plan.copies[i].source;
            const TileRect& d = plan.copies[i].destination;
            // A stretched pixel comes from the source pixel at the same proportion of the cell
            // or from a neighbour of it, however the stretching rounds.
            const int sx = (x - d.left) * s.width() / d.width();
            const int sy = (y - d.top) * s.height() / d.height();
            const int reach = d.width() == s.width() && d.height() == s.height() ? 0 : 1;
            bool found = false;
            for (int dy = -reach; dy <= reach && !found; ++dy) {
                for (int dx = -reach; dx <= reach && !found; ++dx) {
                    const int bx = s.left + sx + dx;
                    const int by = s.top + sy + dy;
                    found = inside(s, bx, by) && seen == bitmap.at(bx, by);
                }
            }
            faults[i] += found ? 0 : 1;
        }
    }
    std::string report;
    for (std::size_t i = 0; i < faults.size(); ++i) {
        if (faults[i] == 0) {
            continue;
        }
        report += i == plan.copy_count ? "band"
                                       : "tile " + std::to_string(plan.copies[i].code) + " at " +
                                             std::to_string(plan.copies[i].destination.left) + "," +
                                             std::to_string(plan.copies[i].destination.top);
        report += ": " + std::to_string(faults[i]) + " pixels differ\n";
    }
    return report;
}

std::uint32_t PracticeWindowTest::clock_ms = 0;
std::uint32_t PracticeWindowTest::calendar_seconds = 0;

void PracticeWindowTest::SetUp() {
    clock_ms = 100000;
    calendar_seconds = 1;
    practice_clock_ms = [] { return clock_ms; };
    practice_calendar_seconds = [] { return calendar_seconds; };
    provide_tile_bitmap();
    restart();
}

void PracticeWindowTest::TearDown() {
    if (start_.window != nullptr && IsWindow(start_.window)) {
        DestroyWindow(start_.window);
    }
    if (start_.accelerators != nullptr) {
        DestroyAcceleratorTable(start_.accelerators);
    }
    UnregisterClassA(TD_CLASS_NAME, GetModuleHandleA(nullptr));
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    start_ = PracticeStart{};
}

void PracticeWindowTest::restart() {
    TearDown();
    reset_question_file_path();
    start_ = start_practice(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    ASSERT_NE(start_.window, nullptr);
    quit_seen_ = false;
    pump(20);
}

void PracticeWindowTest::pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit_seen_ = true;
            } else if (!TranslateAcceleratorA(start_.window, start_.accelerators, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

void PracticeWindowTest::press_key(WORD virtual_key) {
    win32_test::post_key(GetFocus() != nullptr ? GetFocus() : start_.window, virtual_key);
    pump(30);
}

void PracticeWindowTest::command(int id) {
    SendMessageA(start_.window, WM_COMMAND, MAKEWPARAM(id, 1), 0);
}

void PracticeWindowTest::load(WORD key, const std::string& path) {
    EXPECT_EQ(win32_test::answer_dialogs(
                  {path.empty() ? win32_test::cancel() : win32_test::choose_file(path)},
                  [&] { press_key(key); }),
              std::vector<std::string>{"Pointsmith question Data Load"});
}

std::string PracticeWindowTest::result_text(int field) const {
    return win32_test::window_text(practice.result_pane.fields[field]);
}

std::string PracticeWindowTest::tile_differences() {
    SetForegroundWindow(start_.window);
    RedrawWindow(start_.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
    pump(80);      // paints and a tick
    Picture cells; // what the program loaded from data/bp.bmp, if anything
    BITMAP size{};
    if (GetObjectA(practice.tile_bitmap, sizeof size, &size) == sizeof size) {
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, practice.tile_bitmap);
        cells = picture_of_dc(memory, 0, 0, size.bmWidth, size.bmHeight);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    return plan_differences(picture_of_client(start_.window), cells, practice.question);
}

std::string PracticeWindowTest::button_text(int slot) const {
    return win32_test::window_text(practice.countdown_pane.choice_buttons[slot]);
}

SIZE PracticeWindowTest::client() const {
    RECT r{};
    GetClientRect(start_.window, &r);
    return SIZE{r.right, r.bottom};
}

} // namespace practice_test

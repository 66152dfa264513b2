#include <gtest/gtest.h>

#include "tallydrill/practice/practice_test_support.h"

#include <cstdio>
#include <cstring>

#include "tallydrill/practice/question_file.h"
#include "tallydrill/practice/resource_ids.h"
#include "win32_test_support.h"

namespace practice_test {

std::uint32_t clock_ms = 0;
std::uint32_t calendar_seconds = 0;

namespace {

std::uint32_t test_clock() {
    return clock_ms;
}

std::uint32_t test_calendar() {
    return calendar_seconds;
}

template <std::size_t N> void put_text(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
}

BOOL CALLBACK collect_child(HWND child, LPARAM list) {
    auto* children = reinterpret_cast<std::vector<HWND>*>(list);
    if (GetParent(child) == GetAncestor(child, GA_PARENT) && GetParent(child) != nullptr) {
        children->push_back(child);
    }
    return TRUE;
}

} // namespace

QuestionRecord make_question(const QuestionTexts& texts) {
    QuestionRecord record{};
    set_initial_question(record);
    set_question_time_limit(record, texts.time_limit);
    put_text(record.question_text, texts.question);
    for (int i = 0; i < 4; ++i) {
        put_text(record.answers[i], texts.answers[i]);
    }
    put_text(record.explanation, texts.explanation);
    return record;
}

std::string full_path(const std::string& name) {
    char path[MAX_PATH] = {};
    GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    return path;
}

std::string write_file(const std::string& name, const void* bytes, std::size_t size) {
    std::FILE* file = std::fopen(name.c_str(), "wb");
    EXPECT_NE(file, nullptr) << name;
    if (file != nullptr) {
        EXPECT_EQ(std::fwrite(bytes, 1, size, file), size) << name;
        std::fclose(file);
    }
    return full_path(name);
}

std::string write_question(const std::string& name, const QuestionRecord& record) {
    return write_file(name, &record, sizeof record);
}

void provide_tile_bitmap() {
    CreateDirectoryA("data", nullptr);
    const std::string source = win32_test::windows_path(TILE_BITMAP);
    ASSERT_TRUE(CopyFileA(source.c_str(), "data\\bp.bmp", FALSE)) << source;
}

PaneRect place_of(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return PaneRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SIZE client_size(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

std::string text_of(HWND window) {
    return win32_test::window_text(window);
}

std::wstring wide_text_of(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::string describe(const PaneRect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

std::vector<HWND> children_of(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, collect_child, reinterpret_cast<LPARAM>(&children));
    std::vector<HWND> direct;
    for (HWND child : children) {
        if (GetParent(child) == window) {
            direct.push_back(child);
        }
    }
    // EnumChildWindows walks the z-order from the top, and each new child goes to the bottom
    // (as dialog controls, whose tab order is their creation order).
    return direct;
}

Picture picture_of_dc(HDC dc, int left, int top, int width, int height) {
    Picture picture;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) {
        ADD_FAILURE() << "no DIB section";
        return picture;
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, dc, left, top, SRCCOPY);
    GdiFlush();
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * height);
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        picture.pixels[i] = RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    return picture;
}

Picture picture_of_bitmap(HBITMAP bitmap) {
    BITMAP size{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof size, &size) != sizeof size) {
        ADD_FAILURE() << "no bitmap";
        return Picture{};
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    Picture picture = picture_of_dc(memory, 0, 0, size.bmWidth, size.bmHeight);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

std::vector<TilePlace> sample_question_places() {
    std::vector<TilePlace> places = {
        {11, 2, 219, false, 48}, // the concealed tile
        {0, 39, 219, false, 48}, // the winning tile, 4 pixels apart
        // Last group, bottom right: 17, 17, then the stacked pair of 57.
        {57, 579, 190, false, 34},
        {57, 579, 224, false, 43},
        {17, 546, 219, false, 48},
        {17, 513, 219, false, 48},
        // The group before it, top right: 27, 27 and the pair of 67.
        {27, 585, 139, false, 48},
        {27, 552, 139, false, 48},
        {67, 513, 110, false, 34},
        {67, 513, 144, false, 43},
        // Bottom left: 22, the pair of 62, 22.
        {22, 443, 219, false, 48},
        {62, 404, 190, false, 34},
        {62, 404, 224, false, 43},
        {22, 371, 219, false, 48},
        // Top left: 12, the pair of 52, 12.
        {12, 443, 139, false, 48},
        {52, 404, 110, false, 34},
        {52, 404, 144, false, 43},
        {12, 371, 139, false, 48},
    };
    const TileCode dora[] = {0, 1, 1, 1, 1};
    for (int i = 0; i < 5; ++i) {
        places.push_back({dora[i], 150 + 33 * i, 100, true, 49});
    }
    const TileCode back_dora[] = {30, 35};
    for (int i = 0; i < 2; ++i) {
        places.push_back({back_dora[i], 150 + 33 * i, 149, true, 49});
    }
    return places;
}

std::vector<std::string> tile_differences(const Picture& shown, int origin_x, int origin_y,
                                          const Picture& bitmap,
                                          const std::vector<TilePlace>& places) {
    const TileCellTable cells = make_tile_cell_table();
    std::vector<std::string> problems;
    for (const TilePlace& place : places) {
        const TileRect& cell = cells.cells[place.code];
        // The dora rows show every cell at 33 x 49 pixels.
        const int width = place.stretched ? 33 : cell.width();
        const int height = place.stretched ? 49 : cell.height();
        int differing = 0;
        int compared = 0;
        for (int row = 0; row < place.rows; ++row) {
            for (int column = 0; column < width; ++column) {
                const int x = origin_x + place.x + column;
                const int y = origin_y + place.y + row;
                if (x < 0 || y < 0 || x >= shown.width || y >= shown.height) {
                    ++differing;
                    continue;
                }
                const COLORREF seen = shown.at(x, y);
                ++compared;
                if (!place.stretched) {
                    differing += seen != bitmap.at(cell.left + column, cell.top + row) ? 1 : 0;
                    continue;
                }
                // Each shown pixel comes from the source pixel at the same proportion of the
                // cell or from a neighbour of it, however the stretching rounds.
                const int source_x = column * cell.width() / width;
                const int source_y = row * cell.height() / height;
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy) {
                    for (int dx = -1; dx <= 1 && !found; ++dx) {
                        const int sx = source_x + dx;
                        const int sy = source_y + dy;
                        if (sx >= 0 && sy >= 0 && sx < cell.width() && sy < cell.height()) {
                            found = seen == bitmap.at(cell.left + sx, cell.top + sy);
                        }
                    }
                }
                differing += found ? 0 : 1;
            }
        }
        if (differing > 0) {
            problems.push_back("tile " + std::to_string(place.code) + " at " +
                               std::to_string(place.x) + "," + std::to_string(place.y) + ": " +
                               std::to_string(differing) + " of " + std::to_string(compared) +
                               " pixels differ");
        }
    }
    return problems;
}

void PracticeWindowTest::SetUp() {
    clock_ms = 100000;
    calendar_seconds = 1;
    practice_clock_ms = test_clock;
    practice_calendar_seconds = test_calendar;
    provide_tile_bitmap();
    reset_question_file_path();
    start_ = start_practice(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    ASSERT_NE(start_.window, nullptr);
    ASSERT_NE(start_.accelerators, nullptr);
    pump(20);
}

void PracticeWindowTest::TearDown() {
    stop();
}

void PracticeWindowTest::stop() {
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
    stop();
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
                quit_code_ = message.wParam;
                continue;
            }
            if (TranslateAcceleratorA(start_.window, start_.accelerators, &message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

void PracticeWindowTest::press_key(WORD virtual_key) {
    HWND target = GetFocus() != nullptr ? GetFocus() : start_.window;
    const UINT scan = MapVirtualKeyA(virtual_key, 0);
    PostMessageA(target, WM_KEYDOWN, virtual_key, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, virtual_key, 1 | (scan << 16) | 0xC0000000u);
    pump(30);
}

void PracticeWindowTest::click(HWND button) {
    ASSERT_NE(button, nullptr);
    SendMessageA(button, BM_CLICK, 0, 0);
}

void PracticeWindowTest::accelerator_command(int id) {
    SendMessageA(start_.window, WM_COMMAND, MAKEWPARAM(id, 1), 0);
}

} // namespace practice_test

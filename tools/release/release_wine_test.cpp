// The programs of an unpacked release zip, run from the folder they were unpacked into, as a
// person starts them there: the converter writes its settings beside itself and converts a
// typed record with F5; the practice program loads a question of the pack through its open
// dialog and draws its tiles from data\bp.bmp. Driven from outside, by messages.
//
// Usage (under Wine): release_wine_test.exe [GoogleTest options] FOLDER
// tools/release/release_test.sh runs it on the unpacked win64 zip.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "layoutpress/shell/resource_ids.h"
#include "tallydrill/questions/question_record.h"
#include "tallydrill/tiles/tile_plan.h"
#include "win32_test_support.h"

namespace {

std::string release_folder; // a Windows path, without a trailing backslash
std::string release_unix_folder; // the same folder as the Unix side names it

constexpr int practice_exit_command = 102; // the practice program's menu item "&Exit"

std::string in_release(const std::string& name) {
    return release_folder + "\\" + name;
}

std::vector<unsigned char> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

// Starts a program of the release with the release folder as its current folder, as Explorer
// does on a double click.
std::unique_ptr<win32_test::Program> start(const char* exe) {
    return std::make_unique<win32_test::Program>(release_unix_folder + "/" + exe,
                                                 release_unix_folder);
}

HWND wait_for_child(HWND parent, int id, DWORD timeout_ms = 5000) {
    HWND found = nullptr;
    win32_test::pump_until(
        [&] {
            HWND tabs = FindWindowExA(parent, nullptr, "SysTabControl32", nullptr);
            HWND pane = FindWindowExA(tabs, nullptr, "#32770", nullptr);
            return (found = GetDlgItem(pane, id)) != nullptr;
        },
        timeout_ms);
    return found;
}

TEST(Release, ConverterWritesItsSettingsBesideItselfAndConvertsATypedRecord) {
    DeleteFileA(in_release("sys.sys").c_str());
    auto program = start("layoutpress.exe");
    ASSERT_NE(program->id(), 0u);
    HWND window = program->wait_for_window("MyWin", "Dualform - Text <-> Binary - version 1.75");
    ASSERT_NE(window, nullptr) << "the converter's window";
    ASSERT_TRUE(win32_test::pump_until(
        [] { return file_bytes(in_release("sys.sys")).size() == 2080; }, 5000))
        << "sys.sys in the release folder";

    HWND structure = wait_for_child(window, IDC_STRUCTURE_EDITOR);
    ASSERT_NE(structure, nullptr);
    win32_test::post_chars(structure, "short a;\rlong b;\r");
    ASSERT_TRUE(win32_test::pump_until(
        [&] { return win32_test::window_text(structure) == "short a;\r\nlong b;\r\n"; }, 5000));

    // Closing the (empty) text document brings its tab to the front.
    win32_test::post_command(window, IDM_CLOSE_TEXT);
    HWND text = wait_for_child(window, IDC_TEXT_EDITOR);
    ASSERT_NE(text, nullptr);
    win32_test::post_chars(text, "258, 70000,");
    ASSERT_TRUE(win32_test::pump_until(
        [&] { return win32_test::window_text(text) == "258, 70000,"; }, 5000));

    win32_test::post_key(text, VK_F5);
    HWND dump = nullptr;
    ASSERT_TRUE(win32_test::pump_until(
        [&] {
            dump = wait_for_child(window, IDC_DUMP_EDITOR, 100);
            return dump != nullptr && win32_test::window_text(dump) == "02 01 70 11 01 00 ";
        },
        5000))
        << "F5 shows the packed record; the dump shows \""
        << (dump ? win32_test::window_text(dump) : std::string("(no dump)")) << "\"";

    win32_test::post_key(dump, VK_ESCAPE);
    EXPECT_EQ(program->wait_for_exit(10000), 0);
}

// What the screen shows in the window's client area, 0x00RRGGBB per pixel.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;
};

Pixels read_dc(HDC source, int left, int top, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
    GdiFlush();
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    const auto* words = static_cast<const std::uint32_t*>(bits);
    pixels.rgb.assign(words, words + static_cast<std::size_t>(width) * height);
    for (std::uint32_t& p : pixels.rgb) {
        p &= 0xFFFFFF;
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    return pixels;
}

// The client area as the plan draws it: both bands, then every copy in order, from the tile
// bitmap of the release.
Pixels replay_plan(const TilePlan& plan, HBITMAP tiles, int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old_picture = SelectObject(canvas, picture);
    HDC cells = CreateCompatibleDC(screen);
    HGDIOBJ old_cells = SelectObject(cells, tiles);
    HBRUSH band = CreateSolidBrush(RGB(tile_band_red, tile_band_green, tile_band_blue));
    for (const TileRect& r : {plan.dora_band, plan.hand_band}) {
        RECT rect = {r.left, r.top, r.right, r.bottom};
        FillRect(canvas, &rect, band);
    }
    DeleteObject(band);
    for (std::size_t i = 0; i < plan.copy_count; ++i) {
        const TileCopy& c = plan.copies[i];
        StretchBlt(canvas, c.destination.left, c.destination.top, c.destination.width(),
                   c.destination.height(), cells, c.source.left, c.source.top, c.source.width(),
                   c.source.height(), SRCCOPY);
    }
    Pixels pixels = read_dc(canvas, 0, 0, width, height);
    SelectObject(cells, old_cells);
    DeleteDC(cells);
    SelectObject(canvas, old_picture);
    DeleteObject(picture);
    DeleteDC(canvas);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The pixels of the copies made at the cell's own size (the hand, the winning tile, the called
// groups) that differ between the screen and the replay; the stretched dora rows are left out,
// since a stretch may pick its rows differently on a window than on a memory bitmap.
int differing_tile_pixels(const TilePlan& plan, const Pixels& shown, const Pixels& expected) {
    int differing = 0;
    for (std::size_t i = 0; i < plan.copy_count; ++i) {
        const TileCopy& c = plan.copies[i];
        if (c.destination.width() != c.source.width() ||
            c.destination.height() != c.source.height()) {
            continue;
        }
        for (int y = c.destination.top; y < c.destination.bottom && y < shown.height; ++y) {
            for (int x = c.destination.left; x < c.destination.right && x < shown.width; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * shown.width + x;
                differing += shown.rgb[at] != expected.rgb[at] ? 1 : 0;
            }
        }
    }
    return differing;
}

TEST(Release, PracticeLoadsAPackQuestionThroughItsDialogAndDrawsItsTiles) {
    const std::string question = in_release("pack\\q01-riichi-pinfu-ron.tt");
    const std::vector<unsigned char> bytes = file_bytes(question);
    ASSERT_EQ(bytes.size(), question_record_size) << question;
    QuestionRecord record = {};
    read_question_bytes(record, bytes.data(), bytes.size());

    auto program = start("tallydrill.exe");
    ASSERT_NE(program->id(), 0u);
    HWND window = program->wait_for_window("MyWin", "[ Pointsmith ][ Tilvora ] version 2.5");
    ASSERT_NE(window, nullptr) << "the practice window";
    EXPECT_EQ(win32_test::answer_dialogs({win32_test::choose_file(question)},
                                         [&] { win32_test::post_key(window, VK_F5); },
                                         program->id()),
              std::vector<std::string>{"Pointsmith question Data Load"});
    ASSERT_TRUE(win32_test::pump_until(
        [&] { return win32_test::window_text(window) == "q01-riichi-pinfu-ron.tt"; }, 5000))
        << "the title shows the loaded file";

    HBITMAP tiles = static_cast<HBITMAP>(LoadImageA(nullptr, in_release("data\\bp.bmp").c_str(),
                                                    IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(tiles, nullptr) << "data\\bp.bmp of the release";
    RECT client = {};
    GetClientRect(window, &client);
    const TilePlan plan = plan_tiles(record, make_tile_cell_table(), client.right);
    ASSERT_GT(plan.copy_count, 1u);
    const Pixels expected = replay_plan(plan, tiles, client.right, client.bottom);
    DeleteObject(tiles);

    SetForegroundWindow(window);
    int differing = -1;
    const bool drawn = win32_test::pump_until(
        [&] {
            POINT origin = {0, 0};
            ClientToScreen(window, &origin);
            HDC screen = GetDC(nullptr);
            const Pixels shown = read_dc(screen, origin.x, origin.y, client.right, client.bottom);
            ReleaseDC(nullptr, screen);
            differing = differing_tile_pixels(plan, shown, expected);
            return differing == 0;
        },
        5000);
    EXPECT_TRUE(drawn) << differing << " pixels of the hand differ from data\\bp.bmp's cells";

    win32_test::post_command(window, practice_exit_command);
    EXPECT_EQ(program->wait_for_exit(10000), 0);
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: release_wine_test.exe [GoogleTest options] FOLDER\n");
        return 2;
    }
    release_folder = argv[1];
    while (!release_folder.empty() && release_folder.back() == '\\') {
        release_folder.pop_back();
    }
    if (release_folder.compare(0, 2, "Z:") != 0) {
        std::fprintf(stderr, "release_wine_test.exe: FOLDER must be on drive Z:\n");
        return 2;
    }
    release_unix_folder = release_folder.substr(2);
    std::replace(release_unix_folder.begin(), release_unix_folder.end(), '\\', '/');
    return RUN_ALL_TESTS();
}

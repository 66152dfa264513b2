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

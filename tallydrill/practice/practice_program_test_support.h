// tallydrill.exe driven from outside: the program test's and the screenshot pose's
// (tools/screenshots) view of its window, found by the places of its controls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32_test_support.h"

namespace practice_program_test {

using Lines = std::vector<std::string>;
using win32_test::window_text;

inline HWND child_at(HWND window, const char* window_class, int x, int y) {
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        if (r.left == x && r.top == y && IsWindowVisible(child) &&
            win32_test::window_class(child) == window_class) {
            return child;
        }
    }
    return nullptr;
}
inline std::string text_at(HWND window, const char* window_class, int x, int y) {
    HWND child = child_at(window, window_class, x, y);
    return child ? window_text(child) : "(none)";
}

inline int slot_showing(HWND window, const std::string& text) {
    for (int slot = 0; slot < 4; ++slot) {
        if (text_at(window, "Button", 50, 280 + 30 * slot) == text) {
            return slot;
        }
    }
    return -1;
}

// The verdicts and the your-answer fields, once the result pane has opened (NEXT at full size).
inline Lines verdicts(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const int w = client.right - 150; // the pairs of fields share the width right of x = 150
    win32_test::pump_until([&] { return text_at(window, "Button", 0, 50) == "NEXT"; }, 5000);
    return {text_at(window, "Edit", 65, 50), text_at(window, "Edit", 65, 75),
            text_at(window, "Edit", w * 2 / 4 + 150, 75),
            text_at(window, "Edit", w * 3 / 4 + 150, 75)};
}

inline bool load(const win32_test::Program& program, HWND window, WORD key,
                 const std::string& path) {
    return win32_test::answer_dialogs(
               {win32_test::choose_file(path)}, [&] { win32_test::post_key(window, key); },
               program.id()) == Lines{"Pointsmith question Data Load"};
}

} // namespace practice_program_test

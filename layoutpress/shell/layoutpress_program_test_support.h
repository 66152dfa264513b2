// layoutpress.exe driven from outside by messages to its windows: the program tests' and the
// screenshot pose's (tools/screenshots) view of one run.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "win32_test_support.h"

namespace layoutpress_program_test {

using Lines = std::vector<std::string>;

// One run of the program; its one pane is re-created around every command, so looked up anew.
class Converter {
  public:
    Converter() : program(win32_test::program_path("LAYOUTPRESS_EXE", PROGRAM)) {
        window = program.wait_for_window("MyWin", "Dualform - Text <-> Binary - version 1.75");
        EXPECT_TRUE(window != nullptr && wait_for(0, 300, nullptr)) << "the main window";
    }

    HWND tabs() const { return FindWindowExA(window, nullptr, "SysTabControl32", nullptr); }
    HWND item(int id) const {
        return GetDlgItem(FindWindowExA(tabs(), nullptr, "#32770", nullptr), id);
    }
    int tab() const { return static_cast<int>(SendMessageA(tabs(), TCM_GETCURSEL, 0, 0)); }
    std::string text(int id) const { return win32_test::window_text(item(id)); }

    // Waits until tab is selected and its pane has control id, showing text when not nullptr.
    bool wait_for(int tab_wanted, int id, const char* wanted) const {
        return win32_test::pump_until(
            [&] {
                return tab() == tab_wanted && item(id) != nullptr &&
                       (wanted == nullptr || text(id) == wanted);
            },
            10000);
    }
    void type(int id, const std::string& typed) {
        ASSERT_TRUE(wait_for(tab(), id, nullptr)) << "no control " << id;
        win32_test::post_chars(item(id), typed);
    }
    void key(int id, WORD virtual_key) {
        ASSERT_TRUE(wait_for(tab(), id, nullptr)) << "no control " << id;
        win32_test::post_key(item(id), virtual_key);
    }
    // Clicks along the row of tabs until tab is selected and its pane (with control id) is up.
    bool choose_tab(int tab_wanted, int id) {
        for (int x = 4; x < 1000 && tab() != tab_wanted; x += 8) {
            SendMessageA(tabs(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
            SendMessageA(tabs(), WM_LBUTTONUP, 0, MAKELPARAM(x, 10));
        }
        return wait_for(tab_wanted, id, nullptr);
    }
    void set_text(int id, const char* value) {
        SendMessageA(item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value));
    }
    void click(int id) { SendMessageA(item(id), BM_CLICK, 0, 0); }
    Lines dialogs(const std::vector<win32_test::Answer>& answers,
                  const std::function<void()>& act) {
        return win32_test::answer_dialogs(answers, act, program.id());
    }

    win32_test::Program program;
    HWND window = nullptr;
};

} // namespace layoutpress_program_test

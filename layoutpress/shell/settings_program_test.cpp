// The settings panes of layoutpress.exe as a person uses them, driven from outside: a text
// typed, its memory enlarged and another shrunk on the "Temporary Memory Resizing " tab, the
// dump form changed, a filter set; then the program ends and starts again from "sys.sys".
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testing/files/test_files.h"
#include "win32_test_support.h"

namespace {

const char* const title = "Dualform - Text <-> Binary - version 1.75";

using test_files::u32_at;

test_files::Bytes file_bytes(const char* path) {
    return test_files::read_all(path);
}

// One run of the program with its window and its one pane.
class ProgramRun {
  public:
    ProgramRun() {
        program_ =
            std::make_unique<win32_test::Program>("\"" + win32_test::windows_path(PROGRAM) + "\"");
        window = program_->wait_for_window("MyWin", title);
    }

    HWND tabs() const { return FindWindowExA(window, nullptr, "SysTabControl32", nullptr); }
    HWND pane() const { return FindWindowExA(tabs(), nullptr, "#32770", nullptr); }
    HWND item(int id) const { return GetDlgItem(pane(), id); }
    int selected() const { return static_cast<int>(SendMessageA(tabs(), TCM_GETCURSEL, 0, 0)); }
    std::string text(int id) const { return win32_test::window_text(item(id)); }

    // Clicks along the row of tabs, left to right, until tab is selected and its pane (told by
    // mark, one of its controls) is up.
    bool choose_tab(int tab, int mark) {
        RECT r;
        GetClientRect(tabs(), &r);
        for (int x = 4; x < r.right && selected() != tab; x += 8) {
            const LPARAM at = MAKELPARAM(x, 10);
            SendMessageA(tabs(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageA(tabs(), WM_LBUTTONUP, 0, at);
        }
        return win32_test::pump_until([&] { return selected() == tab && item(mark) != nullptr; },
                                      5000);
    }

    void set_text(int id, const char* value) {
        SendMessageA(item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value));
    }
    void click(int id) { SendMessageA(item(id), BM_CLICK, 0, 0); }

    bool end() {
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD code = 99;
        return program_->wait_for_exit(10000, &code) && code == 0;
    }

    HWND window = nullptr;

  private:
    std::unique_ptr<win32_test::Program> program_;
};

TEST(LayoutpressSettings, ResizedMemoriesKeepTheTextAndComeBackAfterARestart) {
    {
        ProgramRun run;
        ASSERT_NE(run.window, nullptr);
        ASSERT_TRUE(run.choose_tab(1, 301));
        win32_test::post_chars(run.item(301), "1, 2, 3,");
        ASSERT_TRUE(win32_test::pump_until([&] { return run.text(301) == "1, 2, 3,"; }, 5000));

        ASSERT_TRUE(run.choose_tab(3, 800));
        EXPECT_EQ(run.text(311), "30000");
        run.set_text(310, "-5");      // the data structure memory: below 255
        run.set_text(311, "5000000"); // the text memory: above its largest value
        run.set_text(312, "2000000"); // the binary memory
        run.set_text(313, "450000");
        run.click(850);
        ASSERT_TRUE(win32_test::pump_until([&] { return run.text(311) == "4800000"; }, 5000))
            << "the text memory field shows " << run.text(311);
        EXPECT_EQ(run.text(310), "255");
        EXPECT_EQ(run.text(312), "1600000");
        EXPECT_EQ(run.text(313), "450000");
        EXPECT_EQ(SendMessageA(run.item(803), TBM_GETPOS, 0, 0), 1);

        ASSERT_TRUE(run.choose_tab(1, 301));
        EXPECT_EQ(run.text(301), "1, 2, 3,") << "the text survives its memory's resizing";
        EXPECT_EQ(SendMessageA(run.item(301), EM_GETLIMITTEXT, 0, 0), 4800000 - 1)
            << "the editor takes the new capacity";

        ASSERT_TRUE(run.choose_tab(5, 6012));
        run.set_text(6013, "Numbers\\0*.num\\0\\0");
        run.click(6015);
        ASSERT_TRUE(run.end());
    }
    const test_files::Bytes record = file_bytes("sys.sys");
    ASSERT_EQ(record.size(), 2080u);
    EXPECT_EQ(u32_at(record, 512), 255u);
    EXPECT_EQ(u32_at(record, 516), 4800000u);
    EXPECT_EQ(u32_at(record, 520), 1600000u);
    EXPECT_EQ(u32_at(record, 524), 450000u);
    EXPECT_EQ(u32_at(record, 2072), 15u);

    ProgramRun again;
    ASSERT_NE(again.window, nullptr);
    ASSERT_TRUE(again.choose_tab(3, 800));
    EXPECT_EQ(again.text(310), "255");
    EXPECT_EQ(again.text(311), "4800000");
    EXPECT_EQ(again.text(312), "1600000");
    EXPECT_EQ(again.text(313), "450000");
    ASSERT_TRUE(again.choose_tab(5, 6012));
    EXPECT_EQ(again.text(6013), "Numbers\\0*.num\\0\\0");
    ASSERT_TRUE(again.end());
}

TEST(LayoutpressSettings, DecimalChangesTheDumpOfTheRunningProgram) {
    ProgramRun run;
    ASSERT_NE(run.window, nullptr);
    win32_test::post_chars(run.item(300), "short a;\r");
    ASSERT_TRUE(win32_test::pump_until([&] { return run.text(300) == "short a;\r\n"; }, 5000));
    ASSERT_TRUE(run.choose_tab(1, 301));
    win32_test::post_chars(run.item(301), "258, 7,");
    ASSERT_TRUE(win32_test::pump_until([&] { return run.text(301) == "258, 7,"; }, 5000));
    win32_test::post_key(run.item(301), VK_F5);
    ASSERT_TRUE(win32_test::pump_until(
        [&] { return run.selected() == 2 && run.text(302) == "02 01 07 00 "; }, 5000))
        << "F5 shows the hexadecimal dump";
    RECT hex;
    GetWindowRect(run.item(302), &hex);

    ASSERT_TRUE(run.choose_tab(4, 5005));
    run.click(5007);
    run.click(5009);
    ASSERT_TRUE(run.choose_tab(2, 302));
    EXPECT_EQ(run.text(302), "  2   1   7   0 ");
    RECT decimal;
    GetWindowRect(run.item(302), &decimal);
    EXPECT_GT(decimal.right - decimal.left, hex.right - hex.left) << "the decimal dump is wider";
    ASSERT_TRUE(run.end());
    EXPECT_EQ(file_bytes("sys.sys").at(530), 2);
}

} // namespace

// layoutpress.exe as a person uses it: started in an empty folder, a structure and a text
// typed, converted with F5, saved with Ctrl+S through the save dialog, opened again and
// converted back with F6, ended with Esc. Driven from outside, by messages to its windows.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "win32_test_support.h"

namespace {

using win32_test::DialogDriver;

const char* const title = "Dualform - Text <-> Binary - version 1.75";

std::string full_path(const std::string& name) {
    char path[MAX_PATH] = {};
    GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    return path;
}

std::vector<unsigned char> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

// The converter's window and its one pane, found through the window tree.
struct Converter {
    HWND window = nullptr;

    HWND tab_control() const { return FindWindowExA(window, nullptr, "SysTabControl32", nullptr); }
    HWND pane() const { return FindWindowExA(tab_control(), nullptr, "#32770", nullptr); }
    HWND item(int id) const { return GetDlgItem(pane(), id); }
    int selected_tab() const {
        return static_cast<int>(SendMessageA(tab_control(), TCM_GETCURSEL, 0, 0));
    }

    // Waits until the pane of tab shows editor_id with the text wanted.
    bool wait_for_text(int tab, int editor_id, const std::string& wanted, DWORD ms = 5000) const {
        return win32_test::pump_until(
            [&] {
                return selected_tab() == tab && item(editor_id) != nullptr &&
                       win32_test::window_text(item(editor_id)) == wanted;
            },
            ms);
    }

    bool wait_for_pane(int tab, int editor_id, DWORD ms = 5000) const {
        return win32_test::pump_until(
            [&] { return selected_tab() == tab && item(editor_id) != nullptr; }, ms);
    }
};

class LayoutpressProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        program =
            std::make_unique<win32_test::Program>("\"" + win32_test::windows_path(PROGRAM) + "\"");
        ASSERT_TRUE(program->started());
        converter.window = program->wait_for_window("MyWin", title);
        ASSERT_NE(converter.window, nullptr) << "the main window did not appear";
        ASSERT_TRUE(converter.wait_for_pane(0, 300)) << "the data structure pane";
    }

    // Types as from the keyboard: character messages to the focused editor.
    // The program re-creates its pane around every command, so the editor is looked up anew
    // (and waited for) before each input.
    HWND editor(int editor_id) {
        HWND found = nullptr;
        win32_test::pump_until(
            [&] { return (found = converter.item(editor_id)) != nullptr; }, 5000);
        return found;
    }

    void type(int editor_id, const std::string& text) {
        HWND target = editor(editor_id);
        ASSERT_NE(target, nullptr) << "no editor " << editor_id << " on tab "
                                   << converter.selected_tab();
        win32_test::post_chars(target, text);
    }

    void key(int editor_id, WORD virtual_key) {
        HWND target = editor(editor_id);
        ASSERT_NE(target, nullptr) << "no editor " << editor_id << " on tab "
                                   << converter.selected_tab();
        win32_test::post_key(target, virtual_key);
    }

    std::unique_ptr<win32_test::Program> program;
    Converter converter;
};

TEST_F(LayoutpressProgram, StartsInAnEmptyFolderAndWritesItsSettings) {
    ASSERT_TRUE(win32_test::pump_until([] { return file_bytes("sys.sys").size() == 2080; }, 5000))
        << "sys.sys of 2080 bytes in the program's folder";
    EXPECT_EQ(converter.selected_tab(), 0);
    key(300, VK_ESCAPE);
    DWORD code = 99;
    ASSERT_TRUE(program->wait_for_exit(10000, &code)) << "Esc ends the program";
    EXPECT_EQ(code, 0u);
}

TEST_F(LayoutpressProgram, EndsWithZeroWhenItsWindowIsClosed) {
    PostMessageA(converter.window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(program->wait_for_exit(10000, &code)) << "closing the window ends the program";
    EXPECT_EQ(code, 0u);
}

TEST_F(LayoutpressProgram, TypesConvertsSavesOpensAndConvertsBack) {
    // The structure, typed; Enter is a line break in the editor.
    type(300, "short a;\rshort b;\r");
    ASSERT_TRUE(converter.wait_for_text(0, 300, "short a;\r\nshort b;\r\n"));

    // File, Close, "&Text Format Data File" brings the empty text document to the front.
    ASSERT_TRUE(win32_test::post_command(converter.window, 115));
    ASSERT_TRUE(converter.wait_for_pane(1, 301));
    type(301, " 1, 2,\r 3, 4,");
    ASSERT_TRUE(converter.wait_for_text(1, 301, " 1, 2,\r\n 3, 4,"));

    key(301, VK_F5);
    ASSERT_TRUE(converter.wait_for_text(2, 302, "01 00 02 00 03 00 04 00 "))
        << "F5 ends on the binary tab with the dump; it shows \""
        << win32_test::window_text(converter.item(302)) << "\"";

    // Ctrl+S on a document without a file asks where to save it.
    const std::string saved = full_path("records.bin");
    {
        DialogDriver dialogs(DialogDriver::OfProcess{program->id()});
        dialogs.answer(win32_test::choose_file(saved));
        type(302, "\x13");
        ASSERT_TRUE(dialogs.wait_done(10000));
        ASSERT_EQ(dialogs.seen().size(), 1u);
        EXPECT_EQ(dialogs.seen()[0].caption, "save binary format data file");
    }
    ASSERT_TRUE(win32_test::pump_until(
        [&] { return win32_test::window_text(converter.item(322)) == saved; }, 5000))
        << "the binary pane shows the new path";
    EXPECT_EQ(win32_test::window_text(converter.item(319)), "records.bin");
    const std::vector<unsigned char> expected = {1, 0, 2, 0, 3, 0, 4, 0};
    EXPECT_EQ(file_bytes(saved), expected);

    // Ctrl+N empties the binary document; Ctrl+O reads the file back.
    type(302, "\x0E");
    ASSERT_TRUE(converter.wait_for_text(2, 302, ""));
    EXPECT_EQ(win32_test::window_text(converter.item(322)), "");
    {
        DialogDriver dialogs(DialogDriver::OfProcess{program->id()});
        dialogs.answer(win32_test::choose_file(saved));
        type(302, "\x0F");
        ASSERT_TRUE(dialogs.wait_done(10000));
        ASSERT_EQ(dialogs.seen().size(), 1u);
        EXPECT_EQ(dialogs.seen()[0].caption, "open binary format data file");
    }
    ASSERT_TRUE(converter.wait_for_text(2, 302, "01 00 02 00 03 00 04 00 "));

    // F6: back to text, organized in columns and lines.
    key(302, VK_F6);
    ASSERT_TRUE(converter.wait_for_text(1, 301, " 1,\r\n 2,\r\n\r\n 3,\r\n 4,\r\n"))
        << "F6 ends on the text tab; it shows \"" << win32_test::window_text(converter.item(301))
        << "\"";

    key(301, VK_ESCAPE);
    DWORD code = 99;
    ASSERT_TRUE(program->wait_for_exit(10000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(LayoutpressProgram, ConversionProblemsAreShownByTheProgram) {
    // F5 with an empty data structure.
    {
        DialogDriver dialogs(DialogDriver::OfProcess{program->id()});
        dialogs.answer(win32_test::press(IDOK));
        key(300, VK_F5);
        ASSERT_TRUE(dialogs.wait_done(10000));
        ASSERT_EQ(dialogs.seen().size(), 1u);
        EXPECT_EQ(dialogs.seen()[0].caption, "ERROR!");
        ASSERT_FALSE(dialogs.seen()[0].texts.empty());
        EXPECT_EQ(dialogs.seen()[0].texts.back(), "data structure has problem.");
    }
    ASSERT_TRUE(converter.wait_for_pane(0, 300)) << "ends on the data structure tab";
    key(300, VK_ESCAPE);
    DWORD code = 99;
    ASSERT_TRUE(program->wait_for_exit(10000, &code));
    EXPECT_EQ(code, 0u);
}

// Not a test: holds a converted document on screen for the screenshot script
// (layoutpress/shell/take-screenshot.sh), which runs it on purpose.
TEST_F(LayoutpressProgram, DISABLED_PoseForScreenshot) {
    type(300, "// one part of the stock list\r"
              "f_char name[12];\r"
              "unsigned short count;\r"
              "long price;\r"
              "float weight;\r");
    ASSERT_TRUE(win32_test::post_command(converter.window, 115));
    ASSERT_TRUE(converter.wait_for_pane(1, 301));
    type(301, "\"bolt M4\", 120, 15, 0.004,\r"
              "\"nut M4\", 300, 5, 0.0015,\r"
              "\"washer\", 1000, 1, 0.0005,\r"
              "\"bracket\", 12, 250, 0.12,");
    win32_test::pump_messages(500);
    key(301, VK_F5);
    ASSERT_TRUE(converter.wait_for_pane(2, 302));
    win32_test::pump_messages(500);
    std::FILE* ready = std::fopen("ready.flag", "wb");
    ASSERT_NE(ready, nullptr);
    std::fclose(ready);
    win32_test::pump_until(
        [] { return GetFileAttributesA("shot.done") != INVALID_FILE_ATTRIBUTES; }, 60000);
    key(302, VK_ESCAPE);
    DWORD code = 99;
    EXPECT_TRUE(program->wait_for_exit(10000, &code));
}

} // namespace

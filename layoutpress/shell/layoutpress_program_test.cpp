// layoutpress.exe started in an empty folder and driven from outside by messages to its windows.
// release_test.sh runs it on an unpacked release too (LAYOUTPRESS_EXE, that folder current).
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "layoutpress/shell/layoutpress_program_test_support.h"
#include "testing/files/test_files.h"
#include "win32_test_support.h"

namespace {

using namespace layoutpress_program_test;

// Documents typed, converted, saved, opened and converted back; the settings changed and read
// back from sys.sys after a restart.
TEST(LayoutpressProgram, ConvertsSavesOpensAndKeepsItsSettings) {
    {
        Converter run;
        ASSERT_NE(run.window, nullptr);
        EXPECT_TRUE(win32_test::pump_until(
            [] { return test_files::read_all("sys.sys").size() == 2080; }, 5000))
            << "sys.sys written in the program's folder";
        EXPECT_EQ(run.dialogs({win32_test::press(IDOK)}, [&] { run.key(300, VK_F5); }),
                  Lines{"ERROR!: data structure has problem."});

        run.type(300, "short a;\rshort b;\r"); // Enter is a line break in the editor
        ASSERT_TRUE(run.wait_for(0, 300, "short a;\r\nshort b;\r\n"));
        PostMessageA(run.window, WM_COMMAND, 115, 0); // File, Close, Text Format Data File
        ASSERT_TRUE(run.wait_for(1, 301, ""));
        run.type(301, " 1, 2,\r 3, 4,");
        ASSERT_TRUE(run.wait_for(1, 301, " 1, 2,\r\n 3, 4,"));
        run.key(301, VK_F5);
        ASSERT_TRUE(run.wait_for(2, 302, "01 00 02 00 03 00 04 00 ")) << run.text(302);

        const std::string saved = win32_test::full_path("records.bin");
        EXPECT_EQ(run.dialogs({win32_test::choose_file(saved)}, [&] { run.type(302, "\x13"); }),
                  Lines{"save binary format data file"}); // Ctrl+S on a document without a file
        ASSERT_TRUE(win32_test::pump_until([&] { return run.text(322) == saved; }, 5000));
        EXPECT_EQ(test_files::read_all(saved), (test_files::Bytes{1, 0, 2, 0, 3, 0, 4, 0}));
        run.type(302, "\x0E"); // Ctrl+N
        ASSERT_TRUE(run.wait_for(2, 302, ""));
        run.dialogs({win32_test::choose_file(saved)}, [&] { run.type(302, "\x0F"); }); // Ctrl+O
        ASSERT_TRUE(run.wait_for(2, 302, "01 00 02 00 03 00 04 00 "));
        run.key(302, VK_F6);
        ASSERT_TRUE(run.wait_for(1, 301, " 1,\r\n 2,\r\n\r\n 3,\r\n 4,\r\n")) << run.text(301);

        ASSERT_TRUE(run.choose_tab(3, 800));
        run.set_text(311, "450000");
        run.click(850);
        ASSERT_TRUE(run.choose_tab(1, 301));
        EXPECT_EQ(run.text(301), " 1,\r\n 2,\r\n\r\n 3,\r\n 4,\r\n") << "kept through resizing";
        EXPECT_EQ(SendMessageA(run.item(301), EM_GETLIMITTEXT, 0, 0), 450000 - 1);

        ASSERT_TRUE(run.choose_tab(5, 6012));
        run.set_text(6013, "Numbers\\0*.num\\0\\0");
        run.click(6015);

        ASSERT_TRUE(run.choose_tab(4, 5005));
        run.click(5007); // DECIMAL
        run.click(5009);
        ASSERT_TRUE(run.choose_tab(2, 302));
        EXPECT_EQ(run.text(302), "  1   0   2   0   3   0   4   0 ");
        run.key(302, VK_ESCAPE);
        EXPECT_EQ(run.program.wait_for_exit(), 0);
    }
    EXPECT_EQ(test_files::read_all("sys.sys").at(530), 2) << "DECIMAL";

    Converter again;
    ASSERT_TRUE(again.choose_tab(3, 800));
    EXPECT_EQ(again.text(311), "450000");
    ASSERT_TRUE(again.choose_tab(5, 6012));
    EXPECT_EQ(again.text(6013), "Numbers\\0*.num\\0\\0");
    PostMessageA(again.window, WM_CLOSE, 0, 0); // the close box
    EXPECT_EQ(again.program.wait_for_exit(), 0);
}

} // namespace

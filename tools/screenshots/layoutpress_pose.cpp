// Holds a converted document on layoutpress's screen for layoutpress/shell/show-under-wine.sh:
// types a structure and a text, converts them with F5, writes "ready.flag" and waits for
// "shot.done". A tool built with the Wine tests, not one of them.
#include <windows.h>

#include <gtest/gtest.h>

#include "layoutpress/shell/layoutpress_program_test_support.h"
#include "testing/files/test_files.h"
#include "win32_test_support.h"

using layoutpress_program_test::Converter;

TEST(Pose, ConvertedStockList) {
    Converter run;
    run.type(300, "// one part of the stock list\rf_char name[12];\runsigned short count;\r"
                  "long price;\rfloat weight;\r");
    PostMessageA(run.window, WM_COMMAND, 115, 0);
    ASSERT_TRUE(run.wait_for(1, 301, nullptr));
    run.type(301, "\"bolt M4\", 120, 15, 0.004,\r\"nut M4\", 300, 5, 0.0015,\r"
                  "\"washer\", 1000, 1, 0.0005,\r\"bracket\", 12, 250, 0.12,");
    win32_test::pump_until([] { return false; }, 500);
    run.key(301, VK_F5);
    ASSERT_TRUE(run.wait_for(2, 302, nullptr));
    win32_test::pump_until([] { return false; }, 500);
    test_files::write_all("ready.flag", "");
    win32_test::pump_until(
        [] { return GetFileAttributesA("shot.done") != INVALID_FILE_ATTRIBUTES; }, 60000);
    run.key(302, VK_ESCAPE);
    run.program.wait_for_exit();
}

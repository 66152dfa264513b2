// The main of every project_wine_test program (a program with a main of its own keeps it: the
// linker takes this file from the library only when main is missing).
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "win32_test_support.h"

// GoogleTest's main, and a watchdog that fails the running test and closes a dialog of the
// process that stays up unanswered for 10 to 20 s.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::thread([] {
        for (HWND seen = nullptr;; Sleep(10000)) {
            HWND dialog = win32_test::find_dialog(0, GetCurrentProcessId());
            if (dialog != nullptr && dialog == seen) {
                ADD_FAILURE() << "dialog " << win32_test::describe_dialog(dialog)
                              << " left unanswered";
                win32_test::cancel()(dialog);
            }
            seen = dialog;
        }
    }).detach();
    return RUN_ALL_TESTS();
}

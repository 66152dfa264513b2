// Entry of tallydrill.exe. The command line is not read.
#include <windows.h>

#include "tallydrill/practice/practice_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    const PracticeStart start = start_practice(instance, show_command);
    if (start.window == nullptr) {
        return 0;
    }
    return run_message_loop(start);
}

// The practice program's main window: class "MyWin", start-up, the window procedure and the
// message loop.
#pragma once

#include <windows.h>

extern const char main_window_title[];

LRESULT CALLBACK practice_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

struct PracticeStart {
    HWND window; // null when the class could not be registered or the window not made
    HACCEL accelerators;
};

// Start-up up to the first paint: initial state, the class, the main window with its start
// button, the tile bitmap, the accelerator table "MyMenu", showing the window.
PracticeStart start_practice(HINSTANCE instance, int show_command);

// Offers each message to the accelerator table before translating and dispatching it; gives
// the exit code of the quit message.
int run_message_loop(const PracticeStart& start);

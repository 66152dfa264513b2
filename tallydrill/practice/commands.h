// WM_COMMAND of the practice window: recognising a clicked button, then the command table.
#pragma once

#include <windows.h>

// Runs the command in wParam: first the button that reports a click (only for menu choices and
// button clicks, whose notification code is 0), then the table entry of the identifier.
void handle_command(HWND window, WPARAM wparam);

// The about box, owned by the main window.
void show_about_box(HWND window);

extern const char about_caption[];
extern const char about_text[];

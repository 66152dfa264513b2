// The converter's main window "MyWin": its class, its procedure, start-up and shutdown.
#pragma once

#include <windows.h>

constexpr const char* main_window_title = "Dualform - Text <-> Binary - version 1.75";

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Registers "MyWin" with the icon, cursor, background and menu of the program.
bool register_main_window_class(HINSTANCE instance);

// Creates the main window at (0, 0), 1000 by 700 pixels. nullptr when it could not be made,
// also when the rich edit library could not be loaded (rich_edit_module is then nullptr).
HWND create_main_window(HINSTANCE instance);

// Destroys the pane, releases the rich edit library and posts the quit message with exit
// code 0. Runs once, for the Exit command or the window's destruction, whichever comes first.
void run_shutdown_steps();

// Runs until the quit message and returns its exit code. Every message is offered to the
// accelerator table first; none goes through dialog keyboard navigation.
int run_message_loop(HWND window, HACCEL accelerators);

// The whole program: settings, common controls, the window and the loop. Returns the exit code.
int run_layoutpress(HINSTANCE instance, int show);

// The commands of the menu, the accelerators and the command buttons.
#pragma once

#include <windows.h>

// The main window's WM_COMMAND: a click on a command button runs that button's command, any
// other command is looked up by its id; ids that name no command are ignored.
void dispatch_command(HWND window, WPARAM wparam, LPARAM lparam);

// kind is a DocumentKind.
void cmd_new(HWND window, int kind);
void cmd_open(HWND window, int kind);
void cmd_save(HWND window, int kind);
void cmd_save_as(HWND window, int kind);
void cmd_save_all(HWND window);
void cmd_text_to_binary(HWND window);
void cmd_binary_to_text(HWND window);
void cmd_about(HWND window);
void cmd_exit(HWND window);

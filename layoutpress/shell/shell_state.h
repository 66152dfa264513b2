// The process-wide objects of the converter's window. Single-threaded: only the window
// procedure, the pane procedures and the commands they call touch them.
#pragma once

#include <windows.h>

#include "layoutpress/shell/shell_geometry.h"
#include "layoutpress/structure/member_table.h"

extern HINSTANCE app_instance;   // loads the resources and owns the windows
extern HWND main_window;         // the "MyWin" window, once its creation has begun
extern HMODULE rich_edit_module; // "RICHED32.DLL", which registers the "RICHEDIT" class
extern HWND tab_control;         // the "SysTabControl32" below the command buttons
extern HWND current_pane;        // the one pane, a child of tab_control; nullptr between
extern HWND command_buttons[command_button_count];
extern bool reset_caret[3];      // per document: put the caret at the start on next opening
extern MemberTable member_table; // rebuilt from the data structure by every conversion

// The three settings panes ("MyDB4" to "MyDB6"). For now they show their controls only.
#pragma once

#include <windows.h>

INT_PTR CALLBACK memory_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK organization_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK file_format_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM lparam);

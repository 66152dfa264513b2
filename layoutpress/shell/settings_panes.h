// The three settings panes: "MyDB4" (memory resizing), "MyDB5" (organization) and "MyDB6"
// (file format). Their values take effect on "Setting" (or "Initialize"), which also writes
// "sys.sys".
#pragma once

#include <windows.h>

INT_PTR CALLBACK memory_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK organization_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK file_format_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM lparam);

// "Setting" of the memory pane: reads the four capacity fields, clamps them to their rows,
// resizes the buffers keeping their content, writes the values used back, saves "sys.sys" and
// renews the status bar. A buffer that cannot have its new size keeps its old one and says so.
void resize_memories(HWND pane);

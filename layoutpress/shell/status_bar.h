// The four-part status bar at the foot of the pane that shows the memory capacities.
#pragma once

#include <windows.h>

// Creates the status bar (again) as a child of parent, which ends the previous one, and fills
// its parts with the capacities of struct_memory, text_memory, byte_memory and
// byte_adjust_memory.
void show_memory_status(HWND parent);

// The status bar now on screen, or nullptr.
HWND memory_status_bar();

// Called when the status bar's parent is destroyed, which takes the status bar with it.
void forget_memory_status();

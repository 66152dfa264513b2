// The message boxes of the conversions and of the binary pane's "update".
#pragma once

#include <windows.h>

#include <cstddef>

#include "layoutpress/documents/binary_display.h"

// Rows of the "Temporary Memory Resizing " tab, for the messages that name a memory.
constexpr int text_memory_row = 1;
constexpr int byte_memory_row = 2;
constexpr int display_memory_row = 3;

// An OK box with the exclamation icon, owned by owner: caption "ERROR!" or "WARNING!".
void show_error(HWND owner, const char* text);
void show_warning(HWND owner, const char* text);

// A dump that could not be read back: "binary format data has problem.", and for a dump that
// holds more bytes than byte_memory the memory to enlarge.
void report_dump_problem(HWND owner, const DisplayReport& report);

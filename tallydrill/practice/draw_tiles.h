// Painting the current question's tiles onto the main window.
#pragma once

#include <windows.h>

// Loads "data/bp.bmp" from the current directory as a device-dependent bitmap at its own size;
// null when the file is missing or unreadable.
HBITMAP load_tile_bitmap();

// Repaints the two green bands and copies every cell of the tile plan from the tile bitmap,
// straight through the window's own device context. Without a bitmap only the bands appear; a
// cell that lies outside a too small bitmap is left out rather than copied from nowhere.
void draw_tiles(HWND window);

// The tab control with its six tabs, the one pane it shows, and the command buttons.
#pragma once

#include <windows.h>

constexpr int pane_count = 6;

struct PaneRow {
    const char* label; // tab text, with its trailing blank
    const char* template_name;
    DLGPROC procedure;
};

extern const PaneRow pane_table[pane_count];

// Creates the eight command buttons, the tab control over the whole client area with its six
// tabs, and pane 0.
void create_shell_controls(HWND window);

// Sets the tab control's selection; raises no selection-change notification.
void select_tab(int tab);
// The tab control's selection, -1 when there is none.
int selected_tab();

// Writes the pane's pending edit back into its buffer, then destroys it and its controls.
void destroy_pane();
// Creates the pane of tab (template and procedure from pane_table) as current_pane.
void create_pane(int tab);
// select_tab, destroy_pane and create_pane in one.
void show_tab(int tab);

// The tab control's TCN_SELCHANGE: replaces the pane with the one of the new selection.
void on_tab_change(HWND window, const NMHDR* header);

// Moves and sizes a pane of tab and its controls to where layout_panes puts them for the
// main window's present size; what is already in place is left alone.
void place_pane(HWND pane, int tab);

// Places the tab control, the pane and the document pane's controls for the client size,
// renews the status bar and gives the focus to the pane's editor.
void layout_panes(HWND window);

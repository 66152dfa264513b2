// Where the main window's controls go: pure functions of the client size, the selected tab
// and the dump form, so that the window code only applies them.
#pragma once

#include <cstdint>

struct LayoutRect {
    int x;
    int y;
    int width;
    int height;
};

struct ControlPlacement {
    int id; // control id within the pane
    LayoutRect rect;
};

constexpr int most_placed_controls = 8;

struct PaneLayout {
    LayoutRect tab_control; // in the main window's client area
    LayoutRect pane;        // in the tab control
    int control_count;      // 0 on the settings panes
    ControlPlacement controls[most_placed_controls];
};

// The layout for a client area of client_width by client_height pixels with tab selected;
// output_mode is the BinaryOutputMode, which sets the width of the dump columns of tab 2.
// Sizes that would come out negative on a tiny window are 0.
PaneLayout compute_pane_layout(int client_width, int client_height, int tab, uint8_t output_mode);

// The width of the ruler and dump editor: 515 hexadecimal, 425 pairs, 675 decimal (any other).
int dump_column_width(uint8_t output_mode);

// The right edges of the four status bar parts for a parent client width.
struct StatusBarParts {
    int right_edges[4];
};
StatusBarParts status_bar_parts(int client_width);

// The eight command buttons above the tab control, by index.
constexpr int command_button_count = 8;
LayoutRect command_button_rect(int index);
const char* command_button_text(int index);

#include "layoutpress/shell/shell_geometry.h"

#include "layoutpress/shell/resource_ids.h"

namespace {

// The tab control starts below the two rows of buttons; the pane sits clear of the tab strip.
constexpr int tab_control_top = 65;
constexpr int pane_left = 10;
constexpr int pane_top = 30;

struct DocumentPaneIds {
    int path_label;
    int file_label;
    int path_field;
    int file_name_field;
    int editor;
};

constexpr DocumentPaneIds document_pane_ids[3] = {
    {IDC_STRUCTURE_PATH_LABEL, IDC_STRUCTURE_FILE_LABEL, IDC_STRUCTURE_PATH,
     IDC_STRUCTURE_FILE_NAME, IDC_STRUCTURE_EDITOR},
    {IDC_TEXT_PATH_LABEL, IDC_TEXT_FILE_LABEL, IDC_TEXT_PATH, IDC_TEXT_FILE_NAME, IDC_TEXT_EDITOR},
    {IDC_BINARY_PATH_LABEL, IDC_BINARY_FILE_LABEL, IDC_BINARY_PATH, IDC_BINARY_FILE_NAME,
     IDC_DUMP_EDITOR},
};

struct ButtonSpot {
    const char* text;
    LayoutRect rect;
};

constexpr ButtonSpot command_buttons_spots[command_button_count] = {
    {"Save All File", {0, 0, 188, 30}},
    {"Binary Format Data Conversion : F5", {190, 0, 378, 30}},
    {"Text Format Data Conversion : F6", {570, 0, 378, 30}},
    {"New : Ctrl+N", {0, 32, 188, 30}},
    {"Open : Ctrl+O", {190, 32, 188, 30}},
    {"Close : Ctrl+W", {380, 32, 188, 30}},
    {"Save : Ctrl+S", {570, 32, 188, 30}},
    {"Save As... : F12", {760, 32, 188, 30}},
};

int at_least_zero(int value) {
    return value < 0 ? 0 : value;
}

LayoutRect rect(int x, int y, int width, int height) {
    return LayoutRect{x, y, at_least_zero(width), at_least_zero(height)};
}

void place(PaneLayout& layout, int id, LayoutRect where) {
    layout.controls[layout.control_count++] = ControlPlacement{id, where};
}

} // namespace

int dump_column_width(uint8_t output_mode) {
    switch (output_mode) {
    case 0:
        return 515;
    case 1:
        return 425;
    default:
        return 675;
    }
}

PaneLayout compute_pane_layout(int client_width, int client_height, int tab, uint8_t output_mode) {
    const int w = client_width;
    const int h = client_height;
    PaneLayout layout{};
    layout.tab_control = rect(0, tab_control_top, w, h - tab_control_top);
    layout.pane = rect(pane_left, pane_top, w - 2 * pane_left, h - 100);
    if (tab < 0 || tab > 2) {
        return layout; // the settings panes keep their template positions
    }

    const int p = w - 2 * pane_left; // the pane's width
    const DocumentPaneIds& ids = document_pane_ids[tab];
    place(layout, ids.path_label, rect(1, 3, 127, 25));
    place(layout, ids.file_label, rect(1, 30, 127, 25));
    place(layout, ids.path_field, rect(130, 3, p - 131, 25));
    place(layout, ids.file_name_field, rect(130, 30, p - 131, 25));
    if (tab != 2) {
        place(layout, ids.editor, rect(1, 60, p - 2, h - 190));
        return layout;
    }
    // The heights follow the main window's client height, not the pane's.
    const int d = dump_column_width(output_mode);
    place(layout, IDC_RULER, rect(1, 60, d, 30));
    place(layout, IDC_UPDATE, rect(d + 5, 60, 200, 30));
    place(layout, IDC_DUMP_EDITOR, rect(1, 95, d, h - 215));
    place(layout, IDC_CHAR_VIEW, rect(d + 5, 95, 200, h - 215));
    return layout;
}

StatusBarParts status_bar_parts(int client_width) {
    const int quarter = client_width / 4; // divided first, as the parts are laid out in steps
    StatusBarParts parts{};
    for (int i = 0; i < 4; ++i) {
        parts.right_edges[i] = (i + 1) * quarter - (i < 3 ? 10 * (i + 1) : 0);
    }
    return parts;
}

LayoutRect command_button_rect(int index) {
    if (index < 0 || index >= command_button_count) {
        return LayoutRect{0, 0, 0, 0};
    }
    return command_buttons_spots[index].rect;
}

const char* command_button_text(int index) {
    if (index < 0 || index >= command_button_count) {
        return "";
    }
    return command_buttons_spots[index].text;
}

#include "layoutpress/shell/tabs_panes.h"

#include <commctrl.h>

#include "layoutpress/documents/settings.h"
#include "layoutpress/shell/document_panes.h"
#include "layoutpress/shell/pane_phases.h"
#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/settings_panes.h"
#include "layoutpress/shell/shell_geometry.h"
#include "layoutpress/shell/shell_state.h"
#include "layoutpress/shell/status_bar.h"

const PaneRow pane_table[pane_count] = {
    {"Data Structure ", "MyDB1", structure_pane_proc},
    {"Text Format Data ", "MyDB2", text_pane_proc},
    {"Binary Format Data ", "MyDB3", binary_pane_proc},
    {"Temporary Memory Resizing ", "MyDB4", memory_pane_proc},
    {"Organization ", "MyDB5", organization_pane_proc},
    {"FILE FORMAT ", "MyDB6", file_format_pane_proc},
};

namespace {

constexpr int editor_ids[3] = {IDC_STRUCTURE_EDITOR, IDC_TEXT_EDITOR, IDC_DUMP_EDITOR};

void create_command_buttons(HWND window) {
    for (int i = 0; i < command_button_count; ++i) {
        const LayoutRect r = command_button_rect(i);
        command_buttons[i] =
            CreateWindowExA(0, "button", command_button_text(i),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER, r.x,
                            r.y, r.width, r.height, window, nullptr, app_instance, nullptr);
    }
}

void insert_tabs() {
    for (int tab = 0; tab < pane_count; ++tab) {
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<char*>(pane_table[tab].label);
        item.iImage = -1;
        SendMessageA(tab_control, TCM_INSERTITEMA, tab, reinterpret_cast<LPARAM>(&item));
    }
}

// A window already in its place is left alone: moving it there again would only make the
// control lay its text out once more.
void move(HWND control, const LayoutRect& r) {
    if (control == nullptr) {
        return;
    }
    RECT now;
    GetWindowRect(control, &now);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&now), 2);
    if (now.left == r.x && now.top == r.y && now.right - now.left == r.width &&
        now.bottom - now.top == r.height) {
        return;
    }
    MoveWindow(control, r.x, r.y, r.width, r.height, TRUE);
}

PaneLayout current_layout(int tab) {
    RECT client;
    GetClientRect(main_window, &client);
    return compute_pane_layout(client.right, client.bottom, tab, settings.binary_output_mode);
}

void place_pane_and_controls(HWND pane, const PaneLayout& layout) {
    const PanePhaseScope phase(PanePhase::placing);
    move(pane, layout.pane);
    for (int i = 0; i < layout.control_count; ++i) {
        move(GetDlgItem(pane, layout.controls[i].id), layout.controls[i].rect);
    }
}

} // namespace

void create_shell_controls(HWND window) {
    create_command_buttons(window);
    RECT client;
    GetClientRect(window, &client);
    tab_control = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                  client.bottom, window, nullptr, app_instance, nullptr);
    insert_tabs();
    create_pane(0);
}

void select_tab(int tab) {
    SendMessageA(tab_control, TCM_SETCURSEL, tab, 0);
}

int selected_tab() {
    return static_cast<int>(SendMessageA(tab_control, TCM_GETCURSEL, 0, 0));
}

void destroy_pane() {
    if (current_pane == nullptr) {
        return;
    }
    // Destroying a window that holds the focus does not always tell its dialog; write the
    // editor back here so that the buffer is current whatever the pane was told.
    {
        const PanePhaseScope phase(PanePhase::writing_back);
        flush_pane_editor(current_pane);
    }
    {
        const PanePhaseScope phase(PanePhase::destroying);
        DestroyWindow(current_pane);
    }
    current_pane = nullptr;
    forget_memory_status();
}

void create_pane(int tab) {
    if (tab < 0 || tab >= pane_count) {
        return;
    }
    const PanePhaseScope phase(PanePhase::creating);
    current_pane = CreateDialogParamA(app_instance, pane_table[tab].template_name, tab_control,
                                      pane_table[tab].procedure, 0);
}

void show_tab(int tab) {
    select_tab(tab);
    destroy_pane();
    create_pane(tab);
}

void on_tab_change(HWND window, const NMHDR* header) {
    destroy_pane();
    create_pane(static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
    layout_panes(window);
}

void place_pane(HWND pane, int tab) {
    place_pane_and_controls(pane, current_layout(tab));
}

void layout_panes(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    const int tab = selected_tab();
    const PaneLayout layout =
        compute_pane_layout(client.right, client.bottom, tab, settings.binary_output_mode);
    {
        const PanePhaseScope phase(PanePhase::placing);
        move(tab_control, layout.tab_control);
    }
    if (current_pane == nullptr) {
        return;
    }
    place_pane_and_controls(current_pane, layout);
    {
        const PanePhaseScope phase(PanePhase::status_bar);
        show_memory_status(current_pane);
    }
    if (tab >= 0 && tab < 3) {
        const PanePhaseScope phase(PanePhase::focus);
        SetFocus(GetDlgItem(current_pane, editor_ids[tab]));
    }
}

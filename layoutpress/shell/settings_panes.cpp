#include "layoutpress/shell/settings_panes.h"

// Every message goes to the dialog's default processing; the controls keep the positions of
// their templates.

INT_PTR CALLBACK memory_pane_proc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

INT_PTR CALLBACK organization_pane_proc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

INT_PTR CALLBACK file_format_pane_proc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

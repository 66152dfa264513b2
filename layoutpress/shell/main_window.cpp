#include "layoutpress/shell/main_window.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/shell/commands.h"
#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/shell_state.h"
#include "layoutpress/shell/tabs_panes.h"

HINSTANCE app_instance = nullptr;
HWND main_window = nullptr;
HMODULE rich_edit_module = nullptr;
HWND tab_control = nullptr;
HWND current_pane = nullptr;
HWND command_buttons[command_button_count] = {};
bool reset_caret[3] = {true, true, true};

namespace {

constexpr const char* rich_edit_library = "RICHED32.DLL";
bool shut_down = false;
const char* start_failure = nullptr; // why the window's creation failed

// WM_CREATE: the rich edit library, the buttons, the tab control, pane 0 and its layout.
LRESULT on_create(HWND window) {
    main_window = window;
    rich_edit_module = LoadLibraryA(rich_edit_library);
    if (rich_edit_module == nullptr) {
        // Without it the document panes cannot be made. There is nothing to shut down, so the
        // window's destruction that follows must not release anything.
        start_failure = "RICHED32.DLL can not be loaded.";
        shut_down = true;
        return -1;
    }
    create_shell_controls(window);
    layout_panes(window);
    return 0;
}

LRESULT on_paint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

LRESULT on_notify(HWND window, LPARAM lparam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header != nullptr && header->hwndFrom == tab_control && header->code == TCN_SELCHANGE) {
        on_tab_change(window, header);
    }
    return 0;
}

void tell_start_failure(const char* text) {
    MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONEXCLAMATION);
}

// The settings and the work buffers; false (after saying why) when a buffer cannot be had.
bool load_start_settings() {
    const char* failed = nullptr;
    if (load_settings("sys.sys", &failed) != SettingsOutcome::allocation_failed) {
        return true;
    }
    char text[256];
    std::snprintf(text, sizeof text,
                  "%s can not be allocated.\nLower its size in sys.sys, or delete sys.sys to "
                  "start with the default memory sizes.",
                  failed != nullptr ? failed : "a work buffer");
    tell_start_failure(text);
    return false;
}

} // namespace

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        return on_create(window);
    case WM_SIZE:
        layout_panes(window);
        return 0;
    case WM_PAINT:
        return on_paint(window);
    case WM_NOTIFY:
        return on_notify(window, lparam);
    case WM_COMMAND:
        dispatch_command(window, wparam, lparam);
        return 0;
    case WM_DESTROY:
        run_shutdown_steps();
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

bool register_main_window_class(HINSTANCE instance) {
    WNDCLASSA window_class{};
    window_class.style = 0;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, LP_ICON_NAME);
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    window_class.lpszMenuName = LP_MENU_NAME;
    window_class.lpszClassName = LP_CLASS_NAME;
    return RegisterClassA(&window_class) != 0;
}

HWND create_main_window(HINSTANCE instance) {
    app_instance = instance;
    shut_down = false;
    start_failure = nullptr;
    HWND window = CreateWindowExA(0, LP_CLASS_NAME, main_window_title, WS_OVERLAPPEDWINDOW, 0, 0,
                                  1000, 700, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        main_window = nullptr;
    }
    return window;
}

void run_shutdown_steps() {
    if (shut_down) {
        return;
    }
    shut_down = true;
    destroy_pane();
    if (rich_edit_module == nullptr || !FreeLibrary(rich_edit_module)) {
        MessageBoxA(nullptr, "Library Release Failure", "Error", MB_OK);
    }
    rich_edit_module = nullptr;
    PostQuitMessage(0);
}

int run_message_loop(HWND window, HACCEL accelerators) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(window, accelerators, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int run_layoutpress(HINSTANCE instance, int show) {
    if (!load_start_settings()) {
        return 1;
    }
    std::memset(document_path, 0, sizeof document_path);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    if (!register_main_window_class(instance)) {
        return 0;
    }
    HWND window = create_main_window(instance);
    if (window == nullptr) {
        tell_start_failure(start_failure != nullptr ? start_failure
                                                    : "The main window can not be created.");
        return 1;
    }
    HACCEL accelerators = LoadAcceleratorsA(instance, LP_MENU_NAME);
    ShowWindow(window, show);
    UpdateWindow(window);
    return run_message_loop(window, accelerators);
}

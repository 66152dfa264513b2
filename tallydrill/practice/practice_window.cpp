#include "tallydrill/practice/practice_window.h"

#include <commctrl.h>

#include "tallydrill/practice/commands.h"
#include "tallydrill/practice/draw_tiles.h"
#include "tallydrill/practice/japanese_text.h"
#include "tallydrill/practice/judging.h"
#include "tallydrill/practice/panes.h"
#include "tallydrill/practice/practice_app.h"
#include "tallydrill/practice/question_flow.h"
#include "tallydrill/practice/resource_ids.h"
#include "tallydrill/practice/window_layout.h"

const char main_window_title[] = "[ Pointsmith ][ Tilvora ] version 2.5";

namespace {

bool register_window_class(HINSTANCE instance) {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = 0;
    window_class.lpfnWndProc = practice_window_procedure;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, TD_ICON_NAME);
    window_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    window_class.lpszMenuName = TD_MENU_NAME;
    window_class.lpszClassName = TD_CLASS_NAME;
    return RegisterClassExA(&window_class) != 0;
}

// The progress bar class comes with the common controls; register it before any countdown
// pane needs it rather than rely on the file dialog having loaded them.
void register_common_controls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
}

SIZE client_size(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

void on_create(HWND window, LPARAM lparam) {
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    build_start_button(window, create->hInstance);
}

// Springs back to the minimum outer size, then places the children of the current state.
void on_size(HWND window) {
    const SIZE client = client_size(window);
    RECT outer{};
    GetWindowRect(window, &outer);
    const OuterSizeFix fix =
        minimum_size_fix(client.cx, client.cy, outer.right - outer.left, outer.bottom - outer.top);
    if (fix.resize) {
        SetWindowPos(window, nullptr, 0, 0, fix.outer_width, fix.outer_height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const SIZE placed = client_size(window);
    switch (practice.state) {
    case PracticeState::start_screen:
        place_start_screen(placed.cx, placed.cy);
        break;
    case PracticeState::question_running:
        place_question_running(placed.cx);
        break;
    case PracticeState::result_shown:
        place_result_shown(placed.cx, placed.cy);
        break;
    }
}

// The tiles are painted through the window's own device context, so the pending background
// erase is done first: otherwise the erase of the default paint handling would wipe them.
void on_paint(HWND window) {
    if (practice.state == PracticeState::start_screen) {
        return;
    }
    RedrawWindow(window, nullptr, nullptr, RDW_ERASENOW | RDW_NOCHILDREN);
    if (practice.state == PracticeState::question_running) {
        draw_tiles(window);
        show_question_pane();
        show_answer_fields();
        if (practice.mode == AnswerMode::direct_input) {
            SetFocus(practice.countdown_pane.score_input);
        }
        return;
    }
    SetFocus(practice.result_pane.explanation_box);
    if (practice.reveal_step >= reveal_step_open) {
        draw_tiles(window);
        show_question_pane();
        ShowWindow(practice.result_pane.explanation_box, SW_SHOW);
    }
}

void on_timer(HWND window, WPARAM timer) {
    if (timer == practice_timer_id) {
        practice_timer_tick(window);
    }
}

void on_destroy() {
    if (practice.tile_bitmap != nullptr) {
        DeleteObject(practice.tile_bitmap);
        practice.tile_bitmap = nullptr;
    }
    delete_japanese_caption_font();
    PostQuitMessage(0);
}

} // namespace

LRESULT CALLBACK practice_window_procedure(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        on_create(window, lparam);
        break;
    case WM_SIZE:
        on_size(window);
        break;
    case WM_PAINT:
        on_paint(window);
        break;
    case WM_TIMER:
        on_timer(window, wparam);
        break;
    case WM_COMMAND:
        handle_command(window, wparam);
        break;
    case WM_DESTROY:
        on_destroy();
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

PracticeStart start_practice(HINSTANCE instance, int show_command) {
    set_initial_state();
    if (!register_window_class(instance)) {
        return PracticeStart{nullptr, nullptr};
    }
    register_common_controls();
    HWND window = CreateWindowExA(0, TD_CLASS_NAME, main_window_title, WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, main_window_width,
                                  main_window_height, nullptr, nullptr, instance, nullptr);
    practice.instance = instance;
    practice.main_window = window;
    practice.tile_bitmap = load_tile_bitmap();
    HACCEL accelerators = LoadAcceleratorsA(instance, TD_MENU_NAME);
    if (window != nullptr) {
        ShowWindow(window, show_command);
        UpdateWindow(window);
    }
    return PracticeStart{window, accelerators};
}

int run_message_loop(const PracticeStart& start) {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(start.window, start.accelerators, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

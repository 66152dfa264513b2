// The program that win32_test_support_test starts and drives from outside: a window with an
// edit box (id 101) and a status text (id 102) that tells what the window received.
//   WM_COMMAND 200: status "command 200"
//   WM_COMMAND 201: a message box "Child asks" (caption "Child", OK/Cancel), then status
//                   "answer N" with the button pressed
//   WM_COMMAND 202: the program ends with exit code 7
//   F5 key:         status "F5"
#include <windows.h>

#include <cstdio>

namespace {

constexpr int edit_id = 101;
constexpr int status_id = 102;

void set_status(HWND window, const char* text) {
    SetDlgItemTextA(window, status_id, text);
}

LRESULT CALLBACK child_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: {
        const HINSTANCE instance = reinterpret_cast<CREATESTRUCTA*>(lparam)->hInstance;
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, window,
                        reinterpret_cast<HMENU>(edit_id), instance, nullptr);
        CreateWindowExA(0, "STATIC", "idle", WS_CHILD | WS_VISIBLE, 10, 40, 200, 24, window,
                        reinterpret_cast<HMENU>(status_id), instance, nullptr);
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case 200:
            set_status(window, "command 200");
            return 0;
        case 201: {
            const int answer = MessageBoxA(window, "Child asks", "Child", MB_OKCANCEL);
            char text[32];
            std::snprintf(text, sizeof text, "answer %d", answer);
            set_status(window, text);
            return 0;
        }
        case 202:
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wparam == VK_F5) {
            set_status(window, "F5");
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(7);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = child_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = "Win32TestSupportChild";
    if (!RegisterClassA(&window_class)) {
        return 1;
    }
    HWND window =
        CreateWindowExA(0, window_class.lpszClassName, "Support child", WS_OVERLAPPEDWINDOW, 100,
                        100, 300, 120, nullptr, nullptr, instance, nullptr);
    if (!window) {
        return 1;
    }
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

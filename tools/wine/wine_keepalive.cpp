// Holds a message-only window for the length of a Wine test session, so that Wine's desktop
// process stays up between test programs instead of exiting and restarting for each of them.
// Usage: wine_keepalive.exe [READY_FILE]   (READY_FILE is written once the window exists)
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK keepalive_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

int main(int argc, char** argv) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = keepalive_procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "ProjectWineKeepalive";
    if (!RegisterClassA(&window_class)) {
        std::fprintf(stderr, "wine_keepalive: RegisterClass failed (%lu)\n", GetLastError());
        return 1;
    }
    HWND window = CreateWindowExA(0, window_class.lpszClassName, "wine keepalive", 0, 0, 0, 0, 0,
                                  HWND_MESSAGE, nullptr, window_class.hInstance, nullptr);
    if (!window) {
        std::fprintf(stderr, "wine_keepalive: CreateWindow failed (%lu)\n", GetLastError());
        return 1;
    }
    // Touch the desktop so that its process starts now, not in the first test.
    GetDesktopWindow();
    if (argc > 1) {
        HANDLE ready = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (ready == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "wine_keepalive: cannot write %s (%lu)\n", argv[1],
                         GetLastError());
            return 1;
        }
        DWORD written = 0;
        WriteFile(ready, "ready\n", 6, &written, nullptr);
        CloseHandle(ready);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

#include "layoutpress/shell/status_bar.h"

#include <commctrl.h>

#include <cstdio>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/shell/shell_geometry.h"
#include "layoutpress/shell/shell_state.h"

namespace {

HWND status_bar = nullptr; // one for the whole program, on the pane it was last made on

struct StatusPart {
    const char* format;
    const TemporaryMemory* memory;
};

const StatusPart status_parts[4] = {
    {"struct memory size : %d", &struct_memory},
    {"text memory size : %d", &text_memory},
    {"byte memory size : %d", &byte_memory},
    {"byte adjust memory size : %d", &byte_adjust_memory},
};

} // namespace

void show_memory_status(HWND parent) {
    if (status_bar != nullptr && IsWindow(status_bar)) {
        DestroyWindow(status_bar);
    }
    status_bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                 nullptr, app_instance, nullptr);
    if (status_bar == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(parent, &client);
    const StatusBarParts parts = status_bar_parts(client.right - client.left);
    SendMessageA(status_bar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts.right_edges));
    for (int i = 0; i < 4; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, status_parts[i].format,
                      static_cast<int>(status_parts[i].memory->capacity()));
        SendMessageA(status_bar, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(text));
    }
}

HWND memory_status_bar() {
    return status_bar;
}

void forget_memory_status() {
    status_bar = nullptr;
}

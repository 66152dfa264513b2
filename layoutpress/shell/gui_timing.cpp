// How long F5 and F6 take in the real window on full default buffers: as many records as the
// default memories hold (the text, or the dump of the bytes, is what fills up), F5 to binary
// (the dump and character view included), then F6 back to the text, each until the window has
// painted; and the showing of each tab alone, which both commands include. Prints the figures;
// checks only that each command gave the expected result, so that a figure is never of a failed
// conversion.
//   layoutpress_gui_timing [ROUNDS]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "layoutpress/conversion/binary_to_text.h"
#include "layoutpress/conversion/text_to_binary.h"
#include "layoutpress/documents/binary_display.h"
#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/shell/main_window.h"
#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/tabs_panes.h"
#include "layoutpress/structure/structure_parser.h"

namespace {

struct Workload {
    const char* name;
    const char* structure;
    std::string (*record)(int index);
};

std::string integer_record(int index) {
    char bits[9] = {};
    for (int bit = 0; bit < 8; ++bit) {
        bits[bit] = ((index >> (7 - bit)) & 1) != 0 ? '1' : '0';
    }
    return " " + std::to_string(index * 7919 - 3000000) + ", " +
           std::to_string(index % 65536 - 32768) + ", " + std::to_string(index % 256) + ", " +
           bits + ",\r\n";
}

std::string text_record(int index) {
    return " \"name number " + std::to_string(index) + "\", " + std::to_string(index * 31) +
           ",\r\n";
}

const Workload workloads[] = {
    {"integer records", "long a;\r\nshort b;\r\nu_char c;\r\nbit:8 f;\r\n", integer_record},
    {"text records", "f_char name[24];\r\nlong n;\r\n", text_record},
};

// The text F6 writes for the first `records` records, when it, the bytes, their dump and the
// character view all fit the memories; F5's input is F6's own form, so that both directions
// handle the same buffers.
bool fitting_text(const Workload& workload, int records, std::string* text) {
    std::string raw;
    for (int index = 0; index < records; ++index) {
        raw += workload.record(index);
    }
    MemberTable table;
    if (parse_structure(workload.structure, std::strlen(workload.structure) + 1, table) == 0) {
        return false;
    }
    std::vector<uint8_t> binary(byte_memory.capacity());
    const size_t length =
        text_to_binary(binary.data(), binary.size(), raw.c_str(), raw.size() + 1, table);
    std::vector<char> dump(byte_adjust_memory.capacity());
    std::vector<char> view(char_view_memory.capacity());
    if (length == 0 ||
        !render_binary_display(dump.data(), dump.size(), binary.data(), length,
                               settings.binary_output_mode) ||
        !build_char_view(view.data(), view.size(), binary.data(), length)) {
        return false;
    }
    std::vector<char> organized(text_memory.capacity());
    TextOrganization organization;
    organization.space = settings.organize_space != 0;
    organization.line_feed = settings.organize_line_feed != 0;
    const size_t written = binary_to_text(organized.data(), organized.size(), binary.data(), length,
                                          table, organization);
    *text = std::string(organized.data(), written);
    return written != 0;
}

// As many whole records as the memories hold (found by halving: fitting is monotone).
std::string full_text(const Workload& workload) {
    std::string text;
    int fits = 0;
    int fails = 100000;
    while (fails - fits > 1) {
        const int middle = fits + (fails - fits) / 2;
        (fitting_text(workload, middle, &text) ? fits : fails) = middle;
    }
    if (fits == 0 || !fitting_text(workload, fits, &text)) {
        return std::string();
    }
    return text;
}

void put_structure(const char* structure) {
    std::memset(struct_memory.data(), 0, struct_memory.capacity());
    std::memcpy(struct_memory.data(), structure, std::strlen(structure));
}

// An unexpected message box would stop the run: say what it says and end.
DWORD WINAPI watch_for_boxes(LPVOID) {
    for (;;) {
        Sleep(200);
        HWND box = FindWindowA("#32770", nullptr);
        DWORD process = 0;
        if (box != nullptr && GetWindowThreadProcessId(box, &process) != 0 &&
            process == GetCurrentProcessId()) {
            char text[512] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            std::printf("unexpected message box: %s\n", text);
            std::fflush(stdout);
            ExitProcess(1);
        }
    }
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

double now_ms() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The command as the accelerator gives it, then the painting it causes.
double timed_command(HWND window, int id) {
    const double start = now_ms();
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 1), 0);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump();
    return now_ms() - start;
}

// Showing a document's tab: its pane made anew, the editor given the whole document.
double timed_show(HWND window, int kind) {
    const double start = now_ms();
    show_tab(kind);
    layout_panes(window);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump();
    return now_ms() - start;
}

struct Figures {
    double median;
    double fastest;
    double slowest;
};

Figures figures_of(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back()};
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    if (load_settings("sys.sys") == SettingsOutcome::allocation_failed) {
        std::printf("the default memories can not be allocated\n");
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    register_main_window_class(instance);
    HWND window = create_main_window(instance);
    if (window == nullptr) {
        std::printf("the window can not be made\n");
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    pump();
    CreateThread(nullptr, 0, watch_for_boxes, nullptr, 0, nullptr);

    std::printf("F5 and F6 in the window under Wine, default memories (text %u, binary %u, dump "
                "%u bytes), hexadecimal dump; median (fastest-slowest) of %d rounds\n",
                text_memory.capacity(), byte_memory.capacity(), byte_adjust_memory.capacity(),
                rounds);
    int failures = 0;
    for (const Workload& workload : workloads) {
        put_structure(workload.structure);
        const std::string text = full_text(workload);
        if (text.empty()) {
            std::printf("%s: the records do not convert\n", workload.name);
            ++failures;
            continue;
        }
        std::vector<double> to_binary;
        std::vector<double> to_text;
        std::vector<double> show_binary;
        std::vector<double> show_text;
        int32_t bytes = 0;
        for (int round = 0; round < rounds; ++round) {
            std::memcpy(text_memory.data(), text.c_str(), text.size() + 1);
            // The text tab shows the text, as after opening it; F5 reads it back from there.
            show_tab(text_document);
            pump();
            to_binary.push_back(timed_command(window, IDM_TEXT_TO_BINARY));
            bytes = binary_length;
            if (bytes <= 0 || selected_tab() != binary_document) {
                std::printf("%s: F5 gave no binary\n", workload.name);
                ++failures;
                break;
            }
            to_text.push_back(timed_command(window, IDM_BINARY_TO_TEXT));
            if (selected_tab() != text_document || std::strlen(text_memory.text()) == 0) {
                std::printf("%s: F6 gave no text\n", workload.name);
                ++failures;
                break;
            }
            show_binary.push_back(timed_show(window, binary_document));
            show_text.push_back(timed_show(window, text_document));
        }
        if (to_text.empty()) {
            continue;
        }
        const Figures f5 = figures_of(to_binary);
        const Figures f6 = figures_of(to_text);
        std::printf("  %-16s F5 %5zu characters -> %5d bytes: %7.1f ms (%.1f-%.1f)\n",
                    workload.name, text.size(), bytes, f5.median, f5.fastest, f5.slowest);
        std::printf("  %-16s F6 %5d bytes -> %5zu characters: %7.1f ms (%.1f-%.1f)\n",
                    workload.name, bytes, std::strlen(text_memory.text()), f6.median, f6.fastest,
                    f6.slowest);
        const Figures binary_pane = figures_of(show_binary);
        const Figures text_pane = figures_of(show_text);
        std::printf("  %-16s showing the binary tab alone: %7.1f ms (%.1f-%.1f)\n", workload.name,
                    binary_pane.median, binary_pane.fastest, binary_pane.slowest);
        std::printf("  %-16s showing the text tab alone:   %7.1f ms (%.1f-%.1f)\n", workload.name,
                    text_pane.median, text_pane.fastest, text_pane.slowest);
    }
    DestroyWindow(window);
    pump();
    return failures == 0 ? 0 : 1;
}

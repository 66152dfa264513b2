// How long F5 and F6 take in the real window on full default buffers: as many records as the
// default memories hold (the text, or the dump of the bytes, is what fills up), F5 to binary
// (the dump and character view included), then F6 back to the text, each until the window has
// painted; and the showing of each tab alone, which both commands include. Each figure comes
// with where its time went: the steps of replacing a pane that the shell names (PanePhase), the
// painting that follows, and the rest (converting, selecting tabs). Prints the figures; checks
// only that each command gave the expected result, so that a figure is never of a failed
// conversion.
//   layoutpress_gui_timing [ROUNDS] [--old-order-too]
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
#include "layoutpress/shell/document_panes.h"
#include "layoutpress/shell/main_window.h"
#include "layoutpress/shell/pane_phases.h"
#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/shell_state.h"
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

// Where one timed action's time went: each named step's own time (a step's time excludes the
// steps nested in it), the painting, and the rest.
constexpr int step_count = static_cast<int>(PanePhase::count) + 2;
constexpr int painting_step = static_cast<int>(PanePhase::count);
constexpr int other_step = painting_step + 1;
const char* const step_names[step_count] = {"write back",  "destroy",   "create",      "place",
                                            "fill editor", "fill view", "fill fields", "status bar",
                                            "focus",       "paint",     "other"};

struct Breakdown {
    double step_ms[step_count] = {};
    double processor_ms = 0; // this process's own processor time (user and kernel)
};

// The process's processor time so far: on a machine shared with other work the wall times
// stretch with the load, this much less so.
double processor_ms() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return static_cast<double>(static_cast<uint64_t>(t.dwHighDateTime) << 32 |
                                   t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

double processor_at_start = 0;

// The probe's record of the action being timed: a stack of the open steps, and the time
// since the last step boundary is charged to the innermost open one.
Breakdown current;
int open_steps[16];
int open_count = 0;
double last_boundary = 0;

void charge_until(double time) {
    current.step_ms[open_count > 0 ? open_steps[open_count - 1] : other_step] +=
        time - last_boundary;
    last_boundary = time;
}

void on_pane_phase(PanePhase phase, bool entering) {
    charge_until(now_ms());
    if (entering && open_count < 16) {
        open_steps[open_count++] = static_cast<int>(phase);
    } else if (!entering && open_count > 0) {
        --open_count;
    }
}

void start_breakdown() {
    current = Breakdown();
    open_count = 0;
    processor_at_start = processor_ms();
    last_boundary = now_ms();
}

// Paints what the action left invalid; the time until then is the action's own.
double finish_with_painting(HWND window, double start, Breakdown* breakdown) {
    charge_until(now_ms());
    open_steps[open_count++] = painting_step;
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump();
    const double end = now_ms();
    charge_until(end);
    open_count = 0;
    current.processor_ms = processor_ms() - processor_at_start;
    *breakdown = current;
    return end - start;
}

// The command as the accelerator gives it, then the painting it causes.
double timed_command(HWND window, int id, Breakdown* breakdown) {
    start_breakdown();
    const double start = last_boundary;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 1), 0);
    return finish_with_painting(window, start, breakdown);
}

// A change of tab as a click gives it: the tab control's selection, then its notification to
// the main window, which makes the pane anew with the whole document.
double timed_tab_change(HWND window, int kind, Breakdown* breakdown) {
    start_breakdown();
    const double start = last_boundary;
    select_tab(kind);
    NMHDR header{tab_control, 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    return finish_with_painting(window, start, breakdown);
}

double median_of(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The timed runs of one action: the whole times and where they went.
struct Series {
    std::vector<double> times;
    std::vector<Breakdown> breakdowns;

    void add(double time, const Breakdown& breakdown) {
        times.push_back(time);
        breakdowns.push_back(breakdown);
    }
};

void print_series(const char* workload, const char* action, const Series& series) {
    std::vector<double> sorted = series.times;
    std::sort(sorted.begin(), sorted.end());
    std::printf("  %-16s %-44s %7.1f ms (%.1f-%.1f)\n", workload, action, median_of(sorted),
                sorted.front(), sorted.back());
    std::vector<double> processor;
    for (const Breakdown& breakdown : series.breakdowns) {
        processor.push_back(breakdown.processor_ms);
    }
    std::printf("  %16s   processor time of the program: %.1f ms; median ms:", "",
                median_of(processor));
    for (int step = 0; step < step_count; ++step) {
        std::vector<double> step_times;
        for (const Breakdown& breakdown : series.breakdowns) {
            step_times.push_back(breakdown.step_ms[step]);
        }
        const double median = median_of(step_times);
        if (median >= 0.05) {
            std::printf(" %s %.1f,", step_names[step], median);
        }
    }
    std::printf("\n");
}

// One round's series of each figure.
struct Figures {
    Series to_binary;
    Series to_text;
    Series show[3];
};

// F5, F6 and a change to each document tab, from the text tab showing the full text.
bool time_round(HWND window, const Workload& workload, const std::string& text, Figures& f,
                int32_t* bytes) {
    std::memcpy(text_memory.data(), text.c_str(), text.size() + 1);
    // The text tab shows the text, as after opening it; F5 reads it back from there.
    show_tab(text_document);
    layout_panes(window);
    pump();
    Breakdown breakdown;
    double time = timed_command(window, IDM_TEXT_TO_BINARY, &breakdown);
    f.to_binary.add(time, breakdown);
    *bytes = binary_length;
    if (*bytes <= 0 || selected_tab() != binary_document) {
        std::printf("%s: F5 gave no binary\n", workload.name);
        return false;
    }
    time = timed_command(window, IDM_BINARY_TO_TEXT, &breakdown);
    f.to_text.add(time, breakdown);
    if (selected_tab() != text_document || std::strlen(text_memory.text()) == 0) {
        std::printf("%s: F6 gave no text\n", workload.name);
        return false;
    }
    for (int kind : {binary_document, structure_document, text_document}) {
        time = timed_tab_change(window, kind, &breakdown);
        f.show[kind].add(time, breakdown);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const bool old_order_too = argc > 2 && std::strcmp(argv[2], "--old-order-too") == 0;
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
    set_pane_phase_probe(on_pane_phase);

    std::printf(
        "F5 and F6 in the window under Wine, default memories (text %u, binary %u, dump "
        "%u bytes), hexadecimal dump; median (fastest-slowest) of %d rounds, and the median of "
        "each step\n",
        text_memory.capacity(), byte_memory.capacity(), byte_adjust_memory.capacity(), rounds);
    int failures = 0;
    for (const Workload& workload : workloads) {
        put_structure(workload.structure);
        const std::string text = full_text(workload);
        if (text.empty()) {
            std::printf("%s: the records do not convert\n", workload.name);
            ++failures;
            continue;
        }
        // With --old-order-too, every round also runs with the panes opening in the order they
        // had before they were placed first, so that both come from the same minutes.
        Figures figures[2];
        const int orders = old_order_too ? 2 : 1;
        int32_t bytes = 0;
        for (int round = 0; round < rounds && failures == 0; ++round) {
            for (int order = 0; order < orders && failures == 0; ++order) {
                set_pane_opening(order == 0 ? PaneOpening::placed_first
                                            : PaneOpening::as_templated);
                if (!time_round(window, workload, text, figures[order], &bytes)) {
                    ++failures;
                }
            }
        }
        set_pane_opening(PaneOpening::placed_first);
        for (int order = 0; order < orders && failures == 0; ++order) {
            if (old_order_too) {
                std::printf("  %s, %s:\n", workload.name,
                            order == 0 ? "panes placed, then filled (the program)"
                                       : "panes filled at 0 x 0, then placed (before)");
            }
            const Figures& f = figures[order];
            char action[64];
            std::snprintf(action, sizeof action, "F5 %zu characters -> %d bytes:", text.size(),
                          bytes);
            print_series(workload.name, action, f.to_binary);
            std::snprintf(action, sizeof action, "F6 %d bytes -> %zu characters:", bytes,
                          std::strlen(text_memory.text()));
            print_series(workload.name, action, f.to_text);
            print_series(workload.name, "changing to the binary tab:", f.show[binary_document]);
            print_series(workload.name, "changing to the text tab:", f.show[text_document]);
            print_series(workload.name,
                         "changing to the data structure tab:", f.show[structure_document]);
        }
    }
    DestroyWindow(window);
    pump();
    return failures == 0 ? 0 : 1;
}

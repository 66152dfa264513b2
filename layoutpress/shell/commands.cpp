#include "layoutpress/shell/commands.h"

#include "layoutpress/conversion/binary_to_text.h"
#include "layoutpress/conversion/text_to_binary.h"
#include "layoutpress/documents/binary_display.h"
#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/document_files.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/shell/command_table.h"
#include "layoutpress/shell/conversion_messages.h"
#include "layoutpress/shell/file_dialogs.h"
#include "layoutpress/shell/main_window.h"
#include "layoutpress/shell/shell_state.h"
#include "layoutpress/shell/tabs_panes.h"
#include "layoutpress/structure/structure_parser.h"

MemberTable member_table = {};

namespace {

constexpr const char* structure_problem_text = "data structure has problem.";
constexpr const char* text_problem_text = "text format data has problem.";
constexpr const char* binary_problem_text = "binary format data has problem.";
constexpr const char* conversion_warning_text =
    "the problem occurred by the computation process but displays data there.";
constexpr const char* about_caption = "version information and so on";
constexpr const char* about_text = "version 1.75\n"
                                   "layoutpress, written by the layoutpress developers\n"
                                   "see README.md of the source repository";

// The largest result a conversion is tried with when it reports how much room it needed.
constexpr size_t largest_measured_result = 64u << 20;

// The document a command entry means at this moment, or -1 on a settings tab.
int document_of(const CommandEntry& entry) {
    if (entry.document != selected_tab_document) {
        return entry.document;
    }
    const int tab = selected_tab();
    return tab >= 0 && tab < document_kinds ? tab : -1;
}

void run_command(HWND window, const CommandEntry& entry) {
    const int kind = document_of(entry);
    switch (entry.command) {
    case Command::new_document:
        return kind < 0 ? layout_panes(window) : cmd_new(window, kind);
    case Command::open_document:
        return kind < 0 ? layout_panes(window) : cmd_open(window, kind);
    case Command::save_document:
        return kind < 0 ? layout_panes(window) : cmd_save(window, kind);
    case Command::save_document_as:
        return kind < 0 ? layout_panes(window) : cmd_save_as(window, kind);
    case Command::save_all:
        return cmd_save_all(window);
    case Command::text_to_binary:
        return cmd_text_to_binary(window);
    case Command::binary_to_text:
        return cmd_binary_to_text(window);
    case Command::about:
        return cmd_about(window);
    case Command::exit:
        return cmd_exit(window);
    }
}

int button_index(LPARAM lparam) {
    for (int i = 0; i < command_button_count; ++i) {
        if (lparam != 0 && reinterpret_cast<HWND>(lparam) == command_buttons[i]) {
            return i;
        }
    }
    return -1;
}

size_t byte_count() {
    if (binary_length <= 0) {
        return 0;
    }
    const size_t count = static_cast<size_t>(binary_length);
    return count < byte_memory.capacity() ? count : byte_memory.capacity();
}

// Whether the dump and the character view of the bytes fit their memories; if not, says which
// memory to enlarge.
bool display_fits(HWND window, size_t count) {
    const size_t dump = binary_display_size(count, settings.binary_output_mode);
    if (dump > byte_adjust_memory.capacity()) {
        show_memory_too_small(window, "dump", dump, display_memory_row,
                              byte_adjust_memory.capacity());
        return false;
    }
    const size_t view = char_view_size(count);
    if (view > char_view_memory.capacity()) {
        show_memory_too_small(window, "character view", view, display_memory_row,
                              char_view_memory.capacity());
        return false;
    }
    return true;
}

void render_dump() {
    render_binary_display(byte_adjust_memory.text(), byte_adjust_memory.capacity(),
                          byte_memory.data(), byte_count(), settings.binary_output_mode);
}

// The room a conversion would have needed, tried in scratch buffers of growing size; 0 when
// it does not fit even the largest.
template <typename Convert> size_t measure_result(size_t too_small, Convert convert) {
    for (size_t size = too_small * 2; size != 0 && size <= largest_measured_result; size *= 2) {
        TemporaryMemory trial;
        if (!trial.allocate(static_cast<uint32_t>(size))) {
            return 0;
        }
        const size_t produced = convert(trial);
        if (produced != 0) {
            return produced;
        }
    }
    return 0;
}

void report_binary_memory_full(HWND window) {
    const size_t needed = measure_result(byte_memory.capacity(), [](TemporaryMemory& trial) {
        return text_to_binary(trial.data(), trial.capacity(), text_memory.text(),
                              text_memory.capacity(), member_table);
    });
    show_memory_too_small(window, "binary data", needed, byte_memory_row, byte_memory.capacity());
}

void report_text_memory_full(HWND window, TextOrganization organization) {
    const size_t needed = measure_result(text_memory.capacity(), [&](TemporaryMemory& trial) {
        const size_t length = binary_to_text(trial.text(), trial.capacity(), byte_memory.data(),
                                             byte_count(), member_table, organization);
        return length != 0 ? length + 1 : 0; // the terminator takes a byte too
    });
    show_memory_too_small(window, "text", needed, text_memory_row, text_memory.capacity());
}

bool structure_parses() {
    return parse_structure(struct_memory.text(), struct_memory.capacity(), member_table) != 0;
}

} // namespace

void dispatch_command(HWND window, WPARAM wparam, LPARAM lparam) {
    const int button = button_index(lparam);
    if (button >= 0) {
        if (HIWORD(wparam) == BN_CLICKED) {
            run_command(window, *find_command(command_button_id(button)));
        }
        return;
    }
    if (const CommandEntry* entry = find_command(LOWORD(wparam))) {
        run_command(window, *entry);
    }
}

void cmd_new(HWND window, int kind) {
    reset_caret[kind] = true;
    select_tab(kind);
    destroy_pane();
    clear_document(kind);
    create_pane(kind);
    layout_panes(window);
}

void cmd_open(HWND window, int kind) {
    reset_caret[kind] = true;
    select_tab(kind);
    destroy_pane();
    const OpenOutcome outcome = open_document(kind, window);
    if (kind == binary_document && outcome.loaded) {
        binary_length = static_cast<int32_t>(outcome.count);
        if (display_fits(window, byte_count())) {
            render_dump();
        }
    }
    create_pane(kind);
    layout_panes(window);
}

void cmd_save(HWND window, int kind) {
    select_tab(kind);
    destroy_pane();
    save_document(kind, window);
    create_pane(kind);
    layout_panes(window);
}

void cmd_save_as(HWND window, int kind) {
    select_tab(kind);
    destroy_pane();
    // For the binary document this reads the dump back into the bytes first.
    save_document_as(kind, window);
    create_pane(kind);
    layout_panes(window);
}

void cmd_save_all(HWND window) {
    destroy_pane();
    for (int kind = 0; kind < document_kinds; ++kind) {
        save_document(kind, window);
    }
    create_pane(selected_tab());
    layout_panes(window);
}

void cmd_text_to_binary(HWND window) {
    show_tab(text_document);
    if (!structure_parses()) {
        show_error(window, structure_problem_text);
        show_tab(structure_document);
    } else if (text_memory.text()[0] == '\0') {
        show_tab(text_document);
        show_error(window, text_problem_text);
    } else {
        ConversionProblem problem = ConversionProblem::none;
        binary_length = static_cast<int32_t>(
            text_to_binary(byte_memory.data(), byte_memory.capacity(), text_memory.text(),
                           text_memory.capacity(), member_table, &problem));
        if (binary_length == 0) {
            show_tab(text_document);
            if (problem == ConversionProblem::output_full) {
                report_binary_memory_full(window);
            } else {
                show_error(window, text_problem_text);
            }
        } else if (!display_fits(window, byte_count())) {
            show_tab(binary_document); // the bytes are new, the dump stays the old one
        } else {
            select_tab(binary_document);
            destroy_pane();
            render_dump();
            create_pane(binary_document);
        }
    }
    layout_panes(window);
}

void cmd_binary_to_text(HWND window) {
    show_tab(binary_document);
    if (!structure_parses()) {
        show_error(window, structure_problem_text);
        show_tab(structure_document);
        return layout_panes(window);
    }
    if (byte_adjust_memory.text()[0] == '\0') {
        show_tab(binary_document);
        show_error(window, binary_problem_text);
        return layout_panes(window);
    }
    DisplayReport report;
    binary_length = static_cast<int32_t>(
        parse_binary_display(byte_memory.data(), byte_memory.capacity(), byte_adjust_memory.text(),
                             byte_adjust_memory.capacity(), settings.binary_output_mode, &report));
    if (binary_length == 0) {
        show_tab(binary_document);
        report_dump_problem(window, report);
        return layout_panes(window);
    }
    const TextOrganization organization{settings.organize_space != 0,
                                        settings.organize_line_feed != 0};
    ConversionProblem problem = ConversionProblem::none;
    if (binary_to_text(text_memory.text(), text_memory.capacity(), byte_memory.data(), byte_count(),
                       member_table, organization, &problem) == 0) {
        if (problem == ConversionProblem::output_full) {
            report_text_memory_full(window, organization);
        } else {
            show_warning(window, conversion_warning_text);
        }
    }
    show_tab(text_document);
    layout_panes(window);
}

void cmd_about(HWND window) {
    MessageBoxA(window, about_text, about_caption, MB_OK);
}

void cmd_exit(HWND) {
    run_shutdown_steps();
}

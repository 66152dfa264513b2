#include "layoutpress/shell/settings_panes.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "layoutpress/documents/binary_display.h"
#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/filter_text.h"
#include "layoutpress/documents/memory_resize.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/shell/conversion_messages.h"
#include "layoutpress/shell/file_dialogs.h"
#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/status_bar.h"

// The controls keep the positions of their templates; the tab layout moves the pane itself.

namespace {

constexpr int track_ids[memory_row_count] = {IDC_STRUCT_TRACK, IDC_TEXT_TRACK, IDC_BYTE_TRACK,
                                             IDC_BYTE_ADJUST_TRACK};
constexpr int capacity_ids[memory_row_count] = {IDC_STRUCT_CAPACITY, IDC_TEXT_CAPACITY,
                                                IDC_BYTE_CAPACITY, IDC_BYTE_ADJUST_CAPACITY};
constexpr int ini_field_ids[3] = {IDC_STRUCT_INI_FIELD, IDC_TEXT_INI_FIELD, IDC_BINARY_INI_FIELD};
constexpr int filter_field_ids[3] = {IDC_STRUCT_FILTER_FIELD, IDC_TEXT_FILTER_FIELD,
                                     IDC_BINARY_FILTER_FIELD};

constexpr const char* settings_unsaved_text =
    "sys.sys can not be written; the settings stay in force until the program ends.";

// Longest text read from a capacity field: any number of more digits reads as too large.
constexpr int capacity_field_chars = 32;

// What the memory pane remembers per row while it lives.
struct MemoryRowState {
    uint32_t shown;
    int position;
};
MemoryRowState memory_rows[memory_row_count];

// Whether the pane now open has already said that "sys.sys" could not be written.
bool unsaved_reported = false;

TemporaryMemory& row_memory(int row) {
    TemporaryMemory* const memories[memory_row_count] = {&struct_memory, &text_memory, &byte_memory,
                                                         &byte_adjust_memory};
    return *memories[row];
}

void save_settings_once(HWND pane) {
    if (!save_settings() && !unsaved_reported) {
        unsaved_reported = true;
        show_error(pane, settings_unsaved_text);
    }
}

void show_capacity(HWND pane, int row, uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    SetDlgItemTextA(pane, capacity_ids[row], text);
    memory_rows[row].shown = value;
}

void set_track(HWND pane, int row, uint32_t capacity) {
    const int position = memory_track_position(capacity, row);
    SendDlgItemMessageA(pane, track_ids[row], TBM_SETPOS, TRUE, position);
    memory_rows[row].position = position;
}

void fill_memory_rows(HWND pane) {
    unsaved_reported = false;
    for (int row = 0; row < memory_row_count; ++row) {
        SendDlgItemMessageA(pane, track_ids[row], TBM_SETRANGE, TRUE,
                            MAKELPARAM(0, memory_track_last_position));
        show_capacity(pane, row, row_memory(row).capacity());
        set_track(pane, row, row_memory(row).capacity());
    }
}

void follow_track_bars(HWND pane) {
    for (int row = 0; row < memory_row_count; ++row) {
        const int position =
            static_cast<int>(SendDlgItemMessageA(pane, track_ids[row], TBM_GETPOS, 0, 0));
        if (position != memory_rows[row].position) {
            show_capacity(pane, row, memory_track_proposal(position, row));
            memory_rows[row].position = position;
        }
    }
}

void resize_row(HWND pane, int row) {
    char text[capacity_field_chars + 1] = {};
    GetDlgItemTextA(pane, capacity_ids[row], text, sizeof text);
    const uint32_t wanted = clamp_memory_field(text, row);
    TemporaryMemory& memory = row_memory(row);
    const uint32_t old_capacity = memory.capacity();
    if (resize_memory_row(row, wanted) == ResizeOutcome::allocation_fail) {
        char message[200];
        memory_not_resized_text(message, sizeof message, row, wanted, old_capacity);
        show_error(pane, message);
    }
    show_capacity(pane, row, memory.capacity());
    set_track(pane, row, memory.capacity());
}

// Where the settings pane's memory message names the binary bytes: at most their capacity.
size_t byte_count() {
    if (binary_length <= 0) {
        return 0;
    }
    const size_t count = static_cast<size_t>(binary_length);
    return count < byte_memory.capacity() ? count : byte_memory.capacity();
}

bool is_checked(HWND pane, int id) {
    return IsDlgButtonChecked(pane, id) == BST_CHECKED;
}

void fill_organization(HWND pane) {
    unsaved_reported = false;
    CheckDlgButton(pane, IDC_SPACE_CHECK, settings.organize_space != 0 ? BST_CHECKED : 0);
    CheckDlgButton(pane, IDC_LINE_FEED_CHECK, settings.organize_line_feed != 0 ? BST_CHECKED : 0);
    CheckDlgButton(pane, IDC_HEXADECIMAL_RADIO,
                   settings.binary_output_mode == Hexadecimal ? BST_CHECKED : 0);
    CheckDlgButton(pane, IDC_DECIMAL_RADIO,
                   settings.binary_output_mode == Decimal ? BST_CHECKED : 0);
    show_memory_status(pane);
}

// Rebuilds the dump in mode; when it would not fit its memory, says so and keeps the old mode
// with its dump, which is then still read back in the form it was written.
void apply_output_mode(HWND pane, uint8_t mode) {
    const size_t needed = binary_display_size(byte_count(), mode);
    if (needed > byte_adjust_memory.capacity()) {
        show_memory_too_small(pane, "dump", needed, display_memory_row,
                              byte_adjust_memory.capacity());
        fill_organization(pane);
        return;
    }
    settings.binary_output_mode = mode;
    render_binary_display(byte_adjust_memory.text(), byte_adjust_memory.capacity(),
                          byte_memory.data(), byte_count(), mode);
}

void store_organization(HWND pane) {
    settings.organize_space = is_checked(pane, IDC_SPACE_CHECK) ? 1 : 0;
    settings.organize_line_feed = is_checked(pane, IDC_LINE_FEED_CHECK) ? 1 : 0;
    if (is_checked(pane, IDC_HEXADECIMAL_RADIO)) {
        apply_output_mode(pane, Hexadecimal);
    } else if (is_checked(pane, IDC_DECIMAL_RADIO)) {
        apply_output_mode(pane, Decimal);
    }
    save_settings_once(pane);
}

void fill_file_format_fields(HWND pane) {
    for (int kind = 0; kind < 3; ++kind) {
        SendDlgItemMessageA(pane, ini_field_ids[kind], EM_LIMITTEXT, settings_text_size - 1, 0);
        SendDlgItemMessageA(pane, filter_field_ids[kind], EM_LIMITTEXT, filter_field_chars, 0);
        SetDlgItemTextA(pane, ini_field_ids[kind], settings.ini_file_name[kind]);
        char text[settings_text_size];
        filter_to_text(settings.file_filter[kind], settings.file_filter_length[kind], text,
                       sizeof text);
        SetDlgItemTextA(pane, filter_field_ids[kind], text);
    }
}

void open_file_format(HWND pane) {
    unsaved_reported = false;
    fill_file_format_fields(pane);
    show_memory_status(pane);
}

void store_file_formats(HWND pane) {
    std::memset(settings.ini_file_name, 0, sizeof settings.ini_file_name);
    std::memset(settings.file_filter, 0, sizeof settings.file_filter);
    for (int kind = 0; kind < 3; ++kind) {
        GetDlgItemTextA(pane, ini_field_ids[kind], settings.ini_file_name[kind],
                        settings_text_size);
        char text[settings_text_size] = {};
        GetDlgItemTextA(pane, filter_field_ids[kind], text, sizeof text);
        // One zero byte always stays at the end of the field.
        settings.file_filter_length[kind] = static_cast<uint32_t>(
            text_to_filter(text, settings.file_filter[kind], filter_field_chars));
    }
    save_settings_once(pane);
}

void initialize_file_formats(HWND pane) {
    restore_default_file_formats(settings);
    fill_file_format_fields(pane);
    save_settings_once(pane);
}

bool clicked(WPARAM wparam, int id) {
    return LOWORD(wparam) == id && HIWORD(wparam) == BN_CLICKED;
}

} // namespace

void resize_memories(HWND pane) {
    for (int row = 0; row < memory_row_count; ++row) {
        resize_row(pane, row);
    }
    save_settings_once(pane);
    ShowWindow(pane, SW_SHOW);
    InvalidateRect(pane, nullptr, TRUE);
    UpdateWindow(pane);
    show_memory_status(pane);
}

INT_PTR CALLBACK memory_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        fill_memory_rows(pane);
        return TRUE;
    case WM_HSCROLL:
        if (LOWORD(wparam) != TB_ENDTRACK) {
            follow_track_bars(pane);
        }
        return TRUE;
    case WM_COMMAND:
        if (clicked(wparam, IDC_MEMORY_SETTING)) {
            resize_memories(pane);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK organization_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        fill_organization(pane);
        return TRUE;
    case WM_COMMAND:
        if (clicked(wparam, IDC_ORGANIZATION_SETTING)) {
            store_organization(pane);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK file_format_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        open_file_format(pane);
        return TRUE;
    case WM_COMMAND:
        if (clicked(wparam, IDC_FILE_FORMAT_SETTING)) {
            store_file_formats(pane);
            return TRUE;
        }
        if (clicked(wparam, IDC_FILE_FORMAT_INITIALIZE)) {
            initialize_file_formats(pane);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

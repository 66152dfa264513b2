#include "layoutpress/shell/file_dialogs.h"

#include <commdlg.h>

#include <cstring>

#include "layoutpress/documents/binary_display.h"
#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/document_files.h"
#include "layoutpress/documents/settings.h"

namespace {

constexpr const char* open_titles[document_kinds] = {
    "open data structure file", "open text format data file", "open binary format data file"};
constexpr const char* save_titles[document_kinds] = {
    "save data structure file", "save text format data file", "save binary format data file"};

constexpr const char* cannot_open_caption = "Can not Open File";
constexpr const char* binary_problem_text = "binary format data has problem.";

constexpr size_t file_name_size = 256;
constexpr size_t file_title_size = 64;

bool is_document_kind(int kind) {
    return kind >= structure_document && kind <= binary_document;
}

// What a file dialog of a document works with; lives for one dialog.
struct DialogBuffers {
    // The kind's filter list, with two more zero bytes so that the list ends even when the
    // stored one fills its whole field.
    char filter[settings_text_size + 2];
    char file_name[file_name_size];
    char file_title[file_title_size];
};

// Shows the open or save dialog of kind; true when the user chose a file.
bool run_file_dialog(int kind, HWND owner, bool save, DialogBuffers& buffers) {
    std::memset(&buffers, 0, sizeof buffers);
    std::memcpy(buffers.filter, settings.file_filter[kind], settings_text_size);
    std::memcpy(buffers.file_name, settings.ini_file_name[kind], file_name_size - 1);

    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    // An empty list would read as a list without pairs; no list at all is what it means.
    dialog.lpstrFilter = buffers.filter[0] != '\0' ? buffers.filter : nullptr;
    dialog.lpstrCustomFilter = nullptr;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffers.file_name;
    dialog.nMaxFile = file_name_size;
    dialog.lpstrFileTitle = buffers.file_title;
    dialog.nMaxFileTitle = file_title_size;
    dialog.lpstrInitialDir = nullptr;
    dialog.lpstrTitle = save ? save_titles[kind] : open_titles[kind];
    dialog.Flags = OFN_HIDEREADONLY;
    const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    // The title buffer holds at most 63 characters whatever the dialog did.
    buffers.file_title[file_title_size - 1] = '\0';
    return chosen != FALSE;
}

void show_cannot_open(HWND owner, const char* path) {
    MessageBoxA(owner, path, cannot_open_caption, MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

// Reads the dump text back into byte_memory and binary_length, as the binary pane shows it;
// says what is wrong when it cannot be read.
bool read_back_binary_display(HWND owner) {
    DisplayReport report;
    binary_length = static_cast<int32_t>(
        parse_binary_display(byte_memory.data(), byte_memory.capacity(), byte_adjust_memory.text(),
                             byte_adjust_memory.capacity(), settings.binary_output_mode, &report));
    switch (report.problem) {
    case DisplayProblem::none:
        return true;
    case DisplayProblem::output_full:
        show_memory_too_small(owner, "binary data", report.needed, binary_document,
                              byte_memory.capacity());
        return false;
    case DisplayProblem::invalid_character:
    case DisplayProblem::missing_buffer:
        break;
    }
    MessageBoxA(owner, binary_problem_text, "ERROR!", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// The save dialog and the write, without reading the dump back first.
bool save_through_dialog(int kind, HWND owner) {
    DialogBuffers buffers;
    if (!run_file_dialog(kind, owner, true, buffers)) {
        return false;
    }
    if (write_document_file(kind, buffers.file_name) != DocumentFileProblem::none) {
        show_cannot_open(owner, buffers.file_name);
        return false;
    }
    record_document_file(kind, buffers.file_name, buffers.file_title);
    return true;
}

} // namespace

OpenOutcome open_document(int kind, HWND owner) {
    const OpenOutcome nothing = {false, 0};
    if (!is_document_kind(kind)) {
        return nothing;
    }
    DialogBuffers buffers;
    if (!run_file_dialog(kind, owner, false, buffers)) {
        return nothing;
    }
    const DocumentLoad load = load_document_file(kind, buffers.file_name);
    switch (load.problem) {
    case DocumentFileProblem::none:
        break;
    case DocumentFileProblem::too_large: {
        const uint32_t capacity = document_memory(kind).capacity();
        show_memory_too_small(owner, "file", load.size, kind, capacity > 0 ? capacity - 1 : 0);
        return nothing;
    }
    case DocumentFileProblem::cannot_open:
    case DocumentFileProblem::cannot_write:
        show_cannot_open(owner, buffers.file_name);
        return nothing;
    }
    record_document_file(kind, buffers.file_name, buffers.file_title);
    return {true, static_cast<uint32_t>(load.size)};
}

bool save_document_as(int kind, HWND owner) {
    if (!is_document_kind(kind)) {
        return false;
    }
    if (kind == binary_document && !read_back_binary_display(owner)) {
        return false;
    }
    return save_through_dialog(kind, owner);
}

bool save_document_to_path(int kind, HWND owner) {
    if (!is_document_kind(kind) || document_path[kind][0] == '\0') {
        return false;
    }
    // A copy: the message shows the path even if something rewrites the table meanwhile.
    char path[document_path_size];
    std::memcpy(path, document_path[kind], document_path_size);
    path[document_path_size - 1] = '\0';
    if (write_document_file(kind, path) != DocumentFileProblem::none) {
        show_cannot_open(owner, path);
        return false;
    }
    return true;
}

void save_document(int kind, HWND owner) {
    if (!is_document_kind(kind)) {
        return;
    }
    if (kind == binary_document && !read_back_binary_display(owner)) {
        return;
    }
    if (document_path[kind][0] != '\0') {
        save_document_to_path(kind, owner);
    } else {
        save_through_dialog(kind, owner);
    }
}

void show_memory_too_small(HWND owner, const char* what, size_t needed, int row,
                           uint32_t capacity) {
    char text[512];
    memory_too_small_text(text, sizeof text, what, needed, row, capacity);
    MessageBoxA(owner, text, "ERROR!", MB_OK | MB_ICONEXCLAMATION);
}

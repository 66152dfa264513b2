#include "layoutpress/shell/document_panes.h"

#include <richedit.h>

#include <cstring>

#include "layoutpress/documents/binary_display.h"
#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/shell/conversion_messages.h"
#include "layoutpress/shell/pane_phases.h"
#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/shell_state.h"
#include "layoutpress/shell/tabs_panes.h"

namespace {

struct DocumentPane {
    int kind;
    int editor_id;
    int file_name_id;
    int path_id;
    TemporaryMemory* buffer; // what the editor shows and writes back to
};

const DocumentPane document_panes[3] = {
    {structure_document, IDC_STRUCTURE_EDITOR, IDC_STRUCTURE_FILE_NAME, IDC_STRUCTURE_PATH,
     &struct_memory},
    {text_document, IDC_TEXT_EDITOR, IDC_TEXT_FILE_NAME, IDC_TEXT_PATH, &text_memory},
    {binary_document, IDC_DUMP_EDITOR, IDC_BINARY_FILE_NAME, IDC_BINARY_PATH, &byte_adjust_memory},
};

bool pane_just_opened = false; // one pane exists at a time
PaneOpening pane_opening = PaneOpening::placed_first;

// A text buffer read by a control must end inside its storage.
const char* terminated_text(TemporaryMemory& buffer) {
    if (buffer.capacity() == 0) {
        return "";
    }
    if (std::memchr(buffer.data(), 0, buffer.capacity()) == nullptr) {
        buffer.data()[buffer.capacity() - 1] = 0;
    }
    return buffer.text();
}

void limit_editor(HWND editor, const TemporaryMemory& buffer) {
    const LPARAM limit = buffer.capacity() > 0 ? buffer.capacity() - 1 : 0;
    SendMessageA(editor, EM_EXLIMITTEXT, 0, limit);
}

size_t line_count(const char* text) {
    size_t lines = 1;
    for (const char* end = std::strchr(text, '\n'); end != nullptr;
         end = std::strchr(end + 1, '\n')) {
        ++lines;
    }
    return lines;
}

// The height of a line of the editor's font, in pixels; 0 when it cannot be told.
int line_height(HWND editor) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(editor, WM_GETFONT, 0, 0));
    HDC dc = GetDC(editor);
    if (dc == nullptr) {
        return 0;
    }
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics{};
    const BOOL measured = GetTextMetricsA(dc, &metrics);
    if (old != nullptr) {
        SelectObject(dc, old);
    }
    ReleaseDC(editor, dc);
    return measured ? metrics.tmHeight : 0;
}

// A vertical scroll bar that the text will need anyway, shown before the text goes in: the
// control then lays the text out once, at its final width, instead of a second time when the
// bar appears half-way through. Only a text of clearly more lines than fit gets it (twice as
// many), so that the control never finds a bar it would not have shown itself.
void show_needed_scroll_bar(HWND editor, const char* text) {
    const int height = line_height(editor);
    RECT client;
    if (height <= 0 || !GetClientRect(editor, &client) || client.bottom <= 0) {
        return;
    }
    const size_t lines_that_fit = static_cast<size_t>(client.bottom / height);
    if (line_count(text) > 2 * lines_that_fit + 1) {
        ShowScrollBar(editor, SB_VERT, TRUE);
    }
}

void show_text(HWND editor, const char* text) {
    if (pane_opening == PaneOpening::placed_first) {
        show_needed_scroll_bar(editor, text);
    }
    SetWindowTextA(editor, text);
    SendMessageA(editor, EM_SETMODIFY, FALSE, 0);
}

void show_char_view(HWND pane) {
    const size_t count = binary_length < 0 ? 0 : static_cast<size_t>(binary_length);
    const size_t bytes = count < byte_memory.capacity() ? count : byte_memory.capacity();
    // A view that would not fit its buffer is left out; the command that made the bytes has
    // already said which memory to enlarge.
    if (!build_char_view(char_view_memory.text(), char_view_memory.capacity(), byte_memory.data(),
                         bytes)) {
        show_text(GetDlgItem(pane, IDC_CHAR_VIEW), "");
        return;
    }
    show_text(GetDlgItem(pane, IDC_CHAR_VIEW), char_view_memory.text());
}

void open_document_pane(HWND pane, const DocumentPane& document) {
    HWND editor = GetDlgItem(pane, document.editor_id);
    // The controls get their final size before their texts: a control that is sized after
    // it was filled lays the whole text out again.
    if (pane_opening == PaneOpening::placed_first) {
        place_pane(pane, document.kind);
    }
    {
        const PanePhaseScope phase(PanePhase::filling_editor);
        limit_editor(editor, *document.buffer);
        show_text(editor, terminated_text(*document.buffer));
    }
    {
        const PanePhaseScope phase(PanePhase::filling_fields);
        SetDlgItemTextA(pane, document.file_name_id, document_file_name[document.kind]);
        SetDlgItemTextA(pane, document.path_id, document_path[document.kind]);
    }
    if (document.kind == binary_document) {
        {
            const PanePhaseScope phase(PanePhase::filling_view);
            limit_editor(GetDlgItem(pane, IDC_CHAR_VIEW), char_view_memory);
            show_char_view(pane);
        }
        const PanePhaseScope phase(PanePhase::filling_fields);
        SetDlgItemTextA(pane, IDC_RULER, binary_display_ruler(settings.binary_output_mode));
    }
    pane_just_opened = true;
}

void put_caret_at_start(HWND pane, const DocumentPane& document) {
    if (!pane_just_opened && !reset_caret[document.kind]) {
        return;
    }
    pane_just_opened = false;
    reset_caret[document.kind] = false;
    // Every document pane, the data structure one too, starts with the caret at the start.
    CHARRANGE start{0, 0};
    SendMessageA(GetDlgItem(pane, document.editor_id), EM_EXSETSEL, 0,
                 reinterpret_cast<LPARAM>(&start));
}

// "update": the dump as the user left it becomes the bytes.
void update_binary_pane(HWND pane) {
    HWND editor = GetDlgItem(pane, IDC_DUMP_EDITOR);
    std::memset(byte_adjust_memory.data(), 0, byte_adjust_memory.capacity());
    GetWindowTextA(editor, byte_adjust_memory.text(),
                   static_cast<int>(byte_adjust_memory.capacity()));
    SendMessageA(editor, EM_SETMODIFY, FALSE, 0);
    DisplayReport report;
    binary_length = static_cast<int32_t>(
        parse_binary_display(byte_memory.data(), byte_memory.capacity(), byte_adjust_memory.text(),
                             byte_adjust_memory.capacity(), settings.binary_output_mode, &report));
    show_char_view(pane);
    if (report.problem != DisplayProblem::none) {
        report_dump_problem(main_window, report);
    }
}

bool is_update_click(UINT message, WPARAM wparam) {
    return message == WM_COMMAND && LOWORD(wparam) == IDC_UPDATE && HIWORD(wparam) == BN_CLICKED;
}

INT_PTR document_pane_message(HWND pane, UINT message, WPARAM wparam,
                              const DocumentPane& document) {
    if (message == WM_INITDIALOG) {
        open_document_pane(pane, document);
        return TRUE;
    }
    if (GetDlgItem(pane, document.editor_id) == nullptr) {
        return FALSE; // a message before the controls exist
    }
    put_caret_at_start(pane, document);
    if (document.kind == binary_document && is_update_click(message, wparam)) {
        update_binary_pane(pane);
        return TRUE;
    }
    sync_pane_editor(pane, message, document.editor_id, *document.buffer);
    return FALSE;
}

} // namespace

void set_pane_opening(PaneOpening opening) {
    pane_opening = opening;
}

void sync_pane_editor(HWND pane, UINT message, int editor_id, TemporaryMemory& buffer) {
    if (message != WM_COMMAND || buffer.capacity() == 0) {
        return;
    }
    HWND editor = GetDlgItem(pane, editor_id);
    if (editor == nullptr || !SendMessageA(editor, EM_GETMODIFY, 0, 0)) {
        return;
    }
    std::memset(buffer.data(), 0, buffer.capacity());
    GetWindowTextA(editor, buffer.text(), static_cast<int>(buffer.capacity()));
    SendMessageA(editor, EM_SETMODIFY, FALSE, 0);
}

void flush_pane_editor(HWND pane) {
    for (const DocumentPane& document : document_panes) {
        if (GetDlgItem(pane, document.editor_id) != nullptr) {
            sync_pane_editor(pane, WM_COMMAND, document.editor_id, *document.buffer);
            return;
        }
    }
}

INT_PTR CALLBACK structure_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM) {
    return document_pane_message(pane, message, wparam, document_panes[structure_document]);
}

INT_PTR CALLBACK text_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM) {
    return document_pane_message(pane, message, wparam, document_panes[text_document]);
}

INT_PTR CALLBACK binary_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM) {
    return document_pane_message(pane, message, wparam, document_panes[binary_document]);
}

#include "layoutpress/shell/conversion_messages.h"

#include "layoutpress/documents/buffers.h"
#include "layoutpress/shell/file_dialogs.h"

void show_error(HWND owner, const char* text) {
    MessageBoxA(owner, text, "ERROR!", MB_OK | MB_ICONEXCLAMATION);
}

void show_warning(HWND owner, const char* text) {
    MessageBoxA(owner, text, "WARNING!", MB_OK | MB_ICONEXCLAMATION);
}

void report_dump_problem(HWND owner, const DisplayReport& report) {
    show_error(owner, "binary format data has problem.");
    if (report.problem == DisplayProblem::output_full) {
        show_memory_too_small(owner, "binary data", report.needed, byte_memory_row,
                              byte_memory.capacity());
    }
}

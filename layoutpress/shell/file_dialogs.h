// The open and save dialogs of the three documents and their messages.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct OpenOutcome {
    bool loaded;    // a file was read into the document
    uint32_t count; // the bytes read (the file's size); 0 when nothing was loaded
};

// Shows the open dialog of kind, reads the chosen file into the document's buffer and records
// its path and name. A file that cannot be opened shows "Can not Open File" with its path; a
// file larger than the buffer holds shows which memory to enlarge. Either way, and after a
// cancel, the document, its path and its name stay as they were. For the binary document the
// caller sets binary_length from count and rebuilds the dump.
OpenOutcome open_document(int kind, HWND owner);

// Shows the save dialog of kind (also when the document has a file), writes the document to
// the chosen file and records its path and name. Returns whether it was written; a file that
// cannot be written shows "Can not Open File" with its path and keeps its old content. For the
// binary document binary_length is first read back from the dump, as save_document does.
bool save_document_as(int kind, HWND owner);

// Writes the document of kind to its recorded path without a dialog. A path that can no
// longer be written shows "Can not Open File" with the path; the old file stays intact and the
// recorded path and name do not change. False, showing nothing, for a document without a path.
bool save_document_to_path(int kind, HWND owner);

// Save and All Save: for the binary document binary_length is first read back from the dump
// text (a dump that cannot be read saves nothing and says so); then the document is written to
// its path, or through the save dialog when it has none.
void save_document(int kind, HWND owner);

// "The <what> is <needed> bytes, but the <memory of row> holds at most <capacity>. ..." in an
// OK box with the exclamation icon and the caption "ERROR!", owned by owner.
void show_memory_too_small(HWND owner, const char* what, size_t needed, int row, uint32_t capacity);

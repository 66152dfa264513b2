// Reading a file into a document and writing a document out: the part of opening and saving
// that needs no dialog.
#pragma once

#include <cstddef>
#include <cstdint>

enum class DocumentFileProblem {
    none,
    cannot_open,  // the file cannot be opened for reading, or created for writing
    too_large,    // the file does not fit the document's buffer with its terminator
    cannot_write, // writing failed; the previous file is intact
};

struct DocumentLoad {
    DocumentFileProblem problem = DocumentFileProblem::none;
    size_t size = 0; // bytes loaded, or the file's size when it is too large
};

// Reads the file at path into the buffer of kind (struct_memory, text_memory, byte_memory),
// followed by one zero byte. A file larger than the capacity less one is refused and the
// buffer is left as it was. Records nothing: the caller records path and name on success.
DocumentLoad load_document_file(int kind, const char* path);

// Writes the document of kind to path through a temporary file beside it: the texts up to
// their first zero byte (never past the buffer), the binary document's first binary_length
// bytes (never past byte_memory's capacity).
DocumentFileProblem write_document_file(int kind, const char* path);

// Zeroes the kind's path, file name and whole buffer; for the binary document also
// byte_adjust_memory and binary_length.
void clear_document(int kind);

// Records the path (up to 255 characters) and file title (up to 63) the document now has.
void record_document_file(int kind, const char* path, const char* file_title);

// The label of the "Temporary Memory Resizing " row that holds the buffer of a document kind,
// or of the display memory (row 3), for messages that say what to enlarge.
const char* memory_row_name(int row);

// "The file is N bytes, but the <memory> holds at most M. Enlarge it on the "Temporary Memory
// Resizing " tab." and the like: the text of a message that names the memory to enlarge.
// needed and capacity are in bytes; what is "file", "result" or "dump" and so on.
void memory_too_small_text(char* out, size_t out_size, const char* what, size_t needed,
                           int row, uint32_t capacity);

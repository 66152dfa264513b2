#include "layoutpress/documents/document_files.h"

#include <cstdio>
#include <cstring>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/file_store.h"

namespace {

bool is_document_kind(int kind) {
    return kind >= structure_document && kind <= binary_document;
}

// The size of an open file, found by seeking to its end (64-bit offsets on both platforms, so
// that a file of 4 GB or more is measured right). The file position is left at the start.
bool measure_file(std::FILE* file, unsigned long long* size) {
#ifdef _WIN32
    if (_fseeki64(file, 0, SEEK_END) != 0) {
        return false;
    }
    const long long end = _ftelli64(file);
    const bool rewound = _fseeki64(file, 0, SEEK_SET) == 0;
#else
    if (fseeko(file, 0, SEEK_END) != 0) {
        return false;
    }
    const long long end = static_cast<long long>(ftello(file));
    const bool rewound = fseeko(file, 0, SEEK_SET) == 0;
#endif
    if (end < 0 || !rewound) {
        return false;
    }
    *size = static_cast<unsigned long long>(end);
    return true;
}

// Appends text to out[0, out_size) at *used, keeping one byte for the terminator.
void append(char* out, size_t out_size, size_t* used, const char* text) {
    for (; *text != '\0' && *used + 1 < out_size; ++text) {
        out[(*used)++] = *text;
    }
    out[*used] = '\0';
}

void append_number(char* out, size_t out_size, size_t* used, unsigned long long value) {
    char digits[24];
    size_t at = sizeof digits;
    digits[--at] = '\0';
    do {
        digits[--at] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    append(out, out_size, used, digits + at);
}

void copy_field(char* field, size_t field_size, const char* text) {
    std::memset(field, 0, field_size);
    if (text == nullptr) {
        return;
    }
    for (size_t i = 0; i + 1 < field_size && text[i] != '\0'; ++i) {
        field[i] = text[i];
    }
}

} // namespace

DocumentLoad load_document_file(int kind, const char* path) {
    DocumentLoad load;
    if (!is_document_kind(kind) || path == nullptr || path[0] == '\0') {
        load.problem = DocumentFileProblem::cannot_open;
        return load;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        load.problem = DocumentFileProblem::cannot_open;
        return load;
    }
    TemporaryMemory& memory = document_memory(kind);
    // One byte of the buffer is kept for the terminator.
    const size_t room = memory.capacity() > 0 ? memory.capacity() - 1 : 0;
    unsigned long long size = 0;
    if (!measure_file(file, &size)) {
        std::fclose(file);
        load.problem = DocumentFileProblem::cannot_open;
        return load;
    }
    if (memory.data() == nullptr || size > room) {
        // A path that opens but cannot be read (a folder, on some systems) is not a file that
        // is too large: one byte tells them apart without touching the buffer.
        const bool readable = std::fgetc(file) != EOF || std::ferror(file) == 0;
        std::fclose(file);
        if (!readable) {
            load.problem = DocumentFileProblem::cannot_open;
            return load;
        }
        load.problem = DocumentFileProblem::too_large;
        load.size = static_cast<size_t>(size);
        if (static_cast<unsigned long long>(load.size) != size) {
            load.size = static_cast<size_t>(-1); // beyond what a size_t counts
        }
        return load;
    }
    // Straight into the buffer; never more than the room, even if the file grew meanwhile.
    const size_t got = room > 0 ? std::fread(memory.data(), 1, room, file) : 0;
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed && got == 0) {
        load.problem = DocumentFileProblem::cannot_open; // nothing was read: buffer unchanged
        return load;
    }
    memory.data()[got] = 0;
    load.size = got;
    return load;
}

DocumentFileProblem write_document_file(int kind, const char* path) {
    if (!is_document_kind(kind) || path == nullptr || path[0] == '\0') {
        return DocumentFileProblem::cannot_open;
    }
    const TemporaryMemory& memory = document_memory(kind);
    size_t length = 0;
    if (memory.data() != nullptr) {
        if (kind == binary_document) {
            length = binary_length > 0 ? static_cast<size_t>(binary_length) : 0;
            if (length > memory.capacity()) {
                length = memory.capacity();
            }
        } else {
            const void* zero = std::memchr(memory.data(), 0, memory.capacity());
            length = zero != nullptr
                         ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - memory.data())
                         : memory.capacity();
        }
    }
    // Not every system refuses replacing a read-only file, so it is refused here.
    if (is_protected_file(path)) {
        return DocumentFileProblem::cannot_open;
    }
    if (!write_file_replacing(path, memory.data(), length)) {
        return DocumentFileProblem::cannot_write;
    }
    return DocumentFileProblem::none;
}

void clear_document(int kind) {
    if (!is_document_kind(kind)) {
        return;
    }
    std::memset(document_path[kind], 0, document_path_size);
    std::memset(document_file_name[kind], 0, document_file_name_size);
    TemporaryMemory& memory = document_memory(kind);
    if (memory.data() != nullptr) {
        std::memset(memory.data(), 0, memory.capacity());
    }
    if (kind == binary_document) {
        if (byte_adjust_memory.data() != nullptr) {
            std::memset(byte_adjust_memory.data(), 0, byte_adjust_memory.capacity());
        }
        binary_length = 0;
    }
}

void record_document_file(int kind, const char* path, const char* file_title) {
    if (!is_document_kind(kind)) {
        return;
    }
    copy_field(document_path[kind], document_path_size, path);
    copy_field(document_file_name[kind], document_file_name_size, file_title);
}

const char* memory_row_name(int row) {
    switch (row) {
    case 0:
        return "Data Structure Memory";
    case 1:
        return "Text Format Data Memory";
    case 2:
        return "Binary Format Data Memory";
    case 3:
        return "Display Binary Format Data Memory";
    default:
        return "memory";
    }
}

void memory_too_small_text(char* out, size_t out_size, const char* what, size_t needed, int row,
                           uint32_t capacity) {
    if (out == nullptr || out_size == 0) {
        return;
    }
    size_t used = 0;
    out[0] = '\0';
    append(out, out_size, &used, "The ");
    append(out, out_size, &used, what != nullptr ? what : "file");
    append(out, out_size, &used, " is ");
    append_number(out, out_size, &used, needed);
    append(out, out_size, &used, " bytes, but the ");
    append(out, out_size, &used, memory_row_name(row));
    append(out, out_size, &used, " holds at most ");
    append_number(out, out_size, &used, capacity);
    append(out, out_size, &used, ". Enlarge it on the \"Temporary Memory Resizing \" tab.");
}

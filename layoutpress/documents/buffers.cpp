#include "layoutpress/documents/buffers.h"

// All six live in this one file so that they are built in this order and released in the
// reverse order at exit.
TemporaryMemory struct_memory;
TemporaryMemory text_memory;
TemporaryMemory byte_memory;
TemporaryMemory byte_adjust_memory;
TemporaryMemory scratch_memory;
TemporaryMemory char_view_memory;

int32_t binary_length = 0;

char document_path[document_kinds][document_path_size] = {};
char document_file_name[document_kinds][document_file_name_size] = {};

TemporaryMemory& document_memory(int kind) {
    switch (kind) {
    case structure_document:
        return struct_memory;
    case text_document:
        return text_memory;
    case binary_document:
        return byte_memory;
    default:
        // Not a document: the scratch buffer holds nothing outside a resize, so a writer
        // handed a wrong kind finds no room rather than a document to overwrite.
        return scratch_memory;
    }
}

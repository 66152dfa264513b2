// The converter's process-wide work buffers and the file identity of its three documents.
#pragma once

#include <cstdint>

#include "layoutpress/documents/temporary_memory.h"

enum DocumentKind { structure_document = 0, text_document = 1, binary_document = 2 };
constexpr int document_kinds = 3;

constexpr uint32_t default_struct_capacity = 30000;
constexpr uint32_t default_text_capacity = 30000;
constexpr uint32_t default_byte_capacity = 10000;
constexpr uint32_t default_byte_adjust_capacity = 30000;

constexpr int document_path_size = 256;
constexpr int document_file_name_size = 64;

// Constructed in this order, released in the reverse order at exit.
extern TemporaryMemory struct_memory;      // data structure document text
extern TemporaryMemory text_memory;        // text format data document text
extern TemporaryMemory byte_memory;        // binary format data bytes
extern TemporaryMemory byte_adjust_memory; // dump text of the binary data
extern TemporaryMemory scratch_memory;     // a copy of a buffer while it is resized
extern TemporaryMemory char_view_memory;   // character view of the binary data

extern int32_t binary_length; // valid bytes at the start of byte_memory

extern char document_path[document_kinds][document_path_size];
extern char document_file_name[document_kinds][document_file_name_size];

// The buffer that holds document kind's content: struct_memory, text_memory or byte_memory.
TemporaryMemory& document_memory(int kind);

// Whole-file reads and writes in binary mode.
#pragma once

#include <cstddef>

// Writes size bytes to a temporary file beside path and then replaces path with it, so that a
// write that fails half-way leaves the previous file as it was. Returns whether path now holds
// the bytes.
bool write_file_replacing(const char* path, const void* data, size_t size);

// Replaces target with source (both in one folder), overwriting target. Platform specific.
bool replace_file(const char* source, const char* target);

// Reads up to capacity bytes from the start of path. Returns false when the file cannot be
// opened; *size_read is the number of bytes read.
bool read_file_prefix(const char* path, void* buffer, size_t capacity, size_t* size_read);

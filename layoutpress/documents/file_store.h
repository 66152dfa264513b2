// Whole-file reads and writes in binary mode.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>

// Writes size bytes to a temporary file beside path and then replaces path with it, so that a
// write that fails half-way leaves the previous file as it was; a symbolic link's file is the
// one replaced, and a device or a pipe is written directly. Returns whether path now holds the
// bytes.
bool write_file_replacing(const char* path, const void* data, size_t size);

// The same for content written piece by piece: write_content puts all of it into the open
// file and returns whether every write went through.
using ContentWriter = std::function<bool(std::FILE* file)>;
bool write_file_replacing(const char* path, const ContentWriter& write_content);

// Replaces target with source (both in one folder), overwriting target. Platform specific.
bool replace_file(const char* source, const char* target);

// The step of write_file_replacing that puts the written temporary file in place of the
// target; tests replace it to stop a save between writing and replacing.
using FileReplacement = bool (*)(const char* source, const char* target);
void set_file_replacement(FileReplacement replacement); // nullptr restores replace_file

// Whether path names an existing file that may not be written: the read-only attribute on
// Windows, the caller's permissions elsewhere. Such a file is refused rather than replaced,
// since replacing it through a temporary file would get around the protection.
bool is_protected_file(const char* path);

// Reads up to capacity bytes from the start of path. Returns false when the file cannot be
// opened; *size_read is the number of bytes read.
bool read_file_prefix(const char* path, void* buffer, size_t capacity, size_t* size_read);

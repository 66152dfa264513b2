// File input and output of the batch converter: whole files as bytes, "-" for the standard
// streams.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file (or standard input for "-"). On failure returns false and sets *error
// to a message that names the file.
bool read_whole_input(const std::string& path, std::vector<uint8_t>& bytes, std::string* error);

// Writes bytes to path (standard output for "" or "-"). A file is replaced only once the new
// content is completely written. On failure returns false and sets *error.
bool write_whole_output(const std::string& path, const void* data, size_t size, std::string* error);

// Line ends at the file boundary: lone LF to CR LF when reading, CR LF to LF when writing.
std::vector<uint8_t> line_feeds_to_crlf(const std::vector<uint8_t>& text);
std::vector<uint8_t> crlf_to_line_feeds(const char* text, size_t length);

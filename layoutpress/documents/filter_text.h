// The FILE FILTER fields of the "FILE FORMAT " tab: a filter list shown as one line of text,
// with every zero byte written as the two characters '\' and '0', and read back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "layoutpress/documents/settings.h"

// The characters a filter field holds, its terminator not counted.
constexpr size_t filter_field_chars = settings_text_size - 1;

// Writes the first length bytes of filter (at most its 256) into out as text: a zero byte as
// "\0", any other byte as it is. Stops before a byte whose text would not fit out_size - 1
// characters, so a "\0" is never cut in half; out always ends with a zero byte. Returns the
// characters written.
size_t filter_to_text(const char* filter, uint32_t length, char* out, size_t out_size);

// Reads text into filter bytes: a '\' directly followed by '0' becomes one zero byte, every
// other character is copied. Writes at most out_size bytes and returns their count.
size_t text_to_filter(const char* text, char* out, size_t out_size);

// Puts back the default INI FILE texts, filters and filter lengths of out; the options stay.
void restore_default_file_formats(Settings& out);

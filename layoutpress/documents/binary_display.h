// The dump text of the binary data, its reading back, and the character view.
#pragma once

#include <cstddef>
#include <cstdint>

enum class DisplayProblem {
    none,
    missing_buffer,
    output_full,       // the result does not fit the target buffer; the target is unchanged
    invalid_character, // a dump character that is not a digit, a space or a line end
};

struct DisplayReport {
    DisplayProblem problem = DisplayProblem::none;
    size_t needed = 0; // bytes the result needs (terminator included for texts)
    size_t offset = 0; // where the invalid character stands in the dump
};

// Bytes taken by the dump of count bytes in mode, terminator included (1 for no bytes).
size_t binary_display_size(size_t count, uint8_t mode);
// Bytes taken by the character view of count bytes, terminator included.
size_t char_view_size(size_t count);

// The ruler shown above the dump in mode (modes other than 0 and 1 act as decimal).
const char* binary_display_ruler(uint8_t mode);

// Writes the dump of bytes[0, count) into out. Fails, leaving out unchanged, when a buffer is
// missing or the dump does not fit out_capacity.
bool render_binary_display(char* out, size_t out_capacity, const uint8_t* bytes, size_t count,
                           uint8_t mode, DisplayReport* report = nullptr);

// Reads the dump text (up to its zero byte or dump_capacity) back into bytes: modes 0 and 1
// read hexadecimal, any other mode decimal. Returns the number of bytes; 0 with a problem in
// *report when the dump holds an invalid character or more bytes than out_capacity, in which
// case out is unchanged.
size_t parse_binary_display(uint8_t* out, size_t out_capacity, const char* dump,
                            size_t dump_capacity, uint8_t mode, DisplayReport* report = nullptr);

// Writes the character view of bytes[0, count) into out; fails like render_binary_display.
bool build_char_view(char* out, size_t out_capacity, const uint8_t* bytes, size_t count,
                     DisplayReport* report = nullptr);

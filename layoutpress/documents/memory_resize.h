// The rows of the "Temporary Memory Resizing " tab: their limits, the track bar proposals, the
// reading of a capacity field and the resizing of a row's buffers without losing content.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int memory_row_count = 4;
constexpr int memory_track_last_position = 16;

// Track bar step and largest value of a row (0 struct, 1 text, 2 byte, 3 byte adjust).
uint32_t memory_row_step(int row);
uint32_t memory_row_largest(int row);

// The value a capacity field stands for: read as a signed decimal number the way "%d" reads
// it (leading blanks, a sign, digits; anything else reads as 0), then brought into 255 to the
// row's largest value.
uint32_t clamp_memory_field(const char* text, int row);

// The track bar position that shows capacity: capacity / step, at most 16.
int memory_track_position(uint32_t capacity, int row);
// The value a track bar position proposes: position * step, or 255 at position 0.
uint32_t memory_track_proposal(int position, int row);

enum class ResizeOutcome {
    unchanged,       // the buffers already had that capacity
    resized,         // the buffers have the new capacity and keep their content
    allocation_fail, // the new storage could not be had: old storage and content kept
};

// Gives the buffers of row the new capacity: struct_memory, text_memory, byte_memory, or
// byte_adjust_memory together with char_view_memory. The new storage is taken first and the
// content copied up to the smaller capacity before the old storage goes, so a failed
// allocation changes nothing. A text cut by shrinking ends with a zero byte inside the buffer;
// shrinking byte_memory below binary_length lowers binary_length to the new capacity. Bytes
// beyond the old capacity read as zero.
ResizeOutcome resize_memory_row(int row, uint32_t capacity);

// "The <memory> can not be enlarged to <wanted> bytes; it keeps <kept>." ("reduced" when
// wanted is below kept), cut to fit out_size.
void memory_not_resized_text(char* out, size_t out_size, int row, uint32_t wanted, uint32_t kept);

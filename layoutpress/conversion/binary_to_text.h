// Packed binary records to text format data, with the optional column alignment ("[SPACE]")
// and line breaking ("[LINE FEED]").
#pragma once

#include <cstddef>
#include <cstdint>

#include "layoutpress/conversion/conversion_problem.h"
#include "layoutpress/structure/member_table.h"

struct TextOrganization {
    bool space = false;     // line the values up in columns
    bool line_feed = false; // each value (or each array) on a line of its own
};

// Fills out with zero bytes up to out_capacity, then writes one value per member for the
// data_length bytes of data. Returns the length of the text (non-zero) on success and 0 on
// failure, with the reason in *problem; the text written so far then stands, terminated
// inside the buffer. A text that would not fit fails with output_full.
size_t binary_to_text(char* out, size_t out_capacity, const uint8_t* data, size_t data_length,
                      const MemberTable& table, TextOrganization organization,
                      ConversionProblem* problem = nullptr);

// The same conversion for a buffer allocated for it: the text and its terminator are written,
// nothing is filled, so that pages the text does not reach stay untouched. Bytes after the
// terminator are unspecified.
size_t binary_to_text_unfilled(char* out, size_t out_capacity, const uint8_t* data,
                               size_t data_length, const MemberTable& table,
                               TextOrganization organization, ConversionProblem* problem = nullptr);

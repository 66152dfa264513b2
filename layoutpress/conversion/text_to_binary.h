// Text format data to packed little-endian binary records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "layoutpress/conversion/conversion_problem.h"
#include "layoutpress/structure/member_table.h"

// Fills out with zero bytes up to out_capacity, then converts the text (which ends at its
// first zero byte or after text_capacity bytes) value by value along the member table.
// Returns the number of bytes written; 0 is a failure, with its reason in *problem. A result
// that would not fit out_capacity fails with output_full: nothing is cut.
size_t text_to_binary(uint8_t* out, size_t out_capacity, const char* text, size_t text_capacity,
                      const MemberTable& table, ConversionProblem* problem = nullptr);

// The same conversion for a buffer allocated for it: only the result's bytes are written, so
// that pages the result does not reach stay untouched. The rest of out is left as it was, and
// after a failure out's content is unspecified.
size_t text_to_binary_unfilled(uint8_t* out, size_t out_capacity, const char* text,
                               size_t text_capacity, const MemberTable& table,
                               ConversionProblem* problem = nullptr);

// Why a conversion produced nothing, so that the caller can say what to change.
#pragma once

enum class ConversionProblem {
    none,
    no_input,        // missing or empty text, or no data bytes
    empty_structure, // the member table holds no member
    bad_member_size, // a member whose size its kind does not allow
    no_value,        // the text holds no value at all
    output_full,     // the result does not fit the output buffer
};

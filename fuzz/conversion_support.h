// What the conversion harnesses share: the structure at the front of an input, and that a buffer
// of exactly a result's size suffices for either entry of both conversions.
#pragma once

#include <algorithm>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "layoutpress/conversion/binary_to_text.h"
#include "layoutpress/conversion/text_to_binary.h"
#include "layoutpress/structure/structure_parser.h"

// The structure text up to the input's first zero byte; false if it fails or has a huge member.
inline bool read_fuzz_structure(FuzzReader& reader, MemberTable& table) {
    const uint8_t* start;
    const size_t length = reader.until_zero(&start);
    ExactBuffer<char> text(start, length);
    return parse_structure(text.data(), text.size(), table) == 1 &&
           std::none_of(std::begin(table.entries), std::end(table.entries),
                        [](const MemberEntry& entry) { return entry.size > 4096; });
}

// A result (empty on failure) from a roomy buffer, and its length again from one of exactly its
// size (and the terminator) by either entry, run by convert(out, capacity, fill, problem).
template <typename Out, typename Convert>
std::vector<Out> checked_conversion(size_t roomy, size_t terminator, Convert convert) {
    ExactBuffer<Out> wide(roomy);
    ConversionProblem problem;
    const size_t written = convert(wide.data(), roomy, true, &problem);
    FUZZ_CHECK(problem != ConversionProblem::output_full);
    for (int fill = 0; fill < 2 && written != 0; ++fill) {
        ExactBuffer<Out> exact(written + terminator);
        FUZZ_CHECK(convert(exact.data(), exact.size(), fill, &problem) == written);
    }
    return std::vector<Out>(wide.data(), wide.data() + written);
}

inline std::vector<uint8_t> checked_text_to_binary(const char* text, size_t length,
                                                   const MemberTable& table) {
    int32_t largest = 1; // each value takes at least one character and fills one member
    for (const MemberEntry& entry : table.entries)
        largest = std::max(largest, entry.size);
    return checked_conversion<uint8_t>(
        1 + length * static_cast<size_t>(largest), 0,
        [&](uint8_t* out, size_t capacity, bool fill, ConversionProblem* problem) {
            return (fill ? text_to_binary : text_to_binary_unfilled)(out, capacity, text, length,
                                                                     table, problem);
        });
}

// The data through binary_to_text under each organization.
inline void checked_binary_to_text(const uint8_t* bytes, size_t length, const MemberTable& table) {
    ExactBuffer<uint8_t> data(bytes, length);
    for (int options = 0; options < 4; ++options) {
        const TextOrganization organization{(options & 1) != 0, (options & 2) != 0};
        // At most 19 characters per byte (a 4-byte Float: 13 and 6 around), plus a partial member.
        checked_conversion<char>(
            600 + 20 * length, 1,
            [&](char* out, size_t capacity, bool fill, ConversionProblem* problem) {
                return (fill ? binary_to_text : binary_to_text_unfilled)(
                    out, capacity, data.data(), length, table, organization, problem);
            });
    }
}

// What the conversion harnesses share: the structure at the front of an input, and the promises
// of both conversions on any member table (results inside their buffers, a buffer of exactly
// the result's size suffices and one byte less is refused), with the round trip of binary
// records through their text where it is defined.
#pragma once

#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "layoutpress/conversion/binary_to_text.h"
#include "layoutpress/conversion/text_to_binary.h"
#include "layoutpress/structure/structure_parser.h"

// The largest member the harnesses convert, so that the buffers stay small.
constexpr int32_t largest_fuzz_member = 4096;

// Parses the structure text at the front of the input (up to its first zero byte). False when
// it fails or declares a member too large to fuzz.
inline bool read_fuzz_structure(FuzzReader& reader, MemberTable& table) {
    const uint8_t* start;
    const size_t length = reader.until_zero(&start);
    ExactBuffer<char> text(start, length);
    if (parse_structure(text.data(), text.size(), table) != 1) {
        return false;
    }
    for (const MemberEntry& entry : table.entries) {
        if (entry.size > largest_fuzz_member) {
            return false;
        }
    }
    return true;
}

// Whether text_to_binary must give the data back from binary_to_text's text: whole records, no
// Float member, Text members without a double quote and without a zero byte before a non-zero
// one.
inline bool round_trip_defined(const MemberTable& table, const uint8_t* data, size_t length) {
    size_t record_size = 0;
    int members = 0;
    for (; members < member_table_entries && !is_end_mark(table.entries[members]); ++members) {
        const MemberEntry& entry = table.entries[members];
        if (entry.kind == MemberKind::Float || !member_size_allowed(entry)) {
            return false;
        }
        record_size += static_cast<size_t>(entry.size);
    }
    if (members == 0 || length % record_size != 0) {
        return false;
    }
    for (size_t position = 0; position < length;) {
        for (int i = 0; i < members; ++i) {
            const size_t size = static_cast<size_t>(table.entries[i].size);
            for (size_t b = 0; table.entries[i].kind == MemberKind::Text && b < size; ++b) {
                const uint8_t* c = data + position + b;
                if (*c == '"' || (b > 0 && *c != 0 && c[-1] == 0)) {
                    return false;
                }
            }
            position += size;
        }
    }
    return true;
}

// binary_to_text's text of the data (no terminator), empty on failure: the text and zeros after
// it fill a roomy buffer; a buffer of exactly its size gives the same text by either entry, one
// byte less output_full with the text so far terminated inside.
inline std::vector<char> checked_binary_to_text(const uint8_t* data, size_t length,
                                                const MemberTable& table,
                                                TextOrganization organization) {
    // At most 19 characters per byte of a member with its padding, separators and line ends (a
    // 4-byte Float: 13 characters and 6 around them), plus a partial member.
    const size_t roomy = 600 + 20 * length;
    ExactBuffer<char> wide(roomy);
    ConversionProblem problem;
    const size_t written =
        binary_to_text(wide.data(), roomy, data, length, table, organization, &problem);
    FUZZ_CHECK(problem != ConversionProblem::output_full && wide[roomy - 1] == 0);
    FUZZ_CHECK(written == (problem == ConversionProblem::none ? std::strlen(wide.data()) : 0));
    ExactBuffer<char> exact(written + 1);
    ExactBuffer<char> short_one(written);
    for (auto convert : {binary_to_text, binary_to_text_unfilled}) {
        if (written == 0) {
            break;
        }
        FUZZ_CHECK(convert(exact.data(), written + 1, data, length, table, organization,
                           &problem) == written);
        FUZZ_CHECK(std::memcmp(exact.data(), wide.data(), written + 1) == 0);
        FUZZ_CHECK(
            convert(short_one.data(), written, data, length, table, organization, &problem) == 0);
        FUZZ_CHECK(problem == ConversionProblem::output_full);
        FUZZ_CHECK(has_terminator(short_one.data(), written));
    }
    return std::vector<char>(wide.data(), wide.data() + written);
}

// text_to_binary's bytes of the text, empty on failure: they fit a roomy buffer; a buffer of
// exactly their size gives the same bytes by either entry, one byte less output_full.
inline std::vector<uint8_t> checked_text_to_binary(const char* text, size_t length,
                                                   const MemberTable& table) {
    size_t largest = 1; // each value takes at least one character and fills one member
    for (const MemberEntry& entry : table.entries) {
        largest = entry.size > 0 && static_cast<size_t>(entry.size) > largest
                      ? static_cast<size_t>(entry.size)
                      : largest;
    }
    ExactBuffer<uint8_t> wide(1 + length * largest);
    ConversionProblem problem;
    const size_t written = text_to_binary(wide.data(), wide.size(), text, length, table, &problem);
    FUZZ_CHECK(written < wide.size() && (written != 0) == (problem == ConversionProblem::none));
    FUZZ_CHECK(problem != ConversionProblem::output_full);
    ExactBuffer<uint8_t> exact(written);
    ExactBuffer<uint8_t> short_one(written - (written != 0));
    for (auto convert : {text_to_binary_unfilled, text_to_binary}) {
        if (written == 0) {
            break;
        }
        FUZZ_CHECK(convert(exact.data(), written, text, length, table, &problem) == written);
        FUZZ_CHECK(std::memcmp(exact.data(), wide.data(), written) == 0);
        FUZZ_CHECK(convert(short_one.data(), written - 1, text, length, table, &problem) == 0);
        FUZZ_CHECK(problem == ConversionProblem::output_full);
    }
    return std::vector<uint8_t>(wide.data(), wide.data() + written);
}

// The data (copied to a buffer of exactly its size) through binary_to_text under each
// organization, and where the round trip is defined back through text_to_binary: the same bytes.
inline void check_round_trips(const uint8_t* bytes, size_t length, const MemberTable& table) {
    ExactBuffer<uint8_t> data(bytes, length);
    for (int options = 0; options < 4; ++options) {
        const std::vector<char> text = checked_binary_to_text(
            data.data(), length, table, TextOrganization{(options & 1) != 0, (options & 2) != 0});
        if (!text.empty() && round_trip_defined(table, data.data(), length)) {
            ExactBuffer<char> source(text.data(), text.size()); // ends at its capacity
            ExactBuffer<uint8_t> back(length);
            FUZZ_CHECK(text_to_binary(back.data(), length, source.data(), source.size(), table) ==
                       length);
            FUZZ_CHECK(std::memcmp(back.data(), data.data(), length) == 0);
        }
    }
}

// What the conversion harnesses share: the structure at the front of an input, and the check
// that binary records written as text read back to the same bytes.
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

// The members of one record (before the first end mark), and the record's size.
inline int record_members(const MemberTable& table, size_t* record_size) {
    int members = 0;
    *record_size = 0;
    while (members < member_table_entries && !is_end_mark(table.entries[members])) {
        *record_size += static_cast<size_t>(table.entries[members].size);
        ++members;
    }
    return members;
}

// Whether text_to_binary must give the data back from binary_to_text's text: whole records, no
// Float member, Text members without a double quote and without a zero byte before a non-zero
// one; for "[SPACE]" also at most 256 records and Text values of at most 127 characters.
inline bool round_trip_defined(const MemberTable& table, const uint8_t* data, size_t length,
                               TextOrganization organization) {
    size_t record_size;
    const int members = record_members(table, &record_size);
    if (members == 0 || length == 0 || length % record_size != 0) {
        return false;
    }
    if (organization.space && length / record_size > 256) {
        return false;
    }
    size_t position = 0;
    while (position < length) {
        for (int i = 0; i < members; ++i) {
            const MemberEntry& entry = table.entries[i];
            const size_t size = static_cast<size_t>(entry.size);
            if (entry.kind == MemberKind::Float || !member_size_allowed(entry)) {
                return false;
            }
            if (entry.kind == MemberKind::Text) {
                bool zero_seen = false;
                size_t characters = 0;
                for (size_t b = 0; b < size; ++b) {
                    const uint8_t c = data[position + b];
                    if (c == '"' || (zero_seen && c != 0)) {
                        return false;
                    }
                    zero_seen = zero_seen || c == 0;
                    characters += c != 0;
                }
                if (organization.space && characters > 127) {
                    return false;
                }
            }
            position += size;
        }
    }
    return true;
}

// The text of the data, in a buffer that fits it exactly (terminator included), after checking
// the promises of binary_to_text on it and on a buffer one byte short. Empty on failure.
inline std::vector<char> checked_binary_to_text(const uint8_t* data, size_t length,
                                                const MemberTable& table,
                                                TextOrganization organization) {
    // A value with its padding, separators and line ends takes at most 19 characters per byte
    // of its member (a 4-byte Float: 13 characters and 6 around them), plus one partial member.
    const size_t roomy = 64 + 20 * length;
    ExactBuffer<char> wide(roomy);
    wide.fill('\x7F');
    ConversionProblem problem;
    const size_t written =
        binary_to_text(wide.data(), wide.size(), data, length, table, organization, &problem);
    FUZZ_CHECK(written < roomy);
    FUZZ_CHECK(has_terminator(wide.data(), wide.size()));
    FUZZ_CHECK((written != 0) == (problem == ConversionProblem::none));
    if (written == 0) {
        // The text written so far stands, terminated inside the buffer, which is zero after it.
        const size_t stands = std::strlen(wide.data());
        for (size_t i = stands; i < roomy; ++i) {
            FUZZ_CHECK(wide[i] == 0);
        }
        FUZZ_CHECK(problem != ConversionProblem::output_full);
        return std::vector<char>();
    }
    FUZZ_CHECK(std::strlen(wide.data()) == written);
    for (size_t i = written; i < roomy; ++i) {
        FUZZ_CHECK(wide[i] == 0);
    }

    // Exactly its size, by either entry: the same text; one byte short: output_full, the text
    // so far terminated inside (the native tests compare each size with a plain model).
    ExactBuffer<char> exact(written + 1);
    ExactBuffer<char> short_one(written);
    for (auto convert : {binary_to_text, binary_to_text_unfilled}) {
        exact.fill('\x7F');
        FUZZ_CHECK(convert(exact.data(), exact.size(), data, length, table, organization,
                           &problem) == written);
        FUZZ_CHECK(std::memcmp(exact.data(), wide.data(), written + 1) == 0);
        FUZZ_CHECK(convert(short_one.data(), short_one.size(), data, length, table, organization,
                           &problem) == 0);
        FUZZ_CHECK(problem == ConversionProblem::output_full);
        FUZZ_CHECK(written == 0 || has_terminator(short_one.data(), short_one.size()));
    }
    return std::vector<char>(exact.data(), exact.data() + written + 1);
}

// binary_to_text, then text_to_binary of its text into a buffer of exactly the data's size:
// the same bytes where the round trip is defined.
inline void check_round_trip(const uint8_t* data, size_t length, const MemberTable& table,
                             TextOrganization organization) {
    const std::vector<char> text = checked_binary_to_text(data, length, table, organization);
    if (text.empty() || !round_trip_defined(table, data, length, organization)) {
        return;
    }
    ExactBuffer<char> source(text.data(), text.size() - 1); // ends at its capacity
    ExactBuffer<uint8_t> back(length);
    ConversionProblem problem;
    const size_t read =
        text_to_binary(back.data(), back.size(), source.data(), source.size(), table, &problem);
    FUZZ_CHECK(read == length);
    FUZZ_CHECK(std::memcmp(back.data(), data, length) == 0);
}

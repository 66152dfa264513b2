// Deterministic record data for the benchmarks: the same bytes on every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "layoutpress/structure/member_table.h"

// The largest documents users convert.
constexpr size_t largest_text = 4800000;
constexpr size_t largest_binary = 1600000;

struct RecordSet {
    const char* name;
    std::string structure;
    MemberTable table;
    std::vector<uint8_t> binary; // whole records, at most largest_binary bytes
    std::string text;            // binary_to_text of binary, at most largest_text bytes
};

// "integers", "texts" or "floats": as many whole records as fit both limits.
const RecordSet& record_set(const char* name);

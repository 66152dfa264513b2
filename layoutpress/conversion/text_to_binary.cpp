#include "layoutpress/conversion/text_to_binary.h"

#include <cstring>
#include <limits>

#include "layoutpress/conversion/number_reading.h"

static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4,
              "Float members are stored as IEEE 754 single precision");
static_assert(std::numeric_limits<double>::is_iec559 && sizeof(double) == 8,
              "Float members are stored as IEEE 754 double precision");

namespace {

void put_little_endian(uint8_t* out, uint64_t value, int count) {
    for (int i = 0; i < count; ++i) {
        out[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// The first `digits` characters as binary digits, first one most significant; 0 when the value
// is shorter or holds another character there.
uint32_t read_bits(const char* p, const char* end, int digits) {
    if (end - p < digits) {
        return 0;
    }
    uint32_t value = 0;
    for (int i = 0; i < digits; ++i) {
        if (p[i] != '0' && p[i] != '1') {
            return 0;
        }
        value = (value << 1) | static_cast<uint32_t>(p[i] - '0');
    }
    return value;
}

// Writes one value into the entry's `size` bytes at out, which are zero already: bytes that a
// value does not reach (the end of a short Text, the last two of a 10-byte Float) stay zero.
void store_value(uint8_t* out, const MemberEntry& entry, const char* value, const char* end) {
    switch (entry.kind) {
    case MemberKind::Text: {
        const size_t length = static_cast<size_t>(end - value);
        const size_t size = static_cast<size_t>(entry.size);
        std::memcpy(out, value, length < size ? length : size);
        break;
    }
    case MemberKind::Signed:
    case MemberKind::Unsigned:
        put_little_endian(out, read_integer_value(value, end), entry.size);
        break;
    case MemberKind::Float:
        if (entry.size == 4) {
            const float number = read_float_value(value, end);
            uint32_t bits;
            std::memcpy(&bits, &number, sizeof bits);
            put_little_endian(out, bits, 4);
        } else {
            const double number = read_double_value(value, end);
            uint64_t bits;
            std::memcpy(&bits, &number, sizeof bits);
            put_little_endian(out, bits, 8);
        }
        break;
    case MemberKind::Bits:
        put_little_endian(out, read_bits(value, end, 8 * entry.size), entry.size);
        break;
    default:
        break;
    }
}

// Where the field that starts at p ends: at a "," or a CR LF, or at the end of the text (its
// terminating zero or its capacity). A lone CR or LF belongs to the field.
const char* field_end(const char* p, const char* limit) {
    for (; p != limit; ++p) {
        const char c = *p;
        if (c == 0 || c == ',' || (c == '\r' && p + 1 != limit && p[1] == '\n')) {
            break;
        }
    }
    return p;
}

// Steps over the separator that field_end stopped at, if any.
const char* past_separator(const char* p, const char* limit) {
    if (p == limit || *p == 0) {
        return p;
    }
    return p + (*p == ',' ? 1 : 2);
}

} // namespace

size_t text_to_binary(uint8_t* out, size_t out_capacity, const char* text, size_t text_capacity,
                      const MemberTable& table, ConversionProblem* problem) {
    if (out == nullptr) {
        out_capacity = 0;
    }
    if (out_capacity != 0) {
        std::memset(out, 0, out_capacity);
    }
    ConversionProblem unused;
    ConversionProblem& why = problem != nullptr ? *problem : unused;
    why = ConversionProblem::none;
    if (text == nullptr || text_capacity == 0 || text[0] == 0) {
        why = ConversionProblem::no_input;
        return 0;
    }

    const char* p = text;
    const char* const limit = text + text_capacity;
    size_t written = 0;
    int index = 0;
    bool any_value = false;
    while (p != limit && *p != 0) {
        // Gap: spaces and separators (so also empty fields and blank lines) are skipped.
        const char c = *p;
        if (c == ' ' || c == ',') {
            ++p;
            continue;
        }
        if (c == '\r' && p + 1 != limit && p[1] == '\n') {
            p += 2;
            continue;
        }
        const char* value;
        const char* value_end;
        if (c == '"') {
            // Quoted: up to the next quote, separators included; no escapes.
            value = ++p;
            while (p != limit && *p != 0 && *p != '"') {
                ++p;
            }
            if (p == limit || *p == 0) {
                break; // a quote left open at the end of the text: the value is dropped
            }
            value_end = p;
            p = past_separator(field_end(p + 1, limit), limit);
        } else {
            // Bare: up to the next separator, inner and trailing blanks and quotes included.
            value = p;
            value_end = field_end(p, limit);
            p = past_separator(value_end, limit);
        }

        any_value = true;
        if (index == member_table_entries || is_end_mark(table.entries[index])) {
            index = 0; // a new record begins
        }
        const MemberEntry& entry = table.entries[index];
        if (is_end_mark(entry)) {
            why = ConversionProblem::empty_structure;
        } else if (!member_size_allowed(entry)) {
            why = ConversionProblem::bad_member_size;
        } else if (static_cast<size_t>(entry.size) > out_capacity - written) {
            why = ConversionProblem::output_full;
        }
        if (why != ConversionProblem::none) {
            // A failed conversion leaves the whole buffer zero, as the caller found it after the
            // initial fill.
            if (written != 0) {
                std::memset(out, 0, written);
            }
            return 0;
        }
        store_value(out + written, entry, value, value_end);
        written += static_cast<size_t>(entry.size);
        ++index;
    }
    if (!any_value) {
        why = ConversionProblem::no_value;
    }
    return written;
}

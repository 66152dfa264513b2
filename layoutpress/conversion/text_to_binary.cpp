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

// Eight characters as one word, the first in the lowest byte, whatever the host's byte order.
inline uint64_t load_eight(const char* p) {
    uint64_t word = 0;
    for (int i = 0; i < 8; ++i) {
        word |= static_cast<uint64_t>(static_cast<uint8_t>(p[i])) << (8 * i);
    }
    return word;
}

constexpr uint64_t each_byte(uint8_t value) {
    return 0x0101010101010101u * value;
}

inline int lowest_byte(uint64_t mask) {
    return __builtin_ctzll(mask) >> 3;
}

// How many of the word's characters, from the first, are decimal digits.
inline int leading_digits(uint64_t word) {
    // A byte is a digit when its high nibble is 3 and stays 3 with 6 added. A carry out of a
    // byte only reaches bytes after a non-digit, which do not count.
    const uint64_t high = word & each_byte(0xF0);
    const uint64_t raised = (word + each_byte(0x06)) & each_byte(0xF0);
    const uint64_t foreign = (high ^ each_byte(0x30)) | (raised ^ each_byte(0x30));
    return foreign == 0 ? 8 : lowest_byte(foreign);
}

// The value of eight digit values (0 to 9, one per byte, the first most significant).
inline uint32_t eight_digits_value(uint64_t digits) {
    digits = digits * 10 + (digits >> 8);
    digits = ((digits & 0x000000FF000000FFu) * (100 + (1000000ull << 32)) +
              ((digits >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32))) >>
             32;
    return static_cast<uint32_t>(digits);
}

// The decimal digits at p, accumulated modulo 2^32 as read_integer_value does; returns where
// they end. Eight characters are taken at a time while the text has them: numbers of varying
// length would otherwise cost a mispredicted branch at the end of each. `after` receives the
// characters that follow the digits within the last eight read (zero bytes past them), so that
// the separator is known without another read.
inline const char* read_digits(const char* p, const char* limit, uint32_t& value, uint64_t& after) {
    static const uint32_t scale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    uint32_t result = 0;
    while (limit - p >= 8) {
        const uint64_t word = load_eight(p);
        const int count = leading_digits(word);
        if (count == 0) {
            value = result;
            after = word;
            return p;
        }
        // The characters after the digits are shifted out, with any borrow they caused.
        const uint64_t digits = (word - each_byte('0')) << (8 * (8 - count));
        result = result * scale[count] + eight_digits_value(digits);
        p += count;
        if (count < 8) {
            value = result;
            after = word >> (8 * count);
            return p;
        }
    }
    after = 0;
    for (; p != limit && static_cast<unsigned>(*p - '0') < 10u; ++p) {
        result = result * 10u + static_cast<uint32_t>(*p - '0');
    }
    value = result;
    return p;
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

// Reads 8 * bytes binary digits at p, eight at a time, when the text has them all; a value
// with anything else among them is left to read_bits.
inline bool read_bit_groups(const char* p, const char* limit, int bytes, uint32_t& value) {
    if (limit - p < 8 * bytes) {
        return false;
    }
    uint32_t result = 0;
    for (int i = 0; i < bytes; ++i, p += 8) {
        const uint64_t word = load_eight(p);
        if ((word & each_byte(0xFE)) != each_byte('0')) {
            return false;
        }
        // Gathers the low bit of every byte into the top byte, the first character highest.
        const uint64_t gathered = ((word & each_byte(0x01)) * 0x8040201008040201u) >> 56;
        result = result << 8 | static_cast<uint32_t>(gathered);
    }
    value = result;
    return true;
}

// Where the closing quote of a quoted value starting at p stands, or where the text ends (its
// zero byte or limit) when the quote is left open.
inline const char* find_quote_or_end(const char* p, const char* limit) {
    while (limit - p >= 8) {
        const uint64_t word = load_eight(p);
        const uint64_t quotes = word ^ each_byte('"');
        // The lowest byte marked is exactly the first zero (or quote) byte; marks above it may
        // be false, and do not matter.
        const uint64_t found =
            ((word - each_byte(1)) & ~word) | ((quotes - each_byte(1)) & ~quotes);
        const uint64_t marked = found & each_byte(0x80);
        if (marked != 0) {
            return p + lowest_byte(marked);
        }
        p += 8;
    }
    while (p != limit && *p != 0 && *p != '"') {
        ++p;
    }
    return p;
}

// Writes one value into the entry's `size` bytes at out, all of them: bytes that a value does
// not reach (the end of a short Text, the last two of a 10-byte Float) are zero.
void store_value(uint8_t* out, const MemberEntry& entry, const char* value, const char* end) {
    switch (entry.kind) {
    case MemberKind::Text: {
        const size_t length = static_cast<size_t>(end - value);
        const size_t size = static_cast<size_t>(entry.size);
        const size_t copied = length < size ? length : size;
        std::memcpy(out, value, copied);
        std::memset(out + copied, 0, size - copied);
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
            std::memset(out + 8, 0, static_cast<size_t>(entry.size) - 8);
        }
        break;
    case MemberKind::Bits:
        put_little_endian(out, read_bits(value, end, 8 * entry.size), entry.size);
        break;
    default:
        break;
    }
}

// An integer in 1, 2 or 4 bytes; the switch lets each size be written with fixed stores.
inline void put_integer(uint8_t* out, uint32_t value, int32_t size) {
    switch (size) {
    case 1:
        out[0] = static_cast<uint8_t>(value);
        break;
    case 2:
        put_little_endian(out, value, 2);
        break;
    default:
        put_little_endian(out, value, 4);
        break;
    }
}

// The separators text format data usually has between values, ", " and ", CR LF ", as the
// characters read into a little-endian word.
constexpr uint64_t comma_blank = ',' | ' ' << 8;
constexpr uint64_t comma_line_end_blank = ',' | '\r' << 8 | '\n' << 16 | uint64_t{' '} << 24;

// Steps over a usual separator and the blank after it at once; anything else is left to the
// general rules.
inline const char* past_usual_separator(const char* p, const char* limit) {
    if (limit - p >= 4) {
        const uint64_t word = static_cast<uint64_t>(static_cast<uint8_t>(p[0])) |
                              static_cast<uint64_t>(static_cast<uint8_t>(p[1])) << 8 |
                              static_cast<uint64_t>(static_cast<uint8_t>(p[2])) << 16 |
                              static_cast<uint64_t>(static_cast<uint8_t>(p[3])) << 24;
        if ((word & 0xFFFF) == comma_blank) {
            return p + 2;
        }
        if (word == comma_line_end_blank) {
            return p + 4;
        }
    }
    return p;
}

// Where the field that starts at p ends: at a "," or a CR LF, or at the end of the text (its
// terminating zero or its capacity). A lone CR or LF belongs to the field.
inline const char* field_end(const char* p, const char* limit) {
    for (; p != limit; ++p) {
        const char c = *p;
        if (c == 0 || c == ',' || (c == '\r' && p + 1 != limit && p[1] == '\n')) {
            break;
        }
    }
    return p;
}

// Steps over the separator that field_end stopped at, if any.
inline const char* past_separator(const char* p, const char* limit) {
    if (p == limit || *p == 0) {
        return p;
    }
    return p + (*p == ',' ? 1 : 2);
}

// The conversion, writing every byte of each value and nothing past the last one. Returns the
// number of bytes written, or 0 with the reason in why.
size_t convert(uint8_t* out, size_t out_capacity, const char* text, size_t text_capacity,
               const MemberTable& table, ConversionProblem& why) {
    why = ConversionProblem::none;
    if (text == nullptr || text_capacity == 0 || text[0] == 0) {
        why = ConversionProblem::no_input;
        return 0;
    }

    // The record's members up to its end mark, and the first of a size its kind does not allow.
    int members = 0;
    while (members < member_table_entries && !is_end_mark(table.entries[members])) {
        ++members;
    }
    int first_bad = members;
    for (int i = 0; i < members; ++i) {
        if (!member_size_allowed(table.entries[i])) {
            first_bad = i;
            break;
        }
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

        // Quoted: up to the next quote, separators included; no escapes.
        const char* quoted_end = nullptr;
        if (c == '"') {
            quoted_end = find_quote_or_end(p + 1, limit);
            if (quoted_end == limit || *quoted_end == 0) {
                break; // a quote left open at the end of the text: the value is dropped
            }
        }

        any_value = true;
        if (index == members) {
            index = 0; // a new record begins
        }
        if (members == 0) {
            why = ConversionProblem::empty_structure;
            return 0;
        }
        if (index == first_bad) {
            why = ConversionProblem::bad_member_size;
            return 0;
        }
        const MemberEntry& entry = table.entries[index];
        if (static_cast<size_t>(entry.size) > out_capacity - written) {
            why = ConversionProblem::output_full;
            return 0;
        }
        uint8_t* const target = out + written;
        written += static_cast<size_t>(entry.size);
        ++index;

        if (quoted_end != nullptr) {
            store_value(target, entry, p + 1, quoted_end);
            p = past_usual_separator(quoted_end + 1, limit);
            if (p == quoted_end + 1) {
                p = past_separator(field_end(p, limit), limit);
            }
            continue;
        }

        // Bare: up to the next separator, inner and trailing blanks and quotes included. The
        // usual integers and bit patterns are read straight from the text: the digits of a
        // number never reach past its field, since no separator is a digit.
        const MemberKind kind = entry.kind;
        // Signs come as often as not: decided without a branch.
        const bool sign = (c == '-') | (c == '+');
        const bool numeric = sign | (static_cast<unsigned>(c - '0') < 10u);
        if ((kind == MemberKind::Signed || kind == MemberKind::Unsigned) && numeric) {
            uint32_t magnitude;
            uint64_t after;
            p = read_digits(p + sign, limit, magnitude, after);
            const uint32_t negate = 0u - static_cast<uint32_t>(c == '-');
            put_integer(target, (magnitude ^ negate) - negate, entry.size);
            // The usual separators, already read.
            if ((after & 0xFFFF) == comma_blank) {
                p += 2;
                continue;
            }
            if ((after & 0xFFFFFFFF) == comma_line_end_blank) {
                p += 4;
                continue;
            }
        } else if (kind == MemberKind::Bits && (c == '0' || c == '1')) {
            uint32_t bits;
            if (read_bit_groups(p, limit, entry.size, bits)) {
                put_integer(target, bits, entry.size);
                p += 8 * entry.size;
                const char* next = past_usual_separator(p, limit);
                if (next != p) {
                    p = next;
                    continue;
                }
            } else {
                const char* value_end = field_end(p, limit);
                store_value(target, entry, p, value_end);
                p = value_end;
            }
        } else {
            const char* value_end = field_end(p, limit);
            store_value(target, entry, p, value_end);
            p = value_end;
        }
        if (p != limit && *p == ',') {
            // The usual end of a value, and the usual blank before the next.
            ++p;
            if (p != limit && *p == ' ') {
                ++p;
            }
        } else {
            p = past_separator(field_end(p, limit), limit);
        }
    }
    if (!any_value) {
        why = ConversionProblem::no_value;
    }
    return written;
}

} // namespace

size_t text_to_binary(uint8_t* out, size_t out_capacity, const char* text, size_t text_capacity,
                      const MemberTable& table, ConversionProblem* problem) {
    if (out == nullptr) {
        out_capacity = 0;
    }
    ConversionProblem unused;
    ConversionProblem& why = problem != nullptr ? *problem : unused;
    const size_t written = convert(out, out_capacity, text, text_capacity, table, why);
    // The rest of the buffer is zero, and all of it after a failure: the state the caller
    // finds is that of a buffer filled with zero bytes before the values were written.
    if (out_capacity != 0) {
        std::memset(out + written, 0, out_capacity - written);
    }
    return written;
}

size_t text_to_binary_unfilled(uint8_t* out, size_t out_capacity, const char* text,
                               size_t text_capacity, const MemberTable& table,
                               ConversionProblem* problem) {
    if (out == nullptr) {
        out_capacity = 0;
    }
    ConversionProblem unused;
    return convert(out, out_capacity, text, text_capacity, table,
                   problem != nullptr ? *problem : unused);
}

#include "layoutpress/conversion/binary_to_text.h"

#include <cstring>
#include <limits>

#include "layoutpress/conversion/number_format.h"

// The text is written in one pass straight from the bytes. Column alignment and line breaking
// are not separate passes over the text but decisions taken while each value is written, so
// no copy of the text is needed; with column alignment on, one measuring walk over the data
// comes first to find each member's column width.

namespace {

uint32_t read_u32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

double widen_float(uint32_t bits) {
    if ((bits & 0x7F800000u) == 0x7F800000u && (bits & 0x007FFFFFu) != 0) {
        // A NaN keeps its sign and payload and comes out quiet, as the processor widens it.
        uint64_t wide = static_cast<uint64_t>(bits >> 31) << 63 | uint64_t{0x7FF} << 52 |
                        static_cast<uint64_t>(bits & 0x007FFFFFu) << 29 | uint64_t{1} << 51;
        double result;
        std::memcpy(&result, &wide, sizeof result);
        return result;
    }
    float single;
    std::memcpy(&single, &bits, sizeof single);
    return static_cast<double>(single);
}

// The low 1, 2 or 4 bytes of a member, little-endian; bytes holds the member's size.
uint32_t low_bytes(const MemberEntry& entry, const uint8_t* bytes) {
    return entry.size >= 4   ? read_u32(bytes)
           : entry.size == 2 ? static_cast<uint32_t>(bytes[0] | bytes[1] << 8)
                             : bytes[0];
}

int32_t sign_extended(const MemberEntry& entry, uint32_t low) {
    return entry.size == 1   ? static_cast<int8_t>(low)
           : entry.size == 2 ? static_cast<int16_t>(low)
                             : static_cast<int32_t>(low);
}

// The text of a member other than Text; bytes holds its size (at most 10) bytes.
char* format_number(char* out, const MemberEntry& entry, const uint8_t* bytes) {
    uint32_t low = low_bytes(entry, bytes);
    switch (entry.kind) {
    case MemberKind::Signed:
        return format_signed(out, sign_extended(entry, low));
    case MemberKind::Unsigned:
        return format_unsigned(out, low);
    case MemberKind::Float:
        if (entry.size == 4) {
            return format_general(out, widen_float(low));
        } else {
            // 8 bytes, or 10 of which the last 2 are not part of the value.
            uint64_t wide = static_cast<uint64_t>(read_u32(bytes + 4)) << 32 | low;
            double value;
            std::memcpy(&value, &wide, sizeof value);
            return format_general(out, value);
        }
    default: // Bits
        return format_bits(out, low, entry.size * 8);
    }
}

// The length of a number's text; integers are measured without being written.
int32_t number_width(const MemberEntry& entry, const uint8_t* bytes) {
    if (entry.kind == MemberKind::Bits) {
        return entry.size * 8;
    }
    if (entry.kind == MemberKind::Float) {
        char text[number_text_capacity];
        return static_cast<int32_t>(format_number(text, entry, bytes) - text);
    }
    const uint32_t low = low_bytes(entry, bytes);
    if (entry.kind == MemberKind::Signed && sign_extended(entry, low) < 0) {
        return 1 + decimal_digit_count(0u - static_cast<uint32_t>(sign_extended(entry, low)));
    }
    return decimal_digit_count(low);
}

// The walk shared by measuring and writing: one call per value, in order, with the member's
// bytes (only those inside the data) and a flag for the first value of a record.
template <typename Visit>
bool walk_values(const uint8_t* data, size_t data_length, const MemberTable& table, Visit&& visit,
                 size_t position = 0) {
    int index = 0;
    bool record_start = true;
    while (position < data_length) {
        // A table of 256 members (no end mark, not made by the parser) also ends the record.
        if (index == member_table_entries || is_end_mark(table.entries[index])) {
            index = 0;
            record_start = true;
        }
        const MemberEntry& entry = table.entries[index];
        size_t left = data_length - position;
        size_t available =
            static_cast<size_t>(entry.size) < left ? static_cast<size_t>(entry.size) : left;
        if (!visit(index, entry, data + position, available, record_start)) {
            return false;
        }
        position += available;
        record_start = false;
        ++index;
    }
    return true;
}

size_t count_non_zero(const uint8_t* bytes, size_t length) {
    size_t count = 0;
    for (size_t i = 0; i < length; ++i) {
        count += bytes[i] != 0;
    }
    return count;
}

// A member that ends past the data is read with the missing bytes taken as zero.
const uint8_t* whole_member(const MemberEntry& entry, const uint8_t* bytes, size_t available,
                            uint8_t (&padded)[10]) {
    if (available == static_cast<size_t>(entry.size)) {
        return bytes;
    }
    std::memset(padded, 0, sizeof padded);
    std::memcpy(padded, bytes, available);
    return padded;
}

// The widest decimal text of an integer member: its largest magnitude among the values that
// are not negative and among those that are (those get a minus sign). A width grows with the
// magnitude, so the extremes decide it and whole records need no width per value.
struct IntegerExtremes {
    uint32_t largest = 0;
    uint32_t most_negative = 0; // as a magnitude; 0 when no value was negative

    void add(const MemberEntry& entry, const uint8_t* bytes) {
        const uint32_t low = low_bytes(entry, bytes);
        uint32_t magnitude = low;
        uint32_t negative = 0;
        if (entry.kind == MemberKind::Signed) {
            const int32_t value = sign_extended(entry, low);
            magnitude = value < 0 ? 0 : static_cast<uint32_t>(value);
            negative = value < 0 ? 0u - static_cast<uint32_t>(value) : 0;
        }
        largest = magnitude > largest ? magnitude : largest;
        most_negative = negative > most_negative ? negative : most_negative;
    }

    int32_t width() const {
        const int32_t positive = decimal_digit_count(largest);
        const int32_t negative = most_negative != 0 ? 1 + decimal_digit_count(most_negative) : 0;
        return positive > negative ? positive : negative;
    }
};

// The widths of the members' values in the whole records at the start of the data, a record at
// a time; returns the length of those records.
size_t measure_whole_records(const uint8_t* data, size_t data_length, const MemberEntry* entries,
                             int members, size_t record_size, bool measure_texts,
                             int32_t (&widths)[member_table_entries]) {
    IntegerExtremes extremes[member_table_entries];
    size_t position = 0;
    for (; data_length - position >= record_size; position += record_size) {
        const uint8_t* bytes = data + position;
        for (int i = 0; i < members; ++i) {
            const MemberEntry& entry = entries[i];
            int32_t width = 0;
            if (entry.kind == MemberKind::Signed || entry.kind == MemberKind::Unsigned) {
                extremes[i].add(entry, bytes);
            } else if (entry.kind == MemberKind::Bits) {
                width = entry.size * 8;
            } else if (entry.kind == MemberKind::Text) {
                width = measure_texts ? static_cast<int32_t>(
                                            count_non_zero(bytes, static_cast<size_t>(entry.size)))
                                      : 0;
            } else {
                width = number_width(entry, bytes);
            }
            widths[i] = width > widths[i] ? width : widths[i];
            bytes += entry.size;
        }
    }
    if (position != 0) {
        for (int i = 0; i < members; ++i) {
            if (entries[i].kind == MemberKind::Signed || entries[i].kind == MemberKind::Unsigned) {
                widths[i] = extremes[i].width();
            }
        }
    }
    return position;
}

// Column alignment: the width of each member's column, the widest of its values in any record
// (a Text value counts its characters between the quotes). Whole records of members of allowed
// sizes are measured a record at a time, the rest value by value.
void measure_column_widths(const uint8_t* data, size_t data_length, const MemberTable& table,
                           int members, size_t record_size, bool all_allowed, bool measure_texts,
                           int32_t (&widths)[member_table_entries]) {
    for (int32_t& width : widths) {
        width = 0;
    }
    const size_t measured = all_allowed && record_size > 0
                                ? measure_whole_records(data, data_length, table.entries, members,
                                                        record_size, measure_texts, widths)
                                : 0;
    walk_values(
        data, data_length, table,
        [&](int index, const MemberEntry& entry, const uint8_t* bytes, size_t available, bool) {
            int32_t width;
            if (entry.kind == MemberKind::Text) {
                if (!measure_texts) {
                    return true;
                }
                width = static_cast<int32_t>(count_non_zero(bytes, available));
            } else {
                uint8_t padded[10];
                width = number_width(entry, whole_member(entry, bytes, available, padded));
            }
            if (width > widths[index]) {
                widths[index] = width;
            }
            return true;
        },
        measured);
}

// Line breaking: whether a line end follows a value's comma. An array declared with a count of
// 2 or more keeps its elements on one line; `pending` counts the elements still to come.
bool line_break_after(const MemberEntry& entry, int32_t& pending) {
    if (entry.kind == MemberKind::Text) {
        return true;
    }
    if (entry.element_count >= 2) {
        pending = entry.element_count - 1;
        return false;
    }
    if (pending == 0 || pending == 1) {
        return true;
    }
    --pending;
    return false;
}

// Writes the values one after another, each with its record separator, its column alignment
// padding and its line end. Nothing is written past the limit, which leaves one byte for the
// terminator; a value goes in whole or not at all, so the text stays readable.
class TextWriter {
  public:
    TextWriter(char* out, size_t limit, TextOrganization organization, const int32_t* widths,
               size_t length)
        : out_(out), limit_(limit), length_(length), organization_(organization), widths_(widths) {}

    size_t length() const { return length_; }

    bool write(int index, const MemberEntry& entry, const uint8_t* bytes, size_t available,
               bool record_start) {
        const bool separator = record_start && length_ > 0;
        const bool line_end = organization_.line_feed && line_break_after(entry, pending_);
        const size_t column = organization_.space ? static_cast<size_t>(widths_[index]) : 0;
        const size_t extra = (separator ? 2 : 0) + 2 + (line_end ? 2 : 0); // " " and ","
        char* p = out_ + length_;

        if (entry.kind == MemberKind::Text) {
            size_t value_length = count_non_zero(bytes, available);
            // Column alignment: a text is left-aligned, unless it has a line of its own.
            size_t pad =
                organization_.line_feed || column <= value_length ? 0 : column - value_length;
            if (!fits(extra + 2 + value_length + pad)) {
                return false;
            }
            p = begin_value(p, separator);
            *p++ = '"';
            for (size_t i = 0; i < available; ++i) {
                if (bytes[i] != 0) {
                    *p++ = static_cast<char>(bytes[i]);
                }
            }
            *p++ = '"';
            std::memset(p, ' ', pad);
            return end_value(p + pad, line_end);
        }

        // With room for the widest number it is formatted in place, otherwise aside first.
        char aside[number_text_capacity];
        const bool roomy =
            fits(extra + (column > number_text_capacity ? column : number_text_capacity));
        char* value = roomy ? p + (separator ? 3 : 1) : aside;
        uint8_t padded[10];
        size_t value_length = static_cast<size_t>(
            format_number(value, entry, whole_member(entry, bytes, available, padded)) - value);
        // Column alignment: a number or bit pattern is right-aligned.
        size_t pad = column > value_length ? column - value_length : 0;
        if (!roomy && !fits(extra + pad + value_length)) {
            return false;
        }
        p = begin_value(p, separator);
        if (value != p + pad) {
            std::memmove(p + pad, value, value_length);
        }
        std::memset(p, ' ', pad);
        return end_value(p + pad + value_length, line_end);
    }

  private:
    bool fits(size_t count) const { return count <= limit_ - length_; }

    static char* begin_value(char* p, bool separator) {
        if (separator) {
            *p++ = '\r';
            *p++ = '\n';
        }
        *p++ = ' ';
        return p;
    }

    bool end_value(char* p, bool line_end) {
        *p++ = ',';
        if (line_end) {
            *p++ = '\r';
            *p++ = '\n';
        }
        length_ = static_cast<size_t>(p - out_);
        return true;
    }

    char* out_;
    size_t limit_;
    size_t length_;
    TextOrganization organization_;
    const int32_t* widths_;
    int32_t pending_ = 0; // line breaking: array elements still to come on this line
};

// Whole records without organization, the usual case, are written by a loop of its own: one
// room check per record instead of one per value, and numbers made without a branch on their
// length, so that values of varying length cost no mispredicted branches.

// Eight bytes at p, the word's lowest first, whatever the host's byte order.
inline void store_eight(char* p, uint64_t word) {
    for (int i = 0; i < 8; ++i) {
        p[i] = static_cast<char>(word >> (8 * i));
    }
}

// The eight decimal digits of value < 10^8, leading zeros included, as digit values (0 to 9)
// with the first in the lowest byte: two halves of four digits, then pairs, then digits, all
// lanes at once.
inline uint64_t eight_digit_values(uint32_t value) {
    const uint64_t halves = (value / 10000) | static_cast<uint64_t>(value % 10000) << 32;
    const uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007F0000007Fu; // / 100 each
    const uint64_t pairs = hundreds | (halves - hundreds * 100) << 16;
    const uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000Fu; // / 10 each
    return tens | (pairs - tens * 10) << 8;
}

constexpr uint64_t zero_chars = 0x3030303030303030u;

// Writes value in decimal; may write up to 10 characters whatever its length.
inline char* put_decimal(char* p, uint32_t value) {
    if (value >= 100000000) {
        const uint32_t high = value / 100000000; // 1 to 42
        const bool two = high >= 10;
        p[0] = static_cast<char>(two ? '0' + high / 10 : '0' + high);
        p[1] = static_cast<char>('0' + high % 10);
        p += two ? 2 : 1;
        store_eight(p, eight_digit_values(value % 100000000) + zero_chars);
        return p + 8;
    }
    const uint64_t digits = eight_digit_values(value);
    // Leading zeros are the low zero bytes; the last digit always stays.
    const int zeros = __builtin_ctzll(digits | uint64_t{1} << 56) >> 3;
    store_eight(p, (digits + zero_chars) >> (8 * zeros));
    return p + 8 - zeros;
}

// Writes the eight binary digits of a byte, the highest bit first.
inline char* put_bit_byte(char* p, uint32_t byte) {
    // Byte k of the spread keeps bit 7 - k, which adding 0x7F carries into its top bit.
    const uint64_t spread = (0x0101010101010101u * (byte & 0xFF)) & 0x0102040810204080u;
    store_eight(p, (((spread + 0x7F7F7F7F7F7F7F7Fu) >> 7) & 0x0101010101010101u) + zero_chars);
    return p + 8;
}

inline bool has_zero_byte(uint64_t word) {
    return ((word - 0x0101010101010101u) & ~word & 0x8080808080808080u) != 0;
}

// The non-zero bytes of a Text member, in order.
inline char* put_text_bytes(char* p, const uint8_t* bytes, size_t size) {
    size_t i = 0;
    for (; size - i >= 8; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word); // only tested for zero bytes and copied
        if (!has_zero_byte(word)) {
            std::memcpy(p, &word, sizeof word);
            p += 8;
        } else if (word != 0) {
            for (size_t k = 0; k < 8; ++k) {
                *p = static_cast<char>(bytes[i + k]);
                p += bytes[i + k] != 0;
            }
        }
    }
    for (; i < size; ++i) {
        *p = static_cast<char>(bytes[i]);
        p += bytes[i] != 0;
    }
    return p;
}

// A number of the record loops, by the writers without a branch on the number's length; may
// write up to number_text_capacity characters whatever its length.
inline char* put_number(char* p, const MemberEntry& entry, const uint8_t* bytes) {
    switch (entry.kind) {
    case MemberKind::Signed: {
        const int32_t value = sign_extended(entry, low_bytes(entry, bytes));
        *p = '-';
        p += value < 0;
        const uint32_t magnitude = static_cast<uint32_t>(value);
        return put_decimal(p, value < 0 ? 0u - magnitude : magnitude);
    }
    case MemberKind::Unsigned:
        return put_decimal(p, low_bytes(entry, bytes));
    case MemberKind::Bits:
        for (int k = entry.size - 1; k >= 0; --k) {
            p = put_bit_byte(p, bytes[k]);
        }
        return p;
    default:
        return format_number(p, entry, bytes);
    }
}

// What the record loops write for a member, decided once for all records: the kind and size
// in one value, so that a value costs one dispatch instead of a test of each.
enum class ValueForm : uint8_t {
    signed1,
    signed2,
    signed4,
    unsigned1,
    unsigned2,
    unsigned4,
    bits1,
    text,
    other
};

ValueForm value_form(const MemberEntry& entry) {
    const int size_index = entry.size == 1 ? 0 : entry.size == 2 ? 1 : entry.size == 4 ? 2 : -1;
    if (entry.kind == MemberKind::Text) {
        return ValueForm::text;
    }
    if (entry.kind == MemberKind::Signed && size_index >= 0) {
        return static_cast<ValueForm>(static_cast<int>(ValueForm::signed1) + size_index);
    }
    if (entry.kind == MemberKind::Unsigned && size_index >= 0) {
        return static_cast<ValueForm>(static_cast<int>(ValueForm::unsigned1) + size_index);
    }
    return entry.kind == MemberKind::Bits && entry.size == 1 ? ValueForm::bits1 : ValueForm::other;
}

inline char* put_signed(char* p, int32_t value) {
    *p = '-';
    p += value < 0;
    const uint32_t magnitude = static_cast<uint32_t>(value);
    return put_decimal(p, value < 0 ? 0u - magnitude : magnitude);
}

// A number of any form but text; may write up to number_text_capacity characters whatever its
// length.
inline char* put_value(char* p, ValueForm form, const MemberEntry& entry, const uint8_t* bytes) {
    switch (form) {
    case ValueForm::signed1:
        return put_signed(p, static_cast<int8_t>(bytes[0]));
    case ValueForm::signed2:
        return put_signed(p, static_cast<int16_t>(bytes[0] | bytes[1] << 8));
    case ValueForm::signed4:
        return put_signed(p, static_cast<int32_t>(read_u32(bytes)));
    case ValueForm::unsigned1:
        return put_decimal(p, bytes[0]);
    case ValueForm::unsigned2:
        return put_decimal(p, static_cast<uint32_t>(bytes[0] | bytes[1] << 8));
    case ValueForm::unsigned4:
        return put_decimal(p, read_u32(bytes));
    case ValueForm::bits1:
        return put_bit_byte(p, bytes[0]);
    default:
        return put_number(p, entry, bytes);
    }
}

// One whole record at p, as TextWriter writes it without organization. p has room for the
// record's bound.
char* put_record(char* p, const MemberEntry* entries, const ValueForm* forms, int members,
                 const uint8_t* bytes) {
    for (int i = 0; i < members; ++i) {
        const MemberEntry& entry = entries[i];
        *p++ = ' ';
        if (forms[i] == ValueForm::text) {
            *p++ = '"';
            p = put_text_bytes(p, bytes, static_cast<size_t>(entry.size));
            *p++ = '"';
        } else {
            p = put_value(p, forms[i], entry, bytes);
        }
        *p++ = ',';
        bytes += entry.size;
    }
    return p;
}

// Organized records: what TextWriter does to each member, the same in every record.
struct OrganizedMember {
    size_t column; // the column width a value is padded to; 0 for none
    bool line_end; // a line end after the value's comma
};

// Spaces at p, count of them; writes at least 16 and up to 7 past count, which the caller
// overwrites. Column widths of up to 16 then cost no branch on the padding's length.
inline char* put_spaces(char* p, size_t count) {
    constexpr uint64_t spaces = 0x2020202020202020u;
    store_eight(p, spaces);
    store_eight(p + 8, spaces);
    for (size_t i = 16; i < count; i += 8) {
        store_eight(p + i, spaces);
    }
    return p + count;
}

// One whole record at p, as TextWriter writes it with organization: numbers right-aligned and
// texts left-aligned in their columns, line ends after the values that end a line. p has room
// for the record's organized bound.
char* put_organized_record(char* p, const MemberEntry* entries, const ValueForm* forms,
                           const OrganizedMember* organized, int members, const uint8_t* bytes) {
    for (int i = 0; i < members; ++i) {
        const MemberEntry& entry = entries[i];
        const size_t column = organized[i].column;
        *p++ = ' ';
        if (entry.kind == MemberKind::Text) {
            char* value = p;
            *p++ = '"';
            p = put_text_bytes(p, bytes, static_cast<size_t>(entry.size));
            const size_t length = static_cast<size_t>(p - value) - 1;
            *p++ = '"';
            p = put_spaces(p, column > length ? column - length : 0);
        } else if (entry.kind == MemberKind::Float) {
            char number[number_text_capacity];
            const size_t length = static_cast<size_t>(format_number(number, entry, bytes) - number);
            p = put_spaces(p, column > length ? column - length : 0);
            std::memcpy(p, number, length);
            p += length;
        } else {
            // Written aside first, then moved behind its padding as one 16-byte block: an
            // integer's text (a bit pattern's too, up to 2 bytes) is at most that long.
            char number[number_text_capacity];
            const size_t length =
                static_cast<size_t>(put_value(number, forms[i], entry, bytes) - number);
            p = put_spaces(p, column > length ? column - length : 0);
            if (length <= 16) {
                std::memcpy(p, number, 16); // a fixed size: two moves, not a call
            } else {
                std::memcpy(p, number, length);
            }
            p += length;
        }
        *p++ = ',';
        if (organized[i].line_end) {
            *p++ = '\r';
            *p++ = '\n';
        }
        bytes += entry.size;
    }
    return p;
}

// What each member of a record gets from the organization; false when the line breaks are not
// the same in every record (a table that ends inside an array, which the parser never makes),
// which the value-by-value writer then handles.
bool organize_members(const MemberEntry* entries, int members, TextOrganization organization,
                      const int32_t* widths, OrganizedMember* organized, size_t* extra) {
    int32_t pending = 0;
    int32_t pending_after_first = 0;
    *extra = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < members; ++i) {
            const bool text = entries[i].kind == MemberKind::Text;
            const bool line_end = organization.line_feed && line_break_after(entries[i], pending);
            if (pass == 0) {
                organized[i].column = organization.space && !(text && organization.line_feed)
                                          ? static_cast<size_t>(widths[i])
                                          : 0;
                organized[i].line_end = line_end;
                *extra += organized[i].column + 16 + (line_end ? 2 : 0); // put_spaces' overshoot
            } else if (organized[i].line_end != line_end) {
                return false;
            }
        }
        if (pass == 0) {
            pending_after_first = pending;
        }
    }
    return pending == pending_after_first;
}

// The most characters put_record may write for one record, its separator included.
size_t record_bound(const MemberEntry* entries, int members) {
    size_t bound = 2;
    for (int i = 0; i < members; ++i) {
        bound += entries[i].kind == MemberKind::Text ? static_cast<size_t>(entries[i].size) + 4
                                                     : 2 + number_text_capacity;
    }
    return bound;
}

void report(ConversionProblem* problem, ConversionProblem value) {
    if (problem != nullptr) {
        *problem = value;
    }
}

} // namespace

// What a conversion decides before it writes: its members, their columns and line ends.
struct ConversionPlan {
    ConversionProblem refusal = ConversionProblem::none; // nothing to convert at all
    TextOrganization organization;
    int bad_index = -1; // a member of a size its kind does not allow, reached by the data
    int members = 0;
    bool all_allowed = true;
    size_t record_size = 0;
    ValueForm forms[member_table_entries];
    int32_t widths[member_table_entries];
    OrganizedMember organized[member_table_entries];
    size_t organized_extra = 0;
    bool organized_records = false;

    // Whether whole records go through a record loop, which writes every record alike.
    bool by_records() const {
        return all_allowed &&
               (!(organization.space || organization.line_feed) || organized_records);
    }
};

namespace {

void make_plan(const uint8_t* data, size_t data_length, const MemberTable& table,
               TextOrganization organization, ConversionPlan& plan) {
    if (data == nullptr || data_length == 0) {
        plan.refusal = ConversionProblem::no_input;
        return;
    }
    if (is_end_mark(table.entries[0])) {
        plan.refusal = ConversionProblem::empty_structure;
        return;
    }
    // A member of a size its kind does not allow stops the conversion when the data reaches
    // it; that happens in the first record or not at all. The text up to it is then left as
    // written, without organization.
    uint64_t offset = 0;
    for (int i = 0; i < member_table_entries && !is_end_mark(table.entries[i]); ++i) {
        if (!member_size_allowed(table.entries[i])) {
            if (data_length > offset) {
                plan.bad_index = i;
                organization = TextOrganization{};
            }
            break;
        }
        offset += static_cast<uint64_t>(table.entries[i].size);
    }
    plan.organization = organization;
    // The record's members, for the loops of whole records, when all have allowed sizes.
    int& members = plan.members;
    for (; members < member_table_entries && !is_end_mark(table.entries[members]); ++members) {
        plan.all_allowed = plan.all_allowed && member_size_allowed(table.entries[members]);
        plan.record_size += static_cast<size_t>(table.entries[members].size);
        plan.forms[members] = value_form(table.entries[members]);
    }
    if (organization.space) {
        measure_column_widths(data, data_length, table, members, plan.record_size, plan.all_allowed,
                              !organization.line_feed, plan.widths);
    }
    plan.organized_records = (organization.space || organization.line_feed) && plan.all_allowed &&
                             organize_members(table.entries, members, organization, plan.widths,
                                              plan.organized, &plan.organized_extra);
}

// The most characters the text of a whole record takes, its separator included: a column is as
// wide as the widest value in it, never wider than the longest value the member can have.
size_t longest_record_text(const MemberTable& table, const ConversionPlan& plan) {
    size_t longest = 2;
    for (int i = 0; i < plan.members; ++i) {
        const MemberEntry& entry = table.entries[i];
        const int size_index = entry.size == 1 ? 0 : entry.size == 2 ? 1 : 2;
        static const size_t signed_digits[] = {4, 6, 11}, unsigned_digits[] = {3, 5, 10};
        const size_t value = entry.kind == MemberKind::Text   ? static_cast<size_t>(entry.size) + 2
                             : entry.kind == MemberKind::Bits ? static_cast<size_t>(entry.size) * 8
                             : entry.kind == MemberKind::Signed   ? signed_digits[size_index]
                             : entry.kind == MemberKind::Unsigned ? unsigned_digits[size_index]
                                                                  : number_text_capacity;
        const bool line_end = plan.organized_records && plan.organized[i].line_end;
        longest += 2 + value + (line_end ? 2 : 0);
    }
    return longest;
}

// The most characters one whole record takes in the record loops, its separator included.
size_t record_room(const MemberTable& table, const ConversionPlan& plan) {
    return record_bound(table.entries, plan.members) +
           (plan.organized_records ? plan.organized_extra : 0);
}

// Writes the text of data, which starts at a record, as the first text of out: no separator
// before its first record. *length receives its length, also after a failure; the terminator
// and anything past it are the callers' to write. Returns the outcome.
ConversionProblem convert(char* out, size_t out_capacity, const uint8_t* data, size_t data_length,
                          const MemberTable& table, const ConversionPlan& plan, size_t* length) {
    *length = 0;
    if (plan.refusal != ConversionProblem::none) {
        return plan.refusal;
    }
    const size_t limit = out_capacity > 0 ? out_capacity - 1 : 0;
    const size_t record_size = plan.record_size;
    size_t position = 0;
    size_t written = 0;
    if (plan.by_records()) {
        const size_t bound = record_room(table, plan);
        char* p = out;
        // A loop for each writer rather than a choice inside one: each gets its writer inlined.
        if (plan.organized_records) {
            while (data_length - position >= record_size && limit - written >= bound) {
                if (written != 0) {
                    *p++ = '\r';
                    *p++ = '\n';
                }
                p = put_organized_record(p, table.entries, plan.forms, plan.organized, plan.members,
                                         data + position);
                written = static_cast<size_t>(p - out);
                position += record_size;
            }
        } else {
            while (data_length - position >= record_size && limit - written >= bound) {
                if (written != 0) {
                    *p++ = '\r';
                    *p++ = '\n';
                }
                p = put_record(p, table.entries, plan.forms, plan.members, data + position);
                written = static_cast<size_t>(p - out);
                position += record_size;
            }
        }
    }

    TextWriter writer(out, limit, plan.organization, plan.widths, written);
    ConversionProblem outcome = ConversionProblem::none;
    walk_values(
        data, data_length, table,
        [&](int index, const MemberEntry& entry, const uint8_t* bytes, size_t available,
            bool record_start) {
            if (index == plan.bad_index) {
                outcome = ConversionProblem::bad_member_size;
                return false;
            }
            if (!writer.write(index, entry, bytes, available, record_start)) {
                outcome = ConversionProblem::output_full;
                return false;
            }
            return true;
        },
        position);
    *length = writer.length();
    return outcome;
}

ConversionProblem convert(char* out, size_t out_capacity, const uint8_t* data, size_t data_length,
                          const MemberTable& table, TextOrganization organization, size_t* length) {
    ConversionPlan plan;
    make_plan(data, data_length, table, organization, plan);
    return convert(out, out_capacity, data, data_length, table, plan, length);
}

} // namespace

size_t binary_to_text(char* out, size_t out_capacity, const uint8_t* data, size_t data_length,
                      const MemberTable& table, TextOrganization organization,
                      ConversionProblem* problem) {
    if (out == nullptr) {
        out_capacity = 0;
    }
    size_t length;
    const ConversionProblem outcome =
        convert(out, out_capacity, data, data_length, table, organization, &length);
    // Everything after the text is zero, as in a buffer filled with zeros before the writing.
    if (out_capacity > 0) {
        std::memset(out + length, 0, out_capacity - length);
    }
    report(problem, outcome);
    return outcome == ConversionProblem::none ? length : 0;
}

size_t binary_to_text_unfilled(char* out, size_t out_capacity, const uint8_t* data,
                               size_t data_length, const MemberTable& table,
                               TextOrganization organization, ConversionProblem* problem) {
    if (out == nullptr) {
        out_capacity = 0;
    }
    size_t length;
    const ConversionProblem outcome =
        convert(out, out_capacity, data, data_length, table, organization, &length);
    if (out_capacity > 0) {
        out[length] = 0;
    }
    report(problem, outcome);
    return outcome == ConversionProblem::none ? length : 0;
}

TextInParts::TextInParts(const uint8_t* data, size_t data_length, const MemberTable& table,
                         TextOrganization organization)
    : plan_(new ConversionPlan), data_(data), data_length_(data_length), table_(table) {
    make_plan(data, data_length, table, organization, *plan_);
}

TextInParts::~TextInParts() = default;

size_t TextInParts::record_size() const {
    return plan_->refusal == ConversionProblem::none && plan_->by_records() ? plan_->record_size
                                                                            : 0;
}

size_t TextInParts::room(size_t length) const {
    const size_t records = plan_->record_size == 0 ? 0 : length / plan_->record_size;
    // Each record's text counts the line end before it, which for the first is the part's; one
    // more record's holds the partial record at the end of the data, and the record loop wants
    // its own room, which counts what its writers may write past a value, free before each
    // record.
    const size_t longest = longest_record_text(table_, *plan_);
    const size_t slack = record_room(table_, *plan_) + 3;
    constexpr size_t most = std::numeric_limits<size_t>::max();
    if (records >= (most - slack) / longest - 1) {
        return most; // more than memory can hold, rather than a sum that wraps around
    }
    return (records + 1) * longest + slack;
}

size_t TextInParts::write(char* out, size_t capacity, size_t offset, size_t length,
                          ConversionProblem* problem) const {
    offset = offset < data_length_ ? offset : data_length_;
    length = length < data_length_ - offset ? length : data_length_ - offset;
    // A part after the first starts with the line end that separates it from the record before.
    const size_t separator = offset != 0 ? 2 : 0;
    size_t written = 0;
    ConversionProblem outcome = ConversionProblem::output_full;
    if (capacity > separator) {
        outcome = convert(out + separator, capacity - separator, data_ + offset, length, table_,
                          *plan_, &written);
    }
    if (written != 0 && separator != 0) {
        out[0] = '\r';
        out[1] = '\n';
        written += separator;
    }
    if (capacity > 0) {
        out[written] = 0;
    }
    report(problem, outcome);
    return written;
}

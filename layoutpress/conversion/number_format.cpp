#include "layoutpress/conversion/number_format.h"

#include <charconv>
#include <cstring>

namespace {

const char digit_pairs[] = "00010203040506070809"
                           "10111213141516171819"
                           "20212223242526272829"
                           "30313233343536373839"
                           "40414243444546474849"
                           "50515253545556575859"
                           "60616263646566676869"
                           "70717273747576777879"
                           "80818283848586878889"
                           "90919293949596979899";

char* copy_text(char* out, const char* text) {
    size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

// The old C library's forms for the values that have no digits.
char* format_special(char* out, bool negative, uint64_t mantissa) {
    constexpr uint64_t quiet_bit = uint64_t{1} << 51;
    if (negative) {
        *out++ = '-';
    }
    if (mantissa == 0) {
        return copy_text(out, "1.#INF");
    }
    if (negative && mantissa == quiet_bit) {
        return copy_text(out, "1.#IND"); // the NaN the processor makes of an invalid operation
    }
    return copy_text(out, (mantissa & quiet_bit) != 0 ? "1.#QNAN" : "1.#SNAN");
}

// Significant digits of a positive value, with the decimal exponent of the first; the digits
// stay in the text std::to_chars wrote.
struct DecimalDigits {
    char text[40];
    char* digits;
    int count;
    int exponent;
};

// Reads to_chars' scientific form ("d.ddde+XX", the exponent of two or three digits) in place:
// the first digit moves onto the point so that the digits follow one another.
void split_scientific(DecimalDigits& result, char* end) {
    char* text = result.text;
    char* e = end[-4] == 'e' ? end - 4 : end - 5;
    if (e - text > 1) {
        text[1] = text[0];
        result.digits = text + 1;
        result.count = static_cast<int>(e - text - 1);
    } else {
        result.digits = text;
        result.count = 1;
    }
    int exponent = 0;
    for (const char* p = e + 2; p < end; ++p) {
        exponent = exponent * 10 + (*p - '0');
    }
    result.exponent = e[1] == '-' ? -exponent : exponent;
}

// A double that is exactly a normal single-precision value, as that float.
bool exact_normal_float(uint64_t bits, float& result) {
    int exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
    if (exponent < -126 || exponent > 127 || (mantissa & ((uint64_t{1} << 29) - 1)) != 0) {
        return false;
    }
    uint32_t float_bits = static_cast<uint32_t>(bits >> 63) << 31 |
                          static_cast<uint32_t>(exponent + 127) << 23 |
                          static_cast<uint32_t>(mantissa >> 29);
    std::memcpy(&result, &float_bits, sizeof result);
    return true;
}

// Keeps six digits, rounding up when asked; 999999 rounds up to 1 of the next power of ten.
void keep_six_digits(DecimalDigits& result, bool round_up) {
    result.count = 6;
    if (!round_up) {
        return;
    }
    int i = 5;
    while (i >= 0 && result.digits[i] == '9') {
        result.digits[i--] = '0';
    }
    if (i >= 0) {
        ++result.digits[i];
    } else {
        result.digits[0] = '1';
        result.count = 1;
        ++result.exponent;
    }
}

// The 7th to 17th digits as a number, to be compared with a tie, 50000000000.
uint64_t digits_after_six(const DecimalDigits& result) {
    static const uint64_t powers_of_ten[] = {1,         10,         100,         1000,
                                             10000,     100000,     1000000,     10000000,
                                             100000000, 1000000000, 10000000000, 100000000000};
    uint64_t rest = 0;
    for (int i = 6; i < result.count; ++i) {
        rest = rest * 10 + static_cast<uint64_t>(result.digits[i] - '0');
    }
    return rest * powers_of_ten[17 - result.count];
}

// Whether a form that lies within `margin` units of the 17th digit of the value decides the
// rounding to six digits: it does unless it comes that close to a tie.
bool decides_rounding(DecimalDigits& result, uint64_t margin) {
    if (result.count <= 6) {
        return true;
    }
    constexpr uint64_t tie = 50000000000;
    uint64_t rest = digits_after_six(result);
    if (rest + margin < tie || rest > tie + margin) {
        keep_six_digits(result, rest > tie);
        return true;
    }
    return false;
}

// The old library made 17 correctly rounded digits and then rounded that digit string half up
// to six; that differs from rounding the exact value only at (near) ties. The 17 digits are
// slow to make, so the shortest form that reads back is tried first: it lies within half a
// unit in the last place of the value, for a normal double at most 11 units of the 17th digit,
// for a float at most 6e9 of them. Denormals are too coarse for that and go the long way.
void six_digits(double magnitude, uint64_t bits, DecimalDigits& result) {
    char* text = result.text;
    const size_t room = sizeof result.text;
    if (((bits >> 52) & 0x7FF) != 0) {
        float single;
        if (exact_normal_float(bits, single)) {
            std::to_chars_result written =
                std::to_chars(text, text + room, single, std::chars_format::scientific);
            split_scientific(result, written.ptr);
            if (decides_rounding(result, 6100000000)) {
                return;
            }
        }
        std::to_chars_result written =
            std::to_chars(text, text + room, magnitude, std::chars_format::scientific);
        split_scientific(result, written.ptr);
        if (decides_rounding(result, 100)) {
            return;
        }
    }
    std::to_chars_result written =
        std::to_chars(text, text + room, magnitude, std::chars_format::scientific, 16);
    split_scientific(result, written.ptr);
    keep_six_digits(result, result.digits[6] >= '5');
}

} // namespace

int decimal_digit_count(uint32_t value) {
    static const uint32_t powers_of_ten[] = {10,      100,      1000,      10000,     100000,
                                             1000000, 10000000, 100000000, 1000000000};
    int count = 1;
    for (uint32_t power : powers_of_ten) {
        count += value >= power;
    }
    return count;
}

char* format_unsigned(char* out, uint32_t value) {
    int count = decimal_digit_count(value);
    char* p = out + count;
    while (value >= 100) {
        const char* pair = digit_pairs + (value % 100) * 2;
        value /= 100;
        *--p = pair[1];
        *--p = pair[0];
    }
    if (value >= 10) {
        *--p = digit_pairs[value * 2 + 1];
        *--p = digit_pairs[value * 2];
    } else {
        *--p = static_cast<char>('0' + value);
    }
    return out + count;
}

char* format_signed(char* out, int32_t value) {
    uint32_t magnitude = static_cast<uint32_t>(value);
    if (value < 0) {
        *out++ = '-';
        magnitude = 0u - magnitude; // also right for the most negative value
    }
    return format_unsigned(out, magnitude);
}

char* format_general(char* out, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    bool negative = (bits >> 63) != 0;
    uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
    if (((bits >> 52) & 0x7FF) == 0x7FF) {
        return format_special(out, negative, mantissa);
    }
    if (negative) {
        *out++ = '-';
    }
    bits &= ~(uint64_t{1} << 63);
    if (bits == 0) {
        *out++ = '0';
        return out;
    }
    double magnitude;
    std::memcpy(&magnitude, &bits, sizeof magnitude);

    DecimalDigits decimal;
    six_digits(magnitude, bits, decimal);
    int count = decimal.count;
    while (count > 1 && decimal.digits[count - 1] == '0') {
        --count;
    }
    const char* digits = decimal.digits;
    int exponent = decimal.exponent;

    if (exponent < -4 || exponent >= 6) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = '.';
            std::memcpy(out, digits + 1, count - 1);
            out += count - 1;
        }
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        int magnitude_exponent = exponent < 0 ? -exponent : exponent;
        // At least three exponent digits; a double's exponent never needs more.
        *out++ = static_cast<char>('0' + magnitude_exponent / 100);
        *out++ = digit_pairs[(magnitude_exponent % 100) * 2];
        *out++ = digit_pairs[(magnitude_exponent % 100) * 2 + 1];
        return out;
    }
    if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        for (int i = exponent + 1; i < 0; ++i) {
            *out++ = '0';
        }
        std::memcpy(out, digits, count);
        return out + count;
    }
    int whole = exponent + 1;
    for (int i = 0; i < whole; ++i) {
        *out++ = i < count ? digits[i] : '0';
    }
    if (count > whole) {
        *out++ = '.';
        std::memcpy(out, digits + whole, count - whole);
        out += count - whole;
    }
    return out;
}

char* format_bits(char* out, uint32_t value, int bits) {
    if (bits > 32) {
        bits = 32;
    }
    for (int i = bits - 1; i >= 0; --i) {
        *out++ = static_cast<char>('0' + ((value >> i) & 1));
    }
    return out;
}

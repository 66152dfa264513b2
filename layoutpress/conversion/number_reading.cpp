#include "layoutpress/conversion/number_reading.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace {

// The white space of isspace() in the "C" locale, fixed here so that no locale can widen it.
inline bool is_blank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Skips leading white space and an optional sign; returns where the digits should begin.
const char* skip_blanks_and_sign(const char* p, const char* end, bool& negative) {
    while (p != end && is_blank(*p)) {
        ++p;
    }
    negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    return p;
}

const char* skip_digits(const char* p, const char* end) {
    while (p != end && is_digit(*p)) {
        ++p;
    }
    return p;
}

// Whether a number that from_chars found out of range lies above 1 (it overflowed) rather than
// below (it underflowed). Such a number is dozens of decades away from 1, so the decade of its
// first significant digit decides. [p, end) is a valid number without sign; long digit runs and
// exponents are counted in 64 bits with the exponent clamped, so nothing can overflow.
bool above_one(const char* p, const char* end) {
    int64_t decade = -1; // of the first significant digit, before the exponent is applied
    bool significant = false;
    for (; p != end && is_digit(*p); ++p) {
        if (significant || *p != '0') {
            significant = true;
            ++decade;
        }
    }
    if (p != end && *p == '.') {
        ++p;
        for (int64_t place = 1; p != end && is_digit(*p); ++p, ++place) {
            if (!significant && *p != '0') {
                significant = true;
                decade = -place;
            }
        }
    }
    if (p != end && (*p == 'e' || *p == 'E')) {
        bool negative = false;
        ++p;
        if (p != end && (*p == '+' || *p == '-')) {
            negative = *p == '-';
            ++p;
        }
        int64_t exponent = 0;
        for (; p != end && is_digit(*p); ++p) {
            if (exponent < 1000000000) {
                exponent = exponent * 10 + (*p - '0');
            }
        }
        decade += negative ? -exponent : exponent;
    }
    return significant && decade > 0;
}

template <typename T> T read_floating(const char* text, const char* end) {
    bool negative;
    const char* const mantissa = skip_blanks_and_sign(text, end, negative);
    const char* p = skip_digits(mantissa, end);
    bool has_digits = p != mantissa;
    if (p != end && *p == '.') {
        const char* fraction_end = skip_digits(p + 1, end);
        if (has_digits || fraction_end != p + 1) {
            has_digits = true;
            p = fraction_end;
        }
    }
    if (!has_digits) {
        return T(0);
    }
    // The exponent belongs to the number only when it has a digit ("1e" is 1 followed by "e").
    if (p != end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q != end && (*q == '+' || *q == '-')) {
            ++q;
        }
        if (q != end && is_digit(*q)) {
            p = skip_digits(q, end);
        }
    }
    // from_chars rounds correctly straight to T and ignores the locale; it takes no "+" and no
    // blanks, which is why the sign was taken off above.
    T value = 0;
    const auto result = std::from_chars(mantissa, p, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = above_one(mantissa, p) ? std::numeric_limits<T>::infinity() : T(0);
    } else if (result.ec != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

} // namespace

uint32_t read_integer_value(const char* text, const char* end) {
    bool negative;
    const char* p = skip_blanks_and_sign(text, end, negative);
    uint32_t value = 0;
    for (; p != end && is_digit(*p); ++p) {
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    }
    return negative ? 0u - value : value;
}

float read_float_value(const char* text, const char* end) {
    return read_floating<float>(text, end);
}

double read_double_value(const char* text, const char* end) {
    return read_floating<double>(text, end);
}

// Writing the numbers of text format data as the original program's C library did.
#pragma once

#include <cstdint>

// Every writer needs room for number_text_capacity characters at out and returns the end of
// what it wrote (no terminator).
constexpr int number_text_capacity = 40;

// The number of decimal digits of value, without a branch: the lengths of the values met in
// binary data are not predictable.
int decimal_digit_count(uint32_t value);

char* format_signed(char* out, int32_t value);
char* format_unsigned(char* out, uint32_t value);

// "%g": six significant digits, trailing zeros dropped, exponent form below 1e-4 and from 1e6,
// the exponent with a sign and at least three digits ("1e+006"). Infinities and NaNs are
// written as "1.#INF", "-1.#INF", "1.#QNAN", "-1.#IND" and the like.
char* format_general(char* out, double value);

// The value's low `bits` bits as binary digits, most significant first.
char* format_bits(char* out, uint32_t value, int bits);

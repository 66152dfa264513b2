// Reading the numbers of text format data, with the syntax of "%ld", "%lu" and "%g" and
// independent of the C locale. Each reader looks at [text, end) and stops at the first
// character that does not continue the number.
#pragma once

#include <cstdint>

// Optional leading white space, optional sign, decimal digits; accumulates modulo 2^32 (a "-"
// negates modulo 2^32). Text without digits reads as 0.
uint32_t read_integer_value(const char* text, const char* end);

// Optional leading white space, optional sign, digits with an optional decimal point, an
// optional exponent. Correctly rounded; out of range gives an infinity or zero; text that is
// not a number reads as 0.
float read_float_value(const char* text, const char* end);
double read_double_value(const char* text, const char* end);

// Reading and writing the numbers of text format data, against the C library and <charconv>
// where they agree with the old program, and by example where they do not.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "layoutpress/conversion/number_format.h"
#include "layoutpress/conversion/number_reading.h"

namespace {

uint32_t read_integer(const std::string& s) {
    return read_integer_value(s.data(), s.data() + s.size());
}

template <typename Bits, typename Number> Bits bits_of(Number number) {
    Bits bits;
    std::memcpy(&bits, &number, sizeof bits);
    return bits;
}

TEST(ReadIntegerValue, FollowsTheLongSyntaxModulo2To32) {
    const struct {
        const char* text;
        uint32_t expected;
    } rows[] = {{"+5", 5},    {"- 5", 0}, {"", 0},    {"-", 0},     {"12abc", 12},
                {"0x1F", 0},  {"4 2", 4}, {"1.9", 1}, {"\n42", 42}, {" \v\f\r-3", 0xFFFFFFFD},
                {"\xA0+5", 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(read_integer(row.text), row.expected) << "text \"" << row.text << "\"";
    }
    std::mt19937_64 random(11);
    for (int i = 0; i < 2000; ++i) {
        const uint64_t magnitude = random() >> (random() % 64);
        EXPECT_EQ(read_integer(std::to_string(magnitude)), static_cast<uint32_t>(magnitude));
        EXPECT_EQ(read_integer("-" + std::to_string(magnitude)),
                  static_cast<uint32_t>(0 - magnitude));
    }
    EXPECT_EQ(read_integer("-12345678901234567890"), 0x14E0F52Eu);
    const char text[] = "12345e3";
    EXPECT_EQ(read_integer_value(text, text + 3), 123u);
    EXPECT_EQ(read_float_value(text, text + 5), 12345.0f);
    EXPECT_EQ(read_double_value(text, text + 6), 12345.0); // "e" without digits is not read
}

uint32_t float_bits(const std::string& s) {
    return bits_of<uint32_t>(read_float_value(s.data(), s.data() + s.size()));
}
uint64_t double_bits(const std::string& s) {
    return bits_of<uint64_t>(read_double_value(s.data(), s.data() + s.size()));
}

// strtod and strtof in the "C" locale read the same syntax with the same rounding, so they are
// the reference for random decimal texts; the rows are what they read otherwise.
TEST(FloatReaders, RoundOnceAndAgreeWithTheCLibrary) {
    EXPECT_EQ(float_bits("1.0000000596046448"), 0x3F800001u); // a double first would round twice
    EXPECT_EQ(float_bits("1e99999999999999999999"), 0x7F800000u);
    EXPECT_EQ(float_bits("0.000001e-99999999999999999999"), 0u);
    EXPECT_EQ(double_bits("0." + std::string(400, '0') + "1e400"), 0x3FB999999999999Au);
    for (const char* not_a_number : {"inf", "-infinity", "nan", "0x10", ".", "-.e5"}) {
        EXPECT_EQ(float_bits(not_a_number), 0u) << not_a_number;
        EXPECT_EQ(double_bits(not_a_number), 0u) << not_a_number;
    }
    std::mt19937 random(5);
    const auto pick = [&](const char* set) { return set[random() % std::strlen(set)]; };
    const auto digits = [&](unsigned most) {
        std::string s;
        for (unsigned n = random() % (most + 1); n != 0; --n)
            s += pick("0123456789");
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = std::string(random() % 3, pick(" \t\n")) + pick("+-x") + digits(25);
        if (random() % 2 != 0)
            text += "." + digits(25);
        if (random() % 2 != 0)
            text += std::string(1, pick("eE")) + pick("+-x") + digits(4);
        text += pick("x.e,5 ");
        char* number_end = nullptr; // a text that is no number reads as +0 here
        const double d = std::strtod(text.c_str(), &number_end);
        const bool is_number = number_end != text.c_str();
        ASSERT_EQ(float_bits(text),
                  bits_of<uint32_t>(is_number ? std::strtof(text.c_str(), nullptr) : 0.0f))
            << text;
        ASSERT_EQ(double_bits(text), bits_of<uint64_t>(is_number ? d : 0.0)) << text;
    }
}

TEST(NumberFormat, IntegersAgreeWithCharconv) {
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        const uint32_t value = static_cast<uint32_t>(random()) >> (random() % 33 % 32);
        const int32_t signed_value = static_cast<int32_t>(value ^ (random() & 1u << 31));
        char mine[number_text_capacity], reference[number_text_capacity];
        EXPECT_EQ(std::string(reference, std::to_chars(reference, reference + 40, value).ptr),
                  std::string(mine, format_unsigned(mine, value)));
        EXPECT_EQ(
            std::string(reference, std::to_chars(reference, reference + 40, signed_value).ptr),
            std::string(mine, format_signed(mine, signed_value)));
    }
    char mine[number_text_capacity];
    EXPECT_EQ(std::string(mine, format_signed(mine, INT32_MIN)), "-2147483648");
}

std::string general(double value) {
    char text[number_text_capacity];
    return std::string(text, format_general(text, value));
}

// The old library's "%g": three-digit exponents, ties at the sixth digit rounded up, its own
// words for infinities and NaNs. Away from ties it is "%.6g" (here std::to_chars).
TEST(NumberFormat, GeneralLikeTheOldLibrary) {
    const struct {
        uint64_t bits;
        const char* text;
    } rows[] = {{bits_of<uint64_t>(-0.0), "-0"},
                {bits_of<uint64_t>(0.00001), "1e-005"},
                {bits_of<uint64_t>(999999.5), "1e+006"},
                {bits_of<uint64_t>(12345.25), "12345.3"},
                {bits_of<uint64_t>(1234565.0), "1.23457e+006"},
                {bits_of<uint64_t>(HUGE_VAL), "1.#INF"},
                {bits_of<uint64_t>(-HUGE_VAL), "-1.#INF"},
                {0x7FF8000000000000, "1.#QNAN"},
                {0xFFF8000000000000, "-1.#IND"},
                {0xFFF8000000000001, "-1.#QNAN"},
                {0x7FF0000000000001, "1.#SNAN"},
                {0xFFF4000000000000, "-1.#SNAN"},
                {bits_of<uint64_t>(std::numeric_limits<double>::denorm_min()), "4.94066e-324"}};
    for (const auto& row : rows) {
        EXPECT_EQ(general(bits_of<double>(row.bits)), row.text);
    }
    std::mt19937_64 random(11);
    int ties = 0;
    for (int i = 0; i < 200000; ++i) {
        double value = bits_of<double>(random());
        if (i % 4 == 1)
            value = bits_of<float>(static_cast<uint32_t>(random()));
        if (i % 4 >= 2) { // short decimals, many of them ties or near ties
            value = static_cast<double>(random() % 20000000) / std::pow(10.0, random() % 12);
        }
        if (!std::isfinite(value))
            continue;
        char text[64], digits[64];
        std::string expected(
            text, std::to_chars(text, text + 64, value, std::chars_format::general, 6).ptr);
        const size_t e = expected.find('e');
        if (e != std::string::npos && expected.size() - e == 4)
            expected.insert(e + 2, "0");
        const std::string seventeen(digits, std::to_chars(digits, digits + 64, std::fabs(value),
                                                          std::chars_format::scientific, 16)
                                                .ptr);
        if (seventeen.compare(7, 11, "50000000000") == 0) {
            ++ties;
            continue;
        }
        ASSERT_EQ(expected, general(value)) << seventeen;
    }
    EXPECT_GT(ties, 100); // the decimals above must reach the ties
}

} // namespace

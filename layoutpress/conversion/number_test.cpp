// Reading and writing the numbers of text format data, against the C library and <charconv>
// where they agree with the old program, and by example where they do not.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "layoutpress/conversion/number_format.h"
#include "layoutpress/conversion/number_reading.h"

namespace {

template <typename Bits, typename Number> Bits bits_of(Number number) {
    Bits bits;
    std::memcpy(&bits, &number, sizeof bits);
    return bits;
}

using Row = std::pair<std::string, uint32_t>;

TEST(ReadIntegerValue, FollowsTheLongSyntaxModulo2To32) {
    std::vector<Row> all = {
        {"+5", 5},    {"- 5", 0}, {"", 0},    {"-", 0},     {"12abc", 12},
        {"0x1F", 0},  {"4 2", 4}, {"1.9", 1}, {"\n42", 42}, {" \v\f\r-3", 0xFFFFFFFD},
        {"\xA0+5", 0}};
    std::mt19937_64 random(11);
    for (int i = 0; i < 2000; ++i) {
        const uint64_t magnitude = random() >> (random() % 64);
        all.push_back({std::to_string(magnitude), static_cast<uint32_t>(magnitude)});
        all.push_back({"-" + std::to_string(magnitude), static_cast<uint32_t>(0 - magnitude)});
    }
    for (const auto& [text, expected] : all)
        EXPECT_EQ(read_integer_value(text.data(), text.data() + text.size()), expected) << text;
    const char text[] = "12345e3";
    EXPECT_EQ(read_integer_value(text, text + 3), 123u);
    EXPECT_EQ(read_float_value(text, text + 5), 12345.0f);
    EXPECT_EQ(read_double_value(text, text + 6), 12345.0); // "e" without digits is not read
}

// strtod and strtof in the "C" locale read the same syntax with the same rounding, so they are
// the reference for random decimal texts (where a text that is no number reads as +0); the rows
// are what they read otherwise.
TEST(FloatReaders, RoundOnceAndAgreeWithTheCLibrary) {
    std::vector<std::tuple<std::string, uint32_t, uint64_t>> all = {
        {"1.0000000596046448", 0x3F800001, 0x3FF0000010000000}, // a double first rounds twice
        {"1e99999999999999999999", 0x7F800000, 0x7FF0000000000000},
        {"0.000001e-99999999999999999999", 0, 0},
        {"0." + std::string(400, '0') + "1e400", 0x3DCCCCCD, 0x3FB999999999999A}};
    for (const char* not_a_number : {"inf", "-infinity", "nan", "0x10", ".", "-.e5"})
        all.push_back({not_a_number, 0, 0});
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
        text += random() % 2 ? "." + digits(25) : "";
        text += random() % 2 ? std::string(1, pick("eE")) + pick("+-x") + digits(4) : "";
        text += pick("x.e,5 ");
        char* number_end = nullptr;
        const double real = std::strtod(text.c_str(), &number_end);
        const bool is_number = number_end != text.c_str();
        all.push_back({text,
                       bits_of<uint32_t>(is_number ? std::strtof(text.c_str(), nullptr) : 0.0f),
                       bits_of<uint64_t>(is_number ? real : 0.0)});
    }
    for (const auto& [text, single, real] : all) {
        const char* end = text.data() + text.size();
        ASSERT_EQ(bits_of<uint32_t>(read_float_value(text.data(), end)), single) << text;
        ASSERT_EQ(bits_of<uint64_t>(read_double_value(text.data(), end)), real) << text;
    }
}

// Integers as <charconv> writes them. The old library's "%g": three-digit exponents, ties at the
// sixth digit rounded up, its own words for infinities and NaNs; away from ties it is "%.6g" (here
// std::to_chars).
TEST(NumberFormat, IntegersAsCharconvGeneralLikeTheOldLibrary) {
    const auto general = [](double value) {
        char text[number_text_capacity];
        return std::string(text, format_general(text, value));
    };
    const std::pair<double, const char*> rows[] = {
        {-0.0, "-0"},          {0.00001, "1e-005"},         {999999.5, "1e+006"},
        {12345.25, "12345.3"}, {1234565.0, "1.23457e+006"}, {5e-324, "4.94066e-324"},
        {HUGE_VAL, "1.#INF"},  {-HUGE_VAL, "-1.#INF"}};
    const std::pair<uint64_t, const char*> nans[] = {{0x7FF8000000000000, "1.#QNAN"},
                                                     {0xFFF8000000000000, "-1.#IND"},
                                                     {0xFFF8000000000001, "-1.#QNAN"},
                                                     {0x7FF0000000000001, "1.#SNAN"},
                                                     {0xFFF4000000000000, "-1.#SNAN"}};
    for (const auto& [value, text] : rows)
        EXPECT_EQ(general(value), text);
    for (const auto& [bits, text] : nans)
        EXPECT_EQ(general(bits_of<double>(bits)), text);
    std::mt19937_64 random(11);
    int ties = 0;
    for (int i = 0; i < 200000; ++i) {
        const uint32_t integer = i == 0 ? 1u << 31 : static_cast<uint32_t>(random()) >> (i % 32);
        const int32_t signed_integer = static_cast<int32_t>(integer ^ (i & 1u) << 31);
        char mine[number_text_capacity], theirs[number_text_capacity];
        ASSERT_EQ(std::string(mine, format_unsigned(mine, integer)),
                  std::string(theirs, std::to_chars(theirs, theirs + 40, integer).ptr));
        ASSERT_EQ(std::string(mine, format_signed(mine, signed_integer)),
                  std::string(theirs, std::to_chars(theirs, theirs + 40, signed_integer).ptr));
        double value = i % 4 == 0 ? bits_of<double>(random())
                                  : bits_of<float>(static_cast<uint32_t>(random()));
        if (i % 4 >= 2) // short decimals, many of them ties or near ties
            value = static_cast<double>(random() % 20000000) / std::pow(10.0, random() % 12);
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

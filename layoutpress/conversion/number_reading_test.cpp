#include "layoutpress/conversion/number_reading.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

uint32_t read_integer(const std::string& s) {
    return read_integer_value(s.data(), s.data() + s.size());
}

uint32_t float_bits(const std::string& s) {
    const float f = read_float_value(s.data(), s.data() + s.size());
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

uint64_t double_bits(const std::string& s) {
    const double d = read_double_value(s.data(), s.data() + s.size());
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

TEST(ReadIntegerValue, FollowsTheLongSyntaxModulo2To32) {
    const struct {
        const char* text;
        uint32_t expected;
    } rows[] = {
        {"7", 7},
        {"+5", 5},
        {"-5", 0xFFFFFFFB},
        {"- 5", 0},
        {"", 0},
        {"-", 0},
        {"abc", 0},
        {"12abc", 12},
        {"0x1F", 0},
        {"4 2", 4},
        {"1.9", 1},
        {"\t42", 42},
        {"\n42", 42},
        {" \v\f\r-3", 0xFFFFFFFD},
        {"\xA0"
         "5",
         0}, // only the ASCII blanks count, whatever the locale
        {"000000000000000000000012", 12},
        {"4294967295", 0xFFFFFFFF},
        {"4294967296", 0},
        {"4294967297", 1},
        {"2147483648", 0x80000000},
        {"-2147483648", 0x80000000},
        {"-2147483649", 0x7FFFFFFF},
        {"99999999999999999999", 0x630FFFFF},
        {"-12345678901234567890", 0x14E0F52E},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "text \"" << row.text << "\"");
        EXPECT_EQ(read_integer(row.text), row.expected);
    }
}

TEST(ReadIntegerValue, KeepsTheLow32BitsOfAnyDecimalNumber) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 2000; ++i) {
        const uint64_t magnitude = random() >> (random() % 64);
        SCOPED_TRACE(testing::Message() << "magnitude " << magnitude);
        EXPECT_EQ(read_integer(std::to_string(magnitude)), static_cast<uint32_t>(magnitude));
        EXPECT_EQ(read_integer("-" + std::to_string(magnitude)),
                  static_cast<uint32_t>(0 - magnitude));
    }
}

TEST(NumberReaders, StopAtTheEndOfTheirRange) {
    const char text[] = "12345e3";
    EXPECT_EQ(read_integer_value(text, text + 3), 123u);
    EXPECT_EQ(read_float_value(text, text + 5), 12345.0f);
    EXPECT_EQ(read_double_value(text, text + 6), 12345.0); // "e" without digits is not read
    EXPECT_EQ(read_double_value(text, text), 0.0);
}

TEST(ReadFloatValue, RoundsStraightToSinglePrecision) {
    const struct {
        const char* text;
        uint32_t expected;
    } rows[] = {
        {"0.1", 0x3DCCCCCD},
        {"1.5", 0x3FC00000},
        {"+2.5", 0x40200000},
        {".5", 0x3F000000},
        {"5.", 0x40A00000},
        {"1E2", 0x42C80000},
        {"1e", 0x3F800000},
        {"1e+", 0x3F800000},
        {"1,5", 0x3F800000},
        {" \t\n-2", 0xC0000000},
        {"-0", 0x80000000},
        {"16777217", 0x4B800000},
        // Just above halfway between 1 and the next float: rounding to a double first would
        // land on the halfway point and then on 1.
        {"1.0000000596046448", 0x3F800001},
        {"3.4028235e38", 0x7F7FFFFF},
        {"3.4028236e38", 0x7F800000},
        {"1e39", 0x7F800000},
        {"-1e39", 0xFF800000},
        {"1e-45", 0x00000001},
        {"1e-46", 0x00000000},
        {"-1e-50", 0x80000000},
        {"1e99999999999999999999", 0x7F800000},
        {"0.000001e-99999999999999999999", 0x00000000},
        {"0e99999999999", 0x00000000},
        {".", 0},
        {"-.e5", 0},
        {"- 1", 0},
        {"inf", 0},
        {"-infinity", 0},
        {"nan", 0},
        {"0x10", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "text \"" << row.text << "\"");
        EXPECT_EQ(float_bits(row.text), row.expected);
    }
}

TEST(ReadDoubleValue, RoundsCorrectlyAndSaturates) {
    const std::string long_mantissa = "0." + std::string(400, '0') + "1e400"; // 0.1
    const struct {
        std::string text;
        uint64_t expected;
    } rows[] = {
        {"0.1", 0x3FB999999999999A},
        {"-2", 0xC000000000000000},
        {"1.7976931348623157e308", 0x7FEFFFFFFFFFFFFF},
        {"1e309", 0x7FF0000000000000},
        {"-1e309", 0xFFF0000000000000},
        {"2.2250738585072014e-308", 0x0010000000000000},
        {"4.9e-324", 0x0000000000000001},
        {"1e-400", 0},
        {"-1e-400", 0x8000000000000000},
        {std::string(400, '9'), 0x7FF0000000000000},
        {long_mantissa, 0x3FB999999999999A},
        {"inf", 0},
        {"nan", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "text \"" << row.text << "\"");
        EXPECT_EQ(double_bits(row.text), row.expected);
    }
}

// strtod and strtof in the "C" locale (the test's locale) read the same syntax with the same
// rounding, so they serve as the reference for random decimal texts.
TEST(FloatReaders, AgreeWithTheCLibraryOnRandomDecimalTexts) {
    std::mt19937 random(5);
    const auto pick = [&](const char* set) { return set[random() % std::strlen(set)]; };
    const auto digits = [&](unsigned most) {
        std::string s;
        for (unsigned n = random() % (most + 1); n != 0; --n) {
            s += pick("0123456789");
        }
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = std::string(random() % 3, pick(" \t\n")) + pick("+-x") + digits(25);
        if (random() % 2 != 0) {
            text += "." + digits(25);
        }
        if (random() % 2 != 0) {
            text += std::string(1, pick("eE")) + pick("+-x") + digits(4);
        }
        text += pick("x.e,5 ");
        SCOPED_TRACE(testing::Message() << "text \"" << text << "\"");
        // A text that is no number at all reads as +0 here; C libraries differ on its sign.
        char* number_end = nullptr;
        const double d_read = std::strtod(text.c_str(), &number_end);
        const bool is_number = number_end != text.c_str();
        const float f = is_number ? std::strtof(text.c_str(), nullptr) : 0.0f;
        const double d = is_number ? d_read : 0.0;
        uint32_t f_expected;
        uint64_t d_expected;
        std::memcpy(&f_expected, &f, sizeof f);
        std::memcpy(&d_expected, &d, sizeof d);
        ASSERT_EQ(float_bits(text), f_expected);
        ASSERT_EQ(double_bits(text), d_expected);
    }
}

} // namespace

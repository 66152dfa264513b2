#include "tallydrill/cli/generate_command.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "tallydrill/generator/question_generator.h"
#include "tallydrill/generator/question_text_form.h"

namespace {

constexpr int exit_ok = 0;
constexpr int exit_failed = 1;
constexpr int exit_usage = 2;
constexpr std::uint32_t max_count = 100000;
constexpr int level_count = 4;

struct Options {
    std::uint32_t count = 0;
    std::uint64_t seed = 0;
    bool seed_given = false;
    const char* out = nullptr;
    QuestionLevel level = QuestionLevel::all;
    bool text = false;
};

// Decimal digits only, no sign, no overflow.
bool parse_unsigned(const char* text, std::uint64_t limit, std::uint64_t& value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    std::uint64_t result = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
        const std::uint64_t digit = static_cast<std::uint64_t>(*c - '0');
        if (result > (limit - digit) / 10) {
            return false;
        }
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

bool usage_error(const char* message, const char* value) {
    std::fprintf(stderr, "tallydrill-cli generate: %s%s%s\n", message, value ? ": " : "",
                 value ? value : "");
    return false;
}

bool parse_options(int argc, char** argv, Options& options) {
    for (int i = 0; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--text") {
            options.text = true;
            continue;
        }
        if (name != "--count" && name != "--seed" && name != "--out" && name != "--level") {
            return usage_error("unknown option", argv[i]);
        }
        if (i + 1 >= argc) {
            return usage_error("a value is missing after", argv[i]);
        }
        const char* value = argv[++i];
        std::uint64_t number = 0;
        if (name == "--count") {
            if (!parse_unsigned(value, max_count, number) || number == 0) {
                return usage_error("--count takes a number from 1 to 100000, not", value);
            }
            options.count = static_cast<std::uint32_t>(number);
        } else if (name == "--seed") {
            if (!parse_unsigned(value, UINT64_MAX, options.seed)) {
                return usage_error("--seed takes a number from 0 to 18446744073709551615, not",
                                   value);
            }
            options.seed_given = true;
        } else if (name == "--out") {
            options.out = value;
        } else if (!parse_question_level(value, options.level)) {
            return usage_error("--level is basic, fu, limits, yakuman or all, not", value);
        }
    }
    if (options.count == 0 || !options.seed_given || options.out == nullptr) {
        return usage_error("--count, --seed and --out are needed", nullptr);
    }
    return true;
}

// "r007-limits-honitsu" (r for a random hand): numbered so that a listing keeps the order, after
// the authored pack's q01 to q27, then the level and the first yaku.
std::string file_stem(std::uint32_t number, std::uint32_t count, const GeneratedQuestion& q) {
    int width = 3;
    for (std::uint32_t rest = count / 1000; rest > 0; rest /= 10) {
        ++width;
    }
    std::string digits = std::to_string(number);
    while (digits.size() < static_cast<std::size_t>(width)) {
        digits.insert(digits.begin(), '0');
    }
    std::string stem = "r" + digits + "-" + question_level_name(q.level);
    if (q.score.yaku_count > 0) {
        stem += "-";
        for (const char* c = yaku_name(q.score.yaku[0].yaku); *c != '\0'; ++c) {
            stem += *c == ' '                  ? '-'
                    : (*c >= 'A' && *c <= 'Z') ? static_cast<char>(*c - 'A' + 'a')
                                               : *c;
        }
    }
    return stem;
}

bool write_file(const std::string& path, const void* bytes, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "tallydrill-cli: cannot write '%s': %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(bytes, 1, size, file) == size;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "tallydrill-cli: cannot write '%s'\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int generate_command(int argc, char** argv) {
    Options options;
    if (!parse_options(argc, argv, options)) {
        return exit_usage;
    }
    std::error_code error;
    std::filesystem::create_directories(options.out, error);
    if (error) {
        std::fprintf(stderr, "tallydrill-cli: cannot make the folder '%s': %s\n", options.out,
                     error.message().c_str());
        return exit_usage;
    }
    int per_level[level_count] = {};
    for (std::uint32_t i = 0; i < options.count; ++i) {
        GeneratedQuestion question;
        if (!generate_question(options.seed, i, options.level, question)) {
            std::fprintf(stderr, "tallydrill-cli: question %u could not be dealt\n", i + 1);
            return exit_failed;
        }
        ++per_level[static_cast<int>(question.level)];
        const std::string path = std::string(options.out) + "/" +
                                 file_stem(i + 1, options.count, question) +
                                 (options.text ? ".txt" : ".tt");
        std::string text;
        if (options.text && !write_question_text_form(question.record, text)) {
            std::fprintf(stderr, "tallydrill-cli: question %u has no text form\n", i + 1);
            return exit_failed;
        }
        const bool written = options.text
                                 ? write_file(path, text.data(), text.size())
                                 : write_file(path, &question.record, sizeof question.record);
        if (!written) {
            return exit_usage;
        }
    }
    std::fprintf(stderr,
                 "tallydrill-cli: %u question%s written to %s (basic %d, fu %d, limits %d, "
                 "yakuman %d)\n",
                 options.count, options.count == 1 ? "" : "s", options.out, per_level[0],
                 per_level[1], per_level[2], per_level[3]);
    return exit_ok;
}

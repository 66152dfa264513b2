// tallydrill-cli: checks question files before they go into a pack and shows them readably.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tallydrill/cli/generate_command.h"
#include "tallydrill/cli/question_check.h"
#include "tallydrill/cli/question_score.h"
#include "tallydrill/cli/question_show.h"
#include "tallydrill/questions/question_record.h"

namespace {

constexpr int exit_ok = 0;
constexpr int exit_problem = 1;
constexpr int exit_usage = 2;

const char* const usage_text =
    "usage: tallydrill-cli COMMAND FILE...\n"
    "       tallydrill-cli generate --count N --seed S --out DIR [--level LEVEL] [--text]\n"
    "\n"
    "Works on tallydrill question files (*.tt, one 820-byte record each).\n"
    "\n"
    "commands:\n"
    "  check FILE...   check question files; prints one line 'FILE: problem' per problem;\n"
    "                  a question that states its situation must have the scored payment\n"
    "                  as its right answer and as no wrong one\n"
    "  show FILE...    print questions readably, the tiles by name\n"
    "  score FILE...   score each question's hand: situation, yaku, dora, fu, payment, and\n"
    "                  whether the right answer agrees\n"
    "  generate        write N new questions into DIR, the same for the same seed S;\n"
    "                  LEVEL is basic (1-3 han), fu (40-110 fu to count), limits (mangan to\n"
    "                  sanbaiman), yakuman or all (a mix, the default); --text writes the\n"
    "                  text form of tallydrill/questions/question.str instead of *.tt\n"
    "\n"
    "Exit status: 0 success; 1 a checked file has a problem or a scored answer does not\n"
    "agree; 2 usage error, a file that cannot be read or written, or a hand that cannot be\n"
    "scored.\n";

bool read_file(const char* path, std::vector<std::uint8_t>& bytes, std::size_t& size) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "tallydrill-cli: cannot read '%s': %s\n", path, std::strerror(errno));
        return false;
    }
    bytes.assign(question_record_size, 0);
    size = 0;
    std::uint8_t buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        for (std::size_t i = 0; i < got && size + i < bytes.size(); ++i) {
            bytes[size + i] = buffer[i];
        }
        size += got; // bytes past the record are only counted
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        std::fprintf(stderr, "tallydrill-cli: cannot read '%s'\n", path);
        return false;
    }
    return true;
}

// The question of a file as the practice program reads it (a short file leaves zeros); size is
// the file's whole length.
bool read_question_file(const char* path, QuestionRecord& record, std::size_t& size) {
    std::vector<std::uint8_t> bytes;
    if (!read_file(path, bytes, size)) {
        return false;
    }
    std::memset(&record, 0, sizeof record);
    read_question_bytes(record, bytes.data(), bytes.size());
    return true;
}

int check_files(int count, char** paths) {
    int status = exit_ok;
    std::size_t problem_count = 0;
    for (int i = 0; i < count; ++i) {
        std::vector<std::uint8_t> bytes;
        std::size_t size = 0;
        if (!read_file(paths[i], bytes, size)) {
            status = exit_usage;
            continue;
        }
        // Only the first 820 bytes are kept; a longer file is judged by its size.
        const std::size_t kept = size < bytes.size() ? size : bytes.size();
        std::vector<std::string> problems = check_question(bytes.data(), kept);
        if (size > kept) {
            problems.insert(problems.begin(), "size: " + std::to_string(size) +
                                                  " bytes; a question file holds exactly " +
                                                  std::to_string(question_record_size));
        }
        for (const std::string& problem : problems) {
            std::printf("%s: %s\n", paths[i], problem.c_str());
        }
        problem_count += problems.size();
        if (!problems.empty() && status == exit_ok) {
            status = exit_problem;
        }
    }
    std::fprintf(stderr, "tallydrill-cli: %d file%s checked, %s problem%s\n", count,
                 count == 1 ? "" : "s", std::to_string(problem_count).c_str(),
                 problem_count == 1 ? "" : "s");
    return status;
}

int show_files(int count, char** paths) {
    int status = exit_ok;
    for (int i = 0; i < count; ++i) {
        QuestionRecord record;
        std::size_t size = 0;
        if (!read_question_file(paths[i], record, size)) {
            status = exit_usage;
            continue;
        }
        std::printf("%s== %s (%s bytes)\n%s", i == 0 ? "" : "\n", paths[i],
                    std::to_string(size).c_str(), show_question(record).c_str());
    }
    return status;
}

int score_files(int count, char** paths) {
    int status = exit_ok;
    for (int i = 0; i < count; ++i) {
        QuestionRecord record;
        std::size_t size = 0;
        if (!read_question_file(paths[i], record, size)) {
            status = exit_usage;
            continue;
        }
        std::printf("%s== %s\n%s", i == 0 ? "" : "\n", paths[i],
                    show_question_tiles(record).c_str());
        if (size != question_record_size) {
            std::fprintf(stderr, "tallydrill-cli: '%s': %s bytes; a question file holds %s\n",
                         paths[i], std::to_string(size).c_str(),
                         std::to_string(question_record_size).c_str());
            status = exit_usage;
            continue;
        }
        const QuestionScoreReport report = score_question(record);
        if (report.verdict == ScoreVerdict::unreadable) {
            std::printf("cannot score: %s\n", report.why.c_str());
            std::fprintf(stderr, "tallydrill-cli: '%s': cannot score: %s\n", paths[i],
                         report.why.c_str());
            status = exit_usage;
            continue;
        }
        std::fputs(report.text.c_str(), stdout);
        if (report.verdict == ScoreVerdict::differs && status == exit_ok) {
            status = exit_problem;
        }
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage_text, stdout);
            return exit_ok;
        }
    }
    if (argc < 3) {
        std::fputs(usage_text, stderr);
        return exit_usage;
    }
    const std::string command = argv[1];
    if (command == "check") {
        return check_files(argc - 2, argv + 2);
    }
    if (command == "show") {
        return show_files(argc - 2, argv + 2);
    }
    if (command == "score") {
        return score_files(argc - 2, argv + 2);
    }
    if (command == "generate") {
        return generate_command(argc - 2, argv + 2);
    }
    std::fprintf(stderr, "tallydrill-cli: unknown command '%s'\n\n%s", argv[1], usage_text);
    return exit_usage;
}

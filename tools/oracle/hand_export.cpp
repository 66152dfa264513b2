// Prints hands with this scorer's answers as JSON lines, for tools/oracle/compare.js:
//   hand_export FILE.tt...             the hands of question files
//   hand_export --deal N --seed S      N random complete hands
//   hand_export --notation             hands in the test notation, one a line on stdin
// Each line: {"source", "hand" (the test notation), "error", "han", "fu", "yakuman",
// "payment", "yaku"}.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "tallydrill/scoring/hand_notation_test_support.h"
#include "tallydrill/scoring/question_hand.h"
#include "tools/oracle/hand_dealer.h"

namespace {

void print_line(const std::string& source, const HandInput& hand) {
    HandScore score;
    const ScoreError error = score_hand(hand, score);
    std::string yaku;
    for (int i = 0; error == ScoreError::none && i < score.yaku_count; ++i) {
        yaku += std::string(i ? "," : "") + "\"" + yaku_name(score.yaku[i].yaku) + "\"";
    }
    std::printf("{\"source\":\"%s\",\"hand\":\"%s\",\"error\":\"%s\",\"han\":%d,\"fu\":%d,"
                "\"yakuman\":%d,\"payment\":\"%s\",\"yaku\":[%s]}\n",
                source.c_str(), hand_notation::format_hand(hand).c_str(),
                error == ScoreError::none ? "" : score_error_text(error), score.han, score.fu,
                score.limit == LimitName::yakuman && score.han == 0 ? score.yakuman_count : 0,
                score.payment, yaku.c_str());
}

int export_file(const char* path) {
    QuestionRecord record{};
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr) {
        std::fprintf(stderr, "hand_export: cannot open %s\n", path);
        return 2;
    }
    const std::size_t read = std::fread(&record, 1, sizeof record, in);
    std::fclose(in);
    HandInput hand;
    char why[128];
    if (read != sizeof record || !read_question_hand(record, hand, why, sizeof why)) {
        std::fprintf(stderr, "hand_export: %s: %s\n", path,
                     read != sizeof record ? "not a question file" : why);
        return 2;
    }
    const char* name = std::strrchr(path, '/');
    print_line(name ? name + 1 : path, hand);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--deal") == 0) {
        if (argc != 5 || std::strcmp(argv[3], "--seed") != 0) {
            std::fprintf(stderr, "usage: hand_export --deal N --seed S\n");
            return 2;
        }
        const long count = std::strtol(argv[2], nullptr, 10);
        HandDealer dealer(std::strtoull(argv[4], nullptr, 10));
        for (long i = 0; i < count; ++i) {
            print_line("deal", dealer.next());
        }
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--notation") == 0) {
        std::string line;
        int status = 0;
        while (std::getline(std::cin, line)) {
            HandInput hand;
            if (line.empty() || line[0] == '#') {
                continue;
            }
            if (!hand_notation::parse_hand(line, hand)) {
                std::fprintf(stderr, "hand_export: cannot read: %s\n", line.c_str());
                status = 2;
                continue;
            }
            print_line("targeted", hand);
        }
        return status;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const int result = export_file(argv[i]);
        status = result > status ? result : status;
    }
    return status;
}

// Hands scored per second: 4096 dealt hands (every shape the oracle comparison deals, closed
// and open, yakuman and hands without yaku), scored in turn; and the question record read as a
// hand before scoring, as `tallydrill-cli score` does.
#include <benchmark/benchmark.h>

#include <vector>

#include "tallydrill/scoring/question_hand.h"
#include "tools/oracle/hand_dealer.h"

namespace {

std::vector<HandInput> dealt_hands() {
    HandDealer dealer(20261207);
    std::vector<HandInput> hands;
    for (int i = 0; i < 4096; ++i) {
        hands.push_back(dealer.next());
    }
    return hands;
}

void count_hands(benchmark::State& state) {
    // Shown as "hands=…/s".
    state.counters["hands"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void score_hand_bench(benchmark::State& state) {
    const std::vector<HandInput> hands = dealt_hands();
    std::size_t next = 0;
    HandScore score;
    for (auto _ : state) {
        benchmark::DoNotOptimize(score_hand(hands[next], score));
        next = (next + 1) % hands.size();
    }
    count_hands(state);
}
BENCHMARK(score_hand_bench);

void read_and_score_bench(benchmark::State& state) {
    std::vector<QuestionRecord> records;
    for (const HandInput& hand : dealt_hands()) {
        QuestionRecord record{};
        bool open = false;
        for (int c = 0; c < hand.call_count; ++c) {
            open = open || hand.calls[c].kind != CallKind::closed_kan;
        }
        if (write_situation(hand.situation, open, record.question_text, question_text_capacity) &&
            write_question_hand(hand, record)) {
            records.push_back(record);
        }
    }
    std::size_t next = 0;
    HandInput hand;
    HandScore score;
    char why[96];
    for (auto _ : state) {
        if (read_question_hand(records[next], hand, why, sizeof why)) {
            benchmark::DoNotOptimize(score_hand(hand, score));
        }
        next = (next + 1) % records.size();
    }
    count_hands(state);
}
BENCHMARK(read_and_score_bench);

} // namespace

BENCHMARK_MAIN();

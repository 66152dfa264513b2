// The wrong choices of a question: payments a learner reaches by the usual mistakes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tallydrill/generator/generator_random.h"
#include "tallydrill/scoring/hand_score.h"

constexpr std::size_t score_text_capacity = 24;

// Basic points of han and fu with the limits (5 han or above 2000: mangan, ... 13 han or more:
// yakuman); `yakuman` > 0 counts that many yakuman instead.
std::int32_t limited_basic_points(int han, int fu, int yakuman);

// The pack's answer text of a payment: "8000", "1000 2000", "2600 a".
void write_payment_text(std::int32_t basic_points, bool dealer, bool tsumo, char* text,
                        std::size_t capacity);

// Three distinct texts, each a readable score that compare_score_answers does not take for the
// right payment: the other seat's payment, a fu step missed or added, one han too few or too
// many, the ron and tsumo forms mixed up, picked in a random order.
void write_mistaken_answers(const HandScore& score, const HandSituation& situation,
                            GeneratorRandom& random, char (*answers)[score_text_capacity]);

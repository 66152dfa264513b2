// The explanation shown after an answer: yaku and han, the fu step by step, the basic points and
// the payment, in at most six lines of 64 characters that fit the record's 256-byte field.
#pragma once

#include <cstddef>
#include <string>

#include "tallydrill/scoring/hand_score.h"

constexpr std::size_t explanation_line_limit = 64;
constexpr std::size_t explanation_max_lines = 6;

// "1-man" ... "9-sou", "East" ... "North", "white dragon", "green dragon", "red dragon".
const char* tile_kind_word(TileKind kind);

// One fu step as the explanations write it: "8 closed 9-man triplet", "10 closed ron", "20".
std::string fu_step_text(const FuStep& step);

// The text with lines joined by a backslash and "n", as question texts mark a line break; the
// fullest form that keeps within `capacity` - 1 bytes and the line limits (the shortest form,
// the han, fu and payment alone, always does).
std::string write_explanation(const HandScore& score, const HandSituation& situation,
                              std::size_t capacity);

// The checks a question file must pass before it goes into a pack: everything the practice
// program takes for granted and cannot check itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The problems of a question file's bytes, one readable sentence each, naming the field
// ("hand: two separators in a row at entries 14 and 15"); empty when the file is sound.
// Checked: the size of 820 bytes; tile codes in range and upright where the drawing expects
// upright tiles; the three tile lists ended inside their fields; called groups that are a chi,
// a pon or a kan, at most four of them, with the concealed tiles and the winning tile making
// 14 tiles (a kan counting 3); no more than four of any tile counting the dora and back dora
// indicators (a red five counts as a five, a tile back as nothing, except that a closed kan
// always holds four of its tile); every text ended inside its field; four distinct non-empty
// answers whose first, the right one, is a score text and reads as no other answer's score;
// a positive time limit. When the question text states the situation in the pack's phrasing,
// the hand must also score, its payment must be the right answer and no wrong answer
// (question_score.h).
std::vector<std::string> check_question(const std::uint8_t* bytes, std::size_t size);

// Dealing the four answers onto the four choice buttons.
#pragma once

#include <cstdint>

// The classic linear congruential generator: state = state * 214013 + 2531011 (mod 2^32), each
// draw (state >> 16) & 32767.
struct DealRandom {
    std::uint32_t state;
};

inline DealRandom seeded_random(std::uint32_t seed) {
    return DealRandom{seed};
}
std::int32_t next_draw(DealRandom& random);

constexpr int choice_count = 4;

struct AnswerDeal {
    int right_slot;                  // the button of entry 0, the right answer
    int slot_of_entry[choice_count]; // slot_of_entry[0] == right_slot
    int entry_on_slot[choice_count]; // the inverse
};

// The right answer goes to draw % 4; entries 1 to 3 in turn take the first free slot that the
// draws come up with. The seed is the calendar time in seconds, so set-ups within one second
// deal alike.
AnswerDeal deal_answers(std::uint32_t seed);

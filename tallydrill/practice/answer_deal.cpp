#include "tallydrill/practice/answer_deal.h"

std::int32_t next_draw(DealRandom& random) {
    random.state = random.state * 214013u + 2531011u;
    return static_cast<std::int32_t>((random.state >> 16) & 32767u);
}

AnswerDeal deal_answers(std::uint32_t seed) {
    DealRandom random = seeded_random(seed);
    AnswerDeal deal{};
    bool used[choice_count] = {};
    for (int entry = 0; entry < choice_count; ++entry) {
        // This ends: draw % 4 is bits 16 and 17 of the state, and the state modulo 2^18 runs
        // through its full period, so every slot comes up within 2^18 draws.
        int slot = next_draw(random) % choice_count;
        while (used[slot]) {
            slot = next_draw(random) % choice_count;
        }
        used[slot] = true;
        deal.slot_of_entry[entry] = slot;
        deal.entry_on_slot[slot] = entry;
    }
    deal.right_slot = deal.slot_of_entry[0];
    return deal;
}

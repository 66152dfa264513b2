// Random complete hands for the comparison with the independent scorer: dealt from the 136
// tiles with the three red fives, closed and open, with kans, and now and then confined to the
// shapes of the rare yaku. The same hands for the same seed on every host.
#pragma once

#include <cstdint>

#include "tallydrill/scoring/hand_score.h"

class HandDealer {
  public:
    explicit HandDealer(std::uint64_t seed);
    HandInput next(); // a complete hand (it may still have no yaku)

  private:
    std::uint64_t state_;
};

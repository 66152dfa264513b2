// The payment of a winning hand from its han and fu, by the rules the pack's README states:
// basic points fu x 2^(han + 2), mangan from 5 han or above 2000 basic points (no rounding up
// of 4 han 30 fu or 3 han 60 fu), haneman 6-7, baiman 8-10, sanbaiman 11-12, yakuman 13 han and
// more; ron x6 for the dealer, x4 otherwise; tsumo shares rounded up to 100 each.
#pragma once

#include <cstdint>
#include <string>

std::int32_t basic_points(int han, int fu);

// The answer text of the pack: "8000" for a ron, "1000 2000" for a non-dealer's tsumo (what
// each non-dealer pays, then the dealer), "2600 a" for the dealer's tsumo (what each pays).
std::string payment_text(int han, int fu, bool dealer, bool tsumo);

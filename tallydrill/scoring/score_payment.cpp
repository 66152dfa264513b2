#include "tallydrill/scoring/score_payment.h"

namespace {

std::int32_t rounded_up_to_100(std::int32_t points) {
    return (points + 99) / 100 * 100;
}

} // namespace

std::int32_t basic_points(int han, int fu) {
    if (han >= 13) {
        return 8000;
    }
    if (han >= 11) {
        return 6000;
    }
    if (han >= 8) {
        return 4000;
    }
    if (han >= 6) {
        return 3000;
    }
    if (han == 5) {
        return 2000;
    }
    const std::int32_t points = fu << (han + 2);
    return points > 2000 ? 2000 : points;
}

std::string payment_text(int han, int fu, bool dealer, bool tsumo) {
    const std::int32_t basic = basic_points(han, fu);
    if (!tsumo) {
        return std::to_string(rounded_up_to_100(basic * (dealer ? 6 : 4)));
    }
    if (dealer) {
        return std::to_string(rounded_up_to_100(basic * 2)) + " a";
    }
    return std::to_string(rounded_up_to_100(basic)) + " " +
           std::to_string(rounded_up_to_100(basic * 2));
}

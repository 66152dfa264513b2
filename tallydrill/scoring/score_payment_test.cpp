#include "tallydrill/scoring/score_payment.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Entries of the usual score table, and the limits.
TEST(PaymentText, Table) {
    struct Row {
        int han;
        int fu;
        bool dealer;
        bool tsumo;
        const char* payment;
    };
    const Row rows[] = {
        {1, 30, false, false, "1000"},      {1, 30, true, false, "1500"},
        {1, 30, false, true, "300 500"},    {1, 30, true, true, "500 a"},
        {2, 20, false, true, "400 700"},    {2, 20, true, true, "700 a"},
        {3, 20, true, true, "1300 a"},      {4, 20, true, true, "2600 a"},
        {2, 25, false, false, "1600"},      {2, 25, true, false, "2400"},
        {3, 25, false, true, "800 1600"},   {4, 25, true, true, "3200 a"},
        {1, 40, false, false, "1300"},      {3, 40, false, false, "5200"},
        {3, 40, true, false, "7700"},       {2, 50, true, false, "4800"},
        {2, 60, false, true, "1000 2000"},  {2, 70, true, false, "6800"},
        {1, 80, false, false, "2600"},      {2, 90, true, true, "2900 a"},
        {2, 100, false, false, "6400"},     {1, 110, false, false, "3600"},
        {2, 110, false, false, "7100"},     {2, 110, true, false, "10600"},
        {4, 30, false, false, "7700"},      {4, 30, true, false, "11600"}, // no rounding up
        {3, 60, false, false, "7700"},      {3, 60, true, true, "3900 a"},
        {4, 40, false, false, "8000"},      {3, 70, false, false, "8000"},
        {5, 30, false, true, "2000 4000"},  {5, 20, true, false, "12000"},
        {6, 30, true, false, "18000"},      {7, 40, false, true, "3000 6000"},
        {8, 30, false, true, "4000 8000"},  {10, 40, true, false, "24000"},
        {11, 30, false, false, "24000"},    {12, 30, true, true, "12000 a"},
        {13, 30, false, false, "32000"},    {13, 0, true, false, "48000"},
        {20, 0, false, true, "8000 16000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.han) + " han " + std::to_string(row.fu) + " fu, " +
                     (row.dealer ? "dealer " : "non-dealer ") + (row.tsumo ? "tsumo" : "ron"));
        EXPECT_EQ(payment_text(row.han, row.fu, row.dealer, row.tsumo), row.payment);
    }
}

TEST(BasicPoints, Limits) {
    EXPECT_EQ(basic_points(1, 30), 240);
    EXPECT_EQ(basic_points(4, 30), 1920);
    EXPECT_EQ(basic_points(4, 40), 2000);
    EXPECT_EQ(basic_points(5, 20), 2000);
    EXPECT_EQ(basic_points(6, 20), 3000);
    EXPECT_EQ(basic_points(8, 20), 4000);
    EXPECT_EQ(basic_points(11, 20), 6000);
    EXPECT_EQ(basic_points(13, 20), 8000);
}

} // namespace

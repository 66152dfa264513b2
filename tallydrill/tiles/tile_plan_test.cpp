#include "tallydrill/tiles/tile_plan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

// "dora codes / back dora codes / hand codes / winning tile"; the rest of each list is 255.
QuestionRecord record_of(const std::string& text) {
    QuestionRecord record;
    std::memset(&record, 255, sizeof record);
    TileCode* lists[] = {record.dora_indicators, record.back_dora, record.hand,
                         &record.winning_tile};
    std::istringstream in(text);
    int list = 0;
    for (std::string word; in >> word;) {
        if (word == "/") {
            ++list;
        } else {
            *lists[list]++ = static_cast<TileCode>(std::stoi(word));
        }
    }
    return record;
}

const TileCellTable cells = make_tile_cell_table();

// "code@x,y" per copy in drawing order; sizes are checked apart.
std::string placements(const TilePlan& plan) {
    std::string text;
    for (std::size_t i = 0; i < plan.copy_count; ++i) {
        const TileCopy& c = plan.copies[i];
        text += (i ? " " : "") + std::to_string(c.code) + "@" + std::to_string(c.destination.left) +
                "," + std::to_string(c.destination.top);
    }
    return text;
}

TEST(PlanTiles, WorkedExampleOfTheSampleQuestion) {
    QuestionRecord record;
    set_initial_question(record);
    const TilePlan plan = plan_tiles(record, cells, 630);
    EXPECT_EQ(placements(plan), "0@150,100 1@183,100 1@216,100 1@249,100 1@282,100 "
                                "30@150,149 35@183,149 11@2,219 0@39,219 "
                                "57@579,190 57@579,224 17@546,219 17@513,219 "
                                "27@585,139 27@552,139 67@513,110 67@513,144 "
                                "22@443,219 62@404,190 62@404,224 22@371,219 "
                                "12@443,139 52@404,110 52@404,144 12@371,139");
    EXPECT_EQ(plan.dora_band, (TileRect{150, 100, 630, 205}));
    EXPECT_EQ(plan.hand_band, (TileRect{0, 200, 630, 280}));
    for (std::size_t i = 0; i < plan.copy_count; ++i) {
        SCOPED_TRACE("copy " + std::to_string(i));
        const TileCopy& copy = plan.copies[i];
        EXPECT_EQ(copy.source, cells.cells[copy.code]);
        EXPECT_EQ(copy.destination.width(), i < 7 ? 33 : copy.source.width());
        EXPECT_EQ(copy.destination.height(), i < 7 ? 49 : copy.source.height());
    }
}

TEST(PlanTiles, EdgeCases) {
    struct Row {
        const char* name;
        const char* record; // dora / back dora / hand / winning tile
        const char* expected;
    };
    const Row rows[] = {
        {"a sideways concealed code keeps its width", "/ / 41 2 / 5", "41@2,219 2@41,219 5@78,219"},
        {"empty hand: only the winning tile, at 6", "/ / / 9", "9@6,219"},
        {"three equal sideways codes: a stacked pair, then a single", "/ / 90 52 52 52 / 1",
         "1@6,219 52@579,190 52@579,224 52@540,224"},
        {"a sideways code after a separator is single", "/ / 3 90 43 / 3",
         "3@2,219 3@39,219 43@579,224"},
        {"only the left neighbour counts, not one beyond a separator", "/ / 43 90 43 / 3",
         "43@2,219 3@45,219 43@579,224"},
        {"groups take the places right, left, then up the right column",
         "/ / 90 1 90 2 90 3 90 4 90 5 90 46 / 7",
         "7@6,219 46@579,224 5@585,139 4@443,219 3@443,139 2@585,59 1@585,-21"},
        {"any separator value counts", "/ / 8 80 9 254 10 / 8",
         "8@2,219 8@39,219 10@585,219 9@585,139"},
        {"dora codes without a cell: no copy, but their step", "0 200 2 80 / 90 3 / / 0",
         "0@150,100 2@216,100 3@183,149 0@6,219"},
        {"dora lists without a 255 end with their field",
         "1 2 3 4 5 6 7 / 8 9 10 11 12 13 14 / / 0",
         "1@150,100 2@183,100 3@216,100 4@249,100 5@282,100 6@315,100 7@348,100 8@150,149 "
         "9@183,149 10@216,149 11@249,149 12@282,149 13@315,149 14@348,149 0@6,219"},
        {"winning tile without a cell", "/ / 1 / 80", "1@2,219"},
        {"two separators in a row draw nothing", "/ / 1 90 90 2 / 1", "1@2,219 1@39,219 2@585,219"},
        {"a separator right before the end", "/ / 1 90 / 1", "1@2,219 1@39,219"},
        {"a separator at the end opens a place for its left group", "/ / 1 90 2 90 / 1",
         "1@2,219 1@39,219 2@585,139"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(placements(plan_tiles(record_of(row.record), cells, 630)), row.expected);
    }
}

// A full hand field has no 255: its walks end at hand[31], never taking the winning tile after it.
TEST(PlanTiles, HandsFillingTheField) {
    const auto plan_end = [](const std::vector<TileCode>& last_codes, const char* from) {
        QuestionRecord record = record_of("/ / / 1");
        std::memset(record.hand, 3, hand_capacity);
        std::copy(last_codes.begin(), last_codes.end(), std::end(record.hand) - last_codes.size());
        const std::string plan = placements(plan_tiles(record, cells, 630));
        return plan.substr(plan.rfind(from));
    };
    EXPECT_EQ(plan_end({}, "3@"), "3@1025,219 1@1062,219");
    EXPECT_EQ(plan_end({90}, "3@"), "3@992,219 1@1029,219");
    EXPECT_EQ(plan_end({90, 3, 50}, "1@"), "1@963,219 50@579,224 3@546,219");
}

} // namespace

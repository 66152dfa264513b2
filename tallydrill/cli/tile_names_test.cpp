#include "tallydrill/cli/tile_names.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

// Every row "| code | tile | sideways code |" of TILES.md names the picture of both codes.
TEST(TileNames, AgreeWithTilesMd) {
    std::ifstream file(TILES_MD_PATH);
    int rows = 0;
    for (std::string line; std::getline(file, line);) {
        std::istringstream cells(line);
        std::string empty, code, name, sideways;
        if (!(std::getline(cells, empty, '|') && cells >> code && cells.ignore(3) &&
              std::getline(cells, name, '|') && cells >> sideways) ||
            code.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        name = name.substr(0, name.find_last_not_of(' ') + 1);
        SCOPED_TRACE(line);
        ++rows;
        for (int c : {std::stoi(code), std::stoi(sideways)}) {
            const TileCode tile = static_cast<TileCode>(c);
            ASSERT_NE(tile_name(tile), nullptr);
            EXPECT_EQ(tile_name(tile), name);
            const int kind = tile_kind(tile);
            EXPECT_EQ(is_tile_back(tile), name == "tile back");
            EXPECT_EQ(is_red_five(tile), name.rfind("red 5", 0) == 0);
            if (kind == no_tile_kind) {
                EXPECT_TRUE(name == "tile back" || name == "blank face");
            } else {
                EXPECT_EQ(name,
                          (is_red_five(tile) ? "red " : "") + std::string(tile_kind_name(kind)));
            }
        }
        EXPECT_EQ(std::stoi(sideways), std::stoi(code) + 40);
    }
    EXPECT_EQ(rows, 40) << "the table of " << TILES_MD_PATH;
    for (int code : {80, 90, 255}) {
        EXPECT_EQ(tile_name(static_cast<TileCode>(code)), nullptr);
        EXPECT_EQ(tile_kind(static_cast<TileCode>(code)), no_tile_kind);
    }
    EXPECT_EQ(tile_kind_name(tile_kind_count), nullptr);
}

TEST(DoraKindForIndicator, FollowsEachSuitWindAndDragonRound) {
    const struct {
        TileCode indicator, dora;
    } rows[] = {{11, 12}, {18, 19}, {19, 11}, {29, 21}, {39, 31}, {2, 3}, {5, 2}, {6, 7}, {8, 6}};
    for (const auto& row : rows) {
        EXPECT_EQ(dora_kind_for_indicator(tile_kind(row.indicator)), tile_kind(row.dora))
            << tile_name(row.indicator);
    }
    EXPECT_EQ(dora_kind_for_indicator(no_tile_kind), no_tile_kind);
    EXPECT_EQ(dora_kind_for_indicator(tile_kind_count), no_tile_kind);
}

} // namespace

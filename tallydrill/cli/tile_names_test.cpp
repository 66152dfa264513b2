#include "tallydrill/cli/tile_names.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The rows "| code | tile | sideways code |" of the table in TILES.md.
struct DocumentedTile {
    int code;
    std::string name;
    int sideways_code;
};

std::vector<DocumentedTile> documented_tiles() {
    std::ifstream file(TILES_MD_PATH);
    std::vector<DocumentedTile> rows;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::string> cells;
        std::stringstream stream(line);
        std::string cell;
        while (std::getline(stream, cell, '|')) {
            cells.push_back(trimmed(cell));
        }
        // "| 10 | red 5-man | 50 |" splits into "", "10", "red 5-man", "50".
        if (cells.size() == 4 && !cells[1].empty() &&
            cells[1].find_first_not_of("0123456789") == std::string::npos) {
            rows.push_back({std::stoi(cells[1]), cells[2], std::stoi(cells[3])});
        }
    }
    return rows;
}

TEST(TileName, IsTheNameTilesMdGivesEveryCode) {
    const std::vector<DocumentedTile> rows = documented_tiles();
    ASSERT_EQ(rows.size(), 40u) << "the table of " << TILES_MD_PATH;
    for (const DocumentedTile& row : rows) {
        SCOPED_TRACE("code " + std::to_string(row.code) + " (" + row.name + ")");
        ASSERT_NE(tile_name(static_cast<TileCode>(row.code)), nullptr);
        EXPECT_EQ(tile_name(static_cast<TileCode>(row.code)), row.name);
        EXPECT_EQ(row.sideways_code, row.code + 40);
        ASSERT_NE(tile_name(static_cast<TileCode>(row.sideways_code)), nullptr);
        EXPECT_EQ(tile_name(static_cast<TileCode>(row.sideways_code)), row.name);
    }
}

TEST(TileName, NoneForCodesWithoutAPicture) {
    for (int code : {80, 90, 254, 255}) {
        SCOPED_TRACE("code " + std::to_string(code));
        EXPECT_EQ(tile_name(static_cast<TileCode>(code)), nullptr);
    }
}

TEST(TileKind, Table) {
    struct Row {
        int code;
        int kind;
        const char* kind_name;
    };
    const Row rows[] = {
        {11, 0, "1-man"},
        {15, 4, "5-man"},
        {10, 4, "5-man"}, // red five
        {50, 4, "5-man"},
        {19, 8, "9-man"},
        {21, 9, "1-pin"},
        {20, 13, "5-pin"},
        {69, 17, "9-pin"},
        {30, 22, "5-sou"},
        {39, 26, "9-sou"},
        {2, 27, "East wind"},
        {45, 30, "North wind"},
        {6, 31, "white dragon"},
        {8, 33, "red dragon"},
        {48, 33, "red dragon"},
        {0, no_tile_kind, nullptr},
        {1, no_tile_kind, nullptr},
        {9, no_tile_kind, nullptr},
        {41, no_tile_kind, nullptr},
        {49, no_tile_kind, nullptr},
        {80, no_tile_kind, nullptr},
        {255, no_tile_kind, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("code " + std::to_string(row.code));
        const int kind = tile_kind(static_cast<TileCode>(row.code));
        EXPECT_EQ(kind, row.kind);
        const char* name = tile_kind_name(kind);
        if (row.kind_name == nullptr) {
            EXPECT_EQ(name, nullptr);
        } else {
            ASSERT_NE(name, nullptr);
            EXPECT_STREQ(name, row.kind_name);
        }
    }
}

// A kind is named like the pictures of its tile; a red five is "red " and its five.
TEST(TileKind, NamesAgreeWithThePictureNames) {
    for (int code = 0; code < 80; ++code) {
        const int kind = tile_kind(static_cast<TileCode>(code));
        if (kind == no_tile_kind) {
            continue;
        }
        SCOPED_TRACE("code " + std::to_string(code));
        const std::string picture = tile_name(static_cast<TileCode>(code));
        const std::string expected = is_red_five(static_cast<TileCode>(code))
                                         ? "red " + std::string(tile_kind_name(kind))
                                         : std::string(tile_kind_name(kind));
        EXPECT_EQ(picture, expected);
    }
}

TEST(TileCodeClasses, BacksAndRedFives) {
    struct Row {
        int code;
        bool back;
        bool red;
    };
    const Row rows[] = {{1, true, false},   {41, true, false},  {0, false, false},
                        {10, false, true},  {20, false, true},  {30, false, true},
                        {50, false, true},  {70, false, true},  {15, false, false},
                        {40, false, false}, {81, false, false}, {90, false, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE("code " + std::to_string(row.code));
        EXPECT_EQ(is_tile_back(static_cast<TileCode>(row.code)), row.back);
        EXPECT_EQ(is_red_five(static_cast<TileCode>(row.code)), row.red);
    }
}

TEST(DoraKindForIndicator, Table) {
    struct Row {
        const char* indicator;
        const char* dora;
    };
    const Row rows[] = {
        {"1-man", "2-man"},
        {"8-man", "9-man"},
        {"9-man", "1-man"},
        {"5-pin", "6-pin"},
        {"9-pin", "1-pin"},
        {"9-sou", "1-sou"},
        {"East wind", "South wind"},
        {"West wind", "North wind"},
        {"North wind", "East wind"},
        {"white dragon", "green dragon"},
        {"green dragon", "red dragon"},
        {"red dragon", "white dragon"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.indicator);
        int indicator = no_tile_kind;
        for (int kind = 0; kind < tile_kind_count; ++kind) {
            if (std::string(tile_kind_name(kind)) == row.indicator) {
                indicator = kind;
            }
        }
        ASSERT_NE(indicator, no_tile_kind);
        const char* dora = tile_kind_name(dora_kind_for_indicator(indicator));
        ASSERT_NE(dora, nullptr);
        EXPECT_STREQ(dora, row.dora);
    }
    EXPECT_EQ(dora_kind_for_indicator(no_tile_kind), no_tile_kind);
    EXPECT_EQ(dora_kind_for_indicator(tile_kind_count), no_tile_kind);
}

} // namespace

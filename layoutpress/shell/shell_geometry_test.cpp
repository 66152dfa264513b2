// Where the main window's controls go, for every tab, dump form and client size.
#include "layoutpress/shell/shell_geometry.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<int> values(const LayoutRect& r) {
    return {r.x, r.y, r.width, r.height};
}

// The controls a layout places, as {id, x, y, width, height}, in placing order.
std::vector<std::vector<int>> controls(const PaneLayout& layout) {
    std::vector<std::vector<int>> placed;
    for (int i = 0; i < layout.control_count; ++i) {
        std::vector<int> control = values(layout.controls[i].rect);
        control.insert(control.begin(), layout.controls[i].id);
        placed.push_back(control);
    }
    return placed;
}

TEST(PaneLayout, PanesFollowTheClientAreaTheTabAndTheDumpForm) {
    const struct {
        int width, height;
        std::vector<int> tab_control, pane;
    } sizes[] = {{1000, 600, {0, 65, 1000, 535}, {10, 30, 980, 500}},
                 {984, 642, {0, 65, 984, 577}, {10, 30, 964, 542}},
                 {15, 60, {0, 65, 15, 0}, {10, 30, 0, 0}}}; // too small: sizes stop at 0
    for (const auto& c : sizes) {
        for (int tab = -1; tab < 6; ++tab) {
            const PaneLayout layout = compute_pane_layout(c.width, c.height, tab, 0);
            EXPECT_EQ(values(layout.tab_control), c.tab_control) << c.width << " tab " << tab;
            EXPECT_EQ(values(layout.pane), c.pane) << c.width << " tab " << tab;
            for (const std::vector<int>& control : controls(layout)) {
                EXPECT_TRUE(control[3] >= 0 && control[4] >= 0) << "control " << control[0];
            }
            EXPECT_EQ(layout.control_count == 0, tab < 0 || tab >= 3) << "the settings panes";
        }
    }
    EXPECT_EQ(controls(compute_pane_layout(1000, 600, 1, 2)),
              (std::vector<std::vector<int>>{{427, 1, 3, 127, 25},
                                             {424, 1, 30, 127, 25},
                                             {321, 130, 3, 849, 25},
                                             {318, 130, 30, 849, 25},
                                             {301, 1, 60, 978, 410}}));
    EXPECT_EQ(controls(compute_pane_layout(700, 900, 0, 0)).back(),
              (std::vector<int>{300, 1, 60, 678, 710}));
    EXPECT_EQ(controls(compute_pane_layout(100, 150, 1, 0))[2],
              (std::vector<int>{321, 130, 3, 0, 25}));
    // Every mode other than 0 and 1 lays out as decimal.
    for (const auto& [mode, d] :
         std::vector<std::pair<uint8_t, int>>{{0, 515}, {1, 425}, {2, 675}, {255, 675}}) {
        EXPECT_EQ(dump_column_width(mode), d);
        EXPECT_EQ(controls(compute_pane_layout(1000, 600, 2, mode)),
                  (std::vector<std::vector<int>>{{428, 1, 3, 127, 25},
                                                 {425, 1, 30, 127, 25},
                                                 {322, 130, 3, 849, 25},
                                                 {319, 130, 30, 849, 25},
                                                 {405, 1, 60, d, 30},
                                                 {851, d + 5, 60, 200, 30},
                                                 {302, 1, 95, d, 385},
                                                 {303, d + 5, 95, 200, 385}}))
            << "mode " << int(mode);
    }
    EXPECT_EQ(controls(compute_pane_layout(700, 900, 2, 0))[6][4], 685);
}

TEST(StatusBarAndButtons, KeepTheirPlaces) {
    const struct {
        int width;
        int edges[4];
    } bars[] = {{980, {235, 470, 705, 980}},
                {1001, {240, 480, 720, 1000}}, // the quarter is divided first: 250 each
                {3, {-10, -20, -30, 0}}};
    for (const auto& c : bars) {
        const StatusBarParts parts = status_bar_parts(c.width);
        EXPECT_EQ(std::vector<int>(parts.right_edges, parts.right_edges + 4),
                  std::vector<int>(c.edges, c.edges + 4))
            << c.width;
    }
    const char* const texts[command_button_count] = {"Save All File",
                                                     "Binary Format Data Conversion : F5",
                                                     "Text Format Data Conversion : F6",
                                                     "New : Ctrl+N",
                                                     "Open : Ctrl+O",
                                                     "Close : Ctrl+W",
                                                     "Save : Ctrl+S",
                                                     "Save As... : F12"};
    const int x[command_button_count] = {0, 190, 570, 0, 190, 380, 570, 760};
    for (int i = 0; i < command_button_count; ++i) {
        EXPECT_STREQ(command_button_text(i), texts[i]);
        EXPECT_EQ(values(command_button_rect(i)),
                  (std::vector<int>{x[i], i < 3 ? 0 : 32, i == 1 || i == 2 ? 378 : 188, 30}));
    }
    EXPECT_STREQ(command_button_text(8), "");
    EXPECT_EQ(values(command_button_rect(-1)), (std::vector<int>{0, 0, 0, 0}));
}

} // namespace

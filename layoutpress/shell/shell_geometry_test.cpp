// Where the main window's controls go, for every tab, dump form and client size.
#include "layoutpress/shell/shell_geometry.h"

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
        placed.push_back(values(layout.controls[i].rect));
        placed.back().insert(placed.back().begin(), layout.controls[i].id);
    }
    return placed;
}

// The panes follow the client area; the settings panes place nothing; a window too small keeps
// every size at 0 or more; the dump columns follow the dump form, any form but 0 and 1 decimal.
TEST(PaneLayout, PanesFollowTheClientAreaTheTabAndTheDumpForm) {
    for (int tab = -1; tab < 6; ++tab) {
        const PaneLayout layout = compute_pane_layout(984, 642, tab, 0);
        EXPECT_EQ(values(layout.tab_control), (std::vector<int>{0, 65, 984, 577}));
        EXPECT_EQ(values(layout.pane), (std::vector<int>{10, 30, 964, 542}));
        EXPECT_EQ(layout.control_count == 0, tab < 0 || tab >= 3) << tab;
        for (const std::vector<int>& control : controls(compute_pane_layout(15, 60, tab, 0)))
            EXPECT_TRUE(control[3] >= 0 && control[4] >= 0) << "control " << control[0];
    }
    EXPECT_EQ(values(compute_pane_layout(15, 60, 0, 0).pane), (std::vector<int>{10, 30, 0, 0}));
    EXPECT_EQ(controls(compute_pane_layout(1000, 600, 1, 2)),
              (std::vector<std::vector<int>>{{427, 1, 3, 127, 25},
                                             {424, 1, 30, 127, 25},
                                             {321, 130, 3, 849, 25},
                                             {318, 130, 30, 849, 25},
                                             {301, 1, 60, 978, 410}}));
    for (const auto& [mode, d] :
         std::vector<std::pair<uint8_t, int>>{{0, 515}, {1, 425}, {2, 675}, {255, 675}}) {
        const std::vector<std::vector<int>> placed =
            controls(compute_pane_layout(1000, 600, 2, mode));
        EXPECT_EQ(std::vector<std::vector<int>>(placed.begin() + 4, placed.end()),
                  (std::vector<std::vector<int>>{{405, 1, 60, d, 30},
                                                 {851, d + 5, 60, 200, 30},
                                                 {302, 1, 95, d, 385},
                                                 {303, d + 5, 95, 200, 385}}))
            << "mode " << int(mode);
    }
}

TEST(StatusBarAndButtons, KeepTheirPlaces) {
    const StatusBarParts parts = status_bar_parts(980);
    EXPECT_EQ(std::vector<int>(parts.right_edges, parts.right_edges + 4),
              (std::vector<int>{235, 470, 705, 980}));
    EXPECT_EQ(status_bar_parts(1001).right_edges[0], 240) << "the quarter is divided first";
    // Two rows of buttons, 30 high, side by side without overlapping.
    for (int i = 0; i < command_button_count; ++i) {
        const LayoutRect button = command_button_rect(i), before = command_button_rect(i - 1);
        EXPECT_EQ(std::make_pair(button.y, button.height), std::make_pair(i < 3 ? 0 : 32, 30));
        EXPECT_TRUE(i == 0 || i == 3 || button.x >= before.x + before.width + 2) << i;
        EXPECT_STRNE(command_button_text(i), "");
    }
    EXPECT_STREQ(command_button_text(8), "");
    EXPECT_EQ(values(command_button_rect(-1)), (std::vector<int>{0, 0, 0, 0}));
}

} // namespace

#include "layoutpress/shell/shell_geometry.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Expected {
    int id;
    LayoutRect rect;
};

std::string describe(const LayoutRect& r) {
    return "(" + std::to_string(r.x) + ", " + std::to_string(r.y) + ") " + std::to_string(r.width) +
           " x " + std::to_string(r.height);
}

::testing::AssertionResult same_rect(const LayoutRect& actual, const LayoutRect& expected) {
    if (actual.x == expected.x && actual.y == expected.y && actual.width == expected.width &&
        actual.height == expected.height) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "is " << describe(actual) << ", expected " << describe(expected);
}

// Checks that layout places exactly the expected controls, in any order.
void expect_controls(const PaneLayout& layout, const std::vector<Expected>& expected,
                     const std::string& context) {
    ASSERT_EQ(layout.control_count, static_cast<int>(expected.size())) << context;
    for (const Expected& want : expected) {
        bool found = false;
        for (int i = 0; i < layout.control_count; ++i) {
            if (layout.controls[i].id == want.id) {
                EXPECT_FALSE(found) << context << ": control " << want.id << " placed twice";
                found = true;
                EXPECT_TRUE(same_rect(layout.controls[i].rect, want.rect))
                    << context << ": control " << want.id;
            }
        }
        EXPECT_TRUE(found) << context << ": control " << want.id << " not placed";
    }
}

TEST(PaneLayout, TabControlAndPaneFollowTheClientArea) {
    struct Case {
        int width, height;
        LayoutRect tab_control, pane;
    };
    const Case cases[] = {
        {1000, 600, {0, 65, 1000, 535}, {10, 30, 980, 500}},
        {984, 642, {0, 65, 984, 577}, {10, 30, 964, 542}},
        {400, 300, {0, 65, 400, 235}, {10, 30, 380, 200}},
        {15, 60, {0, 65, 15, 0}, {10, 30, 0, 0}}, // too small: sizes stop at 0
    };
    for (const Case& c : cases) {
        for (int tab = 0; tab < 6; ++tab) {
            const PaneLayout layout = compute_pane_layout(c.width, c.height, tab, 0);
            const std::string context = std::to_string(c.width) + " x " + std::to_string(c.height) +
                                        " tab " + std::to_string(tab);
            EXPECT_TRUE(same_rect(layout.tab_control, c.tab_control)) << context;
            EXPECT_TRUE(same_rect(layout.pane, c.pane)) << context;
        }
    }
}

TEST(PaneLayout, DocumentPanesAtClient1000By600) {
    const std::vector<Expected> structure = {
        {426, {1, 3, 127, 25}},    {423, {1, 30, 127, 25}},  {320, {130, 3, 849, 25}},
        {317, {130, 30, 849, 25}}, {300, {1, 60, 978, 410}},
    };
    const std::vector<Expected> text = {
        {427, {1, 3, 127, 25}},    {424, {1, 30, 127, 25}},  {321, {130, 3, 849, 25}},
        {318, {130, 30, 849, 25}}, {301, {1, 60, 978, 410}},
    };
    expect_controls(compute_pane_layout(1000, 600, 0, 0), structure, "structure pane");
    expect_controls(compute_pane_layout(1000, 600, 1, 2), text, "text pane");
}

TEST(PaneLayout, BinaryPaneFollowsTheDumpForm) {
    struct Case {
        uint8_t mode;
        int columns;
    };
    // Every mode other than 0 and 1 lays out as decimal.
    const Case cases[] = {{0, 515}, {1, 425}, {2, 675}, {3, 675}, {255, 675}};
    for (const Case& c : cases) {
        const int d = c.columns;
        const std::vector<Expected> binary = {
            {428, {1, 3, 127, 25}},    {425, {1, 30, 127, 25}},      {322, {130, 3, 849, 25}},
            {319, {130, 30, 849, 25}}, {405, {1, 60, d, 30}},        {851, {d + 5, 60, 200, 30}},
            {302, {1, 95, d, 385}},    {303, {d + 5, 95, 200, 385}},
        };
        expect_controls(compute_pane_layout(1000, 600, 2, c.mode), binary,
                        "binary pane, mode " + std::to_string(c.mode));
        EXPECT_EQ(dump_column_width(c.mode), d) << "mode " << int(c.mode);
    }
}

TEST(PaneLayout, HeightsFollowTheClientHeight) {
    // The editors take the main window's client height less a fixed amount.
    const PaneLayout text = compute_pane_layout(700, 900, 1, 0);
    const PaneLayout binary = compute_pane_layout(700, 900, 2, 0);
    int text_editor_height = -1;
    int dump_height = -1;
    for (int i = 0; i < text.control_count; ++i) {
        if (text.controls[i].id == 301) {
            text_editor_height = text.controls[i].rect.height;
            EXPECT_EQ(text.controls[i].rect.width, 678);
        }
    }
    for (int i = 0; i < binary.control_count; ++i) {
        if (binary.controls[i].id == 302) {
            dump_height = binary.controls[i].rect.height;
        }
    }
    EXPECT_EQ(text_editor_height, 710);
    EXPECT_EQ(dump_height, 685);
}

TEST(PaneLayout, SettingsPanesPlaceNoControls) {
    for (int tab = 3; tab < 6; ++tab) {
        EXPECT_EQ(compute_pane_layout(1000, 600, tab, 0).control_count, 0) << "tab " << tab;
    }
    EXPECT_EQ(compute_pane_layout(1000, 600, -1, 0).control_count, 0) << "no selection";
}

TEST(PaneLayout, TinyWindowGivesNoNegativeSizes) {
    for (int tab = 0; tab < 3; ++tab) {
        const PaneLayout layout = compute_pane_layout(100, 150, tab, 0);
        for (int i = 0; i < layout.control_count; ++i) {
            EXPECT_GE(layout.controls[i].rect.width, 0) << "control " << layout.controls[i].id;
            EXPECT_GE(layout.controls[i].rect.height, 0) << "control " << layout.controls[i].id;
        }
    }
    const PaneLayout text = compute_pane_layout(100, 150, 1, 0);
    EXPECT_TRUE(same_rect(text.controls[2].rect, {130, 3, 0, 25})) << "path field at width 100";
}

TEST(StatusBar, PartsEndAtQuartersLessTheirGaps) {
    struct Case {
        int width;
        int edges[4];
    };
    const Case cases[] = {
        {800, {190, 380, 570, 800}},
        {980, {235, 470, 705, 980}},
        {1001, {240, 480, 720, 1000}}, // the quarter is divided first: 250 each
        {3, {-10, -20, -30, 0}},
    };
    for (const Case& c : cases) {
        const StatusBarParts parts = status_bar_parts(c.width);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(parts.right_edges[i], c.edges[i]) << "width " << c.width << " part " << i;
        }
    }
}

TEST(CommandButtons, TwoRowsThatNeverMove) {
    struct Case {
        const char* text;
        LayoutRect rect;
    };
    const Case cases[command_button_count] = {
        {"Save All File", {0, 0, 188, 30}},
        {"Binary Format Data Conversion : F5", {190, 0, 378, 30}},
        {"Text Format Data Conversion : F6", {570, 0, 378, 30}},
        {"New : Ctrl+N", {0, 32, 188, 30}},
        {"Open : Ctrl+O", {190, 32, 188, 30}},
        {"Close : Ctrl+W", {380, 32, 188, 30}},
        {"Save : Ctrl+S", {570, 32, 188, 30}},
        {"Save As... : F12", {760, 32, 188, 30}},
    };
    for (int i = 0; i < command_button_count; ++i) {
        EXPECT_STREQ(command_button_text(i), cases[i].text) << "button " << i;
        EXPECT_TRUE(same_rect(command_button_rect(i), cases[i].rect)) << "button " << i;
    }
    EXPECT_STREQ(command_button_text(8), "");
    EXPECT_TRUE(same_rect(command_button_rect(-1), {0, 0, 0, 0}));
}

} // namespace

#include "tallydrill/practice/window_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(const PaneRect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

TEST(MinimumSizeFix, Table) {
    struct Row {
        std::int32_t client_width, client_height, outer_width, outer_height;
        OuterSizeFix expected;
    };
    const Row rows[] = {
        {614, 391, 630, 450, {true, 630, 450}}, // the smallest window: set again, no change
        {500, 800, 516, 859, {true, 630, 859}},  {900, 300, 916, 359, {true, 916, 450}},
        {630, 450, 646, 509, {false, 646, 509}}, {629, 450, 645, 509, {true, 630, 509}},
        {630, 449, 646, 508, {true, 646, 450}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.client_width) + " x " + std::to_string(row.client_height));
        const OuterSizeFix fix = minimum_size_fix(row.client_width, row.client_height,
                                                  row.outer_width, row.outer_height);
        EXPECT_TRUE(fix.resize == row.expected.resize &&
                    fix.outer_width == row.expected.outer_width &&
                    fix.outer_height == row.expected.outer_height);
    }
}

TEST(PaneRects, Table) {
    struct Row {
        PaneRect actual;
        const char* expected;
    };
    const Row rows[] = {
        {start_button_rect(614, 391), "10,97 594x195"},
        {question_box_rect(614), "0,0 614x50"},
        {dora_display_label_rect(), "0,100 150x49"},
        {back_dora_label_rect(), "0,149 150x50"},
        {choice_button_rect(3), "50,370 550x30"},
        {choice_key_label_rect(2), "0,340 50x28"},
        {score_label_rect(), "50,285 150x30"},
        {score_input_rect(), "125,316 300x30"},
        {decide_button_rect(), "350,347 150x31"},
        {countdown_field_rect(1, 614), "204,50 204x25"},
        {countdown_field_rect(2, 614), "409,50 204x25"}, // 2W/3, not 2 * (W/3)
        {countdown_field_rect(5, 614), "409,75 204x25"},
        {explanation_box_created_rect(630, 450), "0,330 630x120"},
        {explanation_box_resized_rect(614, 391, 25), "0,246 614x145"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(text(row.actual), row.expected);
    }
}

TEST(ResultPaneLayout, Table) {
    struct Row {
        std::int32_t width, height, step;
        const char* expected; // explanation box, then fields 0 to 10
    };
    const Row rows[] = {
        {614, 391, 12,
         "0,280 614x53 | 0,50 26x24 | 65,50 46x12 | 150,50 55x12 | 266,50 55x12 | "
         "382,50 55x12 | 498,50 55x12 | 65,75 46x12 | 150,75 55x12 | 266,75 55x12 | "
         "382,75 55x12 | 498,75 55x12"},
        {630, 450, 0,
         "0,280 630x0 | 0,50 -10x0 | 65,50 10x0 | 150,50 0x0 | 270,50 0x0 | 390,50 0x0 | "
         "510,50 0x0 | 65,75 10x0 | 150,75 0x0 | 270,75 0x0 | 390,75 0x0 | 510,75 0x0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("step " + std::to_string(row.step));
        const ResultPaneLayout layout = result_pane_layout(row.width, row.height, row.step);
        std::string actual = text(layout.explanation_box);
        for (const PaneRect& field : layout.fields) {
            actual += " | " + text(field);
        }
        EXPECT_EQ(actual, row.expected);
    }
}

} // namespace

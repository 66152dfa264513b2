// Geometry of the practice window's child windows as arithmetic of the client size W x H.
#pragma once

#include <cstdint>

// A child window's place, in the x, y, width, height order that window placement takes.
struct PaneRect {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

inline bool operator==(const PaneRect& a, const PaneRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// The main window's outer size at creation and its minimum.
constexpr std::int32_t main_window_width = 630;
constexpr std::int32_t main_window_height = 450;

struct OuterSizeFix {
    bool resize;              // false: the window may keep its size
    std::int32_t outer_width; // the outer size to set, position unchanged
    std::int32_t outer_height;
};

// A client area below 630 in width or 450 in height springs back to that outer width or height.
// The client is smaller than the outer size, so the window can never be made smaller than
// 630 x 450 outside.
OuterSizeFix minimum_size_fix(std::int32_t client_width, std::int32_t client_height,
                              std::int32_t outer_width, std::int32_t outer_height);

PaneRect start_button_rect(std::int32_t client_width, std::int32_t client_height);

// Question pane.
PaneRect question_box_rect(std::int32_t client_width);
PaneRect dora_display_label_rect();
PaneRect back_dora_label_rect();

// Countdown pane, select-answer part: button and key label of slot 0..3.
PaneRect choice_button_rect(int slot);
PaneRect choice_key_label_rect(int slot);

// Countdown pane, direct-input part.
PaneRect score_label_rect();
PaneRect score_input_rect();
PaneRect decide_button_rect();

// The six countdown fields: 0 limit label, 1 limit value, 2 limit bar, 3 elapsed label,
// 4 elapsed value, 5 elapsed bar. The same places at creation and on resizing.
constexpr int countdown_field_count = 6;
PaneRect countdown_field_rect(int index, std::int32_t client_width);

// Result pane fields, in creation order.
enum ResultField : int {
    result_next_button = 0,
    result_timing_verdict = 1,
    result_limit_label = 2,
    result_limit_value = 3,
    result_elapsed_label = 4,
    result_elapsed_value = 5,
    result_answer_verdict = 6,
    result_right_answer_label = 7,
    result_right_answer_value = 8,
    result_your_answer_label = 9,
    result_your_answer_value = 10,
};
constexpr int result_field_count = 11;

// The explanation box as the result pane is built; its fields start with zero size.
PaneRect explanation_box_created_rect(std::int32_t client_width, std::int32_t client_height);

struct ResultPaneLayout {
    PaneRect explanation_box;
    PaneRect fields[result_field_count];
};

// The opening result pane at reveal step a (0..25), as every timer tick places it.
ResultPaneLayout result_pane_layout(std::int32_t client_width, std::int32_t client_height,
                                    std::int32_t reveal_step);

// On resizing, the explanation box goes to the bottom until the next tick puts it back.
PaneRect explanation_box_resized_rect(std::int32_t client_width, std::int32_t client_height,
                                      std::int32_t reveal_step);

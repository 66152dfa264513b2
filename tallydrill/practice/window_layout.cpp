#include "tallydrill/practice/window_layout.h"

namespace {

// The arithmetic is done in 64 bits, so no size makes it overflow, and narrowed the way 32-bit
// wrap-around would; real client sizes never come near the limit.
std::int32_t narrow(std::int64_t value) {
    const std::uint32_t low = static_cast<std::uint32_t>(value);
    return low <= 0x7FFFFFFFu ? static_cast<std::int32_t>(low)
                              : -static_cast<std::int32_t>(~low) - 1;
}

PaneRect rect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
    return PaneRect{narrow(x), narrow(y), narrow(width), narrow(height)};
}

} // namespace

OuterSizeFix minimum_size_fix(std::int32_t client_width, std::int32_t client_height,
                              std::int32_t outer_width, std::int32_t outer_height) {
    const bool narrow_client = client_width < main_window_width;
    const bool short_client = client_height < main_window_height;
    if (narrow_client && short_client) {
        return OuterSizeFix{true, main_window_width, main_window_height};
    }
    if (narrow_client) {
        return OuterSizeFix{true, main_window_width, outer_height};
    }
    if (short_client) {
        return OuterSizeFix{true, outer_width, main_window_height};
    }
    return OuterSizeFix{false, outer_width, outer_height};
}

PaneRect start_button_rect(std::int32_t client_width, std::int32_t client_height) {
    return rect(10, client_height / 4, std::int64_t{client_width} - 20, client_height / 2);
}

PaneRect question_box_rect(std::int32_t client_width) {
    return rect(0, 0, client_width, 50);
}
PaneRect dora_display_label_rect() {
    return rect(0, 100, 150, 49);
}
PaneRect back_dora_label_rect() {
    return rect(0, 149, 150, 50);
}

PaneRect choice_button_rect(int slot) {
    return rect(50, 280 + 30 * std::int64_t{slot}, 550, 30);
}
PaneRect choice_key_label_rect(int slot) {
    return rect(0, 280 + 30 * std::int64_t{slot}, 50, 28);
}

PaneRect score_label_rect() {
    return rect(50, 285, 150, 30);
}
PaneRect score_input_rect() {
    return rect(125, 316, 300, 30);
}
PaneRect decide_button_rect() {
    return rect(350, 347, 150, 31);
}

PaneRect countdown_field_rect(int index, std::int32_t client_width) {
    const std::int64_t column = index % 3;
    const std::int64_t row = index / 3;
    const std::int64_t w = client_width;
    return rect(w * column / 3, 50 + 25 * row, w / 3, 25);
}

PaneRect explanation_box_created_rect(std::int32_t client_width, std::int32_t client_height) {
    return rect(0, std::int64_t{client_height} - 120, client_width, 120);
}

ResultPaneLayout result_pane_layout(std::int32_t client_width, std::int32_t client_height,
                                    std::int32_t reveal_step) {
    const std::int64_t w = client_width;
    const std::int64_t h = client_height;
    const std::int64_t a = reveal_step;
    ResultPaneLayout layout{};
    layout.explanation_box = rect(0, 280, w, (h - 280) * a / 25);
    layout.fields[result_next_button] = rect(0, 50, 3 * a - 10, 2 * a);
    layout.fields[result_timing_verdict] = rect(65, 50, 3 * a + 10, a);
    layout.fields[result_answer_verdict] = rect(65, 75, 3 * a + 10, a);
    // Two rows of four label/value fields right of the verdicts.
    for (int k = 0; k < 4; ++k) {
        const std::int64_t x = (w - 150) * k / 4 + 150;
        const std::int64_t width = (w - 150) * a / 100;
        layout.fields[result_limit_label + k] = rect(x, 50, width, a);
        layout.fields[result_right_answer_label + k] = rect(x, 75, width, a);
    }
    return layout;
}

PaneRect explanation_box_resized_rect(std::int32_t client_width, std::int32_t client_height,
                                      std::int32_t reveal_step) {
    return rect(0, std::int64_t{client_height} - 120 - reveal_step, client_width,
                std::int64_t{reveal_step} + 120);
}

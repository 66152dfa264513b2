#include "tallydrill/tiles/tile_plan.h"

namespace {

constexpr std::int32_t dora_row_left = 150;
constexpr std::int32_t dora_row_top = 100;
constexpr std::int32_t back_dora_row_top = 149;
constexpr std::int32_t dora_tile_width = 33;
constexpr std::int32_t dora_tile_height = 49;
constexpr std::int32_t hand_row_top = 219;
constexpr std::int32_t first_concealed_left = 2;
constexpr std::int32_t winning_tile_gap = 4;
// A group's last tile is placed so that its right edge is at 618 (right column) or 476 (left
// column): 620 - width - 2 and 620 - width - 144, 144 being three upright widths, one sideways
// width and 6 pixels of gap.
constexpr std::int32_t group_edge_base = 620;
constexpr std::int32_t right_column_offset = 2;
constexpr std::int32_t left_column_offset = 144;
constexpr std::int32_t group_row_step = 80;
constexpr std::int32_t sideways_drop = 5;
constexpr std::int32_t stacked_lift = 34;

class PlanWriter {
  public:
    PlanWriter(TilePlan& plan, const TileCellTable& cells) : plan_(plan), cells_(cells) {}

    // Copies the code's cell at its own size; a code without a cell gives no copy.
    void copy_cell(TileCode code, std::int32_t x, std::int32_t y) {
        if (!is_picture_code(code)) {
            return;
        }
        const TileRect& cell = cells_.cells[code];
        add(code, TileRect{x, y, x + cell.width(), y + cell.height()});
    }

    void copy_stretched(TileCode code, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height) {
        if (!is_picture_code(code)) {
            return;
        }
        add(code, TileRect{x, y, x + width, y + height});
    }

  private:
    void add(TileCode code, const TileRect& destination) {
        // The copy count can never exceed its bound (one copy per list entry), but the writer
        // must not trust that.
        if (plan_.copy_count >= max_tile_copies) {
            return;
        }
        plan_.copies[plan_.copy_count++] = TileCopy{code, cells_.cells[code], destination};
    }

    TilePlan& plan_;
    const TileCellTable& cells_;
};

// Codes without a cell take an upright tile's width wherever the walk needs a width.
std::int32_t tile_width(const TileCellTable& cells, TileCode code) {
    return is_picture_code(code) ? cells.cells[code].width() : upright_tile_width;
}

void plan_dora_row(PlanWriter& writer, const TileCode* list, std::int32_t top) {
    std::int32_t x = dora_row_left;
    const std::size_t count = tile_list_length(list, dora_list_capacity);
    for (std::size_t i = 0; i < count; ++i) {
        writer.copy_stretched(list[i], x, top, dora_tile_width, dora_tile_height);
        x += dora_tile_width;
    }
}

// Draws the called groups from the last code of the hand leftwards, down to (not including) the
// first separator at index `first_separator`. `end` is the index of the 255 (or 32).
void plan_called_groups(PlanWriter& writer, const TileCellTable& cells, const TileCode* hand,
                        std::size_t first_separator, std::size_t end) {
    if (end <= first_separator + 1) {
        return; // no group, or a separator right before the end
    }
    std::int32_t x = group_edge_base - tile_width(cells, hand[end - 1]) - right_column_offset;
    std::int32_t y = hand_row_top;
    int separators_met = 0;
    // i > first_separator >= 0 throughout, so hand[i - 1] is always inside the hand.
    std::size_t i = end - 1;
    while (i > first_separator) {
        const TileCode code = hand[i];
        const TileCode left = hand[i - 1];
        if (is_separator_code(code)) {
            // Places: bottom right, top right, bottom left, top left, then further up on the
            // right.
            const bool left_column = separators_met == 1 || separators_met == 2;
            x = group_edge_base - tile_width(cells, left) -
                (left_column ? left_column_offset : right_column_offset);
            y = separators_met == 1 ? hand_row_top : y - group_row_step;
            ++separators_met;
            --i;
            continue;
        }
        if (is_upright_code(code)) {
            writer.copy_cell(code, x, y);
        } else if (code != left) {
            writer.copy_cell(code, x, y + sideways_drop);
        } else {
            // A called tile with the fourth added on top: the lower one is drawn last, over the
            // lower edge of the upper one, and the pair takes one place.
            writer.copy_cell(code, x, y + sideways_drop - stacked_lift);
            writer.copy_cell(code, x, y + sideways_drop);
            --i;
        }
        const TileCode next = hand[i - 1];
        if (is_picture_code(next)) {
            x -= tile_width(cells, next);
        }
        --i;
    }
}

} // namespace

TilePlan plan_tiles(const QuestionRecord& record, const TileCellTable& cells,
                    std::int32_t client_width) {
    TilePlan plan{};
    plan.dora_band = TileRect{150, 100, client_width, 205};
    plan.hand_band = TileRect{0, 200, client_width, 280};
    PlanWriter writer(plan, cells);

    plan_dora_row(writer, record.dora_indicators, dora_row_top);
    plan_dora_row(writer, record.back_dora, back_dora_row_top);

    std::int32_t x = first_concealed_left;
    std::size_t first_separator = 0;
    while (first_separator < hand_capacity && is_picture_code(record.hand[first_separator])) {
        const TileCode code = record.hand[first_separator];
        writer.copy_cell(code, x, hand_row_top);
        x += tile_width(cells, code);
        ++first_separator;
    }

    writer.copy_cell(record.winning_tile, x + winning_tile_gap, hand_row_top);

    plan_called_groups(writer, cells, record.hand, first_separator, hand_length(record));
    return plan;
}

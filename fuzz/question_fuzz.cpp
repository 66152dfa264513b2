// A question file of any length, its texts' line marks and its tile plan (bytes after the 820
// pick the width): every converted text ends inside its field; the plan holds at most its copies,
// each with a cell.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "tallydrill/questions/line_breaks.h"
#include "tallydrill/questions/question_record.h"
#include "tallydrill/tiles/tile_plan.h"

namespace {

void check_line_breaks(const char* field, size_t capacity) {
    ExactBuffer<char> text(field, capacity);
    convert_line_breaks(text.data(), text.size());
    FUZZ_CHECK(has_terminator(text.data(), text.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<QuestionRecord> record(new QuestionRecord);
    set_initial_question(*record);
    ExactBuffer<uint8_t> file(data, size);
    read_question_bytes(*record, file.data(), file.size());
    set_question_time_limit(*record, question_time_limit(*record));

    check_line_breaks(record->question_text, question_text_capacity);
    for (size_t entry = 0; entry < answer_count; ++entry) {
        answer_text(*record, entry);
        check_line_breaks(record->answers[entry], answer_text_capacity);
    }
    check_line_breaks(record->explanation, explanation_capacity);
    terminated_copy(record->explanation);

    std::int32_t width = 640;
    if (size >= question_record_size + sizeof width) {
        std::memcpy(&width, data + question_record_size, sizeof width);
    }
    static const TileCellTable cells = make_tile_cell_table();
    std::unique_ptr<TilePlan> plan(new TilePlan);
    *plan = plan_tiles(*record, cells, width);
    FUZZ_CHECK(plan->copy_count <= max_tile_copies);
    for (size_t i = 0; i < plan->copy_count; ++i) {
        FUZZ_CHECK(is_picture_code(plan->copies[i].code));
    }
    return 0;
}

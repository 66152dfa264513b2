// The practice program under Wine: question files, and the tiles read back from the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tallydrill/questions/question_record.h"

namespace practice_test {

// The built-in sample's tiles with this limit and these texts.
QuestionRecord make_question(std::int32_t time_limit, const std::string& question,
                             const std::vector<std::string>& answers,
                             const std::string& explanation);
std::string write_file(const std::string& name, const void* bytes, std::size_t size);
inline std::string write_question(const std::string& name, const QuestionRecord& record) {
    return write_file(name, &record, sizeof record);
}
// The source tree's tile bitmap as data/bp.bmp, unless there is one (an unpacked release's).
void provide_tile_bitmap();

// The client area on the screen against the tile plan for this record and these cells (a
// stretched pixel may come from a neighbouring source pixel; the rest of the bands green).
std::string tile_differences(HWND window, HBITMAP cells, const QuestionRecord& record);

} // namespace practice_test

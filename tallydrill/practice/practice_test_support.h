// The practice program under Wine: question files written by the test, and the tiles read
// back from the screen and compared with the bitmap's cells.
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
// Writes bytes to a file of the test's folder; gives its full path.
std::string write_file(const std::string& name, const void* bytes, std::size_t size);
std::string write_question(const std::string& name, const QuestionRecord& record);
// Copies the tile bitmap of the source tree to data/bp.bmp unless the folder has one already
// (an unpacked release has its own).
void provide_tile_bitmap();

// Compares the window's client area on the screen with the plan the drawing rules give for
// this record and these cells: every copy's visible part, dora rows stretched allowing a
// neighbouring source pixel, every other pixel of the bands green. One line per fault.
std::string tile_differences(HWND window, HBITMAP cells, const QuestionRecord& record);

} // namespace practice_test

// Loading a question: the open-file dialog and the reading of the chosen file into the record.
#pragma once

#include <windows.h>

#include <cstddef>

// The dialog's file-name buffer lives for the whole run, so each dialog opens on the previous
// choice; it holds "*.tt" at start-up.
constexpr std::size_t question_path_capacity = 256;
constexpr std::size_t question_title_capacity = 64;
const char* question_file_path();
void reset_question_file_path(); // back to "*.tt"

// Shows the dialog owned by `owner` and reads up to `record_size` bytes of the chosen file over
// the start of `record`; a short file leaves the rest as it was. Sets the owner's caption to the
// file title. Gives 1 when a file was read, 0 when the dialog was cancelled or the file cannot be
// opened ("Can not Open File" with the path).
int load_question_file(HWND owner, void* record, std::size_t record_size);

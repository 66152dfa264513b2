#include "tallydrill/practice/question_file.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "tallydrill/questions/question_record.h"

namespace {

constexpr char initial_path[] = "*.tt";
constexpr char dialog_filter[] = "Pointsmith question\0*.tt\0ALL FORMAT\0*.*\0";
constexpr char dialog_title[] = "Pointsmith question Data Load";

char chosen_path[question_path_capacity] = "*.tt";

bool choose_file(HWND owner, char (&title)[question_title_capacity]) {
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = dialog_filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen_path;
    dialog.nMaxFile = sizeof chosen_path;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = sizeof title;
    dialog.lpstrTitle = dialog_title;
    dialog.Flags = OFN_HIDEREADONLY;
    return GetOpenFileNameA(&dialog) != 0;
}

} // namespace

const char* question_file_path() {
    return chosen_path;
}

void reset_question_file_path() {
    std::memcpy(chosen_path, initial_path, sizeof initial_path);
}

int load_question_file(HWND owner, void* record, std::size_t record_size) {
    char title[question_title_capacity] = {};
    if (!choose_file(owner, title)) {
        return 0;
    }
    std::FILE* file = std::fopen(chosen_path, "rb");
    if (file == nullptr) {
        MessageBoxA(owner, chosen_path, "Can not Open File",
                    MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
        return 0;
    }
    // Read apart first: only the bytes the file has replace the record's.
    unsigned char bytes[question_record_size];
    const std::size_t wanted = record_size < sizeof bytes ? record_size : sizeof bytes;
    const std::size_t got = std::fread(bytes, 1, wanted, file);
    std::memcpy(record, bytes, got);
    SetWindowTextA(owner, title);
    std::fclose(file);
    return 1;
}

#include "layoutpress/documents/file_store.h"

#include <windows.h>

// rename() on Windows refuses an existing target; MoveFileEx replaces it, and write-through
// keeps the move from returning before it reached the disk.
bool replace_file(const char* source, const char* target) {
    if (source == nullptr || target == nullptr) {
        return false;
    }
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

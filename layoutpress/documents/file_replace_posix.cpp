#include "layoutpress/documents/file_store.h"

#include <cstdio>

// rename() replaces an existing target in one step on POSIX systems.
bool replace_file(const char* source, const char* target) {
    if (source == nullptr || target == nullptr) {
        return false;
    }
    return std::rename(source, target) == 0;
}

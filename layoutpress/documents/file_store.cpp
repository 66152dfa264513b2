#include "layoutpress/documents/file_store.h"

#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

FileReplacement file_replacement = replace_file;

// Writes the content and closes the file; whether all of it went through.
bool write_and_close(std::FILE* file, const ContentWriter& write_content) {
    bool written = write_content(file);
    written = std::fflush(file) == 0 && written;
    // fclose can be the first to report a full disk, so it counts as much as fwrite.
    return std::fclose(file) == 0 && written;
}

} // namespace

void set_file_replacement(FileReplacement replacement) {
    file_replacement = replacement != nullptr ? replacement : replace_file;
}

bool is_protected_file(const char* path) {
    if (path == nullptr || path[0] == '\0') {
        return false;
    }
#ifdef _WIN32
    return _access(path, 0) == 0 && _access(path, 2) != 0;
#else
    return access(path, F_OK) == 0 && access(path, W_OK) != 0;
#endif
}

bool write_file_replacing(const char* path, const void* data, size_t size) {
    if (data == nullptr && size != 0) {
        return false;
    }
    return write_file_replacing(path, [data, size](std::FILE* file) {
        return size == 0 || std::fwrite(data, 1, size, file) == size;
    });
}

bool write_file_replacing(const char* path, const ContentWriter& write_content) {
    if (path == nullptr || path[0] == '\0') {
        return false;
    }
    // A device or a pipe (/dev/null, /dev/stdout on a pipe) is written as it is: a replacement
    // would put a plain file in its place.
    struct stat status;
    if (stat(path, &status) == 0 && !S_ISREG(status.st_mode)) {
        std::FILE* file = std::fopen(path, "wb");
        return file != nullptr && write_and_close(file, write_content);
    }
    std::string target = path;
#ifndef _WIN32
    // A symbolic link stays a link: the file it leads to is the one replaced.
    char resolved[PATH_MAX];
    if (lstat(path, &status) == 0 && S_ISLNK(status.st_mode) && realpath(path, resolved)) {
        target = resolved;
    }
#endif
    // Beside the target, so that the final replacement stays within one folder.
    const std::string temporary = target + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    if (write_and_close(file, write_content) &&
        file_replacement(temporary.c_str(), target.c_str())) {
        return true;
    }
    std::remove(temporary.c_str());
    return false;
}

bool read_file_prefix(const char* path, void* buffer, size_t capacity, size_t* size_read) {
    if (size_read != nullptr) {
        *size_read = 0;
    }
    if (path == nullptr || (buffer == nullptr && capacity != 0)) {
        return false;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    size_t got = 0;
    if (capacity != 0) {
        got = std::fread(buffer, 1, capacity, file);
    }
    // A path that opens but cannot be read (a folder, on some systems) counts as unreadable,
    // so that every platform treats it alike.
    const bool readable = std::ferror(file) == 0;
    std::fclose(file);
    if (size_read != nullptr) {
        *size_read = got;
    }
    return readable;
}

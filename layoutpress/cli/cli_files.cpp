#include "layoutpress/cli/cli_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "layoutpress/documents/file_store.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

bool is_standard_stream(const std::string& path) {
    return path.empty() || path == "-";
}

void use_binary_mode(FILE* stream) {
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
}

std::string describe(const char* what, const std::string& path, int error_number) {
    std::string name = is_standard_stream(path) ? std::string("standard stream") : "'" + path + "'";
    std::string message = std::string("cannot ") + what + " " + name;
    if (error_number != 0) {
        message += ": ";
        message += std::strerror(error_number);
    }
    return message;
}

} // namespace

bool read_whole_input(const std::string& path, std::vector<uint8_t>& bytes, std::string* error) {
    bytes.clear();
    FILE* file = nullptr;
    if (is_standard_stream(path)) {
        file = stdin;
        use_binary_mode(stdin);
    } else {
        file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            *error = describe("read", path, errno);
            return false;
        }
    }
    // A file of known size is read straight into its place, with room for a terminator, so
    // that large documents are neither grown nor copied.
    if (file != stdin && std::fseek(file, 0, SEEK_END) == 0) {
        long size = std::ftell(file);
        if (size > 0) {
            bytes.reserve(static_cast<size_t>(size) + 1);
        }
        std::fseek(file, 0, SEEK_SET);
    }
    uint8_t piece[65536];
    size_t got = 0;
    while (bytes.capacity() > bytes.size() + 1) {
        size_t at = bytes.size();
        bytes.resize(bytes.capacity() - 1);
        got = std::fread(bytes.data() + at, 1, bytes.size() - at, file);
        bytes.resize(at + got);
        if (got == 0) {
            break;
        }
    }
    while ((got = std::fread(piece, 1, sizeof piece, file)) > 0) {
        bytes.insert(bytes.end(), piece, piece + got);
    }
    bool failed = std::ferror(file) != 0;
    int error_number = errno;
    if (file != stdin) {
        std::fclose(file);
    }
    if (failed) {
        *error = describe("read", path, error_number);
        return false;
    }
    return true;
}

bool write_whole_output(const std::string& path, const void* data, size_t size,
                        std::string* error) {
    if (!is_standard_stream(path)) {
        errno = 0;
        if (!write_file_replacing(path.c_str(), data, size)) {
            *error = describe("write", path, errno);
            return false;
        }
        return true;
    }
    use_binary_mode(stdout);
    errno = 0;
    bool written = std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0;
    if (!written) {
        *error = describe("write", path, errno);
    }
    return written;
}

std::vector<uint8_t> line_feeds_to_crlf(const std::vector<uint8_t>& text) {
    std::vector<uint8_t> result;
    result.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            result.push_back('\r');
        }
        result.push_back(text[i]);
    }
    return result;
}

std::vector<uint8_t> crlf_to_line_feeds(const char* text, size_t length) {
    std::vector<uint8_t> result;
    result.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') {
            continue;
        }
        result.push_back(static_cast<uint8_t>(text[i]));
    }
    return result;
}

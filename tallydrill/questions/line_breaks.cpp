#include "tallydrill/questions/line_breaks.h"

#include <cstring>
#include <memory>

void convert_line_breaks(char* field, std::size_t capacity) {
    if (field == nullptr || capacity == 0) {
        return;
    }
    // The result is built apart so the source is never read after being overwritten.
    std::unique_ptr<char[]> result(new char[capacity]());
    const std::size_t limit = capacity - 1; // room for the terminating NUL
    std::size_t in = 0;
    std::size_t out = 0;
    while (in < capacity && field[in] != '\0' && out < limit) {
        if (field[in] != '\\') {
            result[out++] = field[in++];
            continue;
        }
        if (limit - out < 2) {
            break;
        }
        result[out++] = '\r';
        result[out++] = '\n';
        // The follower goes with the backslash, whatever it is; a final backslash ends the text.
        if (in + 1 >= capacity || field[in + 1] == '\0') {
            break;
        }
        in += 2;
    }
    std::memcpy(field, result.get(), capacity);
}

// The line marks of the question texts: a backslash and the character after it stand for CR LF.
#pragma once

#include <cstddef>

// Rewrites the text of a field of `capacity` bytes in place, each backslash and its follower
// becoming CR LF. The result always ends with a NUL inside the field; a line break that would
// not fit before that NUL is dropped rather than split. Converting twice changes nothing.
void convert_line_breaks(char* field, std::size_t capacity);

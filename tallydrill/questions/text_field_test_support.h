// What the tests read out of a record's text fields: the lines a backslash breaks them into (it
// and the character after it end a line), and whole words or numbers inside them.
#pragma once

#include <cctype>
#include <string>
#include <vector>

inline std::vector<std::string> field_lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            lines.emplace_back();
            ++i;
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

// True when `word` stands in `text` with no letter or digit joined to either side.
inline bool has_word(const std::string& text, const std::string& word) {
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if ((at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]))) &&
            (end == text.size() || !std::isalnum(static_cast<unsigned char>(text[end])))) {
            return true;
        }
    }
    return false;
}

// The lines of a field fit a box of `most_lines` lines of `width` characters.
inline bool fits_lines(const std::string& text, std::size_t most_lines, std::size_t width) {
    const std::vector<std::string> lines = field_lines(text);
    for (const std::string& line : lines) {
        if (line.size() > width) {
            return false;
        }
    }
    return lines.size() <= most_lines;
}

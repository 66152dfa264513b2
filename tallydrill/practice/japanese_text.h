// The two Japanese captions of the direct-input part. They are kept as code page 932 bytes and
// shown through UTF-16, so they read right whatever the system's ANSI code page is.
#pragma once

#include <windows.h>

#include <cstddef>

// "点数入力" (score input) and "決定" (decide) in code page 932.
extern const char score_label_cp932[];
extern const char decide_button_cp932[];

struct WideCaption {
    wchar_t text[32];
};

// Code page 932 text up to its NUL as UTF-16. Uses the system's code page 932 table and, where
// that table is not installed, a built-in one that covers the program's own captions.
WideCaption cp932_to_wide(const char* text);

// A font that has the captions' characters whatever the system's code page: the face of the
// Japanese user interface, or any other font with the Japanese character set that the system
// finds in its place. Made on first use, kept for the run.
HFONT japanese_caption_font();
void delete_japanese_caption_font();

// The built-in table alone; other double-byte characters become "?".
WideCaption cp932_to_wide_built_in(const char* text);

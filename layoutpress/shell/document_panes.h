// The three document panes ("MyDB1" to "MyDB3"): each shows its document in a rich edit
// control and writes the user's edits back into the document's buffer.
#pragma once

#include <windows.h>

#include "layoutpress/documents/temporary_memory.h"

INT_PTR CALLBACK structure_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK text_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK binary_pane_proc(HWND pane, UINT message, WPARAM wparam, LPARAM lparam);

// How a document pane opens. placed_first (the program's way): the pane and its controls are
// moved to their layout, a scroll bar the text will need is shown, and then the controls are
// filled. as_templated: the controls are filled at the template's size 0 x 0 and laid out
// afterwards by layout_panes, the slower order that gives the same picture; the pixel test
// compares the two.
enum class PaneOpening { placed_first, as_templated };
void set_pane_opening(PaneOpening opening);

// The write-back: on a command notification, when the editor was modified since the last
// write-back, replaces the buffer's content with the editor's text (at most capacity - 1
// characters and a zero) and clears the editor's modified flag.
void sync_pane_editor(HWND pane, UINT message, int editor_id, TemporaryMemory& buffer);

// Writes a document pane's modified editor back at once; does nothing on the settings panes.
void flush_pane_editor(HWND pane);

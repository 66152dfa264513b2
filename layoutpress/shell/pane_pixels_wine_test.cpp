// The panes look the same whichever order they open in: F5, F6 and a change to each document
// tab, on documents that fill many screens, give the same pixels, caret, selection and scroll
// bars when the controls are filled at their template size and laid out afterwards, and when
// they are placed first and then filled (the program's way), except that the old order left
// the first line out of view (scroll_to_start below).
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/shell/document_panes.h"
#include "layoutpress/shell/main_window.h"
#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/shell_state.h"
#include "layoutpress/shell/tabs_panes.h"
#include "win32_test_support.h"

namespace {


// What a user sees of the window after a step.
struct Picture {
    std::vector<uint32_t> pixels; // the main window's client area
    int selected_tab = -1;
    POINT caret{};
    CHARRANGE selection{};
    SCROLLINFO vertical{};   // of the editor, all zero when the bar is hidden
    SCROLLINFO horizontal{}; // likewise
};

const int editor_ids[3] = {IDC_STRUCTURE_EDITOR, IDC_TEXT_EDITOR, IDC_DUMP_EDITOR};

SCROLLINFO shown_scroll_info(HWND editor, int bar) {
    SCROLLINFO info{};
    const LONG style = GetWindowLongA(editor, GWL_STYLE);
    if ((style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) == 0) {
        return info; // a hidden bar's range is nothing the user sees
    }
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(editor, bar, &info);
    return info;
}

// Filled at its template size 0 x 0, a rich edit control scrolls its first line out of the
// view to keep the caret "visible", and keeps that offset when it is sized: the old order
// showed long documents from their second line, with the caret above the view. The reference
// pictures are taken with the view back at the start, where the program's order leaves it.
void scroll_to_start(HWND pane) {
    for (int id : {IDC_STRUCTURE_EDITOR, IDC_TEXT_EDITOR, IDC_DUMP_EDITOR, IDC_CHAR_VIEW}) {
        if (HWND editor = GetDlgItem(pane, id)) {
            SendMessageA(editor, WM_VSCROLL, SB_TOP, 0);
        }
    }
}

bool operator==(const SCROLLINFO& a, const SCROLLINFO& b) {
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

Picture take_picture(HWND window, PaneOpening opening) {
    if (opening == PaneOpening::as_templated && current_pane != nullptr) {
        scroll_to_start(current_pane);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    win32_test::pump_until([] { return false; }, 50);
    Picture picture;
    picture.selected_tab = selected_tab();
    HWND editor = current_pane != nullptr && picture.selected_tab >= 0 && picture.selected_tab < 3
                      ? GetDlgItem(current_pane, editor_ids[picture.selected_tab])
                      : nullptr;
    if (editor != nullptr) {
        SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&picture.selection));
        picture.vertical = shown_scroll_info(editor, SB_VERT);
        picture.horizontal = shown_scroll_info(editor, SB_HORZ);
    }
    GetCaretPos(&picture.caret);
    // The blinking caret is compared by its place, not by whether it is drawn at this moment.
    HideCaret(nullptr);
    RECT client;
    GetClientRect(window, &client);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC window_dc = GetDC(window);
    HDC memory_dc = CreateCompatibleDC(window_dc);
    HBITMAP bitmap = CreateDIBSection(memory_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory_dc, bitmap);
    BitBlt(memory_dc, 0, 0, client.right, client.bottom, window_dc, 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t* first = static_cast<const uint32_t*>(bits);
    picture.pixels.assign(first, first + client.right * client.bottom);
    SelectObject(memory_dc, old);
    DeleteObject(bitmap);
    DeleteDC(memory_dc);
    ReleaseDC(window, window_dc);
    ShowCaret(nullptr);
    return picture;
}

void change_tab(HWND window, int tab) {
    select_tab(tab);
    NMHDR header{tab_control, 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

const char* const structure = "long a;\r\nshort b;\r\n";

// 1000 records: a text of some 20 screens (70 after F6 puts each value on a line of its
// own), a dump and a character view of some 15.
std::string records_text() {
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += (i == 0 ? " " : "\r\n ") + std::to_string(i * 7919 - 300000) + ", " +
                std::to_string(i % 600 - 300) + ",";
    }
    return text;
}

struct Step {
    const char* name;
    int command; // 0: a change to `tab`
    int tab;
};

const Step steps[] = {
    {"F5", IDM_TEXT_TO_BINARY, 0},
    {"F6", IDM_BINARY_TO_TEXT, 0},
    {"change to the data structure tab", 0, structure_document},
    {"change to the binary tab", 0, binary_document},
    {"change to the text tab", 0, text_document},
};

// The steps from the same documents and window, with the panes opening as given.
std::vector<Picture> pictures_of_steps(HWND window, PaneOpening opening) {
    set_pane_opening(opening);
    std::memset(struct_memory.data(), 0, struct_memory.capacity());
    std::memcpy(struct_memory.data(), structure, std::strlen(structure));
    const std::string text = records_text();
    std::memset(text_memory.data(), 0, text_memory.capacity());
    std::memcpy(text_memory.data(), text.c_str(), text.size());
    binary_length = 0;
    byte_adjust_memory.data()[0] = 0;
    show_tab(text_document);
    layout_panes(window);
    win32_test::pump_until([] { return false; }, 50);
    std::vector<Picture> pictures;
    for (const Step& step : steps) {
        if (step.command != 0) {
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(step.command, 1), 0);
        } else {
            change_tab(window, step.tab);
        }
        pictures.push_back(take_picture(window, opening));
    }
    set_pane_opening(PaneOpening::placed_first);
    return pictures;
}

size_t differing_pixels(const Picture& a, const Picture& b) {
    if (a.pixels.size() != b.pixels.size()) {
        return a.pixels.size() > b.pixels.size() ? a.pixels.size() : b.pixels.size();
    }
    size_t count = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        count += a.pixels[i] != b.pixels[i];
    }
    return count;
}

TEST(PanePixels, PanesPlacedBeforeTheyAreFilledLookAsThoseLaidOutAfterwards) {
    ASSERT_EQ(load_settings("sys.sys"), SettingsOutcome::created);
    INITCOMMONCONTROLSEX controls{sizeof controls, 0x1D};
    InitCommonControlsEx(&controls);
    register_main_window_class(GetModuleHandleA(nullptr));
    HWND window = create_main_window(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    const std::vector<Picture> reference = pictures_of_steps(window, PaneOpening::as_templated);
    const std::vector<Picture> placed = pictures_of_steps(window, PaneOpening::placed_first);
    ASSERT_EQ(reference.size(), placed.size());
    for (size_t i = 0; i < reference.size(); ++i) {
        SCOPED_TRACE(steps[i].name);
        const Picture& a = reference[i];
        const Picture& b = placed[i];
        EXPECT_EQ(a.selected_tab, b.selected_tab);
        EXPECT_EQ(differing_pixels(a, b), 0u);
        EXPECT_EQ(a.caret.x, b.caret.x);
        EXPECT_EQ(a.caret.y, b.caret.y);
        EXPECT_EQ(a.selection.cpMin, b.selection.cpMin);
        EXPECT_EQ(a.selection.cpMax, b.selection.cpMax);
        EXPECT_TRUE(a.vertical == b.vertical);
        EXPECT_TRUE(a.horizontal == b.horizontal);
        // Placed first, the editor shows the start of the text with the caret in it.
        EXPECT_EQ(b.vertical.nPos, 0);
        EXPECT_GE(b.caret.y, 0);
    }
    // The pictures show the documents: the binary pane after F5 is not the text pane after F6,
    // and the long text needs its vertical scroll bar.
    EXPECT_EQ(reference[0].selected_tab, binary_document);
    EXPECT_NE(differing_pixels(reference[0], reference[1]), 0u);
    EXPECT_GT(reference[1].vertical.nMax, static_cast<int>(reference[1].vertical.nPage));
    DestroyWindow(window);
}

} // namespace

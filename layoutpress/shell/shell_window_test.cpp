// The converter's real main window in the test's own process, made as at start-up from a fresh
// sys.sys and driven by messages; its dialogs are answered from a second thread.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/buffers_test_support.h"
#include "layoutpress/documents/document_files.h"
#include "layoutpress/documents/memory_resize.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/documents/temporary_memory.h"
#include "layoutpress/shell/document_panes.h"
#include "layoutpress/shell/main_window.h"
#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/shell_state.h"
#include "layoutpress/shell/tabs_panes.h"
#include "testing/files/test_files.h"
#include "win32_test_support.h"

namespace {

using Lines = std::vector<std::string>;
using test_files::u32_at;
using win32_test::answer_dialogs;
using win32_test::choose_file;
using win32_test::press;

const char* const two_shorts = "short a;\r\nshort b;\r\n";
const std::string binary_problem = "ERROR!: binary format data has problem.";

std::string too_small(const char* what, size_t needed, int row, uint32_t capacity = 255) {
    char text[300];
    memory_too_small_text(text, sizeof text, what, needed, row, capacity);
    return "ERROR!: " + std::string(text);
}

void put_text(TemporaryMemory& buffer, const std::string& text) {
    std::memset(buffer.data(), 0, buffer.capacity());
    std::strncpy(buffer.text(), text.c_str(), buffer.capacity() - 1);
}

class ShellWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(load_settings("sys.sys"), SettingsOutcome::created);
        INITCOMMONCONTROLSEX controls{sizeof controls, 0x1D};
        InitCommonControlsEx(&controls);
        register_main_window_class(GetModuleHandleA(nullptr)); // false when already there
        window = create_main_window(GetModuleHandleA(nullptr));
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
    }

    void TearDown() override {
        set_storage_request(nullptr);
        if (window != nullptr && IsWindow(window)) {
            DestroyWindow(window);
        }
        win32_test::pump_until([] { return true; }, 0);
    }

    void click_tab(int tab) {
        RECT r;
        SendMessageA(tab_control, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(tab_control, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(tab_control, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(selected_tab(), tab);
    }

    void command(int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    HWND item(int id) const { return GetDlgItem(current_pane, id); }
    std::string text(int id) const { return win32_test::window_text(item(id)); }
    void set_text(int id, const std::string& value) { SetWindowTextA(item(id), value.c_str()); }
    void click(int id) { SendMessageA(item(id), BM_CLICK, 0, 0); }
    // Replaces an editor's text as the user types it: the editor then counts as modified.
    void type_into(int id, const std::string& typed) {
        SendMessageA(item(id), EM_SETSEL, 0, -1);
        SendMessageA(item(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed.c_str()));
    }
    void expect_boxes(const std::function<void()>& action, const Lines& expected) {
        EXPECT_EQ(
            answer_dialogs(std::vector<win32_test::Answer>(expected.size(), press(IDOK)), action),
            expected);
    }
    std::string file(const char* name) const { return win32_test::full_path(name); }

    HWND window = nullptr;
};

struct View {
    win32_test::Picture picture;
    std::string state;
    int caret_y;
    int scroll_position;
};

View look(HWND window, PaneOpening opening) {
    const int editors[] = {IDC_STRUCTURE_EDITOR, IDC_TEXT_EDITOR, IDC_DUMP_EDITOR, IDC_CHAR_VIEW};
    if (opening == PaneOpening::as_templated) {
        // Filled at 0 x 0, a rich edit control scrolls its first line out of view to keep
        // the caret "visible", and keeps that offset when it is sized.
        for (int id : editors) {
            SendMessageA(GetDlgItem(current_pane, id), WM_VSCROLL, SB_TOP, 0);
        }
    }
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    win32_test::pump_until([] { return false; }, 50);
    const int tab = selected_tab();
    HWND editor = GetDlgItem(current_pane, editors[tab]);
    CHARRANGE selection{};
    SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    POINT caret{};
    GetCaretPos(&caret);
    View view{{}, "", caret.y, GetScrollPos(editor, SB_VERT)};
    SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
    const bool shown = (GetWindowLongA(editor, GWL_STYLE) & WS_VSCROLL) != 0 &&
                       GetScrollInfo(editor, SB_VERT, &bar); // a hidden bar's range is not seen
    view.state =
        "tab " + std::to_string(tab) + " caret " + std::to_string(caret.x) + "," +
        std::to_string(caret.y) + " selection " + std::to_string(selection.cpMin) + "-" +
        std::to_string(selection.cpMax) + " vertical " +
        (shown ? std::to_string(bar.nMax) + " page " + std::to_string(bar.nPage) : "hidden");
    HideCaret(nullptr); // compared by its place, not by whether it is drawn at this moment
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    view.picture = win32_test::picture_of_dc(dc, 0, 0, client.right, client.bottom);
    ReleaseDC(window, dc);
    ShowCaret(nullptr);
    return view;
}

const struct {
    const char* name;
    int command; // 0: a change to `tab`, as a click gives it
    int tab;
} steps[] = {
    {"F5", IDM_TEXT_TO_BINARY, 0},
    {"F6", IDM_BINARY_TO_TEXT, 0},
    {"change to the data structure tab", 0, structure_document},
    {"change to the binary tab", 0, binary_document},
    {"change to the text tab", 0, text_document},
};

// The steps from the same documents and window, with the panes opening as given: 1000
// records, a text of some 20 screens (70 after F6), a dump and a character view of some 15.
std::vector<View> views_of_steps(HWND window, PaneOpening opening) {
    set_pane_opening(opening);
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += (i == 0 ? " " : "\r\n ") + std::to_string(i * 7919 - 300000) + ", " +
                std::to_string(i % 600 - 300) + ",";
    }
    put_text(struct_memory, "long a;\r\nshort b;\r\n");
    put_text(text_memory, text);
    binary_length = 0;
    byte_adjust_memory.data()[0] = 0;
    show_tab(text_document);
    layout_panes(window);
    std::vector<View> views;
    for (const auto& step : steps) {
        if (step.command != 0) {
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(step.command, 1), 0);
        } else {
            select_tab(step.tab);
            NMHDR header{tab_control, 0, static_cast<UINT>(TCN_SELCHANGE)};
            SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        }
        views.push_back(look(window, opening));
    }
    set_pane_opening(PaneOpening::placed_first);
    return views;
}

// A failing conversion ends on the tab to look at, its document shown as it was.
TEST_F(ShellWindow, ConversionsEndOnTheDocumentToLookAtAndSayWhatWentWrong) {
    struct Row {
        std::string documents[3]; // structure, text, dump
        int command;
        int end_tab;
        std::string box;
        int32_t length_after;
    };
    const int f5 = IDM_TEXT_TO_BINARY;
    std::string hundred_sevens;
    for (int i = 0; i < 100; ++i) {
        hundred_sevens += "7,";
    }
    // clang-format off
    const Row rows[] = {
        {{"", "1,", ""}, f5, 0, "ERROR!: data structure has problem.", 99},
        {{two_shorts, ",,,", "AA "}, f5, 1, "ERROR!: text format data has problem.", 0},
        {{two_shorts, "", "01 0G "}, IDM_BINARY_TO_TEXT, 2, binary_problem, 0},
        // The new bytes are kept, the old dump still shown.
        {{"char a;", hundred_sevens, "AA BB "}, f5, 2, too_small("dump", 313, 3), 100},
    };
    // clang-format on
    byte_adjust_memory.release();
    ASSERT_TRUE(byte_adjust_memory.allocate(255));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box);
        put_text(struct_memory, row.documents[0]);
        put_text(text_memory, row.documents[1]);
        put_text(byte_adjust_memory, row.documents[2]);
        binary_length = 99;
        click_tab(4);
        expect_boxes([&] { command(row.command); }, {row.box});
        EXPECT_EQ(selected_tab(), row.end_tab);
        EXPECT_EQ(binary_length, row.length_after);
        EXPECT_EQ(text(300 + row.end_tab), row.documents[row.end_tab]);
    }
}

// Saved through Save As with its own file settings and opened back; then every refusal says so
// and leaves the document, its file and the files on disk as they were.
TEST_F(ShellWindow, DocumentsAreSavedOpenedAndRefusedThroughTheirDialogs) {
    EXPECT_EQ(answer_dialogs(std::vector<win32_test::Answer>(3, win32_test::cancel()),
                             [&] { command(IDM_SAVE_ALL); }),
              (Lines{"save data structure file", "save text format data file",
                     "save binary format data file"}));
    std::strcpy(settings.ini_file_name[1], "start.dat");
    std::memcpy(settings.file_filter[1], "Data\0*.dat\0Everything\0*.*\0\0", 28);
    const std::string values = file("values");
    Lines seen;
    auto look_and_choose = [&](HWND dialog) {
        seen = win32_test::offered_files(dialog);
        choose_file(values)(dialog);
    };
    click_tab(1);
    type_into(IDC_TEXT_EDITOR, "1,2\r\n");
    click_tab(4);
    answer_dialogs({look_and_choose}, [&] { command(IDM_SAVE_AS_TEXT); });
    EXPECT_EQ(selected_tab(), 1) << "a file command ends on its document";
    EXPECT_EQ(seen, (Lines{"Data*", "Everything", "start.dat"}));
    EXPECT_EQ(test_files::read_all(values), test_files::bytes_of("1,2\r\n"));
    command(IDM_NEW_SELECTED);
    answer_dialogs({look_and_choose}, [&] { command(IDM_OPEN_SELECTED); });
    EXPECT_EQ(seen.back(), "start.dat") << "the INI FILE text, not the current file's name";
    EXPECT_EQ(text(IDC_TEXT_EDITOR), "1,2\r\n");

    const std::string locked = file("locked.txt");
    const std::string missing = file("missing.txt");
    const std::string gone = file("gone\\data.txt");
    const std::string big = file("big.txt");
    test_files::write_all(locked, "old");
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    test_files::write_all(big, std::string(30000, 'x'));
    const std::string cannot_open = "Can not Open File: ";
    const std::string open_title = "open text format data file";
    auto open = [&] { command(IDM_OPEN_TEXT); };
    EXPECT_EQ(answer_dialogs({win32_test::cancel()}, open), Lines{open_title});
    EXPECT_EQ(answer_dialogs({choose_file(missing), press(IDOK)}, open),
              (Lines{open_title, cannot_open + missing}));
    EXPECT_EQ(answer_dialogs({choose_file(big), press(IDOK)}, open),
              (Lines{open_title, too_small("file", 30000, 1, 29999)}));
    EXPECT_EQ(
        answer_dialogs({choose_file(locked), press(IDOK)}, [&] { command(IDM_SAVE_AS_TEXT); }),
        (Lines{"save text format data file", cannot_open + locked}));
    EXPECT_EQ(text(IDC_TEXT_EDITOR), "1,2\r\n");
    EXPECT_EQ(text(IDC_TEXT_PATH), values);
    std::strcpy(document_path[1], gone.c_str());
    expect_boxes([&] { command(IDM_SAVE_TEXT); }, {cannot_open + gone});
    EXPECT_STREQ(document_path[1], gone.c_str());
    // A dump that cannot be read back saves nothing: no dialog, the message only.
    std::strcpy(document_path[2], locked.c_str());
    click_tab(2);
    type_into(IDC_DUMP_EDITOR, "41 4G ");
    expect_boxes([&] { command(IDM_SAVE_BINARY); }, {binary_problem});

    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test_files::read_all(locked), test_files::bytes_of("old"));
    EXPECT_EQ(GetFileAttributesA((locked + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(file("gone").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Long documents after F5, F6 and each tab change look the same whether the controls were
// filled at their template size and laid out afterwards, or placed first (the program's way).
TEST_F(ShellWindow, PanesPlacedBeforeTheyAreFilledLookAsThoseLaidOutAfterwards) {
    UpdateWindow(window);

    const std::vector<View> old_order = views_of_steps(window, PaneOpening::as_templated);
    const std::vector<View> placed = views_of_steps(window, PaneOpening::placed_first);
    for (size_t i = 0; i < placed.size(); ++i) {
        SCOPED_TRACE(steps[i].name);
        EXPECT_EQ(placed[i].state, old_order[i].state);
        EXPECT_TRUE(placed[i].picture.pixels == old_order[i].picture.pixels) << "pixels differ";
        EXPECT_EQ(placed[i].scroll_position, 0);
        EXPECT_GE(placed[i].caret_y, 0);
    }
    EXPECT_EQ(placed[0].state.substr(0, 5), "tab 2");
    EXPECT_TRUE(placed[0].picture.pixels != placed[1].picture.pixels);
    EXPECT_EQ(placed[1].state.find("vertical hidden"), std::string::npos) << placed[1].state;
}

// The text row is refused its largest size; the binary row, set in the same click, goes on.
TEST_F(ShellWindow, AMemoryThatCannotBeEnlargedKeepsItsStorageAndSaysSo) {
    const uint32_t kept = text_memory.capacity();
    const uint32_t other_size = byte_memory.capacity() + 100;
    put_text(text_memory, "kept");
    const uint8_t* storage = text_memory.data();
    click_tab(3);
    const uint32_t refused_size = memory_row_largest(1);
    set_text(IDC_TEXT_CAPACITY, std::to_string(refused_size));
    set_text(IDC_BYTE_CAPACITY, std::to_string(other_size));
    test_buffers::ration([refused_size](size_t size, size_t) { return size == refused_size; });
    char refused[200];
    memory_not_resized_text(refused, sizeof refused, 1, refused_size, kept);
    expect_boxes([&] { click(IDC_MEMORY_SETTING); }, {"ERROR!: " + std::string(refused)});
    EXPECT_EQ(text_memory.data(), storage);
    EXPECT_STREQ(text_memory.text(), "kept");
    EXPECT_EQ(text(IDC_TEXT_CAPACITY), std::to_string(kept)) << "the field shows what it holds";
    EXPECT_EQ(byte_memory.capacity(), other_size) << "the other row goes on";
    const test_files::Bytes stored = test_files::read_all("sys.sys");
    EXPECT_EQ(u32_at(stored, 516), kept);
    EXPECT_EQ(u32_at(stored, 520), other_size);
}

// A read-only sys.sys keeps its bytes and is reported once per opening of each pane.
TEST_F(ShellWindow, AnUnwritableSettingsFileIsReportedOncePerPane) {
    const test_files::Bytes old_bytes = test_files::read_all("sys.sys");
    ASSERT_TRUE(SetFileAttributesA("sys.sys", FILE_ATTRIBUTE_READONLY));
    const int buttons[3] = {IDC_MEMORY_SETTING, IDC_ORGANIZATION_SETTING, IDC_FILE_FORMAT_SETTING};
    for (int pane = 0; pane < 3; ++pane) {
        click_tab(3 + pane);
        set_text(IDC_STRUCT_CAPACITY, "1000");
        expect_boxes([&] { click(buttons[pane]), click(buttons[pane]); },
                     {"ERROR!: sys.sys can not be written; the settings stay in force until the "
                      "program ends."});
    }
    EXPECT_EQ(struct_memory.capacity(), 1000u) << "the settings stay in force";
    SetFileAttributesA("sys.sys", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test_files::read_all("sys.sys"), old_bytes);
}

// DECIMAL whose dump would not fit the display memory keeps the old form and dump.
TEST_F(ShellWindow, ADumpFormThatDoesNotFitIsNotTaken) {
    click_tab(4);
    byte_adjust_memory.release(); // 100 bytes: 300 characters in hexadecimal, > 400 in decimal
    ASSERT_TRUE(byte_adjust_memory.allocate(400));
    binary_length = 100;
    std::strcpy(byte_adjust_memory.text(), "kept");
    click(IDC_DECIMAL_RADIO);
    answer_dialogs({press(IDOK)}, [&] { click(IDC_ORGANIZATION_SETTING); });
    EXPECT_EQ(settings.binary_output_mode, Hexadecimal);
    EXPECT_STREQ(byte_adjust_memory.text(), "kept");
    EXPECT_EQ(IsDlgButtonChecked(current_pane, IDC_HEXADECIMAL_RADIO), BST_CHECKED);
}

// Start-up where a work memory cannot be had: said, nothing held, ends with 1, no window.
TEST(LayoutpressStart, SaysWhichMemoryCannotBeAllocated) {
    test_buffers::ration([](size_t, size_t earlier) { return earlier >= 2; }); // two granted
    int code = 0;
    EXPECT_EQ(answer_dialogs({press(IDOK)},
                             [&] { code = run_layoutpress(GetModuleHandleA(nullptr), SW_SHOW); }),
              Lines{"Error: byte_memory can not be allocated.\nLower its size in sys.sys, or "
                    "delete sys.sys to start with the default memory sizes."});
    EXPECT_EQ(code, 1);
    set_storage_request(nullptr);
    EXPECT_EQ(FindWindowA("MyWin", nullptr), nullptr) << "no window was made";
    for (TemporaryMemory* memory : {&struct_memory, &text_memory, &byte_memory, &byte_adjust_memory,
                                    &scratch_memory, &char_view_memory}) {
        EXPECT_EQ(memory->capacity(), 0u);
    }
}

} // namespace

// The converter's real main window, panes, commands and file dialogs in the test's own process
// under Wine, made as the program makes it at start-up with the default memories of a fresh
// sys.sys and driven by messages as the user drives it; message boxes and file dialogs are
// answered from a second thread and what they showed is checked.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/binary_display.h"
#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/document_files.h"
#include "layoutpress/documents/memory_resize.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/documents/temporary_memory.h"
#include "layoutpress/shell/document_panes.h"
#include "layoutpress/shell/main_window.h"
#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/shell_state.h"
#include "layoutpress/shell/status_bar.h"
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
const char* const two_records = " 1, 2,\r\n 3, 4,";
const char* const two_records_dump = "01 00 02 00 03 00 04 00 ";
const std::string structure_problem = "ERROR!: data structure has problem.";
const std::string text_problem = "ERROR!: text format data has problem.";
const std::string binary_problem = "ERROR!: binary format data has problem.";
TemporaryMemory* const row_memories[4] = {&struct_memory, &text_memory, &byte_memory,
                                          &byte_adjust_memory};

std::string too_small(const char* what, size_t needed, int row, uint32_t capacity = 255) {
    char text[300];
    memory_too_small_text(text, sizeof text, what, needed, row, capacity);
    return "ERROR!: " + std::string(text);
}

void put_text(TemporaryMemory& buffer, const std::string& text) {
    std::memset(buffer.data(), 0, buffer.capacity());
    std::strncpy(buffer.text(), text.c_str(), buffer.capacity() - 1);
}

std::string repeat(const char* piece, int times) {
    std::string text;
    while (times-- > 0) {
        text += piece;
    }
    return text;
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

    // A click in the middle of the tab, as the user gives it.
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
    std::string status_part(int part) const {
        char buffer[128] = {};
        SendMessageA(memory_status_bar(), SB_GETTEXTA, part, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    // Runs the action with the expected message boxes answered OK and checks what they said.
    void expect_boxes(const std::function<void()>& action, const Lines& expected) {
        EXPECT_EQ(
            answer_dialogs(std::vector<win32_test::Answer>(expected.size(), press(IDOK)), action),
            expected);
    }
    std::string file(const char* name) const { return win32_test::full_path(name); }

    HWND window = nullptr;
};

// What a user sees of the window after a step: its client area, and the selected tab and
// the editor's caret, selection and visible scroll bars as text.
struct View {
    win32_test::Picture picture;
    std::string state;
    int caret_y;
    int scroll_position;
};

std::string scroll_bar(HWND editor, int bar) {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    const LONG style = GetWindowLongA(editor, GWL_STYLE);
    if ((style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) == 0 ||
        !GetScrollInfo(editor, bar, &info)) {
        return " hidden"; // a hidden bar's range is nothing the user sees
    }
    return " " + std::to_string(info.nMin) + "-" + std::to_string(info.nMax) + " page " +
           std::to_string(info.nPage) + " at " + std::to_string(info.nPos);
}

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
    view.state = "tab " + std::to_string(tab) + " caret " + std::to_string(caret.x) + "," +
                 std::to_string(caret.y) + " selection " + std::to_string(selection.cpMin) + "-" +
                 std::to_string(selection.cpMax) + " vertical" + scroll_bar(editor, SB_VERT) +
                 " horizontal" + scroll_bar(editor, SB_HORZ);
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

// "update" reads an edited dump back and builds the character view again.
TEST_F(ShellWindow, UpdateReadsTheDumpBack) {
    click_tab(2);
    EXPECT_EQ(GetFocus(), item(IDC_DUMP_EDITOR));
    type_into(IDC_DUMP_EDITOR, "41 0D 0A 42 09 00 ");
    click(IDC_UPDATE);
    EXPECT_EQ(binary_length, 6);
    EXPECT_EQ(text(IDC_CHAR_VIEW), "A  B  ");
    EXPECT_EQ(text(IDC_DUMP_EDITOR), "41 0D 0A 42 09 00 ") << "the dump is left as typed";
    type_into(IDC_DUMP_EDITOR, "4G ");
    expect_boxes([&] { click(IDC_UPDATE); }, {binary_problem});
    EXPECT_EQ(binary_length, 0);
}

// The buffers before, a conversion, the tab it ends on, the boxes it shows, the count of
// bytes after it and the start of what the editor of that tab shows.
TEST_F(ShellWindow, ConversionsEndOnTheDocumentToLookAtAndSayWhatWentWrong) {
    struct Row {
        const char* structure;
        std::string text;
        std::string dump;
        TemporaryMemory* small; // given 255 bytes only
        int command;
        int end_tab;
        Lines boxes;
        int32_t length_after;
        const char* shown;
    };
    const int f5 = IDM_TEXT_TO_BINARY;
    const int f6 = IDM_BINARY_TO_TEXT;
    // clang-format off
    const Row rows[] = {
        {"", two_records, "", nullptr, f5, 0, {structure_problem}, 99, ""},
        {two_shorts, "", "", nullptr, f5, 1, {text_problem}, 99, ""},
        {two_shorts, ",,,", "AA ", nullptr, f5, 1, {text_problem}, 0, ",,,"},
        {two_shorts, two_records, "", nullptr, f5, 2, {}, 8, two_records_dump},
        {"", "", two_records_dump, nullptr, f6, 0, {structure_problem}, 99, ""},
        {two_shorts, "", "", nullptr, f6, 2, {binary_problem}, 99, ""},
        {two_shorts, "", "01 0G ", nullptr, f6, 2, {binary_problem}, 0, "01 0G "},
        {two_shorts, "old", two_records_dump, nullptr, f6, 1, {}, 8, " 1, 2,\r\n 3, 4,"},
        {"short a;", repeat("7,", 200), "", &byte_memory, f5, 1, {too_small("binary data", 400, 2)}, 0, "7,7,"},
        // The new bytes are kept, the old dump still shown.
        {"char a;", repeat("7,", 100), "AA BB ", &byte_adjust_memory, f5, 2, {too_small("dump", 313, 3)}, 100, "AA BB "},
        // 100 lines " 255," with CR LF between them and the terminator; the text so far shown.
        {"unsigned char a;", "", repeat("FF ", 100), &text_memory, f6, 1, {too_small("text", 699, 1)}, 100, " 255,\r\n 255,"},
        {"unsigned char a;", "", repeat("01 ", 300), &byte_memory, f6, 2, {binary_problem, too_small("binary data", 300, 2)}, 0, "01 01 "},
    };
    // clang-format on
    settings.organize_space = 0;
    settings.organize_line_feed = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.structure << " / " << row.text.substr(0, 9)
                                          << " / " << row.dump.substr(0, 9));
        for (TemporaryMemory* memory : row_memories) {
            memory->release();
            ASSERT_TRUE(memory->allocate(memory == row.small ? 255 : 30000));
        }
        put_text(struct_memory, row.structure);
        put_text(text_memory, row.text);
        put_text(byte_adjust_memory, row.dump);
        binary_length = 99;
        click_tab(4);
        expect_boxes([&] { command(row.command); }, row.boxes);
        EXPECT_EQ(selected_tab(), row.end_tab);
        EXPECT_EQ(binary_length, row.length_after);
        EXPECT_EQ(text(300 + row.end_tab).substr(0, std::strlen(row.shown)), row.shown);
    }
}

// Each document saved through Save As, saved again to its file without a dialog, and opened
// back; the text document with file settings of its own, which its dialogs must offer.
TEST_F(ShellWindow, DocumentsAreSavedAndOpenedThroughTheirDialogs) {
    std::strcpy(settings.ini_file_name[1], "start.dat");
    std::memcpy(settings.file_filter[1], "Data\0*.dat\0Everything\0*.*\0\0", 28);
    const char* names[3] = {"record.str", "values", "data.bin"};
    const Lines offered[3] = {{"Struct*", "Text", "Binary", "ALL", "*.str"},
                              {"Data*", "Everything", "start.dat"},
                              {"Binary*", "Struct", "Text", "ALL", "*.bin"}};
    const char* typed[3] = {"long a;\r\n", "1,2\r\n", "41 42 00 0D 0A\r\nFF "};
    const std::string saved[3] = {"long a;\r\n", "1,2\r\n", std::string("AB\0\r\n\xff", 6)};
    const Lines save_titles = {"save data structure file", "save text format data file",
                               "save binary format data file"};
    put_text(struct_memory, "kept");
    click_tab(5); // where the commands of the selected document do nothing
    expect_boxes(
        [&] {
            for (int id : {IDM_NEW_SELECTED, IDM_OPEN_SELECTED, IDM_CLOSE_SELECTED,
                           IDM_SAVE_SELECTED, IDM_SAVE_AS_SELECTED}) {
                command(id);
            }
        },
        {});
    EXPECT_STREQ(struct_memory.text(), "kept");
    EXPECT_EQ(answer_dialogs(std::vector<win32_test::Answer>(3, win32_test::cancel()),
                             [&] { command(IDM_SAVE_ALL); }),
              save_titles);
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(names[kind]);
        const std::string path = file(names[kind]);
        Lines seen;
        auto look_and_choose = [&](HWND dialog) {
            seen = win32_test::offered_files(dialog);
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 0x410))) << "no read-only box";
            choose_file(path)(dialog);
        };
        click_tab(kind);
        type_into(300 + kind, typed[kind]);
        click_tab(4);
        EXPECT_EQ(answer_dialogs({look_and_choose}, [&] { command(IDM_SAVE_AS_STRUCTURE + kind); }),
                  Lines{save_titles[kind]});
        EXPECT_EQ(selected_tab(), kind) << "a file command ends on its document";
        EXPECT_EQ(seen, offered[kind]);
        EXPECT_EQ(test_files::read_all(path), test_files::bytes_of(saved[kind]));
        EXPECT_EQ(text(320 + kind), path);
        EXPECT_EQ(text(317 + kind), names[kind]);
        command(IDM_NEW_SELECTED);
        EXPECT_EQ(answer_dialogs({look_and_choose}, [&] { command(IDM_OPEN_SELECTED); }).size(),
                  1u);
        EXPECT_EQ(seen, offered[kind]) << "the INI FILE text, not the current file's name";
        EXPECT_EQ(text(300 + kind), kind == 2 ? "41 42 00 0D 0A FF " : typed[kind]);
        CHARRANGE selection{-1, -1};
        SendMessageA(item(300 + kind), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        EXPECT_EQ(selection.cpMax, 0) << "the caret stands at the start after Open";
    }
    // Save to the known file asks nothing, and reads the dump in the form in force.
    settings.binary_output_mode = Decimal;
    type_into(IDC_DUMP_EDITOR, "65 0 255 ");
    expect_boxes([&] { command(IDM_SAVE_SELECTED); }, {});
    EXPECT_EQ(test_files::read_all(names[2]), test_files::bytes_of(std::string("A\0\xff", 3)));
}

// Cancelled dialogs, a missing file, a file too large for its memory, a read-only target, a
// folder gone and a dump that cannot be read: each says so, and the document, its file and
// the files on disk stay as they were.
TEST_F(ShellWindow, RefusedFilesKeepTheDocumentAndTheFiles) {
    const std::string locked = file("locked.txt");
    const std::string missing = file("missing.txt");
    const std::string gone = file("gone\\data.txt");
    const std::string big = file("big.txt");
    test_files::write_all(locked, "old");
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    test_files::write_all(big, std::string(30000, 'x'));
    const std::string cannot_open = "Can not Open File: ";
    const std::string open_title = "open text format data file";
    const std::string save_title = "save text format data file";
    click_tab(1);
    type_into(IDC_TEXT_EDITOR, "kept");
    auto open = [&] { command(IDM_OPEN_TEXT); };
    auto save_as = [&] { command(IDM_SAVE_AS_TEXT); };
    EXPECT_EQ(answer_dialogs({win32_test::cancel()}, open), Lines{open_title});
    EXPECT_EQ(answer_dialogs({choose_file(missing), press(IDOK)}, open),
              (Lines{open_title, cannot_open + missing}));
    EXPECT_EQ(answer_dialogs({choose_file(big), press(IDOK)}, open),
              (Lines{open_title, too_small("file", 30000, 1, 29999)}));
    EXPECT_EQ(answer_dialogs({win32_test::cancel()}, save_as), Lines{save_title});
    EXPECT_EQ(answer_dialogs({choose_file(locked), press(IDOK)}, save_as),
              (Lines{save_title, cannot_open + locked}));
    EXPECT_EQ(text(IDC_TEXT_EDITOR), "kept");
    EXPECT_EQ(text(IDC_TEXT_PATH), "") << "no file yet";
    for (const std::string& path : {locked, gone}) {
        std::strcpy(document_path[1], path.c_str());
        EXPECT_EQ(answer_dialogs({press(IDOK)}, [&] { command(IDM_SAVE_TEXT); }),
                  Lines{cannot_open + path});
        EXPECT_STREQ(document_path[1], path.c_str());
    }
    // A dump that cannot be read back saves nothing: no dialog, the message only.
    std::strcpy(document_path[2], locked.c_str());
    click_tab(2);
    type_into(IDC_DUMP_EDITOR, "41 4G ");
    expect_boxes([&] { command(IDM_SAVE_BINARY); }, {binary_problem});
    byte_memory.release();
    ASSERT_TRUE(byte_memory.allocate(500));
    type_into(IDC_DUMP_EDITOR, repeat("00 ", 501));
    expect_boxes([&] { command(IDM_SAVE_AS_BINARY); }, {too_small("binary data", 501, 2, 500)});

    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test_files::read_all(locked), test_files::bytes_of("old"));
    EXPECT_EQ(GetFileAttributesA((locked + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(file("gone").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The panes look the same whichever order they open in: F5, F6 and a change to each document
// tab, on documents that fill many screens, give the same pixels, caret, selection and scroll
// bars when the controls are filled at their template size and laid out afterwards, and when
// they are placed first and then filled (the program's way), except that the old order left
// the first line out of view (put back at the start before its picture is taken).
TEST_F(ShellWindow, PanesPlacedBeforeTheyAreFilledLookAsThoseLaidOutAfterwards) {
    UpdateWindow(window);

    const std::vector<View> old_order = views_of_steps(window, PaneOpening::as_templated);
    const std::vector<View> placed = views_of_steps(window, PaneOpening::placed_first);
    for (size_t i = 0; i < placed.size(); ++i) {
        SCOPED_TRACE(steps[i].name);
        EXPECT_EQ(placed[i].state, old_order[i].state);
        EXPECT_TRUE(placed[i].picture.pixels == old_order[i].picture.pixels) << "pixels differ";
        // Placed first, the editor shows the start of the text with the caret in it.
        EXPECT_EQ(placed[i].scroll_position, 0);
        EXPECT_GE(placed[i].caret_y, 0);
    }
    // The pictures show the documents: the binary pane after F5 is not the text pane after F6,
    // and the long text has its vertical scroll bar.
    EXPECT_EQ(placed[0].state.substr(0, 5), "tab 2");
    EXPECT_TRUE(placed[0].picture.pixels != placed[1].picture.pixels);
    EXPECT_EQ(placed[1].state.find("vertical hidden"), std::string::npos) << placed[1].state;
}

// Each row in turn asks for its largest size and is refused; the next row, set in the same
// click, goes on (the character view with the display row).
TEST_F(ShellWindow, AMemoryThatCannotBeEnlargedKeepsItsStorageAndSaysSo) {
    static uint32_t refused_size = 0;
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        TemporaryMemory& memory = *row_memories[row];
        const uint32_t kept = memory.capacity();
        put_text(memory, "kept");
        const uint8_t* storage = memory.data();
        const int other = (row + 1) % 4;
        const uint32_t other_size = row_memories[other]->capacity() + 100;
        click_tab(3);
        refused_size = memory_row_largest(row);
        set_text(IDC_STRUCT_CAPACITY + row, std::to_string(refused_size));
        set_text(IDC_STRUCT_CAPACITY + other, std::to_string(other_size));
        set_storage_request(
            [](size_t size) { return size == refused_size ? nullptr : std::malloc(size); });
        char refused[200];
        memory_not_resized_text(refused, sizeof refused, row, refused_size, kept);
        expect_boxes([&] { click(IDC_MEMORY_SETTING); }, {"ERROR!: " + std::string(refused)});
        set_storage_request(nullptr);
        EXPECT_EQ(memory.data(), storage);
        EXPECT_STREQ(memory.text(), "kept");
        EXPECT_EQ(text(IDC_STRUCT_CAPACITY + row), std::to_string(kept))
            << "the field shows what it holds";
        EXPECT_EQ(row_memories[other]->capacity(), other_size) << "the other row goes on";
        const test_files::Bytes stored = test_files::read_all("sys.sys");
        EXPECT_EQ(u32_at(stored, 512 + 4 * row), kept);
        EXPECT_EQ(u32_at(stored, 512 + 4 * other), other_size);
        EXPECT_EQ(char_view_memory.capacity(), byte_adjust_memory.capacity());
    }
    EXPECT_EQ(status_part(0), "struct memory size : 30100");
}

// A folder in the file's way, and a read-only sys.sys, which keeps its bytes: said once per
// opening of each pane, and the settings stay in force.
TEST_F(ShellWindow, AnUnwritableSettingsFileIsReportedOncePerPane) {
    const std::string unsaved = "ERROR!: sys.sys can not be written; the settings stay in force "
                                "until the program ends.";
    const test_files::Bytes old_bytes = test_files::read_all("sys.sys");
    ASSERT_TRUE(DeleteFileA("sys.sys") && CreateDirectoryA("sys.sys", nullptr));
    for (bool read_only : {false, true}) {
        SCOPED_TRACE(read_only ? "read-only" : "a folder in the way");
        if (read_only) {
            RemoveDirectoryA("sys.sys");
            test_files::write_all("sys.sys", old_bytes);
            ASSERT_TRUE(SetFileAttributesA("sys.sys", FILE_ATTRIBUTE_READONLY));
        }
        const int buttons[3] = {IDC_MEMORY_SETTING, IDC_ORGANIZATION_SETTING,
                                IDC_FILE_FORMAT_SETTING};
        for (int pane = 0; pane < 3; ++pane) {
            click_tab(3 + pane);
            set_text(IDC_STRUCT_CAPACITY, "1000");
            expect_boxes([&] { click(buttons[pane]), click(buttons[pane]); }, {unsaved});
        }
        EXPECT_EQ(struct_memory.capacity(), 1000u) << "the settings stay in force";
    }
    SetFileAttributesA("sys.sys", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test_files::read_all("sys.sys"), old_bytes) << "the old settings file is intact";
}

// DECIMAL whose dump would not fit the display memory keeps the old form and dump.
TEST_F(ShellWindow, ADumpFormThatDoesNotFitIsNotTaken) {
    click_tab(4);
    // 100 bytes are 300 characters in hexadecimal and more than 400 in decimal.
    byte_adjust_memory.release();
    ASSERT_TRUE(byte_adjust_memory.allocate(400));
    std::memset(byte_memory.data(), 7, 100);
    binary_length = 100;
    std::strcpy(byte_adjust_memory.text(), "kept");
    click(IDC_DECIMAL_RADIO);
    expect_boxes([&] { click(IDC_ORGANIZATION_SETTING); },
                 {too_small("dump", binary_display_size(100, Decimal), 3, 400)});
    EXPECT_EQ(settings.binary_output_mode, Hexadecimal);
    EXPECT_STREQ(byte_adjust_memory.text(), "kept");
    EXPECT_EQ(IsDlgButtonChecked(current_pane, IDC_HEXADECIMAL_RADIO), BST_CHECKED);
}

// Start-up where one work memory after another cannot be had: the program says which, holds
// nothing and ends with 1, before any window is made.
TEST(LayoutpressStart, SaysWhichMemoryCannotBeAllocated) {
    static int granted = 0;
    const char* const names[5] = {"struct_memory", "text_memory", "byte_memory",
                                  "byte_adjust_memory", "char_view_memory"};
    for (int failing = 0; failing < 5; ++failing) {
        SCOPED_TRACE(names[failing]);
        granted = failing;
        set_storage_request(
            [](size_t size) -> void* { return granted-- > 0 ? std::malloc(size) : nullptr; });
        int code = 0;
        EXPECT_EQ(
            answer_dialogs({press(IDOK)},
                           [&] { code = run_layoutpress(GetModuleHandleA(nullptr), SW_SHOW); }),
            Lines{"Error: " + std::string(names[failing]) +
                  " can not be allocated.\nLower its size in sys.sys, or delete sys.sys to "
                  "start with the default memory sizes."});
        EXPECT_EQ(code, 1);
        set_storage_request(nullptr);
        EXPECT_EQ(FindWindowA("MyWin", nullptr), nullptr) << "no window was made";
        for (TemporaryMemory* memory : {&struct_memory, &text_memory, &byte_memory,
                                        &byte_adjust_memory, &scratch_memory, &char_view_memory}) {
            EXPECT_EQ(memory->capacity(), 0u);
        }
    }
}

} // namespace

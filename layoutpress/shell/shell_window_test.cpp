// The converter's real main window, panes and commands, created in the test's own process
// under Wine and driven by messages; message boxes and file dialogs are answered from a second
// thread and their texts checked.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/documents/temporary_memory.h"
#include "layoutpress/shell/main_window.h"
#include "layoutpress/shell/main_window_fixture.h"
#include "layoutpress/shell/shell_state.h"
#include "layoutpress/shell/status_bar.h"
#include "layoutpress/shell/tabs_panes.h"
#include "win32_test_support.h"

namespace {

using win32_test::DialogDriver;

struct Message {
    std::string caption;
    std::string text;
};
using Messages = std::vector<Message>;

const char* const structure_problem = "data structure has problem.";
const char* const text_problem = "text format data has problem.";
const char* const binary_problem = "binary format data has problem.";

const char* const two_shorts = "short a;\r\nshort b;\r\n";
const char* const two_records = " 1, 2,\r\n 3, 4,";
const char* const two_records_dump = "01 00 02 00 03 00 04 00 ";

std::string text_of(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    text.resize(std::strlen(text.c_str()));
    return text;
}

RECT rect_in(HWND child, HWND parent) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ") " +
           std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top);
}

::testing::AssertionResult placed_at(HWND child, HWND parent, int x, int y, int width, int height) {
    if (child == nullptr) {
        return ::testing::AssertionFailure() << "the window does not exist";
    }
    const RECT r = rect_in(child, parent);
    const RECT want{x, y, x + width, y + height};
    if (std::memcmp(&r, &want, sizeof r) == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "is at " << describe(r) << ", expected " << describe(want);
}

void put_text(TemporaryMemory& buffer, const char* text) {
    std::memset(buffer.data(), 0, buffer.capacity());
    std::strncpy(buffer.text(), text, buffer.capacity() - 1);
}

void resize_buffer(TemporaryMemory& buffer, uint32_t capacity) {
    buffer.release();
    ASSERT_TRUE(buffer.allocate(capacity));
    std::memset(buffer.data(), 0, capacity);
}

// Answers each expected message box with OK and checks, when it ends, that exactly these
// boxes came up, in this order.
class ExpectMessages {
  public:
    explicit ExpectMessages(std::vector<Message> expected) : expected_(std::move(expected)) {
        for (size_t i = 0; i < expected_.size(); ++i) {
            driver_.answer(win32_test::press(IDOK));
        }
    }
    ~ExpectMessages() { check(); }

    void check() {
        if (checked_) {
            return;
        }
        checked_ = true;
        driver_.wait_done(5000);
        const std::vector<win32_test::SeenDialog> seen = driver_.seen();
        ASSERT_EQ(seen.size(), expected_.size()) << "message boxes shown";
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].caption, expected_[i].caption) << "box " << i;
            ASSERT_FALSE(seen[i].texts.empty()) << "box " << i << " shows no text";
            EXPECT_EQ(seen[i].texts.back(), expected_[i].text) << "box " << i;
        }
    }

  private:
    std::vector<Message> expected_;
    DialogDriver driver_;
    bool checked_ = false;
};

class ShellWindow : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (!HasFatalFailure()) {
            set_client_size(1000, 600);
        }
    }

    void set_client_size(int width, int height) {
        for (int round = 0; round < 3; ++round) {
            RECT outer;
            RECT client;
            GetWindowRect(window, &outer);
            GetClientRect(window, &client);
            SetWindowPos(window, nullptr, 0, 0, (outer.right - outer.left) + width - client.right,
                         (outer.bottom - outer.top) + height - client.bottom,
                         SWP_NOMOVE | SWP_NOZORDER);
        }
        RECT client;
        GetClientRect(window, &client);
        ASSERT_EQ(client.right, width);
        ASSERT_EQ(client.bottom, height);
    }

    void command(int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    HWND item(int id) const { return GetDlgItem(current_pane, id); }
    std::string item_text(int id) const { return text_of(item(id)); }

    // Types text at the caret, as the user would: the editor then counts as modified.
    void type_into(int id, const char* text) {
        HWND editor = item(id);
        ASSERT_NE(editor, nullptr) << "no control " << id << " on the pane";
        SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }

    // Which pane template is shown, told by the controls it has.
    int pane_shown() const {
        const int marks[6] = {300, 301, 302, 800, 5003, 6009};
        for (int tab = 0; tab < 6; ++tab) {
            if (current_pane != nullptr && GetDlgItem(current_pane, marks[tab]) != nullptr) {
                return tab;
            }
        }
        return -1;
    }

    void expect_on_tab(int tab, const std::string& context) {
        EXPECT_EQ(selected_tab(), tab) << context << ": selected tab";
        EXPECT_EQ(pane_shown(), tab) << context << ": pane shown";
        EXPECT_EQ(GetParent(current_pane), tab_control) << context;
    }
};

TEST_F(ShellWindow, OpensAtTheTopLeftWithItsTitleClassAndStyle) {
    ShowWindow(window, SW_HIDE);
    DestroyWindow(window);
    window = create_main_window(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(outer.right - outer.left, 1000);
    EXPECT_EQ(outer.bottom - outer.top, 700);
    EXPECT_EQ(text_of(window), "Dualform - Text <-> Binary - version 1.75");
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ(name, "MyWin");
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0) << "the class has the icon MyIcon";
    EXPECT_NE(rich_edit_module, nullptr);
    expect_on_tab(0, "at start");
}

TEST_F(ShellWindow, HasSixTabsWithTheirLabels) {
    const char* labels[6] = {"Data Structure ",     "Text Format Data ",
                             "Binary Format Data ", "Temporary Memory Resizing ",
                             "Organization ",       "FILE FORMAT "};
    ASSERT_EQ(SendMessageA(tab_control, TCM_GETITEMCOUNT, 0, 0), 6);
    for (int tab = 0; tab < 6; ++tab) {
        char text[64] = {};
        TCITEMA tab_item{};
        tab_item.mask = TCIF_TEXT | TCIF_IMAGE;
        tab_item.pszText = text;
        tab_item.cchTextMax = sizeof text;
        ASSERT_TRUE(
            SendMessageA(tab_control, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&tab_item)));
        EXPECT_STREQ(text, labels[tab]) << "tab " << tab;
        EXPECT_EQ(tab_item.iImage, -1) << "tab " << tab;
    }
}

TEST_F(ShellWindow, CommandButtonsStandInTwoRows) {
    struct Button {
        const char* text;
        int x, y, width;
    };
    const Button buttons[8] = {
        {"Save All File", 0, 0, 188},
        {"Binary Format Data Conversion : F5", 190, 0, 378},
        {"Text Format Data Conversion : F6", 570, 0, 378},
        {"New : Ctrl+N", 0, 32, 188},
        {"Open : Ctrl+O", 190, 32, 188},
        {"Close : Ctrl+W", 380, 32, 188},
        {"Save : Ctrl+S", 570, 32, 188},
        {"Save As... : F12", 760, 32, 188},
    };
    for (int i = 0; i < 8; ++i) {
        HWND button = command_buttons[i];
        ASSERT_NE(button, nullptr) << "button " << i;
        EXPECT_EQ(GetParent(button), window);
        EXPECT_EQ(text_of(button), buttons[i].text) << "button " << i;
        EXPECT_TRUE(placed_at(button, window, buttons[i].x, buttons[i].y, buttons[i].width, 30))
            << "button " << i;
        EXPECT_EQ(GetDlgCtrlID(button), 0) << "button " << i << " has no id";
    }
}

TEST_F(ShellWindow, LaysOutEveryPaneAtClient1000By600) {
    EXPECT_TRUE(placed_at(tab_control, window, 0, 65, 1000, 535));
    struct Place {
        int id, x, y, width, height;
    };
    const std::vector<Place> panes[3] = {
        {{426, 1, 3, 127, 25},
         {423, 1, 30, 127, 25},
         {320, 130, 3, 849, 25},
         {317, 130, 30, 849, 25},
         {300, 1, 60, 978, 410}},
        {{427, 1, 3, 127, 25},
         {424, 1, 30, 127, 25},
         {321, 130, 3, 849, 25},
         {318, 130, 30, 849, 25},
         {301, 1, 60, 978, 410}},
        {{428, 1, 3, 127, 25},
         {425, 1, 30, 127, 25},
         {322, 130, 3, 849, 25},
         {319, 130, 30, 849, 25},
         {405, 1, 60, 515, 30},
         {851, 520, 60, 200, 30},
         {302, 1, 95, 515, 385},
         {303, 520, 95, 200, 385}},
    };
    // Tab 0 last: clicking the tab that is already selected changes nothing.
    for (int tab : {1, 2, 3, 4, 5, 0}) {
        click_tab(tab);
        expect_on_tab(tab, "after clicking tab " + std::to_string(tab));
        EXPECT_TRUE(placed_at(current_pane, tab_control, 10, 30, 980, 500)) << "pane " << tab;
        if (tab < 3) {
            for (const Place& p : panes[tab]) {
                EXPECT_TRUE(placed_at(item(p.id), current_pane, p.x, p.y, p.width, p.height))
                    << "pane " << tab << " control " << p.id;
            }
            EXPECT_EQ(GetFocus(), item(300 + tab))
                << "the editor of pane " << tab << " has focus, not a "
                << win32_test::window_class(GetFocus());
        }
    }
    // A settings pane keeps its template positions: "Setting" of the memory pane at (240, 59).
    click_tab(3);
    RECT setting{240, 59, 280, 71};
    MapDialogRect(current_pane, &setting);
    EXPECT_TRUE(placed_at(item(850), current_pane, setting.left, setting.top,
                          setting.right - setting.left, setting.bottom - setting.top));
}

TEST_F(ShellWindow, BinaryPaneFollowsTheDumpForm) {
    const int widths[3] = {515, 425, 675};
    for (uint8_t mode = 0; mode < 3; ++mode) {
        settings.binary_output_mode = mode;
        click_tab(mode == 0 ? 1 : 0);
        click_tab(2);
        const int d = widths[mode];
        EXPECT_TRUE(placed_at(item(302), current_pane, 1, 95, d, 385)) << "mode " << int(mode);
        EXPECT_TRUE(placed_at(item(851), current_pane, d + 5, 60, 200, 30)) << "mode " << int(mode);
        EXPECT_TRUE(placed_at(item(303), current_pane, d + 5, 95, 200, 385))
            << "mode " << int(mode);
    }
    const char* rulers[3] = {
        " 1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16  ",
        "   1    2    3    4    5    6    7    8  ",
        "  1   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16  ",
    };
    EXPECT_EQ(item_text(405), rulers[2]);
    settings.binary_output_mode = 1;
    click_tab(0);
    click_tab(2);
    EXPECT_EQ(item_text(405), rulers[1]);
    settings.binary_output_mode = 0;
    click_tab(0);
    click_tab(2);
    EXPECT_EQ(item_text(405), rulers[0]);
}

TEST_F(ShellWindow, ResizingLaysOutAgain) {
    set_client_size(800, 500);
    EXPECT_TRUE(placed_at(tab_control, window, 0, 65, 800, 435));
    EXPECT_TRUE(placed_at(current_pane, tab_control, 10, 30, 780, 400));
    EXPECT_TRUE(placed_at(item(300), current_pane, 1, 60, 778, 310));
    int edges[4] = {};
    ASSERT_EQ(SendMessageA(memory_status_bar(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)),
              4);
    const int expected[4] = {185, 370, 555, 780};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(edges[i], expected[i]) << "part " << i << " at pane width 780";
    }
}

TEST_F(ShellWindow, StatusBarShowsTheFourCapacitiesOnEveryPane) {
    for (int tab = 0; tab < 6; ++tab) {
        click_tab(tab);
        HWND bar = memory_status_bar();
        ASSERT_NE(bar, nullptr) << "tab " << tab;
        EXPECT_EQ(GetParent(bar), current_pane) << "tab " << tab;
        int edges[4] = {};
        ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 4);
        const int expected_edges[4] = {235, 470, 705, 980};
        const char* texts[4] = {"struct memory size : 30000", "text memory size : 30000",
                                "byte memory size : 10000", "byte adjust memory size : 30000"};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(edges[i], expected_edges[i]) << "tab " << tab << " part " << i;
            char text[64] = {};
            SendMessageA(bar, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(text));
            EXPECT_STREQ(text, texts[i]) << "tab " << tab << " part " << i;
        }
        // One status bar, not one per layout.
        int bars = 0;
        for (HWND child = GetWindow(current_pane, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            bars += _stricmp(name, STATUSCLASSNAMEA) == 0 ? 1 : 0;
        }
        EXPECT_EQ(bars, 1) << "tab " << tab;
    }
}

TEST_F(ShellWindow, EditorsTakeTheirBuffersLessOne) {
    EXPECT_EQ(SendMessageA(item(300), EM_GETLIMITTEXT, 0, 0), 29999);
    click_tab(2);
    EXPECT_EQ(SendMessageA(item(302), EM_GETLIMITTEXT, 0, 0), 29999);
    EXPECT_EQ(SendMessageA(item(303), EM_GETLIMITTEXT, 0, 0), 29999);
    resize_buffer(text_memory, 1000);
    click_tab(1);
    EXPECT_EQ(SendMessageA(item(301), EM_GETLIMITTEXT, 0, 0), 999);
}

TEST_F(ShellWindow, PaneEditsReachTheBufferOnTabChange) {
    type_into(300, "short a;\r\n");
    click_tab(4);
    EXPECT_STREQ(struct_memory.text(), "short a;\r\n");
    click_tab(0);
    EXPECT_EQ(item_text(300), "short a;\r\n") << "the typed text is shown again";
    EXPECT_EQ(GetFocus(), item(300));
}

TEST_F(ShellWindow, PaneEditsReachTheBufferBeforeACommand) {
    type_into(300, two_shorts);
    click_tab(1);
    type_into(301, two_records);
    command(150); // F5 reads both buffers
    expect_on_tab(2, "F5 after typing");
    EXPECT_STREQ(struct_memory.text(), two_shorts);
    EXPECT_STREQ(text_memory.text(), two_records);
    EXPECT_EQ(binary_length, 8);
    EXPECT_EQ(item_text(302), two_records_dump);
}

TEST_F(ShellWindow, DumpEditsAreReadBackByUpdate) {
    click_tab(2);
    type_into(302, "41 0D 0A 42 09 00 ");
    SendMessageA(current_pane, WM_COMMAND, MAKEWPARAM(851, BN_CLICKED),
                 reinterpret_cast<LPARAM>(item(851)));
    EXPECT_EQ(binary_length, 6);
    EXPECT_STREQ(byte_adjust_memory.text(), "41 0D 0A 42 09 00 ");
    EXPECT_EQ(item_text(303), "A  B  ") << "the character view is built again";
    EXPECT_EQ(item_text(302), "41 0D 0A 42 09 00 ") << "the dump is left as typed";
}

TEST_F(ShellWindow, UpdateSaysWhenTheDumpCannotBeRead) {
    click_tab(2);
    type_into(302, "4G ");
    ExpectMessages boxes(Messages{{"ERROR!", binary_problem}});
    SendMessageA(current_pane, WM_COMMAND, MAKEWPARAM(851, BN_CLICKED),
                 reinterpret_cast<LPARAM>(item(851)));
    boxes.check();
    EXPECT_EQ(binary_length, 0);
}

// Conversions: the buffers before, the command, the tab it ends on and the boxes it shows.
struct ConversionCase {
    const char* name;
    const char* structure;
    const char* text;
    const char* dump;
    int command;
    int end_tab;
    std::vector<Message> messages;
    int32_t length_after;
};

void PrintTo(const ConversionCase& c, std::ostream* out) {
    *out << c.name;
}

class Conversion : public ShellWindow, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(Conversion, EndsOnTheDocumentToLookAt) {
    const ConversionCase& c = GetParam();
    put_text(struct_memory, c.structure);
    put_text(text_memory, c.text);
    put_text(byte_adjust_memory, c.dump);
    binary_length = 99;
    click_tab(4);
    {
        ExpectMessages boxes(c.messages);
        command(c.command);
    }
    expect_on_tab(c.end_tab, c.name);
    EXPECT_EQ(binary_length, c.length_after) << c.name;
}

const ConversionCase conversion_cases[] = {
    {"F5_empty_structure", "", two_records, "", 150, 0, {{"ERROR!", structure_problem}}, 99},
    {"F5_zero_count", "short a[0];", two_records, "", 150, 0, {{"ERROR!", structure_problem}}, 99},
    {"F5_empty_text", two_shorts, "", "", 150, 1, {{"ERROR!", text_problem}}, 99},
    {"F5_text_without_values", two_shorts, ",,,", "AA ", 150, 1, {{"ERROR!", text_problem}}, 0},
    {"F5_converts", two_shorts, two_records, "", 150, 2, {}, 8},
    {"F6_empty_structure", "", "", two_records_dump, 151, 0, {{"ERROR!", structure_problem}}, 99},
    {"F6_empty_dump", two_shorts, "", "", 151, 2, {{"ERROR!", binary_problem}}, 99},
    {"F6_dump_of_blanks", two_shorts, "", "  \r\n ", 151, 2, {{"ERROR!", binary_problem}}, 0},
    {"F6_invalid_character", two_shorts, "", "01 0G ", 151, 2, {{"ERROR!", binary_problem}}, 0},
    {"F6_converts", two_shorts, "old", two_records_dump, 151, 1, {}, 8},
    {"F6_partial_record", two_shorts, "", "01 00 02 ", 151, 1, {}, 3},
};

INSTANTIATE_TEST_SUITE_P(Commands, Conversion, ::testing::ValuesIn(conversion_cases),
                         [](const ::testing::TestParamInfo<ConversionCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ShellWindow, TextToBinaryRendersTheNewDump) {
    put_text(struct_memory, two_shorts);
    put_text(text_memory, two_records);
    command(150);
    EXPECT_STREQ(byte_adjust_memory.text(), two_records_dump);
    EXPECT_EQ(item_text(302), two_records_dump);
    EXPECT_EQ(item_text(303), "\x01 \x02 \x03 \x04 ") << "zero bytes show as blanks";
    const uint8_t expected[8] = {1, 0, 2, 0, 3, 0, 4, 0};
    EXPECT_EQ(std::memcmp(byte_memory.data(), expected, 8), 0);
}

TEST_F(ShellWindow, BinaryToTextWritesTheOrganizedText) {
    put_text(struct_memory, two_shorts);
    put_text(byte_adjust_memory, two_records_dump);
    command(151);
    EXPECT_STREQ(text_memory.text(), " 1,\r\n 2,\r\n\r\n 3,\r\n 4,\r\n");
    EXPECT_EQ(item_text(301), " 1,\r\n 2,\r\n\r\n 3,\r\n 4,\r\n");
    settings.organize_space = 0;
    settings.organize_line_feed = 0;
    command(151);
    EXPECT_STREQ(text_memory.text(), " 1, 2,\r\n 3, 4,");
}

TEST_F(ShellWindow, TextToBinaryNamesTheBinaryMemoryWhenTheResultIsTooLarge) {
    resize_buffer(byte_memory, 255);
    put_text(struct_memory, "short a;");
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "7,";
    }
    put_text(text_memory, text.c_str());
    {
        ExpectMessages boxes(
            Messages{{"ERROR!", "The binary data is 400 bytes, but the Binary Format "
                                "Data Memory holds at most 255. Enlarge it on the "
                                "\"Temporary Memory Resizing \" tab."}});
        command(150);
    }
    expect_on_tab(1, "F5 with too small a byte memory");
    EXPECT_EQ(binary_length, 0);
}

TEST_F(ShellWindow, TextToBinaryKeepsTheOldDumpWhenTheNewOneDoesNotFit) {
    resize_buffer(byte_adjust_memory, 255);
    put_text(byte_adjust_memory, "AA BB ");
    put_text(struct_memory, "char a;");
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "7,";
    }
    put_text(text_memory, text.c_str());
    {
        ExpectMessages boxes(
            Messages{{"ERROR!", "The dump is 313 bytes, but the Display Binary Format "
                                "Data Memory holds at most 255. Enlarge it on the "
                                "\"Temporary Memory Resizing \" tab."}});
        command(150);
    }
    expect_on_tab(2, "F5 with too small a display memory");
    EXPECT_EQ(binary_length, 100) << "the bytes are kept";
    EXPECT_EQ(byte_memory.data()[99], 7);
    EXPECT_EQ(item_text(302), "AA BB ") << "the old dump is still shown";
}

TEST_F(ShellWindow, BinaryToTextNamesTheTextMemoryWhenTheTextIsTooLarge) {
    resize_buffer(text_memory, 255);
    put_text(struct_memory, "unsigned char a;");
    std::string dump;
    for (int i = 0; i < 100; ++i) {
        dump += "FF ";
    }
    put_text(byte_adjust_memory, dump.c_str());
    settings.organize_space = 0;
    settings.organize_line_feed = 0;
    {
        // 100 lines " 255," with CR LF between them, and the terminator.
        ExpectMessages boxes(Messages{{"ERROR!", "The text is 699 bytes, but the Text Format Data "
                                                 "Memory holds at most 255. Enlarge it on the "
                                                 "\"Temporary Memory Resizing \" tab."}});
        command(151);
    }
    expect_on_tab(1, "F6 with too small a text memory");
    EXPECT_EQ(std::string(text_memory.text()).substr(0, 12), " 255,\r\n 255,")
        << "the text so far is kept";
}

TEST_F(ShellWindow, BinaryToTextNamesTheBinaryMemoryWhenTheDumpHoldsTooMuch) {
    resize_buffer(byte_memory, 255);
    put_text(struct_memory, "unsigned char a;");
    std::string dump;
    for (int i = 0; i < 300; ++i) {
        dump += "01 ";
    }
    put_text(byte_adjust_memory, dump.c_str());
    {
        ExpectMessages boxes(
            Messages{{"ERROR!", binary_problem},
                     {"ERROR!", "The binary data is 300 bytes, but the Binary Format "
                                "Data Memory holds at most 255. Enlarge it on the "
                                "\"Temporary Memory Resizing \" tab."}});
        command(151);
    }
    expect_on_tab(2, "F6 with too small a byte memory");
    EXPECT_EQ(binary_length, 0);
}

// New and Close of each document, by menu id.
TEST_F(ShellWindow, NewAndCloseEmptyTheirDocument) {
    struct Case {
        int id;
        int kind;
    };
    const Case cases[] = {{100, 0}, {101, 1}, {102, 2}, {114, 0}, {115, 1}, {116, 2}};
    for (const Case& c : cases) {
        put_text(struct_memory, "s");
        put_text(text_memory, "t");
        put_text(byte_adjust_memory, "74 ");
        byte_memory.data()[0] = 0x74;
        binary_length = 1;
        for (int k = 0; k < 3; ++k) {
            std::strcpy(document_path[k], "Z:\\somewhere\\file");
            std::strcpy(document_file_name[k], "file");
        }
        click_tab(5);
        {
            ExpectMessages none(Messages{});
            command(c.id);
        }
        const std::string context = "id " + std::to_string(c.id);
        expect_on_tab(c.kind, context);
        EXPECT_EQ(document_path[c.kind][0], '\0') << context;
        EXPECT_EQ(document_file_name[c.kind][0], '\0') << context;
        EXPECT_EQ(item_text(320 + c.kind), "") << context << ": path field";
        EXPECT_EQ(item_text(300 + c.kind), "") << context << ": editor";
        EXPECT_EQ(struct_memory.text()[0] == '\0', c.kind == 0) << context;
        EXPECT_EQ(text_memory.text()[0] == '\0', c.kind == 1) << context;
        EXPECT_EQ(binary_length == 0, c.kind == 2) << context;
        EXPECT_EQ(byte_adjust_memory.text()[0] == '\0', c.kind == 2) << context;
        for (int other = 0; other < 3; ++other) {
            if (other != c.kind) {
                EXPECT_STREQ(document_path[other], "Z:\\somewhere\\file") << context;
            }
        }
    }
}

TEST_F(ShellWindow, SelectedTabFormsActOnTheSelectedDocument) {
    struct Case {
        int id;
        int tab;
    };
    // Ctrl+N and Ctrl+W on the text tab empty the text document.
    for (const Case& c : {Case{103, 1}, Case{117, 1}, Case{103, 2}, Case{117, 0}}) {
        put_text(struct_memory, "s");
        put_text(text_memory, "t");
        put_text(byte_adjust_memory, "74 ");
        click_tab(c.tab);
        command(c.id);
        const std::string context =
            "id " + std::to_string(c.id) + " on tab " + std::to_string(c.tab);
        expect_on_tab(c.tab, context);
        const char* texts[3] = {struct_memory.text(), text_memory.text(),
                                byte_adjust_memory.text()};
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(texts[k][0] == '\0', k == c.tab) << context << ", document " << k;
        }
    }
}

TEST_F(ShellWindow, SelectedTabFormsDoNothingOnTheSettingsTabs) {
    const int ids[] = {103, 113, 117, 123, 133};
    for (int tab = 3; tab < 6; ++tab) {
        for (int id : ids) {
            put_text(struct_memory, "s");
            put_text(text_memory, "t");
            click_tab(tab);
            HWND before = current_pane;
            {
                ExpectMessages none(Messages{}); // no dialog either
                command(id);
            }
            const std::string context =
                "id " + std::to_string(id) + " on tab " + std::to_string(tab);
            expect_on_tab(tab, context);
            EXPECT_EQ(current_pane, before) << context << ": the pane is only laid out";
            EXPECT_STREQ(struct_memory.text(), "s") << context;
            EXPECT_STREQ(text_memory.text(), "t") << context;
        }
    }
}

TEST_F(ShellWindow, ButtonsRunTheirCommands) {
    // Button 5 "Close : Ctrl+W" on the text tab, then button 1 (F5) with an empty structure.
    put_text(text_memory, "t");
    click_tab(1);
    SendMessageA(command_buttons[5], BM_CLICK, 0, 0);
    expect_on_tab(1, "Close button");
    EXPECT_EQ(text_memory.text()[0], '\0');
    {
        ExpectMessages boxes(Messages{{"ERROR!", structure_problem}});
        SendMessageA(command_buttons[1], BM_CLICK, 0, 0);
    }
    expect_on_tab(0, "F5 button");
    {
        ExpectMessages boxes(Messages{{"ERROR!", structure_problem}});
        SendMessageA(command_buttons[2], BM_CLICK, 0, 0);
    }
    expect_on_tab(0, "F6 button");
}

TEST_F(ShellWindow, MenuItemRunsItsOwnCommandWhileAButtonHasTheFocus) {
    SetFocus(command_buttons[5]); // "Close : Ctrl+W"
    put_text(text_memory, "t");
    put_text(struct_memory, "s");
    command(114); // File, Close, Data Structure File
    expect_on_tab(0, "Close of the structure");
    EXPECT_EQ(struct_memory.text()[0], '\0');
    EXPECT_STREQ(text_memory.text(), "t");
}

TEST_F(ShellWindow, UnknownIdsAreIgnored) {
    put_text(struct_memory, "s");
    click_tab(1);
    HWND before = current_pane;
    {
        ExpectMessages none(Messages{});
        for (int id : {0, 104, 118, 141, 152, 899, 1001, 300, 851}) {
            command(id);
        }
    }
    EXPECT_EQ(current_pane, before);
    expect_on_tab(1, "after unknown ids");
    EXPECT_STREQ(struct_memory.text(), "s");
}

TEST_F(ShellWindow, AboutShowsTheVersionAndLeavesThePane) {
    click_tab(4);
    HWND before = current_pane;
    {
        ExpectMessages boxes(Messages{{"version information and so on",
                                       "version 1.75\nlayoutpress, written by the layoutpress "
                                       "developers\nsee README.md of the source repository"}});
        command(900);
    }
    EXPECT_EQ(current_pane, before);
    expect_on_tab(4, "after About");
}

TEST_F(ShellWindow, CancelledOpenLeavesTheBinaryDocument) {
    put_text(byte_adjust_memory, "74 ");
    byte_memory.data()[0] = 0x74;
    binary_length = 1;
    std::strcpy(document_path[2], "Z:\\kept.bin");
    click_tab(0);
    {
        DialogDriver dialogs;
        dialogs.answer(win32_test::cancel());
        command(112);
        dialogs.wait_done(5000);
        ASSERT_EQ(dialogs.seen().size(), 1u);
        EXPECT_EQ(dialogs.seen()[0].caption, "open binary format data file");
    }
    expect_on_tab(2, "cancelled open");
    EXPECT_EQ(binary_length, 1);
    EXPECT_STREQ(byte_adjust_memory.text(), "74 ");
    EXPECT_STREQ(document_path[2], "Z:\\kept.bin");
    EXPECT_EQ(item_text(302), "74 ");
    EXPECT_EQ(item_text(322), "Z:\\kept.bin");
}

TEST_F(ShellWindow, CancelledFileDialogsEndOnTheirDocument) {
    struct Case {
        int id;
        int tab;
        const char* title;
    };
    const Case cases[] = {
        {110, 0, "open data structure file"},     {111, 1, "open text format data file"},
        {120, 0, "save data structure file"},     {121, 1, "save text format data file"},
        {122, 2, "save binary format data file"}, {130, 0, "save data structure file"},
        {131, 1, "save text format data file"},   {132, 2, "save binary format data file"},
    };
    for (const Case& c : cases) {
        click_tab(c.tab == 4 ? 3 : 4);
        put_text(text_memory, "kept");
        DialogDriver dialogs;
        dialogs.answer(win32_test::cancel());
        command(c.id);
        dialogs.wait_done(5000);
        const std::string context = "id " + std::to_string(c.id);
        ASSERT_EQ(dialogs.seen().size(), 1u) << context;
        EXPECT_EQ(dialogs.seen()[0].caption, c.title) << context;
        expect_on_tab(c.tab, context);
        EXPECT_STREQ(text_memory.text(), "kept") << context;
        EXPECT_EQ(document_path[c.tab][0], '\0') << context;
    }
}

TEST_F(ShellWindow, SaveAllAsksForEachDocumentInOrder) {
    click_tab(5);
    DialogDriver dialogs;
    for (int i = 0; i < 3; ++i) {
        dialogs.answer(win32_test::cancel());
    }
    command(140);
    dialogs.wait_done(5000);
    const std::vector<win32_test::SeenDialog> seen = dialogs.seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].caption, "save data structure file");
    EXPECT_EQ(seen[1].caption, "save text format data file");
    EXPECT_EQ(seen[2].caption, "save binary format data file");
    expect_on_tab(5, "after All Save");
}

TEST_F(ShellWindow, SaveAndOpenThroughTheDialogs) {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    const std::string path = std::string(folder) + "\\typed.txt";
    click_tab(1);
    type_into(301, "1,2,\r\n");
    {
        DialogDriver dialogs;
        dialogs.answer(win32_test::choose_file(path));
        command(123); // Ctrl+S on a document without a file
        dialogs.wait_done(5000);
        ASSERT_EQ(dialogs.seen().size(), 1u);
        EXPECT_EQ(dialogs.seen()[0].caption, "save text format data file");
    }
    expect_on_tab(1, "after saving");
    EXPECT_EQ(item_text(321), path);
    EXPECT_EQ(item_text(318), "typed.txt");
    command(101);
    EXPECT_EQ(item_text(301), "");
    {
        DialogDriver dialogs;
        dialogs.answer(win32_test::choose_file(path));
        command(113);
        dialogs.wait_done(5000);
        ASSERT_EQ(dialogs.seen().size(), 1u);
        EXPECT_EQ(dialogs.seen()[0].caption, "open text format data file");
    }
    EXPECT_EQ(item_text(301), "1,2,\r\n");
    CHARRANGE selection{-1, -1};
    SendMessageA(item(301), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    EXPECT_EQ(selection.cpMin, 0) << "the caret stands at the start after Open";
    EXPECT_EQ(selection.cpMax, 0);
}

TEST_F(ShellWindow, ExitEndsTheLoopAndReleasesTheLibraryOnce) {
    ASSERT_NE(rich_edit_module, nullptr);
    command(1000);
    EXPECT_EQ(current_pane, nullptr);
    EXPECT_EQ(rich_edit_module, nullptr);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    // The window's destruction afterwards runs nothing again: no "Library Release Failure".
    ExpectMessages none(Messages{});
    DestroyWindow(window);
    window = nullptr;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(ShellWindow, EscapeInAnEditorEndsTheMessageLoop) {
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), "MyMenu");
    ASSERT_NE(accelerators, nullptr);
    type_into(300, "unsaved");
    PostMessageA(item(300), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(run_message_loop(window, accelerators), 0);
    EXPECT_EQ(current_pane, nullptr);
}

TEST_F(ShellWindow, FunctionKeysWorkInsideAnEditor) {
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), "MyMenu");
    ASSERT_NE(accelerators, nullptr);
    // F1 through the accelerator table, as the message loop offers every message to it.
    ExpectMessages boxes(Messages{{"version information and so on",
                                   "version 1.75\nlayoutpress, written by the layoutpress "
                                   "developers\nsee README.md of the source repository"}});
    PostMessageA(item(300), WM_KEYDOWN, VK_F1, 0x003B0001);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!TranslateAcceleratorA(window, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    boxes.check();
    expect_on_tab(0, "after F1");
}

TEST_F(ShellWindow, AcceleratorTableHasItsNineEntries) {
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), "MyMenu");
    ASSERT_NE(accelerators, nullptr);
    ACCEL entries[16] = {};
    ASSERT_EQ(CopyAcceleratorTableA(accelerators, entries, 16), 9);
    struct Entry {
        bool virtual_key;
        WORD key;
        WORD id;
    };
    const Entry expected[9] = {
        {true, VK_F1, 900}, {true, VK_F5, 150},  {true, VK_F6, 151},
        {false, 0x0E, 103}, {false, 0x0F, 113},  {false, 0x17, 117},
        {false, 0x13, 123}, {true, VK_F12, 133}, {true, VK_ESCAPE, 1000},
    };
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ((entries[i].fVirt & FVIRTKEY) != 0, expected[i].virtual_key) << "entry " << i;
        EXPECT_EQ(entries[i].fVirt & (FCONTROL | FSHIFT | FALT), 0) << "entry " << i;
        EXPECT_EQ(entries[i].key, expected[i].key) << "entry " << i;
        EXPECT_EQ(entries[i].cmd, expected[i].id) << "entry " << i;
    }
}

struct MenuEntry {
    const char* text;
    int id; // -1 for a popup
};

std::vector<MenuEntry> document_popup(const char* fourth, int base) {
    return {{"Data &Structure File", base},
            {"&Text Format Data File", base + 1},
            {"&Binary Format Data File", base + 2},
            {fourth, base + 3}};
}

void expect_menu(HMENU menu, const std::vector<MenuEntry>& entries, const std::string& where) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(entries.size())) << where;
    for (size_t i = 0; i < entries.size(); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, entries[i].text) << where << " item " << i;
        if (entries[i].id >= 0) {
            EXPECT_EQ(static_cast<int>(GetMenuItemID(menu, static_cast<int>(i))), entries[i].id)
                << where << " item " << i;
        } else {
            EXPECT_NE(GetSubMenu(menu, static_cast<int>(i)), nullptr) << where << " item " << i;
        }
    }
}

TEST_F(ShellWindow, MenuHoldsEveryCommand) {
    HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    expect_menu(bar, {{"&File", -1}, {"&Conversion", -1}, {"&About this software", 900}}, "bar");
    HMENU file = GetSubMenu(bar, 0);
    expect_menu(file,
                {{"&New", -1},
                 {"&Open", -1},
                 {"&Close", -1},
                 {"&Save", -1},
                 {"Save &As...", -1},
                 {"A&ll Save", 140},
                 {"E&xit\tEsc", 1000}},
                "File");
    expect_menu(GetSubMenu(file, 0), document_popup("&Now Select Data File Ctrl+N", 100), "New");
    expect_menu(GetSubMenu(file, 1), document_popup("&Now Select Data File \tCtrl+O", 110), "Open");
    expect_menu(GetSubMenu(file, 2), document_popup("&Now Select Data File \tCtrl+W", 114),
                "Close");
    expect_menu(GetSubMenu(file, 3), document_popup("&Now Select Data File \tCtrl+S", 120), "Save");
    expect_menu(GetSubMenu(file, 4), document_popup("&Now Select Data File \tF12", 130), "Save As");
    expect_menu(GetSubMenu(bar, 1),
                {{"Text Format Data   -> &Binary Format Data\tF5", 150},
                 {"Binary Format Data -> &Text Format Data\tF6", 151}},
                "Conversion");
}

TEST_F(ShellWindow, DocumentPanesShowTheirLabelsAndReadOnlyFields) {
    for (int tab = 0; tab < 3; ++tab) {
        click_tab(tab);
        EXPECT_EQ(item_text(426 + tab), " PATH && FILE") << "pane " << tab;
        EXPECT_EQ(item_text(423 + tab), "FILE") << "pane " << tab;
        EXPECT_NE(GetWindowLongPtrA(item(320 + tab), GWL_STYLE) & ES_READONLY, 0) << tab;
        EXPECT_NE(GetWindowLongPtrA(item(317 + tab), GWL_STYLE) & ES_READONLY, 0) << tab;
    }
    EXPECT_EQ(item_text(851), "update");
    EXPECT_NE(GetWindowLongPtrA(item(303), GWL_STYLE) & ES_READONLY, 0);
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
        set_storage_request([](size_t size) -> void* {
            if (granted <= 0) {
                return nullptr;
            }
            --granted;
            return std::malloc(size);
        });
        int code = -1;
        {
            ExpectMessages boxes(Messages{
                {"Error", std::string(names[failing]) +
                              " can not be allocated.\nLower its size in sys.sys, or delete "
                              "sys.sys to start with the default memory sizes."}});
            code = run_layoutpress(GetModuleHandleA(nullptr), SW_SHOW);
        }
        set_storage_request(nullptr);
        EXPECT_EQ(code, 1);
        EXPECT_EQ(FindWindowA("MyWin", nullptr), nullptr) << "no window was made";
        for (TemporaryMemory* memory : {&struct_memory, &text_memory, &byte_memory,
                                        &byte_adjust_memory, &scratch_memory, &char_view_memory}) {
            EXPECT_EQ(memory->capacity(), 0u);
        }
    }
}

} // namespace

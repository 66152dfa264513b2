// The three settings panes of the converter's real window, in the test's own process under
// Wine: the memory rows with their track bars and "Setting", the organization options and the
// dump form, the INI FILE and FILE FILTER fields and the file dialog that follows them.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/memory_resize.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/documents/temporary_memory.h"
#include "layoutpress/shell/main_window.h"
#include "layoutpress/shell/main_window_fixture.h"
#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/shell_state.h"
#include "layoutpress/shell/status_bar.h"
#include "layoutpress/shell/tabs_panes.h"
#include "testing/files/test_files.h"
#include "win32_test_support.h"

namespace {

using win32_test::DialogDriver;

constexpr int memory_tab = 3;
constexpr int organization_tab = 4;
constexpr int file_format_tab = 5;

constexpr int track_ids[4] = {IDC_STRUCT_TRACK, IDC_TEXT_TRACK, IDC_BYTE_TRACK,
                              IDC_BYTE_ADJUST_TRACK};
constexpr int field_ids[4] = {IDC_STRUCT_CAPACITY, IDC_TEXT_CAPACITY, IDC_BYTE_CAPACITY,
                              IDC_BYTE_ADJUST_CAPACITY};
TemporaryMemory* const row_memories[4] = {&struct_memory, &text_memory, &byte_memory,
                                          &byte_adjust_memory};

const char* const unsaved_text =
    "sys.sys can not be written; the settings stay in force until the program ends.";

using test_files::u32_at;

test_files::Bytes file_bytes(const char* path) {
    return test_files::read_all(path);
}

void fill_pattern(TemporaryMemory& memory, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        memory.data()[i] = static_cast<uint8_t>('a' + i % 26);
    }
    memory.data()[length] = 0;
}

bool holds_pattern(const TemporaryMemory& memory, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (memory.data()[i] != static_cast<uint8_t>('a' + i % 26)) {
            return false;
        }
    }
    return true;
}

// Refuses requests of this size (with all their retries); 0 refuses none.
size_t refused_size = 0;
void* refusing_request(size_t size) {
    return size == refused_size ? nullptr : std::malloc(size);
}

// Answers each expected message box with OK and checks that exactly these came, in order.
void expect_boxes(DialogDriver& driver, const std::vector<std::string>& texts) {
    driver.wait_done(5000);
    const std::vector<win32_test::SeenDialog> seen = driver.seen();
    ASSERT_EQ(seen.size(), texts.size()) << "message boxes shown";
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].caption, "ERROR!") << "box " << i;
        ASSERT_FALSE(seen[i].texts.empty()) << "box " << i;
        EXPECT_EQ(seen[i].texts.back(), texts[i]) << "box " << i;
    }
}

class SettingsPanes : public MainWindowTest {
  protected:
    void click_tab(int tab) {
        MainWindowTest::click_tab(tab);
        ASSERT_EQ(selected_tab(), tab);
    }

    HWND item(int id) const { return GetDlgItem(current_pane, id); }
    std::string text(int id) const { return win32_test::window_text(item(id)); }
    void set_text(int id, const char* value) { SetWindowTextA(item(id), value); }
    // A click on a button as the user gives it: the button tells its pane.
    void click(int id) { SendMessageA(item(id), BM_CLICK, 0, 0); }
    int position(int row) const {
        return static_cast<int>(SendMessageA(item(track_ids[row]), TBM_GETPOS, 0, 0));
    }
    void drag(int row, int to) {
        SendMessageA(item(track_ids[row]), TBM_SETPOS, TRUE, to);
        SendMessageA(current_pane, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, to),
                     reinterpret_cast<LPARAM>(item(track_ids[row])));
    }
    std::string status_part(int part) const {
        char buffer[128] = {};
        SendMessageA(memory_status_bar(), SB_GETTEXTA, part, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
};

TEST_F(SettingsPanes, MemoryPaneShowsEachCapacityAndItsTrackPosition) {
    text_memory.release();
    ASSERT_TRUE(text_memory.allocate(450000));
    click_tab(memory_tab);
    const char* const shown[4] = {"30000", "450000", "10000", "30000"};
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        EXPECT_EQ(text(field_ids[row]), shown[row]);
        EXPECT_EQ(SendMessageA(item(track_ids[row]), TBM_GETRANGEMIN, 0, 0), 0);
        EXPECT_EQ(SendMessageA(item(track_ids[row]), TBM_GETRANGEMAX, 0, 0), 16);
        EXPECT_EQ(position(row), row == 1 ? 1 : 0);
    }
    EXPECT_EQ(text(IDC_STRUCT_MEMORY_LABEL), " Data Structure Memory            ");
    EXPECT_EQ(text(IDC_BYTE_ADJUST_MEMORY_LABEL), " Display Binary Format Data Memory");
    EXPECT_EQ(text(IDC_MEMORY_SETTING), "Setting");
}

TEST_F(SettingsPanes, MovingABarProposesAValueWithoutReallocating) {
    text_memory.release();
    ASSERT_TRUE(text_memory.allocate(450000));
    click_tab(memory_tab);
    struct Move {
        int row;
        int to;
        const char* shown;
    };
    const Move moves[] = {{1, 2, "600000"},   {1, 0, "255"},      {2, 3, "300000"},
                          {2, 16, "1600000"}, {3, 16, "4800000"}, {0, 1, "300000"}};
    for (const Move& m : moves) {
        SCOPED_TRACE(testing::Message() << "row " << m.row << " to " << m.to);
        drag(m.row, m.to);
        EXPECT_EQ(text(field_ids[m.row]), m.shown);
    }
    EXPECT_EQ(text(field_ids[1]), "255") << "a move of another bar leaves this row alone";
    EXPECT_EQ(text_memory.capacity(), 450000u);
    EXPECT_EQ(byte_memory.capacity(), 10000u);
    EXPECT_EQ(struct_memory.capacity(), 30000u);
    // The end-of-track notification proposes nothing.
    set_text(field_ids[0], "1234");
    SendMessageA(current_pane, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(item(track_ids[0])));
    EXPECT_EQ(text(field_ids[0]), "1234");
}

TEST_F(SettingsPanes, SettingClampsTheFieldsAndKeepsTheContents) {
    fill_pattern(struct_memory, 1000);
    fill_pattern(text_memory, 29999);
    for (int i = 0; i < 10000; ++i) {
        byte_memory.data()[i] = static_cast<uint8_t>(i * 3);
    }
    binary_length = 10000;
    fill_pattern(byte_adjust_memory, 500);
    click_tab(memory_tab);
    set_text(field_ids[0], "100");
    set_text(field_ids[1], "5000000");
    set_text(field_ids[2], "2000000");
    set_text(field_ids[3], "abc");
    click(IDC_MEMORY_SETTING);

    const char* const shown[4] = {"255", "4800000", "1600000", "255"};
    const uint32_t capacities[4] = {255, 4800000, 1600000, 255};
    const int positions[4] = {0, 16, 16, 0};
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        EXPECT_EQ(text(field_ids[row]), shown[row]);
        EXPECT_EQ(row_memories[row]->capacity(), capacities[row]);
        EXPECT_EQ(position(row), positions[row]);
    }
    EXPECT_EQ(char_view_memory.capacity(), 255u) << "the character view follows the display";
    EXPECT_TRUE(holds_pattern(text_memory, 29999)) << "enlarging keeps the whole text";
    EXPECT_EQ(std::strlen(text_memory.text()), 29999u);
    EXPECT_TRUE(holds_pattern(struct_memory, 254)) << "shrinking cuts at the new capacity";
    EXPECT_EQ(std::strlen(struct_memory.text()), 254u) << "and ends the text inside the buffer";
    bool bytes_kept = true;
    for (int i = 0; i < 10000; ++i) {
        bytes_kept = bytes_kept && byte_memory.data()[i] == static_cast<uint8_t>(i * 3);
    }
    EXPECT_TRUE(bytes_kept);
    EXPECT_EQ(binary_length, 10000);
    EXPECT_EQ(status_part(0), "struct memory size : 255");
    EXPECT_EQ(status_part(1), "text memory size : 4800000");
    EXPECT_EQ(status_part(2), "byte memory size : 1600000");
    EXPECT_EQ(status_part(3), "byte adjust memory size : 255");
    EXPECT_EQ(GetParent(memory_status_bar()), current_pane);

    const test_files::Bytes record = file_bytes("sys.sys");
    ASSERT_EQ(record.size(), 2080u);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(u32_at(record, 512 + 4 * row), capacities[row]) << "stored row " << row;
    }
}

TEST_F(SettingsPanes, ShrinkingTheBytesLowersTheCount) {
    binary_length = 10000;
    click_tab(memory_tab);
    set_text(field_ids[2], "300");
    click(IDC_MEMORY_SETTING);
    EXPECT_EQ(byte_memory.capacity(), 300u);
    EXPECT_EQ(binary_length, 300);
    EXPECT_EQ(text(field_ids[2]), "300");
}

// Each row in turn asks for its largest size and is refused; the others are set as typed.
TEST_F(SettingsPanes, AMemoryThatCannotBeEnlargedKeepsItsStorageAndSaysSo) {
    TemporaryMemory* const rows[4] = {&struct_memory, &text_memory, &byte_memory,
                                      &byte_adjust_memory};
    const char* const names[4] = {"Data Structure Memory", "Text Format Data Memory",
                                  "Binary Format Data Memory", "Display Binary Format Data Memory"};
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(names[row]);
        TemporaryMemory& memory = *rows[row];
        const uint32_t kept = memory.capacity();
        fill_pattern(memory, kept - 1);
        uint8_t* before = memory.data();
        const int other = row == 0 ? 1 : 0;
        const uint32_t other_size = rows[other]->capacity() + 100;
        click_tab(memory_tab);
        const std::string largest = std::to_string(memory_row_largest(row));
        set_text(field_ids[row], largest.c_str());
        set_text(field_ids[other], std::to_string(other_size).c_str());
        refused_size = memory_row_largest(row);
        set_storage_request(refusing_request);
        DialogDriver driver;
        driver.answer(win32_test::press(IDOK));
        click(IDC_MEMORY_SETTING);
        expect_boxes(driver, {"The " + std::string(names[row]) + " can not be enlarged to " +
                              largest + " bytes; it keeps " + std::to_string(kept) + "."});
        set_storage_request(nullptr);
        EXPECT_EQ(memory.data(), before);
        EXPECT_EQ(memory.capacity(), kept);
        EXPECT_TRUE(holds_pattern(memory, kept - 1));
        EXPECT_EQ(text(field_ids[row]), std::to_string(kept)) << "the field shows what it holds";
        EXPECT_EQ(rows[other]->capacity(), other_size) << "the other rows go on";
        const test_files::Bytes stored = file_bytes("sys.sys");
        EXPECT_EQ(u32_at(stored, 512 + 4 * static_cast<size_t>(row)), kept);
        EXPECT_EQ(u32_at(stored, 512 + 4 * static_cast<size_t>(other)), other_size);
        if (row == 3) {
            EXPECT_EQ(char_view_memory.capacity(), kept) << "the view stays with the dump";
        }
    }
}

// A folder in the file's way, and a read-only sys.sys, which must keep its bytes.
TEST_F(SettingsPanes, AnUnwritableSettingsFileIsReportedOncePerPane) {
    for (bool read_only : {false, true}) {
        SCOPED_TRACE(read_only ? "read-only sys.sys" : "a folder in the way");
        const test_files::Bytes old_bytes = file_bytes("sys.sys");
        if (read_only) {
            ASSERT_TRUE(SetFileAttributesA("sys.sys", FILE_ATTRIBUTE_READONLY));
        } else {
            ASSERT_TRUE(DeleteFileA("sys.sys"));
            ASSERT_TRUE(CreateDirectoryA("sys.sys", nullptr));
        }
        click_tab(memory_tab);
        {
            DialogDriver driver;
            driver.answer(win32_test::press(IDOK));
            set_text(field_ids[0], "1000");
            click(IDC_MEMORY_SETTING);
            set_text(field_ids[0], "2000");
            click(IDC_MEMORY_SETTING);
            expect_boxes(driver, {unsaved_text});
        }
        EXPECT_EQ(struct_memory.capacity(), 2000u) << "the settings stay in force";
        const int panes[2] = {organization_tab, file_format_tab};
        const int buttons[2] = {IDC_ORGANIZATION_SETTING, IDC_FILE_FORMAT_SETTING};
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(testing::Message() << "tab " << panes[i]);
            click_tab(panes[i]);
            DialogDriver driver;
            driver.answer(win32_test::press(IDOK));
            click(buttons[i]);
            click(buttons[i]);
            expect_boxes(driver, {unsaved_text});
        }
        if (read_only) {
            SetFileAttributesA("sys.sys", FILE_ATTRIBUTE_NORMAL);
            EXPECT_EQ(file_bytes("sys.sys"), old_bytes) << "the old settings file is intact";
        } else {
            RemoveDirectoryA("sys.sys");
            ASSERT_TRUE(save_settings("sys.sys"));
        }
    }
}

TEST_F(SettingsPanes, OrganizationShowsAndStoresTheOptions) {
    struct Case {
        uint8_t space;
        uint8_t line_feed;
        uint8_t mode;
        bool hexadecimal;
        bool decimal;
    };
    const Case cases[] = {{1, 1, 0, true, false},
                          {0, 1, 2, false, true},
                          {1, 0, 1, false, false},
                          {0, 0, 7, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << " space " << int(c.space));
        settings.organize_space = c.space;
        settings.organize_line_feed = c.line_feed;
        settings.binary_output_mode = c.mode;
        click_tab(memory_tab);
        click_tab(organization_tab);
        EXPECT_EQ(IsDlgButtonChecked(current_pane, IDC_SPACE_CHECK) == BST_CHECKED, c.space != 0);
        EXPECT_EQ(IsDlgButtonChecked(current_pane, IDC_LINE_FEED_CHECK) == BST_CHECKED,
                  c.line_feed != 0);
        EXPECT_EQ(IsDlgButtonChecked(current_pane, IDC_HEXADECIMAL_RADIO) == BST_CHECKED,
                  c.hexadecimal);
        EXPECT_EQ(IsDlgButtonChecked(current_pane, IDC_DECIMAL_RADIO) == BST_CHECKED, c.decimal);
        // "Setting" with nothing chosen keeps the mode; the check boxes are stored flipped.
        click(IDC_SPACE_CHECK);
        click(IDC_LINE_FEED_CHECK);
        click(IDC_ORGANIZATION_SETTING);
        EXPECT_EQ(settings.organize_space, c.space == 0 ? 1 : 0);
        EXPECT_EQ(settings.organize_line_feed, c.line_feed == 0 ? 1 : 0);
        EXPECT_EQ(settings.binary_output_mode, c.mode);
        const test_files::Bytes record = file_bytes("sys.sys");
        ASSERT_EQ(record.size(), 2080u);
        EXPECT_EQ(record[528], settings.organize_space);
        EXPECT_EQ(record[529], settings.organize_line_feed);
        EXPECT_EQ(record[530], c.mode);
    }
    EXPECT_EQ(text(IDC_HEXADECIMAL_RADIO), "HEXADECIMAL");
    EXPECT_EQ(text(IDC_DECIMAL_RADIO), "DECIMAL");
    EXPECT_EQ(GetParent(memory_status_bar()), current_pane) << "the pane shows the status bar";
}

TEST_F(SettingsPanes, DecimalRebuildsTheDumpAndTheBinaryPaneLayout) {
    const uint8_t bytes[4] = {1, 0, 2, 0};
    std::memcpy(byte_memory.data(), bytes, 4);
    binary_length = 4;
    std::strcpy(byte_adjust_memory.text(), "01 00 02 00 ");
    settings.binary_output_mode = HexadecimalPairs;
    click_tab(2);
    const int pairs_width = [&] {
        RECT r;
        GetWindowRect(item(IDC_DUMP_EDITOR), &r);
        return static_cast<int>(r.right - r.left);
    }();
    click_tab(organization_tab);
    click(IDC_DECIMAL_RADIO);
    click(IDC_ORGANIZATION_SETTING);
    EXPECT_EQ(settings.binary_output_mode, Decimal);
    EXPECT_STREQ(byte_adjust_memory.text(), "  1   0   2   0 ");
    EXPECT_EQ(file_bytes("sys.sys").at(530), 2);
    click_tab(2);
    EXPECT_EQ(text(IDC_DUMP_EDITOR), "  1   0   2   0 ");
    EXPECT_EQ(text(IDC_RULER), "  1   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16  ");
    RECT r;
    GetWindowRect(item(IDC_DUMP_EDITOR), &r);
    EXPECT_GT(r.right - r.left, pairs_width) << "the decimal dump is wider";
    // Back to hexadecimal, also when the mode does not change the dump is rebuilt.
    std::strcpy(byte_adjust_memory.text(), "edited, not read back");
    click_tab(organization_tab);
    click(IDC_HEXADECIMAL_RADIO);
    click(IDC_ORGANIZATION_SETTING);
    EXPECT_STREQ(byte_adjust_memory.text(), "01 00 02 00 ");
    std::strcpy(byte_adjust_memory.text(), "edited again");
    click(IDC_ORGANIZATION_SETTING);
    EXPECT_STREQ(byte_adjust_memory.text(), "01 00 02 00 ");
}

TEST_F(SettingsPanes, ADecimalDumpThatDoesNotFitKeepsTheMode) {
    byte_adjust_memory.release();
    ASSERT_TRUE(byte_adjust_memory.allocate(400));
    std::memset(byte_memory.data(), 7, 100);
    binary_length = 100; // 300 bytes in hexadecimal, 400 and more in decimal
    std::strcpy(byte_adjust_memory.text(), "kept");
    click_tab(organization_tab);
    DialogDriver driver;
    driver.answer(win32_test::press(IDOK));
    click(IDC_DECIMAL_RADIO);
    click(IDC_ORGANIZATION_SETTING);
    driver.wait_done(5000);
    ASSERT_EQ(driver.seen().size(), 1u);
    EXPECT_EQ(driver.seen()[0].caption, "ERROR!");
    EXPECT_EQ(settings.binary_output_mode, Hexadecimal);
    EXPECT_STREQ(byte_adjust_memory.text(), "kept");
    EXPECT_EQ(IsDlgButtonChecked(current_pane, IDC_HEXADECIMAL_RADIO), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(current_pane, IDC_DECIMAL_RADIO), BST_UNCHECKED);
}

const char* const default_filter_texts[3] = {
    "Struct\\0*.str\\0Text\\0*.txt\\0Binary\\0*.bin\\0ALL\\0*.*\\0\\0\\0",
    "Text\\0*.txt\\0Struct\\0*.str\\0Binary\\0*.bin\\0ALL\\0*.*\\0\\0\\0",
    "Binary\\0*.bin\\0Struct\\0*.str\\0Text\\0*.TXT\\0ALL\\0*.*\\0\\0\\0",
};
constexpr int ini_ids[3] = {IDC_STRUCT_INI_FIELD, IDC_TEXT_INI_FIELD, IDC_BINARY_INI_FIELD};
constexpr int filter_ids[3] = {IDC_STRUCT_FILTER_FIELD, IDC_TEXT_FILTER_FIELD,
                               IDC_BINARY_FILTER_FIELD};

TEST_F(SettingsPanes, FileFormatShowsTheTextsAndFilters) {
    click_tab(file_format_tab);
    const char* const names[3] = {"*.str", "*.txt", "*.bin"};
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        EXPECT_EQ(text(ini_ids[kind]), names[kind]);
        EXPECT_EQ(text(filter_ids[kind]), default_filter_texts[kind]);
    }
    EXPECT_EQ(text(IDC_FILE_FORMAT_INITIALIZE), "Initialize");
    EXPECT_EQ(GetParent(memory_status_bar()), current_pane);
}

// What the open dialog offered: its file types and the text of its file name box.
struct Offered {
    std::mutex mutex;
    std::vector<std::string> types;
    std::string file_name;
};

TEST_F(SettingsPanes, ASetFilterIsWhatTheNextOpenDialogOffers) {
    click_tab(file_format_tab);
    set_text(IDC_STRUCT_INI_FIELD, "first.mine");
    set_text(IDC_STRUCT_FILTER_FIELD, "Mine\\0*.mine\\0\\0");
    set_text(IDC_BINARY_FILTER_FIELD, "");
    click(IDC_FILE_FORMAT_SETTING);
    EXPECT_STREQ(settings.ini_file_name[0], "first.mine");
    EXPECT_EQ(std::string(settings.file_filter[0], 16), std::string("Mine\0*.mine\0\0\0\0\0", 16));
    EXPECT_EQ(settings.file_filter_length[0], 13u);
    EXPECT_EQ(settings.file_filter_length[2], 0u);
    EXPECT_EQ(settings.file_filter[2][0], 0);
    EXPECT_EQ(text(IDC_STRUCT_FILTER_FIELD), "Mine\\0*.mine\\0\\0") << "not refilled";
    const test_files::Bytes record = file_bytes("sys.sys");
    ASSERT_EQ(record.size(), 2080u);
    EXPECT_EQ(std::string(record.begin() + 531, record.begin() + 541), "first.mine");
    EXPECT_EQ(std::string(record.begin() + 1299, record.begin() + 1312),
              std::string("Mine\0*.mine\0\0", 13));
    EXPECT_EQ(u32_at(record, 2068), 13u);
    EXPECT_EQ(u32_at(record, 2076), 0u);

    Offered offered;
    DialogDriver driver;
    driver.answer([&offered](HWND dialog) {
        HWND types = GetDlgItem(dialog, 0x470);
        std::lock_guard<std::mutex> lock(offered.mutex);
        const LRESULT count = SendMessageA(types, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char type[256] = {};
            SendMessageA(types, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(type));
            offered.types.push_back(type);
        }
        offered.file_name = win32_test::item_text(dialog, 0x47C);
        win32_test::press_button(dialog, IDCANCEL);
    });
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDM_OPEN_STRUCTURE, 0), 0);
    driver.wait_done(5000);
    std::lock_guard<std::mutex> lock(offered.mutex);
    EXPECT_EQ(offered.types, std::vector<std::string>{"Mine"});
    EXPECT_EQ(offered.file_name, "first.mine");
}

TEST_F(SettingsPanes, InitializeBringsBackTheDefaultsOnly) {
    settings.organize_space = 0;
    settings.binary_output_mode = Decimal;
    click_tab(memory_tab);
    set_text(field_ids[0], "600");
    click(IDC_MEMORY_SETTING);
    click_tab(file_format_tab);
    for (int kind = 0; kind < 3; ++kind) {
        set_text(ini_ids[kind], "x");
        set_text(filter_ids[kind], "X\\0*.x\\0\\0");
    }
    click(IDC_FILE_FORMAT_SETTING);
    ASSERT_EQ(settings.file_filter_length[1], 7u); // X, 0, *, ., x, 0, 0
    click(IDC_FILE_FORMAT_INITIALIZE);
    const char* const names[3] = {"*.str", "*.txt", "*.bin"};
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        EXPECT_EQ(text(ini_ids[kind]), names[kind]) << "refilled";
        EXPECT_EQ(text(filter_ids[kind]), default_filter_texts[kind]);
        EXPECT_STREQ(settings.ini_file_name[kind], names[kind]);
        EXPECT_EQ(settings.file_filter_length[kind], 47u);
    }
    EXPECT_EQ(std::string(settings.file_filter[2], 46),
              std::string("Binary\0*.bin\0Struct\0*.str\0Text\0*.TXT\0ALL\0*.*\0\0", 46));
    EXPECT_EQ(settings.organize_space, 0);
    EXPECT_EQ(settings.binary_output_mode, Decimal);
    EXPECT_EQ(struct_memory.capacity(), 600u);
    const test_files::Bytes record = file_bytes("sys.sys");
    ASSERT_EQ(record.size(), 2080u);
    EXPECT_EQ(u32_at(record, 512), 600u);
    EXPECT_EQ(u32_at(record, 2072), 47u);
    EXPECT_EQ(std::string(record.begin() + 531 + 256, record.begin() + 531 + 262),
              std::string("*.txt\0", 6));
    EXPECT_EQ(record[530], 2);
}

} // namespace

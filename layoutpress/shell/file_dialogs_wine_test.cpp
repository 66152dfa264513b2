// The document file dialogs and their messages, driven in this process under Wine: the real
// common dialogs and message boxes, answered by win32_test::DialogDriver.
#include "layoutpress/shell/file_dialogs.h"

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/settings.h"
#include "testing/files/test_files.h"
#include "win32_test_support.h"

namespace {

using Bytes = test_files::Bytes;
using test_files::bytes_of;
using test_files::read_all;
using test_files::write_all;
using win32_test::DialogDriver;

// Capacities of their own per buffer, so that a load into the wrong buffer shows.
constexpr uint32_t capacities[3] = {1000, 2000, 500};
constexpr uint32_t display_capacity = 3000;
constexpr uint8_t fill = 0xAA;

constexpr int file_name_box = 0x47C; // cmb13 of the Explorer-style dialog
constexpr int filter_box = 0x470;    // cmb1: the file types
constexpr int read_only_box = 0x410; // chx1: "Open as read-only"

const char* const kind_names[3] = {"data structure", "text format data", "binary format data"};
const char* const open_titles[3] = {"open data structure file", "open text format data file",
                                    "open binary format data file"};
const char* const save_titles[3] = {"save data structure file", "save text format data file",
                                    "save binary format data file"};
const char* const first_filters[3] = {"Struct", "Text", "Binary"};
const char* const patterns[3] = {"*.str", "*.txt", "*.bin"};

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Bytes buffer_bytes(const TemporaryMemory& memory) {
    return Bytes(memory.data(), memory.data() + memory.capacity());
}

std::string combo_selection(HWND dialog, int id) {
    HWND box = GetDlgItem(dialog, id);
    if (box == nullptr) {
        return "(no box)";
    }
    const LRESULT index = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) {
        return "(nothing selected)";
    }
    char text[256] = {};
    SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

// What a file dialog showed when it was answered.
struct FileDialogSeen {
    std::string title;
    std::string file_name; // the text of the file name box
    std::string filter;    // the selected file type
    HWND owner = nullptr;
    bool read_only_box_shown = false;
};

// What a message box showed when it was answered.
struct MessageBoxSeen {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    bool topmost = false;     // MB_SYSTEMMODAL
    bool exclamation = false; // the icon is the system's exclamation icon
    bool ok_only = false;     // an OK button and no other
};

// Notes go from the driver's thread to the test's.
class Notes {
  public:
    void add_file_dialog(const FileDialogSeen& seen) {
        std::lock_guard<std::mutex> lock(mutex_);
        file_dialogs_.push_back(seen);
    }
    void add_message_box(const MessageBoxSeen& seen) {
        std::lock_guard<std::mutex> lock(mutex_);
        message_boxes_.push_back(seen);
    }
    std::vector<FileDialogSeen> file_dialogs() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return file_dialogs_;
    }
    std::vector<MessageBoxSeen> message_boxes() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return message_boxes_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<FileDialogSeen> file_dialogs_;
    std::vector<MessageBoxSeen> message_boxes_;
};

FileDialogSeen look_at_file_dialog(HWND dialog) {
    FileDialogSeen seen;
    seen.title = win32_test::window_text(dialog);
    seen.file_name = win32_test::item_text(dialog, file_name_box);
    seen.filter = combo_selection(dialog, filter_box);
    seen.owner = GetWindow(dialog, GW_OWNER);
    HWND read_only = GetDlgItem(dialog, read_only_box);
    seen.read_only_box_shown = read_only != nullptr && IsWindowVisible(read_only);
    return seen;
}

// Notes what the file dialog shows, then chooses path (or cancels when path is empty).
DialogDriver::Answer note_and_choose(Notes& notes, const std::string& path) {
    return [&notes, path](HWND dialog) {
        notes.add_file_dialog(look_at_file_dialog(dialog));
        if (path.empty()) {
            win32_test::cancel()(dialog);
        } else {
            win32_test::choose_file(path)(dialog);
        }
    };
}

// Notes what the message box shows, then presses OK.
DialogDriver::Answer note_and_confirm(Notes& notes) {
    return [&notes](HWND dialog) {
        MessageBoxSeen seen;
        seen.caption = win32_test::window_text(dialog);
        const std::vector<std::string> texts = win32_test::child_texts(dialog);
        seen.text = texts.empty() ? "" : texts.back();
        seen.owner = GetWindow(dialog, GW_OWNER);
        seen.topmost = (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        const HICON exclamation = LoadIconA(nullptr, IDI_EXCLAMATION);
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == exclamation) {
                seen.exclamation = true;
            }
        }
        const auto shown = [dialog](int id) {
            HWND button = GetDlgItem(dialog, id);
            return button != nullptr && IsWindowVisible(button);
        };
        seen.ok_only = shown(IDOK) && !shown(IDCANCEL) && !shown(IDYES) && !shown(IDNO) &&
                       !shown(IDABORT) && !shown(IDRETRY) && !shown(IDIGNORE);
        notes.add_message_box(seen);
        win32_test::press(IDOK)(dialog);
    };
}

LRESULT CALLBACK owner_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

class FileDialogsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = owner_procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "FileDialogsTestOwner";
        RegisterClassA(&window_class); // fails harmlessly when a previous case registered it
        owner = CreateWindowA("FileDialogsTestOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                              0, 400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);

        set_default_settings(settings);
        for (int kind = 0; kind < 3; ++kind) {
            TemporaryMemory& memory = document_memory(kind);
            memory.release();
            ASSERT_TRUE(memory.allocate(capacities[kind]));
            std::memset(memory.data(), fill, memory.capacity());
            std::memset(document_path[kind], 0, document_path_size);
            std::memset(document_file_name[kind], 0, document_file_name_size);
        }
        byte_adjust_memory.release();
        ASSERT_TRUE(byte_adjust_memory.allocate(display_capacity));
        std::memset(byte_adjust_memory.data(), 0, byte_adjust_memory.capacity());
        binary_length = 0;

        char folder[MAX_PATH] = {};
        ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, folder), 0u);
        this->folder = folder;
    }
    void TearDown() override {
        DestroyWindow(owner);
        for (int kind = 0; kind < 3; ++kind) {
            document_memory(kind).release();
        }
        byte_adjust_memory.release();
    }

    // The full path of a file in the case's own folder.
    std::string file(const std::string& name) const {
        return folder + (folder.back() == '\\' ? "" : "\\") + name;
    }

    // Gives kind a file identity of its own, to see that a failure keeps it.
    void give_identity(int kind, const std::string& path, const std::string& name) {
        std::strcpy(document_path[kind], path.c_str());
        std::strcpy(document_file_name[kind], name.c_str());
    }

    void expect_identity(int kind, const std::string& path, const std::string& name) {
        EXPECT_EQ(std::string(document_path[kind]), path) << kind_names[kind];
        EXPECT_EQ(std::string(document_file_name[kind]), name) << kind_names[kind];
    }

    void expect_cannot_open_box(const MessageBoxSeen& box, const std::string& path) {
        EXPECT_EQ(box.caption, "Can not Open File");
        EXPECT_EQ(box.text, path);
        EXPECT_EQ(box.owner, owner);
        EXPECT_TRUE(box.exclamation);
        EXPECT_TRUE(box.ok_only);
        EXPECT_TRUE(box.topmost) << "system modal";
    }

    void expect_error_box(const MessageBoxSeen& box, const std::string& text) {
        EXPECT_EQ(box.caption, "ERROR!");
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.owner, owner);
        EXPECT_TRUE(box.exclamation);
        EXPECT_TRUE(box.ok_only);
    }

    HWND owner = nullptr;
    std::string folder;
};

TEST_F(FileDialogsTest, OpenReadsTheChosenFileIntoItsDocument) {
    const struct {
        int kind;
        const char* name;
        Bytes content;
    } cases[] = {
        {structure_document, "record.str", bytes_of("long a;\r\nchar b[4];\r\n")},
        {text_document, "values.txt", bytes_of("1,\"a\"\r\n2,\"b\"\r\n")},
        {binary_document, "data.bin", bytes_of(std::string("AB\0\r\n\x1a\xff", 7))},
        {text_document, "empty.txt", Bytes()},
        {structure_document, "no extension", bytes_of("short s;")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << kind_names[c.kind] << ", " << c.name);
        for (int kind = 0; kind < 3; ++kind) {
            std::memset(document_memory(kind).data(), fill, document_memory(kind).capacity());
        }
        const Bytes others[3] = {buffer_bytes(struct_memory), buffer_bytes(text_memory),
                                 buffer_bytes(byte_memory)};
        const std::string path = file(c.name);
        write_all(path, c.content);

        Notes notes;
        OpenOutcome outcome = {};
        {
            DialogDriver dialogs;
            dialogs.answer(note_and_choose(notes, path));
            outcome = open_document(c.kind, owner);
            EXPECT_TRUE(dialogs.wait_done(5000));
        }
        EXPECT_TRUE(outcome.loaded);
        EXPECT_EQ(outcome.count, c.content.size());
        const Bytes held = buffer_bytes(document_memory(c.kind));
        EXPECT_EQ(Bytes(held.begin(), held.begin() + static_cast<long>(c.content.size())),
                  c.content);
        EXPECT_EQ(held[c.content.size()], 0) << "terminator";
        EXPECT_EQ(held[c.content.size() + 1], fill) << "bytes behind the terminator stay";
        expect_identity(c.kind, path, c.name);
        for (int kind = 0; kind < 3; ++kind) {
            if (kind != c.kind) {
                EXPECT_EQ(buffer_bytes(document_memory(kind)), others[kind]) << kind_names[kind];
            }
        }
        const std::vector<FileDialogSeen> seen = notes.file_dialogs();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, open_titles[c.kind]);
        EXPECT_EQ(seen[0].file_name, patterns[c.kind]) << "the INI FILE text";
        EXPECT_EQ(seen[0].filter, first_filters[c.kind]) << "the first filter is selected";
        EXPECT_EQ(seen[0].owner, owner);
        EXPECT_FALSE(seen[0].read_only_box_shown);
    }
}

TEST_F(FileDialogsTest, TheDialogsUseTheSettingsInForce) {
    std::strcpy(settings.ini_file_name[text_document], "start.dat");
    std::memset(settings.file_filter[text_document], 0, settings_text_size);
    std::memcpy(settings.file_filter[text_document], "Data\0*.dat\0Everything\0*.*\0\0", 28);
    give_identity(text_document, file("current.txt"), "current.txt");
    std::strcpy(text_memory.text(), "x");

    Notes notes;
    {
        DialogDriver dialogs;
        dialogs.answer(note_and_choose(notes, ""));
        dialogs.answer(note_and_choose(notes, ""));
        EXPECT_FALSE(open_document(text_document, owner).loaded);
        EXPECT_FALSE(save_document_as(text_document, owner));
        EXPECT_TRUE(dialogs.wait_done(5000));
    }
    const std::vector<FileDialogSeen> seen = notes.file_dialogs();
    ASSERT_EQ(seen.size(), 2u);
    const char* const titles[2] = {"open text format data file", "save text format data file"};
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(titles[i]);
        EXPECT_EQ(seen[i].title, titles[i]);
        EXPECT_EQ(seen[i].file_name, "start.dat") << "not the document's current file name";
        EXPECT_EQ(seen[i].filter, "Data");
    }
}

TEST_F(FileDialogsTest, ACancelledOpenChangesNothing) {
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind_names[kind]);
        give_identity(kind, file("before.dat"), "before.dat");
        const Bytes before = buffer_bytes(document_memory(kind));
        Notes notes;
        OpenOutcome outcome = {true, 99};
        {
            DialogDriver dialogs; // any message box after the cancel fails the case
            dialogs.answer(note_and_choose(notes, ""));
            outcome = open_document(kind, owner);
            EXPECT_TRUE(dialogs.wait_done(5000));
        }
        EXPECT_FALSE(outcome.loaded);
        EXPECT_EQ(outcome.count, 0u);
        EXPECT_EQ(buffer_bytes(document_memory(kind)), before);
        expect_identity(kind, file("before.dat"), "before.dat");
        ASSERT_EQ(notes.file_dialogs().size(), 1u);
        EXPECT_EQ(notes.file_dialogs()[0].title, open_titles[kind]);
    }
}

TEST_F(FileDialogsTest, AFileThatCannotBeOpenedIsNamedInAMessage) {
    const std::string missing = file("missing.txt");
    give_identity(text_document, file("before.txt"), "before.txt");
    const Bytes before = buffer_bytes(text_memory);
    Notes notes;
    OpenOutcome outcome = {true, 99};
    {
        DialogDriver dialogs;
        dialogs.answer(note_and_choose(notes, missing));
        dialogs.answer(note_and_confirm(notes));
        outcome = open_document(text_document, owner);
        EXPECT_TRUE(dialogs.wait_done(5000));
    }
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(outcome.count, 0u);
    EXPECT_EQ(buffer_bytes(text_memory), before);
    expect_identity(text_document, file("before.txt"), "before.txt");
    const std::vector<MessageBoxSeen> boxes = notes.message_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    expect_cannot_open_box(boxes[0], missing);
}

TEST_F(FileDialogsTest, AFileLargerThanItsBufferIsRefusedWithTheMemoryToEnlarge) {
    const struct {
        int kind;
        size_t size;
        const char* text;
    } cases[] = {
        {text_document, 2000,
         "The file is 2000 bytes, but the Text Format Data Memory holds at most 1999. Enlarge it "
         "on the \"Temporary Memory Resizing \" tab."},
        {structure_document, 4321,
         "The file is 4321 bytes, but the Data Structure Memory holds at most 999. Enlarge it "
         "on the \"Temporary Memory Resizing \" tab."},
        {binary_document, 500,
         "The file is 500 bytes, but the Binary Format Data Memory holds at most 499. Enlarge it "
         "on the \"Temporary Memory Resizing \" tab."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string path = file("big.dat");
        write_all(path, Bytes(c.size, 'x'));
        give_identity(c.kind, file("before.dat"), "before.dat");
        const Bytes before = buffer_bytes(document_memory(c.kind));
        Notes notes;
        OpenOutcome outcome = {true, 99};
        {
            DialogDriver dialogs;
            dialogs.answer(note_and_choose(notes, path));
            dialogs.answer(note_and_confirm(notes));
            outcome = open_document(c.kind, owner);
            EXPECT_TRUE(dialogs.wait_done(5000));
        }
        EXPECT_FALSE(outcome.loaded);
        EXPECT_EQ(outcome.count, 0u);
        EXPECT_EQ(buffer_bytes(document_memory(c.kind)), before);
        expect_identity(c.kind, file("before.dat"), "before.dat");
        const std::vector<MessageBoxSeen> boxes = notes.message_boxes();
        ASSERT_EQ(boxes.size(), 1u);
        expect_error_box(boxes[0], c.text);
    }
}

TEST_F(FileDialogsTest, SaveAsWritesTheDocumentAndRecordsTheFile) {
    std::strcpy(struct_memory.text(), "long a;\r\nchar b;\r\n");
    std::memcpy(text_memory.data(), "1,2\r\n\0after the zero", 21);
    // The dump as the binary pane shows it; what byte_memory held before does not count.
    std::strcpy(byte_adjust_memory.text(), "41 42 00 0D 0A\r\nFF ");
    binary_length = 3;
    const struct {
        int kind;
        const char* name;
        Bytes saved;
    } cases[] = {
        {structure_document, "record.str", bytes_of("long a;\r\nchar b;\r\n")},
        {text_document, "values", bytes_of("1,2\r\n")},
        {binary_document, "data.bin", bytes_of(std::string("AB\0\r\n\xff", 6))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kind_names[c.kind]);
        give_identity(c.kind, file("before.dat"), "before.dat");
        const std::string path = file(c.name);
        Notes notes;
        bool written = false;
        {
            DialogDriver dialogs;
            dialogs.answer(note_and_choose(notes, path));
            written = save_document_as(c.kind, owner);
            EXPECT_TRUE(dialogs.wait_done(5000));
        }
        EXPECT_TRUE(written);
        EXPECT_EQ(read_all(path), c.saved);
        EXPECT_FALSE(exists(path + ".tmp"));
        expect_identity(c.kind, path, c.name);
        const std::vector<FileDialogSeen> seen = notes.file_dialogs();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, save_titles[c.kind]);
        EXPECT_EQ(seen[0].file_name, patterns[c.kind]);
        EXPECT_EQ(seen[0].filter, first_filters[c.kind]);
        EXPECT_EQ(seen[0].owner, owner);
        EXPECT_FALSE(seen[0].read_only_box_shown);
    }
    EXPECT_EQ(binary_length, 6) << "read back from the dump";
}

TEST_F(FileDialogsTest, ACancelledSaveAsWritesNothing) {
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind_names[kind]);
        give_identity(kind, file("before.dat"), "before.dat");
        Notes notes;
        bool written = true;
        {
            DialogDriver dialogs;
            dialogs.answer(note_and_choose(notes, ""));
            written = save_document_as(kind, owner);
            EXPECT_TRUE(dialogs.wait_done(5000));
        }
        EXPECT_FALSE(written);
        EXPECT_FALSE(exists(file("before.dat")));
        expect_identity(kind, file("before.dat"), "before.dat");
    }
}

TEST_F(FileDialogsTest, SaveAsOntoAReadOnlyFileSaysSoAndKeepsIt) {
    const std::string path = file("locked.txt");
    write_all(path, bytes_of("old content\r\n"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    std::strcpy(text_memory.text(), "new content\r\n");
    give_identity(text_document, file("before.txt"), "before.txt");
    Notes notes;
    bool written = true;
    {
        DialogDriver dialogs;
        dialogs.answer(note_and_choose(notes, path));
        dialogs.answer(note_and_confirm(notes));
        written = save_document_as(text_document, owner);
        EXPECT_TRUE(dialogs.wait_done(5000));
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(written);
    EXPECT_EQ(read_all(path), bytes_of("old content\r\n"));
    EXPECT_FALSE(exists(path + ".tmp"));
    expect_identity(text_document, file("before.txt"), "before.txt");
    const std::vector<MessageBoxSeen> boxes = notes.message_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    expect_cannot_open_box(boxes[0], path);
}

TEST_F(FileDialogsTest, SaveWritesToTheKnownPathWithoutADialog) {
    const std::string path = file("known.str");
    write_all(path, bytes_of("a much longer old content\r\n"));
    give_identity(structure_document, path, "known.str");
    std::strcpy(struct_memory.text(), "char c;\r\n");
    {
        DialogDriver dialogs; // no dialog and no message may appear
        save_document(structure_document, owner);
        EXPECT_TRUE(save_document_to_path(structure_document, owner));
    }
    EXPECT_EQ(read_all(path), bytes_of("char c;\r\n"));
    expect_identity(structure_document, path, "known.str");
}

TEST_F(FileDialogsTest, SaveWithoutAPathAsksForOneAndRemembersIt) {
    std::strcpy(text_memory.text(), "7,8\r\n");
    const std::string path = file("first.txt");
    Notes notes;
    {
        DialogDriver dialogs;
        dialogs.answer(note_and_choose(notes, path));
        EXPECT_FALSE(save_document_to_path(text_document, owner)) << "no path yet, no message";
        save_document(text_document, owner);
        EXPECT_TRUE(dialogs.wait_done(5000));
    }
    EXPECT_EQ(read_all(path), bytes_of("7,8\r\n"));
    expect_identity(text_document, path, "first.txt");
    ASSERT_EQ(notes.file_dialogs().size(), 1u);
    EXPECT_EQ(notes.file_dialogs()[0].title, "save text format data file");

    std::strcpy(text_memory.text(), "9\r\n");
    {
        DialogDriver dialogs; // the second save asks nothing
        save_document(text_document, owner);
    }
    EXPECT_EQ(read_all(path), bytes_of("9\r\n"));
}

TEST_F(FileDialogsTest, AKnownPathThatCannotBeWrittenIsReported) {
    const std::string locked = file("locked.bin");
    write_all(locked, bytes_of("old"));
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    std::strcpy(byte_adjust_memory.text(), "01 02 ");
    const struct {
        const char* what;
        std::string path;
        bool through_save; // save_document, else save_document_to_path
    } cases[] = {
        {"read-only file, Save", locked, true},
        {"read-only file, to path", locked, false},
        {"folder gone, Save", file("gone\\data.bin"), true},
        {"folder gone, to path", file("gone\\data.bin"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        give_identity(binary_document, c.path, "data.bin");
        Notes notes;
        bool written = true;
        {
            DialogDriver dialogs;
            dialogs.answer(note_and_confirm(notes));
            if (c.through_save) {
                save_document(binary_document, owner);
            } else {
                written = save_document_to_path(binary_document, owner);
            }
            EXPECT_TRUE(dialogs.wait_done(5000));
        }
        if (!c.through_save) {
            EXPECT_FALSE(written);
        }
        const std::vector<MessageBoxSeen> boxes = notes.message_boxes();
        ASSERT_EQ(boxes.size(), 1u);
        expect_cannot_open_box(boxes[0], c.path);
        expect_identity(binary_document, c.path, "data.bin");
    }
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(read_all(locked), bytes_of("old"));
    EXPECT_FALSE(exists(file("gone")));
}

TEST_F(FileDialogsTest, ABinaryDumpThatCannotBeReadBackSavesNothing) {
    // byte_memory holds 500 bytes; "00 " is one byte of the dump in hexadecimal.
    std::string too_many;
    for (int i = 0; i < 501; ++i) {
        too_many += "00 ";
    }
    const struct {
        const char* what;
        std::string dump;
        const char* message;
    } cases[] = {
        {"a letter that is no digit", "41 4G ", "binary format data has problem."},
        {"more bytes than byte_memory holds", too_many,
         "The binary data is 501 bytes, but the Binary Format Data Memory holds at most 500. "
         "Enlarge it on the \"Temporary Memory Resizing \" tab."},
    };
    const std::string known = file("known.bin");
    for (const auto& c : cases) {
        for (bool with_path : {false, true}) {
            for (bool save_as : {false, true}) {
                if (save_as && with_path) {
                    continue;
                }
                SCOPED_TRACE(testing::Message() << c.what << (save_as ? ", Save As" : ", Save")
                                                << (with_path ? " to a known path" : ""));
                write_all(known, bytes_of("old"));
                std::memset(document_path[binary_document], 0, document_path_size);
                if (with_path) {
                    give_identity(binary_document, known, "known.bin");
                }
                std::strcpy(byte_adjust_memory.text(), c.dump.c_str());
                Notes notes;
                {
                    DialogDriver dialogs; // the message only: no file dialog
                    dialogs.answer(note_and_confirm(notes));
                    if (save_as) {
                        EXPECT_FALSE(save_document_as(binary_document, owner));
                    } else {
                        save_document(binary_document, owner);
                    }
                    EXPECT_TRUE(dialogs.wait_done(5000));
                }
                EXPECT_EQ(read_all(known), bytes_of("old"));
                const std::vector<MessageBoxSeen> boxes = notes.message_boxes();
                ASSERT_EQ(boxes.size(), 1u);
                expect_error_box(boxes[0], c.message);
            }
        }
    }
}

TEST_F(FileDialogsTest, TheBinaryDocumentIsSavedAsItsDumpReads) {
    const std::string path = file("dump.bin");
    give_identity(binary_document, path, "dump.bin");
    const struct {
        uint8_t mode;
        const char* dump;
        Bytes saved;
    } cases[] = {
        {Hexadecimal, "0A 0B 0C ", bytes_of("\x0a\x0b\x0c")},
        {HexadecimalPairs, "0D0A 2021\r\n", bytes_of("\r\n !")},
        {Decimal, "65 0 255 ", bytes_of(std::string("A\0\xff", 3))},
        {Hexadecimal, "", Bytes()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << ", dump \"" << c.dump << "\"");
        settings.binary_output_mode = c.mode;
        std::strcpy(byte_adjust_memory.text(), c.dump);
        binary_length = 77;
        {
            DialogDriver dialogs;
            save_document(binary_document, owner);
        }
        EXPECT_EQ(read_all(path), c.saved);
        EXPECT_EQ(binary_length, static_cast<int32_t>(c.saved.size()));
    }
}

} // namespace

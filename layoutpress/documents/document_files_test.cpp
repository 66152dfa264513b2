// Loading and saving the three documents, clearing them, their recorded file identity, the
// memory messages, the whole-file store under them, and saves that go wrong.
#include "layoutpress/documents/document_files.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers_test_support.h"
#include "layoutpress/documents/file_store.h"
#include "layoutpress/documents/settings.h"
#include "testing/files/test_files.h"

namespace {

namespace fs = std::filesystem;
using test_files::Bytes;
using test_files::pattern;
using test_files::read_all;
using test_files::write_all;

// Capacities of their own per buffer, so that a load into the wrong buffer, or a limit taken
// from the wrong buffer, shows.
constexpr uint32_t capacities[3] = {9000, 10000, 6000};
constexpr uint8_t fill = 0xAA;

Bytes held(int kind) {
    const TemporaryMemory& memory = document_memory(kind);
    return Bytes(memory.data(), memory.data() + memory.capacity());
}

class DocumentFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test_buffers::reset();
        for (int kind = 0; kind < 3; ++kind) {
            ASSERT_TRUE(document_memory(kind).allocate(capacities[kind]));
            std::memset(document_memory(kind).data(), fill, capacities[kind]);
            record_document_file(kind, nullptr, nullptr);
        }
        ASSERT_TRUE(byte_adjust_memory.allocate(700));
        std::memset(byte_adjust_memory.data(), fill, 700);
    }
    void TearDown() override { test_buffers::reset(); }
    std::string file(const std::string& name) const { return temp.file(name); }
    test_files::TempFolder temp{"layoutpress-documents-"};
};

// Each kind loads files of up to its capacity less one byte (refusing larger ones, changing
// nothing), adds one zero byte and leaves the bytes behind it. Saving: below and WriteFaults.
TEST_F(DocumentFilesTest, FilesLoadAndSaveBackByteForByte) {
    for (int kind = 0; kind < 3; ++kind) {
        const uint32_t capacity = capacities[kind];
        for (size_t size :
             std::vector<size_t>{0, 1, 4097, capacity - 1, capacity, capacity + 5000}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", " << size << " bytes");
            Bytes content = pattern(size, static_cast<uint8_t>(kind));
            write_all(file("source"), content);
            const Bytes before = held(kind);
            const DocumentLoad load = load_document_file(kind, file("source").c_str());
            EXPECT_EQ(load.size, size) << "the size loaded, or the size of the refused file";
            if (size >= capacity) {
                EXPECT_EQ(load.problem, DocumentFileProblem::too_large);
                EXPECT_EQ(held(kind), before) << "a refused file changes nothing";
                continue;
            }
            ASSERT_EQ(load.problem, DocumentFileProblem::none);
            Bytes expected = before;
            std::copy(content.begin(), content.end(), expected.begin());
            expected[size] = 0;
            EXPECT_EQ(held(kind), expected);
        }
    }
    for (const std::string& path :
         {file("missing"), file("no/x"), temp.path().string(), std::string()}) {
        EXPECT_EQ(load_document_file(text_document, path.c_str()).problem,
                  DocumentFileProblem::cannot_open);
    }
    EXPECT_EQ(load_document_file(3, file("source").c_str()).problem,
              DocumentFileProblem::cannot_open);
}

// Texts are saved up to their first zero byte (whole buffers: WriteFaults); the binary document
// its first binary_length bytes, never past byte_memory. Missing paths and bytes write nothing.
TEST_F(DocumentFilesTest, SavesTakeTheDocumentsLength) {
    std::memcpy(text_memory.data(), "a\r\nb\0def", 8);
    const Bytes bytes = pattern(capacities[binary_document], 5);
    std::copy(bytes.begin(), bytes.end(), byte_memory.data());
    const struct {
        int kind;
        int32_t binary_length;
        size_t saved;
    } saves[] = {{1, 0, 4}, {2, 300, 300}, {2, 6001, 6000}, {2, -5, 0}};
    for (const auto& c : saves) {
        binary_length = c.binary_length;
        ASSERT_EQ(write_document_file(c.kind, file("t").c_str()), DocumentFileProblem::none);
        const Bytes content = held(c.kind);
        EXPECT_EQ(read_all(file("t")), Bytes(content.begin(), content.begin() + c.saved));
    }
    EXPECT_EQ(write_document_file(text_document, file("no/x").c_str()),
              DocumentFileProblem::cannot_write);
    EXPECT_EQ(write_document_file(text_document, ""), DocumentFileProblem::cannot_open);
    EXPECT_EQ(write_document_file(text_document, nullptr), DocumentFileProblem::cannot_open);
    EXPECT_FALSE(write_file_replacing(nullptr, "x", 1));
    EXPECT_FALSE(write_file_replacing("", "x", 1));
    EXPECT_FALSE(write_file_replacing(file("x").c_str(), nullptr, 1)) << "no bytes to write";
    EXPECT_FALSE(fs::exists(file("x")));
}

#ifndef _WIN32
// A link stays a link, its file taking the bytes; a device behind one is written, not replaced.
TEST_F(DocumentFilesTest, LinksAndDevicesStayWhatTheyAre) {
    write_all(file("real"), "o");
    fs::create_symlink(file("real"), file("link"));
    fs::create_symlink("/dev/null", file("null"));
    for (const char* name : {"link", "null"}) {
        EXPECT_TRUE(write_file_replacing(file(name).c_str(), "new", 3)) << name;
        EXPECT_TRUE(fs::is_symlink(file(name))) << name;
    }
    EXPECT_EQ(read_all(file("real")), test_files::bytes_of("new"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}
#endif

// Recording keeps what fits of the path (255) and the name (63) and zeroes the rest; clearing
// empties one document, its buffer and its file identity, and for the binary one the dump too.
TEST_F(DocumentFilesTest, RecordingAndClearingTheFileIdentity) {
    record_document_file(text_document, std::string(300, 'p').c_str(), "longer");
    record_document_file(text_document, "b", "b"); // nothing of the longer ones stays behind
    EXPECT_EQ(std::string(document_path[text_document], 256), "b" + std::string(255, '\0'));
    EXPECT_EQ(std::string(document_file_name[text_document], 64), "b" + std::string(63, '\0'));
    record_document_file(binary_document, std::string(300, 'p').c_str(),
                         std::string(99, 'n').c_str());
    EXPECT_EQ(std::strlen(document_path[binary_document]) +
                  std::strlen(document_file_name[binary_document]),
              255u + 63);
    binary_length = 77;
    for (int cleared : {text_document, binary_document}) {
        clear_document(cleared);
        for (int kind = 0; kind < 3; ++kind) {
            const bool empty = kind == text_document || kind == cleared;
            EXPECT_EQ(held(kind), Bytes(capacities[kind], empty ? 0 : fill));
            EXPECT_EQ(document_file_name[kind][0], kind == binary_document && !empty ? 'n' : 0);
        }
        const bool binary = cleared == binary_document;
        EXPECT_EQ(Bytes(byte_adjust_memory.data(), byte_adjust_memory.data() + 700),
                  Bytes(700, binary ? 0 : fill));
        EXPECT_EQ(binary_length, binary ? 0 : 77);
    }
}

TEST(MemoryMessages, NameWhatDoesNotFitAndWhereToEnlarge) {
    char text[400];
    memory_too_small_text(text, sizeof text, "dump", 30001, 3, 30000);
    EXPECT_STREQ(text,
                 "The dump is 30001 bytes, but the Display Binary Format Data Memory holds at "
                 "most 30000. Enlarge it on the \"Temporary Memory Resizing \" tab.");
    memory_too_small_text(text, sizeof text, nullptr, 4294967295u, 2, 1);
    EXPECT_STREQ(text, "The file is 4294967295 bytes, but the Binary Format Data Memory holds at "
                       "most 1. Enlarge it on the \"Temporary Memory Resizing \" tab.");
    std::memset(text, '#', sizeof text);
    memory_too_small_text(text, 20, "file", 40000, 1, 29999);
    EXPECT_EQ(std::string(text, 21), "The file is 40000 b" + std::string(1, '\0') + "#");
    memory_too_small_text(text, 0, "file", 1, 1, 1);
    EXPECT_EQ(text[0], 'T') << "no room, nothing written";
}

// Saves that go wrong, of the three documents and "sys.sys": each is reported as failed (or never
// as done), the previous file stays exactly as it was, and the next save goes through.
class WriteFaults : public DocumentFilesTest {
  protected:
    static constexpr int sys_sys = -1; // a target that is no document kind
    void TearDown() override {
        set_file_replacement(nullptr);
        settings = Settings{};
        DocumentFilesTest::TearDown();
    }
    // What a successful save writes: a whole buffer (the binary one's length is its capacity),
    // or the record of the default settings.
    static Bytes expected_bytes(int target) {
        if (target != sys_sys)
            return held(target);
        Bytes record(settings_record_size);
        write_settings_record({{9000, 10000, 6000, 700}}, settings, record.data());
        return record;
    }
    bool save(int target) {
        return target == sys_sys
                   ? save_settings(path.c_str())
                   : write_document_file(target, path.c_str()) == DocumentFileProblem::none;
    }
    // Puts the old file in place, lets the fault spoil a save, and checks what is left.
    void expect_old_file_kept(const std::function<bool(int)>& faulty_save,
                              bool leaves_temporary = false) {
        set_default_settings(settings);
        binary_length = capacities[binary_document];
        for (int target : {0, 1, 2, sys_sys}) {
            SCOPED_TRACE(testing::Message() << "target " << target);
            write_all(path, old_bytes);
            EXPECT_FALSE(faulty_save(target));
            EXPECT_EQ(read_all(path), old_bytes);
            if (leaves_temporary)
                EXPECT_EQ(read_all(path + ".tmp"), expected_bytes(target)) << "written whole";
            else
                EXPECT_FALSE(fs::exists(path + ".tmp") || fs::is_symlink(path + ".tmp"));
            EXPECT_TRUE(save(target)) << "once the fault is gone";
            EXPECT_EQ(read_all(path), expected_bytes(target));
            EXPECT_FALSE(fs::exists(path + ".tmp"));
        }
    }
    const std::string path = file("old");
    const Bytes old_bytes = {'o', 'l', 'd', '\r', '\n', 0, 0xff};
};

TEST_F(WriteFaults, AFailingReplacementKeepsTheOldFile) {
    expect_old_file_kept([this](int target) {
        set_file_replacement([](const char*, const char*) { return false; });
        const bool saved = save(target);
        set_file_replacement(nullptr);
        return saved;
    });
}

TEST_F(WriteFaults, AProtectedTargetIsNeitherWrittenNorReplaced) {
#ifndef _WIN32
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser; the Windows build runs this";
#endif
    expect_old_file_kept([this](int target) {
        fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
        const bool saved = save(target);
        fs::permissions(path, fs::perms::owner_all);
        return saved;
    });
}

#ifndef _WIN32
// The program ends (a crash, a power cut) after the new bytes are written and before they
// replace the old file. The save runs in a forked child, which shares the folder and buffers.
TEST_F(WriteFaults, EndingBetweenWritingAndReplacingKeepsTheOldFile) {
    GTEST_FLAG_SET(death_test_style, "fast");
    expect_old_file_kept(
        [this](int target) {
            EXPECT_EXIT(
                {
                    set_file_replacement([](const char*, const char*) -> bool { std::_Exit(7); });
                    save(target);
                },
                ::testing::ExitedWithCode(7), "");
            return false;
        },
        true);
}

// A disk that refuses every byte: the temporary file is the full device, reached through a link
// of the temporary's name. The link goes, the device stays.
TEST_F(WriteFaults, ADiskThatRefusesWritesKeepsTheOldFile) {
    struct stat device {};
    if (stat("/dev/full", &device) != 0 || !S_ISCHR(device.st_mode))
        GTEST_SKIP() << "no /dev/full here";
    expect_old_file_kept([this](int target) {
        fs::create_symlink("/dev/full", path + ".tmp");
        return save(target);
    });
    ASSERT_EQ(stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode)) << "the device itself is untouched";
}

// A disk that fills half-way through the write, made with a file size limit (which, unlike
// permissions, binds the superuser too).
TEST_F(WriteFaults, ADiskThatFillsHalfWayKeepsTheOldFile) {
    expect_old_file_kept([this](int target) {
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = 1000; // below every target's size
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool saved_file = save(target);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous_handler);
        return saved_file;
    });
}
#endif

} // namespace

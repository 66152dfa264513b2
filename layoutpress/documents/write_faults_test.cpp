// Saves that go wrong: a disk that refuses the bytes, one that fills half-way, a protected
// target, a replacement that fails, and a program that ends between writing and replacing. For
// each of the three documents and "sys.sys" the save is reported as failed (or, when the program
// ends, never reported as done) and the previous file stays exactly as it was.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/document_files.h"
#include "layoutpress/documents/file_store.h"
#include "layoutpress/documents/settings.h"
#include "testing/files/test_files.h"

namespace {

namespace fs = std::filesystem;
using Bytes = test_files::Bytes;
using test_files::read_all;
using test_files::write_all;

// What one target saves and how it says whether it did.
struct Target {
    const char* name;
    int kind; // a document kind, or -1 for sys.sys
};

const Target targets[] = {
    {"structure document", structure_document},
    {"text document", text_document},
    {"binary document", binary_document},
    {"sys.sys", -1},
};

class WriteFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        set_default_settings(settings);
        const uint32_t capacities[3] = {6000, 9000, 7000};
        for (int kind = 0; kind < 3; ++kind) {
            TemporaryMemory& memory = document_memory(kind);
            memory.release();
            ASSERT_TRUE(memory.allocate(capacities[kind]));
            // Texts of capacity - 1 letters and their terminator; bytes of every value.
            for (uint32_t i = 0; i < memory.capacity(); ++i) {
                memory.data()[i] = kind == binary_document ? static_cast<uint8_t>(i * 13)
                                                           : static_cast<uint8_t>('a' + i % 26);
            }
            if (kind != binary_document) {
                memory.data()[memory.capacity() - 1] = 0;
            }
        }
        binary_length = 7000;
        byte_adjust_memory.release();
        ASSERT_TRUE(byte_adjust_memory.allocate(3000));
    }
    void TearDown() override {
        set_file_replacement(nullptr);
        for (int kind = 0; kind < 3; ++kind) {
            document_memory(kind).release();
        }
        byte_adjust_memory.release();
        binary_length = 0;
        std::error_code ignored;
        fs::permissions(folder / "old", fs::perms::owner_all, ignored); // so that it can go
    }

    std::string path() const { return (folder / "old").string(); }

    // The bytes a successful save of the target writes.
    static Bytes expected_bytes(const Target& target) {
        if (target.kind < 0) {
            const MemoryCapacities live = {{struct_memory.capacity(), text_memory.capacity(),
                                            byte_memory.capacity(), byte_adjust_memory.capacity()}};
            Bytes record(settings_record_size);
            write_settings_record(live, settings, record.data());
            return record;
        }
        const TemporaryMemory& memory = document_memory(target.kind);
        const uint32_t length = target.kind == binary_document
                                    ? static_cast<uint32_t>(binary_length)
                                    : memory.capacity() - 1;
        return Bytes(memory.data(), memory.data() + length);
    }

    // Saves the target to path(); for documents, the problem must be the expected one.
    bool save(const Target& target, DocumentFileProblem failure) {
        if (target.kind < 0) {
            return save_settings(path().c_str());
        }
        const DocumentFileProblem problem = write_document_file(target.kind, path().c_str());
        EXPECT_TRUE(problem == DocumentFileProblem::none || problem == failure)
            << "problem " << static_cast<int>(problem);
        return problem == DocumentFileProblem::none;
    }

    test_files::TempFolder temp{"layoutpress-faults-"};
    const fs::path folder = temp.path();
    const Bytes old_bytes = {'o', 'l', 'd', '\r', '\n', 0, 0xff};
};

TEST_F(WriteFaults, AFailingReplacementKeepsTheOldFileAndLeavesNoTemporary) {
    set_file_replacement([](const char*, const char*) { return false; });
    for (const Target& target : targets) {
        SCOPED_TRACE(target.name);
        write_all(path(), old_bytes);
        EXPECT_FALSE(save(target, DocumentFileProblem::cannot_write));
        EXPECT_EQ(read_all(path()), old_bytes);
        EXPECT_FALSE(fs::exists(path() + ".tmp"));
    }
}

TEST_F(WriteFaults, AProtectedTargetIsNeitherWrittenNorReplaced) {
#ifndef _WIN32
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser; the Windows build runs this";
    }
#endif
    for (const Target& target : targets) {
        SCOPED_TRACE(target.name);
        write_all(path(), old_bytes);
        fs::permissions(path(), fs::perms::owner_read | fs::perms::group_read);
        EXPECT_FALSE(save(target, DocumentFileProblem::cannot_open));
        fs::permissions(path(), fs::perms::owner_all);
        EXPECT_EQ(read_all(path()), old_bytes);
        EXPECT_FALSE(fs::exists(path() + ".tmp"));
        // Writable again, the same save goes through.
        EXPECT_TRUE(save(target, DocumentFileProblem::none));
        EXPECT_EQ(read_all(path()), expected_bytes(target));
    }
}

#ifndef _WIN32
// The program ends (a crash, a power cut) after the new bytes are written and before they
// replace the old file: the old file is whole, and the next save goes through. The save runs in
// a forked child, which shares the test's folder and buffers.
TEST_F(WriteFaults, EndingBetweenWritingAndReplacingKeepsTheOldFile) {
    GTEST_FLAG_SET(death_test_style, "fast");
    for (const Target& target : targets) {
        SCOPED_TRACE(target.name);
        write_all(path(), old_bytes);
        EXPECT_EXIT(
            {
                set_file_replacement([](const char*, const char*) -> bool { std::_Exit(7); });
                save(target, DocumentFileProblem::cannot_write);
            },
            ::testing::ExitedWithCode(7), "");
        EXPECT_EQ(read_all(path()), old_bytes);
        EXPECT_EQ(read_all(path() + ".tmp"), expected_bytes(target))
            << "the new bytes were complete when the program ended";
        EXPECT_TRUE(save(target, DocumentFileProblem::none));
        EXPECT_EQ(read_all(path()), expected_bytes(target));
        EXPECT_FALSE(fs::exists(path() + ".tmp")) << "the leftover was written over and moved";
    }
}

// A disk that refuses every byte: the temporary file is the full device (/dev/full), reached
// through a link of the temporary's name. The link goes, the device stays.
TEST_F(WriteFaults, ADiskThatRefusesWritesKeepsTheOldFile) {
    struct stat device {};
    if (stat("/dev/full", &device) != 0 || !S_ISCHR(device.st_mode)) {
        GTEST_SKIP() << "no /dev/full here";
    }
    for (const Target& target : targets) {
        SCOPED_TRACE(target.name);
        write_all(path(), old_bytes);
        fs::create_symlink("/dev/full", path() + ".tmp");
        EXPECT_FALSE(save(target, DocumentFileProblem::cannot_write));
        EXPECT_EQ(read_all(path()), old_bytes);
        EXPECT_FALSE(fs::is_symlink(path() + ".tmp"));
        struct stat after {};
        ASSERT_EQ(stat("/dev/full", &after), 0);
        EXPECT_TRUE(S_ISCHR(after.st_mode)) << "the device itself is untouched";
    }
}

// A disk that fills half-way through the write, made with a file size limit (which, unlike
// permissions, binds the superuser too).
TEST_F(WriteFaults, ADiskThatFillsHalfWayKeepsTheOldFile) {
    for (const Target& target : targets) {
        SCOPED_TRACE(target.name);
        write_all(path(), old_bytes);
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = 1000; // below every target's size
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool saved_file = save(target, DocumentFileProblem::cannot_write);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous_handler);

        EXPECT_FALSE(saved_file);
        EXPECT_EQ(read_all(path()), old_bytes);
        EXPECT_FALSE(fs::exists(path() + ".tmp"));
        EXPECT_TRUE(save(target, DocumentFileProblem::none)) << "once the disk has room again";
        EXPECT_EQ(read_all(path()), expected_bytes(target));
    }
}
#endif

} // namespace

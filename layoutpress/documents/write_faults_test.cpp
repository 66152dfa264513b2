// Saves that go wrong: a disk that refuses the bytes, one that fills half-way, a protected
// target, a replacement that fails, and a program that ends between writing and replacing. For
// each of the three documents and "sys.sys" the save is reported as failed (or, when the program
// ends, never reported as done), the previous file stays exactly as it was, and the next save
// goes through.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

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
using test_files::Bytes;
using test_files::read_all;
using test_files::write_all;

constexpr int sys_sys = -1; // a target that is no document kind

class WriteFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        set_default_settings(settings);
        const uint32_t capacities[4] = {6000, 9000, 7000, 3000};
        for (int row = 0; row < 4; ++row) { // texts end in their last byte, as does the binary
            TemporaryMemory& memory = row < 3 ? document_memory(row) : byte_adjust_memory;
            memory.release();
            ASSERT_TRUE(memory.allocate(capacities[row]));
            std::memset(memory.data(), 'a' + row, capacities[row] - 1);
            memory.data()[capacities[row] - 1] = 0;
        }
        binary_length = 7000;
    }
    void TearDown() override {
        set_file_replacement(nullptr);
        for (TemporaryMemory* memory :
             {&struct_memory, &text_memory, &byte_memory, &byte_adjust_memory}) {
            memory->release();
        }
    }

    // The bytes a successful save of the target writes.
    static Bytes expected_bytes(int target) {
        if (target == sys_sys) {
            Bytes record(settings_record_size);
            write_settings_record({{6000, 9000, 7000, 3000}}, settings, record.data());
            return record;
        }
        const TemporaryMemory& memory = document_memory(target);
        return Bytes(memory.data(), memory.data() + memory.capacity() - (target == 2 ? 0 : 1));
    }

    bool save(int target) {
        return target == sys_sys
                   ? save_settings(path.c_str())
                   : write_document_file(target, path.c_str()) == DocumentFileProblem::none;
    }

    // Puts the old file in place, lets the fault spoil a save, and checks what is left.
    void expect_old_file_kept(const std::function<bool(int)>& faulty_save,
                              bool leaves_temporary = false) {
        for (int target : {0, 1, 2, sys_sys}) { // the three documents, then sys.sys
            SCOPED_TRACE(testing::Message() << "target " << target);
            write_all(path, old_bytes);
            EXPECT_FALSE(faulty_save(target));
            EXPECT_EQ(read_all(path), old_bytes);
            if (leaves_temporary) {
                EXPECT_EQ(read_all(path + ".tmp"), expected_bytes(target)) << "written whole";
            } else {
                EXPECT_FALSE(fs::exists(path + ".tmp") || fs::is_symlink(path + ".tmp"));
            }
            EXPECT_TRUE(save(target)) << "once the fault is gone";
            EXPECT_EQ(read_all(path), expected_bytes(target));
            EXPECT_FALSE(fs::exists(path + ".tmp"));
        }
    }

    test_files::TempFolder temp{"layoutpress-faults-"};
    const std::string path = temp.file("old");
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
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser; the Windows build runs this";
    }
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
    if (stat("/dev/full", &device) != 0 || !S_ISCHR(device.st_mode)) {
        GTEST_SKIP() << "no /dev/full here";
    }
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

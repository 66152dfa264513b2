#include "layoutpress/documents/file_store.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testing/files/test_files.h"

namespace {

namespace fs = std::filesystem;
using Bytes = test_files::Bytes;
using test_files::read_all;
using test_files::write_all;

class FileStoreTest : public ::testing::Test {
  protected:
    std::string file(const std::string& name) const { return temp.file(name); }

    test_files::TempFolder temp{"layoutpress-files-"};
    const fs::path folder = temp.path();
};

using test_files::pattern;

TEST_F(FileStoreTest, WrittenBytesReadBackUnchanged) {
    const std::string path = file("data.bin");
    // Longer and shorter contents in turn: a replaced file keeps nothing of the old one.
    for (size_t size : {5000u, 0u, 1u, 2080u, 13u}) {
        SCOPED_TRACE(testing::Message() << size << " bytes");
        Bytes bytes = pattern(size);
        if (size > 0) {
            bytes[0] = '\r'; // no newline translation either way
        }
        ASSERT_TRUE(write_file_replacing(path.c_str(), bytes.data(), bytes.size()));
        EXPECT_EQ(read_all(path), bytes);
        EXPECT_FALSE(fs::exists(path + ".tmp"));

        Bytes back(size + 10, 0xEE);
        size_t got = 99;
        ASSERT_TRUE(read_file_prefix(path.c_str(), back.data(), back.size(), &got));
        EXPECT_EQ(got, size);
        back.resize(got);
        EXPECT_EQ(back, bytes);
    }
}

TEST_F(FileStoreTest, ReadingTakesAtMostTheCapacity) {
    const std::string path = file("long.bin");
    write_all(path, "0123456789");
    struct Case {
        size_t capacity;
        std::string expected;
    };
    const Case cases[] = {{0, ""}, {1, "0"}, {4, "0123"}, {10, "0123456789"}, {11, "0123456789"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "capacity " << c.capacity);
        std::string buffer(c.capacity + 4, '#');
        size_t got = 99;
        ASSERT_TRUE(read_file_prefix(path.c_str(), &buffer[0], c.capacity, &got));
        EXPECT_EQ(buffer.substr(0, got), c.expected);
        EXPECT_EQ(buffer.substr(c.capacity), "####") << "nothing beyond the capacity";
    }
}

TEST_F(FileStoreTest, UnreadablePathsAreReported) {
    char buffer[16];
    size_t got = 99;
    EXPECT_FALSE(read_file_prefix(file("missing").c_str(), buffer, sizeof buffer, &got));
    EXPECT_EQ(got, 0u);
    EXPECT_FALSE(read_file_prefix(folder.string().c_str(), buffer, sizeof buffer, &got))
        << "a folder is no file";
    EXPECT_FALSE(read_file_prefix(nullptr, buffer, sizeof buffer, &got));
}

TEST_F(FileStoreTest, FailedWritesLeaveTheOldFileAndNoTemporary) {
    const Bytes bytes = pattern(100);
    const std::string old_text = "old content";

    struct Case {
        const char* what;
        std::string path;
        std::string old_file; // a file kept at path, if any
    };
    const std::string blocked = file("blocked.sys");
    const std::string occupied = file("occupied");
    fs::create_directory(occupied);
    write_all((fs::path(occupied) / "inside").string(), "x");
    fs::create_directory(blocked + ".tmp");
    write_all(blocked, old_text);

    const Case cases[] = {
        {"missing folder", file("nowhere/data.bin"), ""},
        {"path is a folder", occupied, ""},
        {"temporary blocked by a folder", blocked, old_text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(write_file_replacing(c.path.c_str(), bytes.data(), bytes.size()));
        if (!c.old_file.empty()) {
            const Bytes kept = read_all(c.path);
            EXPECT_EQ(std::string(kept.begin(), kept.end()), c.old_file);
        }
    }
    EXPECT_TRUE(fs::is_directory(occupied));
    EXPECT_FALSE(fs::exists(occupied + ".tmp")) << "the temporary of a failed replacement";
    EXPECT_FALSE(write_file_replacing(nullptr, bytes.data(), bytes.size()));
    EXPECT_FALSE(write_file_replacing(file("x").c_str(), nullptr, 1));
    EXPECT_FALSE(fs::exists(file("x")));
}

TEST_F(FileStoreTest, ReplaceFileOverwritesTheTarget) {
    const std::string source = file("new");
    const std::string target = file("old");
    write_all(source, "fresh");
    write_all(target, "stale and longer");
    ASSERT_TRUE(replace_file(source.c_str(), target.c_str()));
    const Bytes now = read_all(target);
    EXPECT_EQ(std::string(now.begin(), now.end()), "fresh");
    EXPECT_FALSE(fs::exists(source));
    EXPECT_FALSE(replace_file(source.c_str(), target.c_str())) << "the source is gone";
}

} // namespace

// The 2080-byte sys.sys record and the start-up that reads it and allocates the buffers: the
// layout, files of every length, and refused storage.
#include "layoutpress/documents/settings.h"

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers_test_support.h"
#include "testing/files/test_files.h"

namespace {

using test_files::Bytes;
using test_files::read_all;
using test_files::write_all;

bool same(const Settings& a, const Settings& b) { // the fields before the lengths are all bytes
    return std::memcmp(&a, &b, offsetof(Settings, file_filter_length)) == 0 &&
           std::memcmp(a.file_filter_length, b.file_filter_length, 12) == 0;
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void TearDown() override { release_all(); }
    static void release_all() {
        test_buffers::reset();
        settings = Settings{};
    }
    static std::vector<uint32_t> capacities() {
        std::vector<uint32_t> values;
        for (TemporaryMemory* memory : test_buffers::all)
            values.push_back(memory->capacity());
        return values;
    }
    // A record of the given capacities and settings unlike the defaults in every field.
    static Bytes sample_record(const MemoryCapacities& capacities) {
        Settings s{};
        s.organize_line_feed = 1;
        s.binary_output_mode = Decimal;
        for (int kind = 0; kind < 3; ++kind) {
            std::memset(s.ini_file_name[kind], 'n' + kind, 100 + kind);
            std::memcpy(s.file_filter[kind], "B\0*.b\0C\0*.c", 12 - 2 * kind);
            s.file_filter_length[kind] = static_cast<uint32_t>(13 - 2 * kind);
        }
        Bytes record(settings_record_size);
        write_settings_record(capacities, s, record.data());
        return record;
    }
    const std::vector<uint32_t> default_capacities{30000, 30000, 10000, 30000, 30000};
    test_files::TempFolder folder{"layoutpress-settings-"};
    const std::string path = folder.file("sys.sys");
};

// The first start writes the defaults at their places in the record; a stored record loads and
// is saved again byte for byte; when no file can be written the defaults still start.
TEST_F(SettingsFileTest, DefaultsAndStoredSettingsRoundTripThroughTheFile) {
    test_buffers::ration([](size_t, size_t) { return true; });
    EXPECT_EQ(load_settings(path.c_str()), SettingsOutcome::allocation_failed);
    EXPECT_FALSE(std::filesystem::exists(path)) << "nothing is written after a failure";
    release_all();
    ASSERT_EQ(load_settings(path.c_str()), SettingsOutcome::created);
    EXPECT_EQ(capacities(), default_capacities);
    Bytes file = read_all(path);
    ASSERT_EQ(file.size(), 2080u);
    EXPECT_EQ(Bytes(file.begin() + 508, file.begin() + 533),
              (Bytes{0,    0, 0, 0,    0x30, 0x75, 0, 0, 0x30, 0x75, 0,   0,  0x10,
                     0x27, 0, 0, 0x30, 0x75, 0,    0, 1, 1,    0,    '*', '.'}));
    EXPECT_EQ(std::string(file.begin() + 1299 + 512, file.begin() + 1299 + 512 + 48),
              std::string("Binary\0*.bin\0Struct\0*.str\0Text\0*.TXT\0ALL\0*.*\0\0\0", 48));
    EXPECT_EQ(test_files::u32_at(file, 2076), 47u);
    release_all();

    const Bytes clamped = sample_record(MemoryCapacities{{10, 255, 2000000000, 256}});
    EXPECT_EQ(Bytes(clamped.begin() + 512, clamped.begin() + 528),
              (Bytes{255, 0, 0, 0, 255, 0, 0, 0, 0x55, 0x55, 0x55, 0x55, 0, 1, 0, 0}));
    write_all(path, sample_record(MemoryCapacities{{40000, 50000, 60000, 70000}}));
    file = read_all(path);
    const char* failed = "stale";
    ASSERT_EQ(load_settings(path.c_str(), &failed), SettingsOutcome::loaded);
    EXPECT_EQ(failed, nullptr);
    EXPECT_EQ(capacities(), (std::vector<uint32_t>{40000, 50000, 60000, 70000, 70000}));
    ASSERT_TRUE(save_settings(path.c_str()));
    EXPECT_EQ(read_all(path), file);

    release_all(); // the live capacities saved, and failing saves: WriteFaults
    const std::string nowhere = folder.file("no such folder/sys.sys");
    ASSERT_EQ(load_settings(nowhere.c_str()), SettingsOutcome::defaults_unsaved);
    EXPECT_EQ(capacities(), default_capacities);
    EXPECT_EQ(settings.file_filter_length[2], 47u);
}

// sys.sys of every length from 0 to 540 and 2060 to 2100 bytes, and every 17th between, with
// random contents (capacities below 65536) reads as the record zero-padded, keeps every text and
// filter inside its field, and is never rewritten. Every request after the first length % 7 is
// refused: a start either succeeds, or names the first buffer refused (after 11 tries), holds
// nothing and keeps the settings as they were.
TEST_F(SettingsFileTest, FilesOfEveryLengthStartWithinBounds) {
    const char* const names[5] = {"struct_memory", "text_memory", "byte_memory",
                                  "byte_adjust_memory", "char_view_memory"};
    std::mt19937 random(2080);
    for (size_t length = 0; length <= 2100; length += length < 540 || length > 2060 ? 1 : 17) {
        SCOPED_TRACE(testing::Message() << "file of " << length << " bytes");
        Bytes file(length);
        for (size_t i = 0; i < length; ++i)
            file[i] = i >= 514 && i < 528 && i % 4 >= 2 ? 0 : static_cast<uint8_t>(random());
        write_all(path, file);
        Bytes record = file;
        record.resize(settings_record_size, 0);
        MemoryCapacities read;
        Settings expected{};
        read_settings_record(record.data(), record.size(), read, expected);
        test_buffers::ration([length](size_t, size_t earlier) { return earlier >= length % 7; });
        const char* failed = nullptr;
        const SettingsOutcome outcome = load_settings(path.c_str(), &failed);
        if (length % 7 < 5) {
            EXPECT_EQ(outcome, SettingsOutcome::allocation_failed);
            EXPECT_STREQ(failed, names[length % 7]);
            EXPECT_EQ(test_buffers::requested.size(), length % 7 + 11);
            EXPECT_EQ(capacities(), std::vector<uint32_t>(5, 0));
            EXPECT_TRUE(same(settings, Settings{})) << "settings must stay as they were";
        } else {
            ASSERT_EQ(outcome, SettingsOutcome::loaded);
            const uint32_t* held = read.values;
            EXPECT_EQ(capacities(),
                      (std::vector<uint32_t>{held[0], held[1], held[2], held[3], held[3]}));
            EXPECT_TRUE(same(settings, expected));
            for (int kind = 0; kind < 3; ++kind) {
                EXPECT_NE(std::memchr(settings.ini_file_name[kind], 0, 256), nullptr);
                EXPECT_EQ(settings.file_filter[kind][254] | settings.file_filter[kind][255], 0);
                EXPECT_LE(settings.file_filter_length[kind], 256u);
            }
        }
        EXPECT_EQ(read_all(path), file) << "a file that exists is never rewritten";
        release_all();
    }
}

} // namespace

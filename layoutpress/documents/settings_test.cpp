// The 2080-byte sys.sys record and the start-up that reads it and allocates the buffers: the
// layout, files of every length, refused storage, and saving the live capacities.
#include "layoutpress/documents/settings.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "testing/files/test_files.h"

namespace {

using test_files::Bytes;
using test_files::read_all;
using test_files::u32_at;
using test_files::write_all;

TemporaryMemory* const loaded[5] = {&struct_memory, &text_memory, &byte_memory, &byte_adjust_memory,
                                    &char_view_memory};

void put_u32(Bytes& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

bool same(const Settings& a, const Settings& b) { // the fields before the lengths are all bytes
    return std::memcmp(&a, &b, offsetof(Settings, file_filter_length)) == 0 &&
           std::memcmp(a.file_filter_length, b.file_filter_length, 12) == 0;
}

// The first `granted` storage requests get storage, later ones none; the sizes are kept.
int granted = 0;
std::vector<size_t> requested;
void* rationed_request(size_t size) {
    requested.push_back(size);
    return granted-- > 0 ? std::malloc(size) : nullptr;
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void TearDown() override { release_all(); }
    // The buffers are process-wide: leave them as the next test expects to find them.
    static void release_all() {
        for (TemporaryMemory* memory : loaded) {
            memory->release();
        }
        set_storage_request(nullptr);
        requested.clear();
        settings = Settings{};
    }
    static std::vector<uint32_t> capacities() {
        std::vector<uint32_t> values;
        for (TemporaryMemory* memory : loaded) {
            values.push_back(memory->capacity());
        }
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
    ASSERT_EQ(load_settings(path.c_str()), SettingsOutcome::created);
    EXPECT_EQ(capacities(), default_capacities);
    Bytes file = read_all(path);
    ASSERT_EQ(file.size(), 2080u);
    EXPECT_EQ(Bytes(file.begin() + 508, file.begin() + 533),
              (Bytes{0,    0, 0, 0,    0x30, 0x75, 0, 0, 0x30, 0x75, 0,   0,  0x10,
                     0x27, 0, 0, 0x30, 0x75, 0,    0, 1, 1,    0,    '*', '.'}));
    EXPECT_EQ(std::string(file.begin() + 1299 + 512, file.begin() + 1299 + 512 + 48),
              std::string("Binary\0*.bin\0Struct\0*.str\0Text\0*.TXT\0ALL\0*.*\0\0\0", 48));
    EXPECT_EQ(u32_at(file, 2076), 47u);
    release_all();

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
// random contents reads as the record zero-padded, keeps every text and filter inside its field,
// clamps the capacities, and is never rewritten. Most files hold capacities the test can afford;
// every fifth keeps its random ones and is refused storage above 1 MB, so the start either
// succeeds or names the buffer and holds nothing.
TEST_F(SettingsFileTest, FilesOfEveryLengthStartWithinBounds) {
    std::mt19937 random(2080);
    for (size_t length = 0; length <= 2100; length += length < 540 || length > 2060 ? 1 : 17) {
        SCOPED_TRACE(testing::Message() << "file of " << length << " bytes");
        set_storage_request(
            [](size_t size) { return size <= 1000000 ? std::malloc(size) : nullptr; });
        Bytes file(length);
        for (uint8_t& byte : file) {
            byte = static_cast<uint8_t>(random());
        }
        for (size_t high = 514; length % 5 != 0 && high < std::min<size_t>(528, length); ++high) {
            file[high] = high % 4 >= 2 ? 0 : file[high]; // capacities below 65536
        }
        write_all(path, file);
        Bytes record(file.begin(), file.begin() + std::min<ptrdiff_t>(length, 2080));
        record.resize(settings_record_size, 0);
        MemoryCapacities expected_capacities{};
        Settings expected{};
        read_settings_record(record.data(), record.size(), expected_capacities, expected);

        const char* failed = nullptr;
        const SettingsOutcome outcome = load_settings(path.c_str(), &failed);
        if (outcome == SettingsOutcome::allocation_failed) {
            EXPECT_EQ(length % 5, 0u) << "only a random capacity can be refused";
            EXPECT_NE(failed, nullptr);
            EXPECT_EQ(capacities(), std::vector<uint32_t>(5, 0));
        } else {
            ASSERT_EQ(outcome, SettingsOutcome::loaded);
            for (int i = 0; i < 5; ++i) {
                const uint32_t stored = std::max(u32_at(record, 512 + 4 * std::min(i, 3)), 255u);
                EXPECT_EQ(capacities()[i], i == 2 ? std::min(stored, 1431655765u) : stored);
            }
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

// Each of the five buffers refused in turn, with and without a file: the start names it, holds
// nothing, keeps the settings and writes no file. Capacities out of bounds are brought within
// them when written and when read, before they are requested.
TEST_F(SettingsFileTest, RefusedStorageNamesTheBufferAndHoldsNothing) {
    const char* const names[5] = {"struct_memory", "text_memory", "byte_memory",
                                  "byte_adjust_memory", "char_view_memory"};
    Bytes record = sample_record(MemoryCapacities{{10, 2000, 2000000000, 4000}});
    EXPECT_EQ(u32_at(record, 512), 255u);
    EXPECT_EQ(u32_at(record, 520), 1431655765u);
    put_u32(record, 512, 10);
    put_u32(record, 520, 2000000000);
    const uint32_t stored_requests[5] = {255, 2000, 1431655765, 4000, 4000};
    for (bool file_present : {true, false}) {
        for (int failing = 0; failing < 5; ++failing) {
            SCOPED_TRACE(testing::Message() << file_present << " " << names[failing]);
            std::filesystem::remove(path);
            if (file_present) {
                write_all(path, record);
            }
            granted = failing;
            set_storage_request(rationed_request);
            const char* failed = nullptr;
            EXPECT_EQ(load_settings(path.c_str(), &failed), SettingsOutcome::allocation_failed);
            EXPECT_STREQ(failed, names[failing]);
            EXPECT_EQ(requested.size(), static_cast<size_t>(failing) + 11) << "11 tries";
            EXPECT_EQ(requested.back(),
                      file_present ? stored_requests[failing] : default_capacities[failing]);
            EXPECT_EQ(capacities(), std::vector<uint32_t>(5, 0));
            EXPECT_EQ(settings.file_filter_length[0], 0u) << "settings must stay as they were";
            EXPECT_EQ(std::filesystem::exists(path), file_present) << "no file after a failure";
            release_all();
        }
    }
}

} // namespace

// The 2080-byte sys.sys record and the start-up that reads it and allocates the buffers: the
// layout, damaged, short and long files, refused storage, and saving the live capacities.
#include "layoutpress/documents/settings.h"

#include <algorithm>
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

namespace fs = std::filesystem;
using test_files::Bytes;
using test_files::read_all;
using test_files::u32_at;
using test_files::write_all;

TemporaryMemory* const loaded[5] = {&struct_memory, &text_memory, &byte_memory, &byte_adjust_memory,
                                    &char_view_memory};
const char* const names[5] = {"struct_memory", "text_memory", "byte_memory", "byte_adjust_memory",
                              "char_view_memory"};

void put_u32(Bytes& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// Settings unlike the defaults in every field.
Settings sample_settings() {
    Settings s{};
    s.organize_line_feed = 1;
    s.binary_output_mode = Decimal;
    const std::string texts[3] = {std::string(100, 'n'), "C:\\data\\*.STR", "x.bin"};
    const std::string filters[3] = {std::string("Only\0*.one\0", 12), std::string("A\0*\0", 5),
                                    std::string("B\0*.b\0C\0*.c\0", 13)};
    for (int kind = 0; kind < 3; ++kind) {
        texts[kind].copy(s.ini_file_name[kind], texts[kind].size());
        filters[kind].copy(s.file_filter[kind], filters[kind].size());
        s.file_filter_length[kind] = static_cast<uint32_t>(filters[kind].size() + 1);
    }
    return s;
}

bool same(const Settings& a, const Settings& b) {
    return a.organize_space == b.organize_space && a.organize_line_feed == b.organize_line_feed &&
           a.binary_output_mode == b.binary_output_mode &&
           std::memcmp(a.ini_file_name, b.ini_file_name, sizeof a.ini_file_name) == 0 &&
           std::memcmp(a.file_filter, b.file_filter, sizeof a.file_filter) == 0 &&
           std::memcmp(a.file_filter_length, b.file_filter_length, sizeof a.file_filter_length) ==
               0;
}

Bytes record_of(const MemoryCapacities& capacities, const Settings& s) {
    Bytes record(settings_record_size);
    write_settings_record(capacities, s, record.data());
    return record;
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
    std::vector<uint32_t> capacities() const {
        std::vector<uint32_t> values;
        for (TemporaryMemory* memory : loaded) {
            values.push_back(memory->capacity());
        }
        return values;
    }
    test_files::TempFolder folder{"layoutpress-settings-"};
    const std::string path = folder.file("sys.sys");
};

// The first start writes the defaults at their places in the record; what is loaded comes back
// from the file and is saved again byte for byte.
TEST_F(SettingsFileTest, DefaultsAndStoredSettingsRoundTripThroughTheFile) {
    ASSERT_EQ(load_settings(path.c_str()), SettingsOutcome::created);
    EXPECT_EQ(capacities(), (std::vector<uint32_t>{30000, 30000, 10000, 30000, 30000}));
    const Bytes file = read_all(path);
    ASSERT_EQ(file.size(), 2080u);
    EXPECT_EQ(Bytes(file.begin() + 508, file.begin() + 533),
              (Bytes{0,    0, 0, 0,    0x30, 0x75, 0, 0, 0x30, 0x75, 0,   0,  0x10,
                     0x27, 0, 0, 0x30, 0x75, 0,    0, 1, 1,    0,    '*', '.'}));
    EXPECT_EQ(std::string(file.begin() + 1299 + 512, file.begin() + 1299 + 512 + 48),
              std::string("Binary\0*.bin\0Struct\0*.str\0Text\0*.TXT\0ALL\0*.*\0\0\0", 48));
    EXPECT_EQ(u32_at(file, 2076), 47u);
    release_all();

    const Settings stored = sample_settings();
    write_all(path, record_of(MemoryCapacities{{40000, 50000, 60000, 70000}}, stored));
    ASSERT_EQ(load_settings(path.c_str()), SettingsOutcome::loaded);
    EXPECT_EQ(capacities(), (std::vector<uint32_t>{40000, 50000, 60000, 70000, 70000}));
    EXPECT_TRUE(same(settings, stored));
    const Bytes before = read_all(path);
    ASSERT_TRUE(save_settings(path.c_str()));
    EXPECT_EQ(read_all(path), before);
}

// sys.sys of every length from 0 to 2100 bytes with random contents reads as the record
// zero-padded, keeps every text and filter inside its field, clamps the capacities, and is
// never rewritten. Most files hold capacities the test can afford; every fifth keeps its random
// ones and is refused storage above 1 MB, so the start either succeeds or names the buffer and
// holds nothing.
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
        Bytes record(file.begin(),
                     file.begin() + static_cast<long>(std::min<size_t>(length, 2080)));
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
                const uint32_t stored =
                    std::max(u32_at(record, 512 + 4 * std::min(i, 3)), smallest_capacity);
                EXPECT_EQ(capacities()[i],
                          i == 2 ? std::min(stored, largest_byte_capacity) : stored);
            }
            EXPECT_TRUE(same(settings, expected));
            for (int kind = 0; kind < 3; ++kind) {
                EXPECT_NE(std::memchr(settings.ini_file_name[kind], 0, settings_text_size),
                          nullptr);
                EXPECT_EQ(settings.file_filter[kind][254] | settings.file_filter[kind][255], 0);
                EXPECT_LE(settings.file_filter_length[kind], 256u);
            }
        }
        EXPECT_EQ(read_all(path), file) << "a file that exists is never rewritten";
        release_all();
    }
}

TEST(SettingsRecord, ClampsCapacitiesAndTerminatesDamagedTexts) {
    const uint32_t stored[][4] = {{10, 254, 2000000000, 255}, {256, 1000, 1431655766, 4294967295u}};
    const uint32_t used[][4] = {{255, 255, 1431655765, 255}, {256, 1000, 1431655765, 4294967295u}};
    for (int c = 0; c < 2; ++c) {
        Bytes raw(settings_record_size, 'A');
        for (int i = 0; i < 4; ++i) {
            put_u32(raw, 512 + 4 * i, stored[c][i]);
        }
        put_u32(raw, 2068, 1000);
        put_u32(raw, 2072, 257);
        put_u32(raw, 2076, 255);
        MemoryCapacities read{};
        Settings s{};
        read_settings_record(raw.data(), raw.size(), read, s);
        const Bytes written = record_of(
            MemoryCapacities{{stored[c][0], stored[c][1], stored[c][2], stored[c][3]}}, s);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(read.values[i], used[c][i]) << "read, capacity " << i;
            EXPECT_EQ(u32_at(written, 512 + 4 * i), used[c][i]) << "written, capacity " << i;
        }
        for (int kind = 0; kind < 3; ++kind) {
            EXPECT_EQ(std::string(s.ini_file_name[kind], 256), std::string(255, 'A') + '\0');
            EXPECT_EQ(std::string(s.file_filter[kind], 256),
                      std::string(254, 'A') + std::string(2, '\0'));
        }
        EXPECT_EQ(s.file_filter_length[0] + s.file_filter_length[1] + s.file_filter_length[2],
                  767u);
        EXPECT_EQ(s.binary_output_mode, 'A') << "options are used as stored";
    }
}

TEST_F(SettingsFileTest, SavingStoresTheLiveCapacitiesOrKeepsTheOldFile) {
    set_default_settings(settings);
    ASSERT_TRUE(struct_memory.allocate(10));
    ASSERT_TRUE(text_memory.allocate(300));
    ASSERT_TRUE(save_settings(path.c_str())); // byte memories unallocated: stored as 255
    const Bytes file = read_all(path);
    EXPECT_EQ(Bytes(file.begin() + 512, file.begin() + 528),
              (Bytes{255, 0, 0, 0, 44, 1, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0}));
    EXPECT_EQ(struct_memory.capacity(), 10u) << "saving touches no buffer";
    fs::create_directory(path + ".tmp");
    EXPECT_FALSE(save_settings(path.c_str()));
    EXPECT_EQ(read_all(path), file);
    EXPECT_FALSE(save_settings(folder.file("no such folder/sys.sys").c_str()));

    release_all();
    ASSERT_EQ(load_settings(folder.file("no such folder/sys.sys").c_str()),
              SettingsOutcome::defaults_unsaved);
    EXPECT_EQ(capacities(), (std::vector<uint32_t>{30000, 30000, 10000, 30000, 30000}));
    EXPECT_EQ(settings.file_filter_length[2], 47u);
}

TEST_F(SettingsFileTest, RefusedStorageNamesTheBufferAndHoldsNothing) {
    for (bool file_present : {true, false}) {
        for (int failing = 0; failing < 5; ++failing) {
            SCOPED_TRACE(testing::Message() << file_present << " " << names[failing]);
            fs::remove(path);
            if (file_present) {
                write_all(path,
                          record_of(MemoryCapacities{{1000, 2000, 3000, 4000}}, sample_settings()));
            }
            granted = failing;
            set_storage_request(rationed_request);
            const char* failed = nullptr;
            EXPECT_EQ(load_settings(path.c_str(), &failed), SettingsOutcome::allocation_failed);
            EXPECT_STREQ(failed, names[failing]);
            EXPECT_EQ(requested.size(), static_cast<size_t>(failing) + 11);
            EXPECT_EQ(capacities(), std::vector<uint32_t>(5, 0));
            EXPECT_EQ(settings.file_filter_length[0], 0u) << "settings must stay as they were";
            EXPECT_EQ(fs::exists(path), file_present) << "nothing is written after a failure";
            release_all();
        }
    }
    // A stored byte capacity above the largest is lowered before it is requested (and refused
    // here rather than really reserve 1.4 GB).
    Bytes raw = record_of(MemoryCapacities{{10, 2000, 2000000000, 4000}}, sample_settings());
    put_u32(raw, 512, 10);
    put_u32(raw, 520, 2000000000);
    write_all(path, raw);
    granted = 2;
    set_storage_request(rationed_request);
    EXPECT_EQ(load_settings(path.c_str()), SettingsOutcome::allocation_failed);
    EXPECT_EQ(std::vector<size_t>(requested.begin(), requested.begin() + 3),
              (std::vector<size_t>{255, 2000, 1431655765}));
}

} // namespace

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
using Bytes = test_files::Bytes;
using test_files::read_all;
using test_files::TempFolder;
using test_files::u32_at;
using test_files::write_all;

void put_u32(Bytes& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

std::string field(const char* text) {
    return std::string(text, settings_text_size);
}

// A field of 256 bytes holding `content` and then zero bytes.
std::string padded(const std::string& content) {
    return content + std::string(settings_text_size - content.size(), '\0');
}

const std::string default_filters[3] = {
    padded(std::string("Struct\0*.str\0Text\0*.txt\0Binary\0*.bin\0ALL\0*.*\0", 46)),
    padded(std::string("Text\0*.txt\0Struct\0*.str\0Binary\0*.bin\0ALL\0*.*\0", 46)),
    padded(std::string("Binary\0*.bin\0Struct\0*.str\0Text\0*.TXT\0ALL\0*.*\0", 46)),
};

void expect_same_settings(const Settings& actual, const Settings& expected) {
    EXPECT_EQ(actual.organize_space, expected.organize_space);
    EXPECT_EQ(actual.organize_line_feed, expected.organize_line_feed);
    EXPECT_EQ(actual.binary_output_mode, expected.binary_output_mode);
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        EXPECT_EQ(field(actual.ini_file_name[kind]), field(expected.ini_file_name[kind]));
        EXPECT_EQ(field(actual.file_filter[kind]), field(expected.file_filter[kind]));
        EXPECT_EQ(actual.file_filter_length[kind], expected.file_filter_length[kind]);
    }
}

// Settings unlike the defaults in every field.
Settings sample_settings() {
    Settings s{};
    s.organize_space = 0;
    s.organize_line_feed = 1;
    s.binary_output_mode = Decimal;
    const std::string names[3] = {std::string(100, 'n'), "C:\\data\\*.STR", "x.bin"};
    const std::string filters[3] = {std::string("Only\0*.one\0", 12), std::string("A\0*\0", 5),
                                    std::string("B\0*.b\0C\0*.c\0", 13)};
    for (int kind = 0; kind < 3; ++kind) {
        names[kind].copy(s.ini_file_name[kind], names[kind].size());
        filters[kind].copy(s.file_filter[kind], filters[kind].size());
        s.file_filter_length[kind] = static_cast<uint32_t>(filters[kind].size() + 1);
    }
    return s;
}

Bytes record_of(const MemoryCapacities& capacities, const Settings& s) {
    Bytes record(settings_record_size);
    write_settings_record(capacities, s, record.data());
    return record;
}

// Storage requests for the tests: the first `granted` requests get storage, later ones none.
int granted = 0;
std::vector<size_t> requested;

void* rationed_request(size_t size) {
    requested.push_back(size);
    if (granted <= 0) {
        return nullptr;
    }
    --granted;
    return std::malloc(size);
}

TemporaryMemory* const loaded_buffers[5] = {&struct_memory, &text_memory, &byte_memory,
                                            &byte_adjust_memory, &char_view_memory};

uint32_t capacity_of(int buffer) {
    return loaded_buffers[buffer]->capacity();
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override { path = folder.file("sys.sys"); }
    void TearDown() override {
        // The buffers are process-wide: leave them as the next test expects to find them.
        for (TemporaryMemory* memory : loaded_buffers) {
            memory->release();
        }
        scratch_memory.release();
        set_storage_request(nullptr);
        granted = 0;
        requested.clear();
        settings = Settings{};
    }

    TempFolder folder{"layoutpress-settings-"};
    std::string path;
};

TEST_F(SettingsFileTest, FirstStartWritesTheDefaults) {
    ASSERT_EQ(load_settings(path.c_str()), SettingsOutcome::created);

    const uint32_t expected_capacities[5] = {30000, 30000, 10000, 30000, 30000};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(capacity_of(i), expected_capacities[i]) << "buffer " << i;
    }
    EXPECT_EQ(scratch_memory.capacity(), 0u);
    EXPECT_EQ(settings.organize_space, 1);
    EXPECT_EQ(settings.organize_line_feed, 1);
    EXPECT_EQ(settings.binary_output_mode, Hexadecimal);
    const char* names[3] = {"*.str", "*.txt", "*.bin"};
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        EXPECT_EQ(field(settings.ini_file_name[kind]), padded(names[kind]));
        EXPECT_EQ(field(settings.file_filter[kind]), default_filters[kind]);
        EXPECT_EQ(settings.file_filter_length[kind], 47u);
    }

    const Bytes file = read_all(path);
    ASSERT_EQ(file.size(), 2080u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 512), Bytes(512, 0));
    EXPECT_EQ(Bytes(file.begin() + 512, file.begin() + 532),
              (Bytes{0x30, 0x75, 0,    0,    0x30, 0x75, 0, 0, 0x10, 0x27,
                     0,    0,    0x30, 0x75, 0,    0,    1, 1, 0,    '*'}));
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        const auto name = file.begin() + 531 + 256 * kind;
        EXPECT_EQ(std::string(name, name + 256), padded(names[kind]));
        const auto filter = file.begin() + 1299 + 256 * kind;
        EXPECT_EQ(std::string(filter, filter + 256), default_filters[kind]);
    }
    EXPECT_EQ(file[2067], 0);
    EXPECT_EQ(Bytes(file.begin() + 2068, file.end()),
              (Bytes{47, 0, 0, 0, 47, 0, 0, 0, 47, 0, 0, 0}));
}

TEST_F(SettingsFileTest, StoredSettingsComeBackFromTheFile) {
    const Settings stored = sample_settings();
    write_all(path, record_of(MemoryCapacities{{40000, 50000, 60000, 70000}}, stored));

    ASSERT_EQ(load_settings(path.c_str()), SettingsOutcome::loaded);
    const uint32_t expected_capacities[5] = {40000, 50000, 60000, 70000, 70000};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(capacity_of(i), expected_capacities[i]) << "buffer " << i;
    }
    EXPECT_EQ(scratch_memory.capacity(), 0u);
    expect_same_settings(settings, stored);

    // Saving what was loaded writes the same record again.
    const Bytes before = read_all(path);
    ASSERT_TRUE(save_settings(path.c_str()));
    EXPECT_EQ(read_all(path), before);
}

TEST_F(SettingsFileTest, ShortAndLongFilesReadMissingBytesAsZero) {
    const Settings stored = sample_settings();
    const Bytes full = record_of(MemoryCapacities{{0x12345, 50000, 60000, 70000}}, stored);
    struct Case {
        size_t length;
        uint32_t capacities[4];
        bool options;
        size_t name_bytes; // bytes of ini_file_name[0] within the file
        bool filters;
        int lengths; // how many file_filter_length entries the file holds
    };
    const Case cases[] = {
        {0, {255, 255, 255, 255}, false, 0, false, 0},
        {100, {255, 255, 255, 255}, false, 0, false, 0},
        {514, {0x2345, 255, 255, 255}, false, 0, false, 0}, // the low half of 0x12345
        {528, {0x12345, 50000, 60000, 70000}, false, 0, false, 0},
        {531, {0x12345, 50000, 60000, 70000}, true, 0, false, 0},
        {600, {0x12345, 50000, 60000, 70000}, true, 69, false, 0},
        {2068, {0x12345, 50000, 60000, 70000}, true, 100, true, 0},
        {2072, {0x12345, 50000, 60000, 70000}, true, 100, true, 1},
        {2080, {0x12345, 50000, 60000, 70000}, true, 100, true, 3},
        {2500, {0x12345, 50000, 60000, 70000}, true, 100, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "file of " << c.length << " bytes");
        Bytes file = full;
        file.resize(c.length, 0xEE); // bytes beyond the record must be ignored
        write_all(path, file);

        ASSERT_EQ(load_settings(path.c_str()), SettingsOutcome::loaded);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(capacity_of(i), c.capacities[i]) << "buffer " << i;
        }
        EXPECT_EQ(char_view_memory.capacity(), c.capacities[3]);
        EXPECT_EQ(settings.organize_space, c.options ? stored.organize_space : 0);
        EXPECT_EQ(settings.organize_line_feed, c.options ? stored.organize_line_feed : 0);
        EXPECT_EQ(settings.binary_output_mode, c.options ? stored.binary_output_mode : 0);
        EXPECT_EQ(field(settings.ini_file_name[0]), padded(std::string(c.name_bytes, 'n')));
        for (int kind = 0; kind < 3; ++kind) {
            SCOPED_TRACE(testing::Message() << "kind " << kind);
            if (kind > 0) {
                EXPECT_EQ(field(settings.ini_file_name[kind]),
                          c.filters ? field(stored.ini_file_name[kind]) : padded(""));
            }
            EXPECT_EQ(field(settings.file_filter[kind]),
                      c.filters ? field(stored.file_filter[kind]) : padded(""));
            EXPECT_EQ(settings.file_filter_length[kind],
                      kind < c.lengths ? stored.file_filter_length[kind] : 0u);
        }
        // A file that exists is never rewritten on loading.
        EXPECT_EQ(read_all(path), file);
        for (TemporaryMemory* memory : loaded_buffers) {
            memory->release();
        }
    }
}

// sys.sys of every length from 0 to 2100 bytes with random contents: the start reads the bytes
// the file has as if the rest were zero, keeps every text and filter inside its field, and never
// rewrites the file. Most files hold capacities the test can afford (below 65536); every fifth
// keeps its random ones and is refused storage above 1 MB, so the start either succeeds or
// names the buffer and holds nothing.
TEST_F(SettingsFileTest, FilesOfEveryLengthWithRandomContentsStartWithinBounds) {
    std::mt19937 random(2080);
    set_storage_request([](size_t size) { return size <= 1000000 ? std::malloc(size) : nullptr; });
    for (size_t length = 0; length <= 2100; ++length) {
        SCOPED_TRACE(testing::Message() << "file of " << length << " bytes");
        Bytes file(length);
        for (uint8_t& byte : file) {
            byte = static_cast<uint8_t>(random());
        }
        if (length % 5 != 0) {
            for (size_t high = 514; high < 528 && high < length; high += (high % 4 == 2) ? 1 : 3) {
                file[high] = 0;
            }
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
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(capacity_of(i), 0u) << "buffer " << i;
            }
        } else {
            ASSERT_EQ(outcome, SettingsOutcome::loaded);
            for (int i = 0; i < 4; ++i) {
                const uint32_t stored = u32_at(record, 512 + 4 * static_cast<size_t>(i));
                const uint32_t clamped = std::max(stored, smallest_capacity);
                EXPECT_EQ(capacity_of(i),
                          i == 2 ? std::min(clamped, largest_byte_capacity) : clamped)
                    << "buffer " << i;
            }
            EXPECT_EQ(char_view_memory.capacity(), byte_adjust_memory.capacity());
            expect_same_settings(settings, expected);
            for (int kind = 0; kind < 3; ++kind) {
                EXPECT_NE(std::memchr(settings.ini_file_name[kind], 0, settings_text_size),
                          nullptr);
                EXPECT_EQ(settings.file_filter[kind][settings_text_size - 2], 0);
                EXPECT_EQ(settings.file_filter[kind][settings_text_size - 1], 0);
                EXPECT_LE(settings.file_filter_length[kind], 256u);
            }
        }
        EXPECT_EQ(read_all(path), file) << "a file that exists is never rewritten";
        for (TemporaryMemory* memory : loaded_buffers) {
            memory->release();
        }
    }
    set_storage_request(nullptr);
}

TEST(SettingsRecord, CapacitiesAreClampedOnReadingAndWriting) {
    struct Case {
        uint32_t stored[4];
        uint32_t used[4];
    };
    const Case cases[] = {
        {{10, 254, 2000000000, 255}, {255, 255, 1431655765, 255}},
        {{0, 0, 0, 0}, {255, 255, 255, 255}},
        {{256, 1000, 1431655765, 30000}, {256, 1000, 1431655765, 30000}},
        {{4294967295u, 4294967295u, 1431655766, 4294967295u},
         {4294967295u, 4294967295u, 1431655765, 4294967295u}},
    };
    const Settings any = sample_settings();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stored " << c.stored[0] << ", " << c.stored[1] << ", "
                                        << c.stored[2] << ", " << c.stored[3]);
        Bytes raw(settings_record_size, 0);
        for (int i = 0; i < 4; ++i) {
            put_u32(raw, 512 + 4 * i, c.stored[i]);
        }
        MemoryCapacities read{};
        Settings ignored{};
        read_settings_record(raw.data(), raw.size(), read, ignored);

        const Bytes written =
            record_of(MemoryCapacities{{c.stored[0], c.stored[1], c.stored[2], c.stored[3]}}, any);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(read.values[i], c.used[i]) << "read, capacity " << i;
            EXPECT_EQ(u32_at(written, 512 + 4 * i), c.used[i]) << "written, capacity " << i;
        }
    }
}

TEST(SettingsRecord, DamagedTextsGetTerminatorsInsideTheirFields) {
    Bytes raw(settings_record_size, 'A');
    put_u32(raw, 2068, 1000);
    put_u32(raw, 2072, 257);
    put_u32(raw, 2076, 255);
    MemoryCapacities capacities{};
    Settings read{};
    read_settings_record(raw.data(), raw.size(), capacities, read);

    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        EXPECT_EQ(field(read.ini_file_name[kind]), std::string(255, 'A') + '\0');
        EXPECT_EQ(field(read.file_filter[kind]), std::string(254, 'A') + std::string(2, '\0'));
    }
    EXPECT_EQ(read.file_filter_length[0], 256u);
    EXPECT_EQ(read.file_filter_length[1], 256u);
    EXPECT_EQ(read.file_filter_length[2], 255u);
    EXPECT_EQ(read.organize_space, 'A') << "options are used as stored";
    EXPECT_EQ(read.binary_output_mode, 'A');
}

TEST_F(SettingsFileTest, SaveWritesTheLiveCapacitiesWithoutTouchingTheBuffers) {
    set_default_settings(settings);
    ASSERT_TRUE(struct_memory.allocate(10));
    ASSERT_TRUE(text_memory.allocate(300));
    ASSERT_TRUE(byte_memory.allocate(100));
    // byte_adjust_memory left unallocated: a capacity of 0, stored as 255.

    ASSERT_TRUE(save_settings(path.c_str()));
    const Bytes file = read_all(path);
    ASSERT_EQ(file.size(), 2080u);
    EXPECT_EQ(u32_at(file, 512), 255u);
    EXPECT_EQ(u32_at(file, 516), 300u);
    EXPECT_EQ(u32_at(file, 520), 255u);
    EXPECT_EQ(u32_at(file, 524), 255u);
    EXPECT_EQ(struct_memory.capacity(), 10u);
    EXPECT_EQ(byte_memory.capacity(), 100u);
    EXPECT_EQ(byte_adjust_memory.capacity(), 0u);
    EXPECT_EQ(std::string(file.begin() + 1299, file.begin() + 1299 + 256), default_filters[0]);
}

TEST_F(SettingsFileTest, AFailedSaveReportsAndKeepsTheOldFile) {
    set_default_settings(settings);
    ASSERT_TRUE(struct_memory.allocate(1000));

    const std::string missing_folder = folder.file("no such folder/sys.sys");
    EXPECT_FALSE(save_settings(missing_folder.c_str()));
    EXPECT_FALSE(fs::exists(missing_folder));

    const std::string directory = folder.file("a folder");
    fs::create_directory(directory);
    EXPECT_FALSE(save_settings(directory.c_str()));
    EXPECT_TRUE(fs::is_directory(directory));
    EXPECT_FALSE(fs::exists(directory + ".tmp")) << "the temporary file must be removed";

    // An old file stays as it was when the new one cannot be written beside it.
    const Bytes old_file = {1, 2, 3};
    write_all(path, old_file);
    fs::create_directory(path + ".tmp");
    EXPECT_FALSE(save_settings(path.c_str()));
    EXPECT_EQ(read_all(path), old_file);
}

TEST_F(SettingsFileTest, DefaultsStayInForceWhenTheyCannotBeWritten) {
    const std::string unwritable = folder.file("no such folder/sys.sys");
    ASSERT_EQ(load_settings(unwritable.c_str()), SettingsOutcome::defaults_unsaved);
    EXPECT_EQ(struct_memory.capacity(), 30000u);
    EXPECT_EQ(char_view_memory.capacity(), 30000u);
    EXPECT_EQ(settings.file_filter_length[2], 47u);
    EXPECT_EQ(field(settings.file_filter[2]), default_filters[2]);
}

TEST_F(SettingsFileTest, AllocationFailuresNameTheBufferAndHoldNothing) {
    const char* names[5] = {"struct_memory", "text_memory", "byte_memory", "byte_adjust_memory",
                            "char_view_memory"};
    for (bool file_present : {true, false}) {
        for (int failing = 0; failing < 5; ++failing) {
            SCOPED_TRACE(testing::Message() << (file_present ? "file present" : "no file")
                                            << ", failing " << names[failing]);
            fs::remove(path);
            if (file_present) {
                write_all(path,
                          record_of(MemoryCapacities{{1000, 2000, 3000, 4000}}, sample_settings()));
            }
            granted = failing;
            requested.clear();
            set_storage_request(rationed_request);

            const char* failed = nullptr;
            EXPECT_EQ(load_settings(path.c_str(), &failed), SettingsOutcome::allocation_failed);
            EXPECT_STREQ(failed, names[failing]);
            EXPECT_EQ(requested.size(), static_cast<size_t>(failing) + 11);
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(capacity_of(i), 0u) << "buffer " << i;
            }
            EXPECT_EQ(settings.file_filter_length[0], 0u) << "settings must stay as they were";
            EXPECT_EQ(fs::exists(path), file_present) << "nothing is written after a failure";
            set_storage_request(nullptr);
        }
    }
}

TEST_F(SettingsFileTest, OversizedByteCapacityIsLoweredBeforeItIsRequested) {
    Bytes raw = record_of(MemoryCapacities{{255, 2000, 255, 4000}}, sample_settings());
    put_u32(raw, 512, 10);
    put_u32(raw, 520, 2000000000);
    write_all(path, raw);
    // Refuse the one large request rather than really reserve 1.4 GB.
    granted = 2;
    set_storage_request(rationed_request);

    const char* failed = nullptr;
    EXPECT_EQ(load_settings(path.c_str(), &failed), SettingsOutcome::allocation_failed);
    EXPECT_STREQ(failed, "byte_memory");
    ASSERT_GE(requested.size(), 3u);
    EXPECT_EQ(requested[0], 255u) << "struct_memory raised to 255";
    EXPECT_EQ(requested[1], 2000u);
    EXPECT_EQ(requested[2], 1431655765u);
}

} // namespace

// load_settings from a "sys.sys" of arbitrary bytes and any length. Storage requests above
// 64 KiB are refused (as a busy system might), so any capacity can be tried. Once loaded, every
// text and filter ends inside its field, the capacities are the record's, clamped, and the
// buffers have exactly them; saving and loading again gives the same settings. The global
// buffers are released after each input.
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "fuzz/fuzz_support.h"
#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/settings.h"

namespace {

constexpr size_t largest_granted = 64u << 10;

void* limited_request(size_t size) {
    return size > largest_granted ? nullptr : std::malloc(size);
}

TemporaryMemory* const loaded_buffers[5] = {&struct_memory, &text_memory, &byte_memory,
                                            &byte_adjust_memory, &char_view_memory};

void release_buffers() {
    for (TemporaryMemory* memory : loaded_buffers) {
        memory->release();
    }
}

// A file of its own in the temporary folder, named once per process.
std::string temporary_path(const char* stem) {
    const char* folder = std::getenv("TMPDIR");
    std::string path = std::string(folder != nullptr && *folder != 0 ? folder : "/tmp") + "/" +
                       stem + "-" + std::to_string(getpid()) + ".sys";
    return path;
}

void write_file(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
}

uint32_t read_u32(const uint8_t* bytes, size_t length, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t byte = offset + i < length ? bytes[offset + i] : 0;
        value |= byte << (8 * i);
    }
    return value;
}

bool same_settings(const Settings& a, const Settings& b) {
    return a.organize_space == b.organize_space && a.organize_line_feed == b.organize_line_feed &&
           a.binary_output_mode == b.binary_output_mode &&
           std::memcmp(a.ini_file_name, b.ini_file_name, sizeof a.ini_file_name) == 0 &&
           std::memcmp(a.file_filter, b.file_filter, sizeof a.file_filter) == 0 &&
           std::memcmp(a.file_filter_length, b.file_filter_length, sizeof a.file_filter_length) ==
               0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = temporary_path("settings-fuzz");
    static const std::string saved_path = temporary_path("settings-fuzz-saved");
    static const bool cleanup = [] {
        std::atexit([] {
            std::remove(path.c_str());
            std::remove(saved_path.c_str());
        });
        return true;
    }();
    (void)cleanup;
    set_storage_request(limited_request);
    write_file(path, data, size);

    const char* failed = nullptr;
    const SettingsOutcome outcome = load_settings(path.c_str(), &failed);
    FUZZ_CHECK(outcome == SettingsOutcome::loaded || outcome == SettingsOutcome::allocation_failed);
    if (outcome == SettingsOutcome::allocation_failed) {
        FUZZ_CHECK(failed != nullptr);
        for (TemporaryMemory* memory : loaded_buffers) {
            FUZZ_CHECK(memory->capacity() == 0 && memory->data() == nullptr);
        }
        return 0;
    }
    FUZZ_CHECK(failed == nullptr);

    MemoryCapacities stored;
    for (int i = 0; i < 4; ++i) {
        stored.values[i] = read_u32(data, size, 512 + 4 * static_cast<size_t>(i));
    }
    const MemoryCapacities expected = clamp_capacities(stored);
    for (int i = 0; i < 4; ++i) {
        FUZZ_CHECK(expected.values[i] >= smallest_capacity);
        FUZZ_CHECK(loaded_buffers[i]->capacity() == expected.values[i]);
        FUZZ_CHECK(loaded_buffers[i]->data() != nullptr);
    }
    FUZZ_CHECK(expected.values[2] <= largest_byte_capacity);
    FUZZ_CHECK(char_view_memory.capacity() == expected.values[3]);
    FUZZ_CHECK(settings.binary_output_mode == (size > 530 ? data[530] : 0));
    for (int kind = 0; kind < 3; ++kind) {
        FUZZ_CHECK(has_terminator(settings.ini_file_name[kind], settings_text_size));
        FUZZ_CHECK(settings.file_filter[kind][settings_text_size - 1] == 0);
        FUZZ_CHECK(settings.file_filter[kind][settings_text_size - 2] == 0);
    }

    // The record codec on the same bytes, straight from a block of exactly their size.
    ExactBuffer<uint8_t> bytes(data, size);
    std::unique_ptr<Settings> direct(new Settings);
    MemoryCapacities read_capacities;
    read_settings_record(bytes.data(), bytes.size(), read_capacities, *direct);
    FUZZ_CHECK(same_settings(*direct, settings));
    FUZZ_CHECK(std::memcmp(&read_capacities, &expected, sizeof expected) == 0);
    // Saved and loaded again: the same settings and capacities.
    const Settings first = settings;
    FUZZ_CHECK(save_settings(saved_path.c_str()));
    release_buffers();
    FUZZ_CHECK(load_settings(saved_path.c_str()) == SettingsOutcome::loaded);
    FUZZ_CHECK(same_settings(first, settings));
    for (int i = 0; i < 4; ++i) {
        FUZZ_CHECK(loaded_buffers[i]->capacity() == expected.values[i]);
    }
    release_buffers();
    return 0;
}

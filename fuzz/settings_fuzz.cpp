// load_settings from a "sys.sys" of arbitrary bytes and any length. Storage requests above
// 64 KiB are refused (as a busy system might), so any capacity can be tried. The start either
// holds nothing or the record's capacities, clamped, with every text and filter ending inside
// its field and the settings the record codec reads from the same bytes; saving and loading
// again gives the same settings. The global buffers are released after each input.
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "fuzz/fuzz_support.h"
#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/settings.h"

namespace {

TemporaryMemory* const loaded_buffers[5] = {&struct_memory, &text_memory, &byte_memory,
                                            &byte_adjust_memory, &char_view_memory};

// The capacities the buffers hold, which are then released: all zero when the start failed.
MemoryCapacities take_capacities() {
    FUZZ_CHECK(char_view_memory.capacity() == byte_adjust_memory.capacity());
    MemoryCapacities held{};
    for (int i = 0; i < 4; ++i) {
        held.values[i] = loaded_buffers[i]->capacity();
    }
    for (TemporaryMemory* memory : loaded_buffers) {
        memory->release();
    }
    return held;
}

bool same(const Settings& a, const Settings& b) { // the fields before the lengths are all bytes
    return std::memcmp(&a, &b, offsetof(Settings, file_filter_length)) == 0 &&
           std::memcmp(a.file_filter_length, b.file_filter_length, 12) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A file of its own in the temporary folder, named once per process.
    const char* folder = std::getenv("TMPDIR");
    static const std::string path =
        std::string(folder != nullptr && *folder != 0 ? folder : "/tmp") + "/settings-fuzz-" +
        std::to_string(getpid()) + ".sys";
    static const int cleanup = std::atexit([] { std::remove(path.c_str()); });
    (void)cleanup;
    set_storage_request([](size_t bytes) { return bytes > 65536 ? nullptr : std::malloc(bytes); });
    FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr && std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);

    const char* failed = nullptr;
    const SettingsOutcome outcome = load_settings(path.c_str(), &failed);
    const MemoryCapacities held = take_capacities();
    if (outcome == SettingsOutcome::allocation_failed) {
        FUZZ_CHECK(failed != nullptr && held.values[0] + held.values[3] == 0);
        return 0;
    }
    FUZZ_CHECK(outcome == SettingsOutcome::loaded && failed == nullptr);
    ExactBuffer<uint8_t> bytes(data, size);
    MemoryCapacities read;
    Settings direct{};
    read_settings_record(bytes.data(), bytes.size(), read, direct);
    FUZZ_CHECK(std::memcmp(&held, &read, sizeof read) == 0);
    FUZZ_CHECK(read.values[0] >= smallest_capacity && read.values[2] <= largest_byte_capacity);
    const Settings first = settings;
    FUZZ_CHECK(same(direct, first));
    for (int kind = 0; kind < 3; ++kind) {
        FUZZ_CHECK(has_terminator(first.ini_file_name[kind], settings_text_size));
        FUZZ_CHECK(first.file_filter[kind][254] == 0 && first.file_filter[kind][255] == 0);
    }
    // Saved and loaded again: the same settings and capacities.
    FUZZ_CHECK(load_settings(path.c_str()) == SettingsOutcome::loaded);
    FUZZ_CHECK(save_settings(path.c_str()));
    take_capacities();
    FUZZ_CHECK(load_settings(path.c_str()) == SettingsOutcome::loaded);
    FUZZ_CHECK(same(settings, first));
    const MemoryCapacities again = take_capacities();
    FUZZ_CHECK(std::memcmp(&again, &held, sizeof held) == 0);
    return 0;
}

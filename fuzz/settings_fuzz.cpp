// load_settings from a "sys.sys" of arbitrary bytes and any length. Storage requests above
// 64 KiB are refused (as a busy system might), so any capacity can be tried. The start either
// holds nothing or what the record codec reads from the same bytes. The global buffers are
// released after each input.
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "fuzz/fuzz_support.h"
#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/settings.h"

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

    const SettingsOutcome outcome = load_settings(path.c_str());
    MemoryCapacities held{};
    TemporaryMemory* const buffers[5] = {&struct_memory, &text_memory, &byte_memory,
                                         &byte_adjust_memory, &char_view_memory};
    for (int i = 0; i < 5; ++i) { // the view's buffer has the dump's capacity
        held.values[i < 4 ? i : 3] = buffers[i]->capacity();
        buffers[i]->release();
    }
    ExactBuffer<uint8_t> bytes(data, size);
    MemoryCapacities read;
    Settings direct{};
    read_settings_record(bytes.data(), bytes.size(), read, direct);
    FUZZ_CHECK(
        outcome == SettingsOutcome::allocation_failed
            ? held.values[0] + held.values[3] == 0
            : std::memcmp(&held, &read, sizeof read) == 0 &&
                  std::memcmp(&settings, &direct, offsetof(Settings, file_filter_length)) == 0 &&
                  std::memcmp(settings.file_filter_length, direct.file_filter_length, 12) == 0);
    return 0;
}

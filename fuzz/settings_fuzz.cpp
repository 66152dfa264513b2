// load_settings from a "sys.sys" of arbitrary bytes and any length. Storage requests above
// 64 KiB are refused (as a busy system might), so any capacity can be tried. The global buffers
// are released after each input; what a start holds is the native test's, at every length.
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "fuzz/fuzz_support.h"
#include "layoutpress/documents/buffers_test_support.h"
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

    load_settings(path.c_str());
    test_buffers::reset();
    return 0;
}

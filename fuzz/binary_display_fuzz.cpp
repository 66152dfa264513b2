// The dump and the character view. The first byte picks a mode, the second the room for a
// reading; the rest is both a typed dump to read and bytes to show. Every text goes into a
// buffer of exactly the size reported for it (reading dumps back is the native test's).
#include <initializer_list>

#include "fuzz/fuzz_support.h"
#include "layoutpress/documents/binary_display.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    const uint8_t mode = reader.byte();
    const uint8_t room = reader.byte();
    ExactBuffer<uint8_t> bytes(reader.rest(), reader.left());
    const size_t count = bytes.size();
    ExactBuffer<uint8_t> typed(room % (count + 1));
    for (uint8_t reading : {uint8_t{0}, uint8_t{1}, uint8_t{2}, mode})
        FUZZ_CHECK(parse_binary_display(typed.data(), typed.size(),
                                        reinterpret_cast<const char*>(bytes.data()), count,
                                        reading) <= typed.size());

    ExactBuffer<char> dump(binary_display_size(count, mode));
    FUZZ_CHECK(render_binary_display(dump.data(), dump.size(), bytes.data(), count, mode));
    ExactBuffer<char> view(char_view_size(count));
    FUZZ_CHECK(build_char_view(view.data(), view.size(), bytes.data(), count));
    return 0;
}

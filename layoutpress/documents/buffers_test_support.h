// The process-wide buffers in the tests: storage requests that can be refused, and everything
// put back as the next test expects to find it.
#pragma once

#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "layoutpress/documents/buffers.h"

namespace test_buffers {

inline TemporaryMemory* const all[5] = {&struct_memory, &text_memory, &byte_memory,
                                        &byte_adjust_memory, &char_view_memory};

// Every request's size, in order. A request that `refuse` picks (by its size and the number of
// requests before it) gets no storage; the others get storage filled with 0xAA, so that the
// zeroing of what is handed out shows.
inline std::vector<size_t> requested;
inline std::function<bool(size_t size, size_t earlier)> refuse;
inline void* request(size_t size) {
    const bool refused = refuse && refuse(size, requested.size());
    requested.push_back(size);
    void* storage = refused ? nullptr : std::malloc(size);
    return storage != nullptr ? std::memset(storage, 0xAA, size) : nullptr;
}

// Refuses what `picks` picks from now on, the requests counted afresh.
inline void ration(std::function<bool(size_t size, size_t earlier)> picks) {
    requested.clear();
    refuse = std::move(picks);
    set_storage_request(request);
}

// Every buffer released, binary_length 0, storage requested as the program does.
inline void reset() {
    for (TemporaryMemory* memory : all)
        memory->release();
    binary_length = 0;
    set_storage_request(nullptr);
}

} // namespace test_buffers

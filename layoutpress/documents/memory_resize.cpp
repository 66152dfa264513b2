#include "layoutpress/documents/memory_resize.h"

#include <cstring>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/document_files.h"
#include "layoutpress/documents/settings.h"

namespace {

constexpr uint32_t row_steps[memory_row_count] = {300000, 300000, 100000, 300000};

bool is_row(int row) {
    return row >= 0 && row < memory_row_count;
}

// Values beyond this are all above every row's largest value; reading stops growing there.
constexpr long long reading_ceiling = 100000000000LL;

long long read_decimal(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    const char* at = text;
    while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n' || *at == '\v' || *at == '\f') {
        ++at;
    }
    bool negative = false;
    if (*at == '+' || *at == '-') {
        negative = *at == '-';
        ++at;
    }
    long long value = 0;
    while (*at >= '0' && *at <= '9') {
        if (value < reading_ceiling) {
            value = value * 10 + (*at - '0');
        }
        ++at;
    }
    return negative ? -value : value;
}

// New storage for memory holding its content up to the smaller capacity; the rest is zero.
bool copy_into_new(const TemporaryMemory& memory, uint32_t capacity, bool text,
                   TemporaryMemory& fresh) {
    if (!fresh.allocate(capacity)) {
        return false;
    }
    const uint32_t kept = memory.capacity() < capacity ? memory.capacity() : capacity;
    if (kept > 0) {
        std::memcpy(fresh.data(), memory.data(), kept);
    }
    std::memset(fresh.data() + kept, 0, capacity - kept);
    if (text && capacity < memory.capacity()) {
        fresh.data()[capacity - 1] = 0;
    }
    return true;
}

void append(char* out, size_t out_size, size_t* used, const char* text) {
    while (*text != '\0' && *used + 1 < out_size) {
        out[(*used)++] = *text++;
    }
    out[*used] = '\0';
}

void append_number(char* out, size_t out_size, size_t* used, uint32_t value) {
    char digits[16];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    char text[16];
    for (int i = 0; i < count; ++i) {
        text[i] = digits[count - 1 - i];
    }
    text[count] = '\0';
    append(out, out_size, used, text);
}

} // namespace

uint32_t memory_row_step(int row) {
    return is_row(row) ? row_steps[row] : row_steps[0];
}

uint32_t memory_row_largest(int row) {
    return memory_row_step(row) * memory_track_last_position;
}

uint32_t clamp_memory_field(const char* text, int row) {
    const long long value = read_decimal(text);
    if (value < static_cast<long long>(smallest_capacity)) {
        return smallest_capacity;
    }
    const uint32_t largest = memory_row_largest(row);
    if (value > static_cast<long long>(largest)) {
        return largest;
    }
    return static_cast<uint32_t>(value);
}

int memory_track_position(uint32_t capacity, int row) {
    const uint32_t position = capacity / memory_row_step(row);
    return position > static_cast<uint32_t>(memory_track_last_position)
               ? memory_track_last_position
               : static_cast<int>(position);
}

uint32_t memory_track_proposal(int position, int row) {
    if (position <= 0) {
        return smallest_capacity;
    }
    if (position > memory_track_last_position) {
        position = memory_track_last_position;
    }
    return static_cast<uint32_t>(position) * memory_row_step(row);
}

ResizeOutcome resize_memory_row(int row, uint32_t capacity) {
    if (!is_row(row) || capacity == 0) {
        return ResizeOutcome::allocation_fail;
    }
    TemporaryMemory* const memories[memory_row_count] = {&struct_memory, &text_memory, &byte_memory,
                                                         &byte_adjust_memory};
    TemporaryMemory& memory = *memories[row];
    const bool text = row != 2;
    const bool with_view = row == 3;
    if (memory.capacity() == capacity && (!with_view || char_view_memory.capacity() == capacity)) {
        return ResizeOutcome::unchanged;
    }
    TemporaryMemory fresh;
    TemporaryMemory fresh_view;
    if (!copy_into_new(memory, capacity, text, fresh)) {
        return ResizeOutcome::allocation_fail;
    }
    if (with_view && !copy_into_new(char_view_memory, capacity, true, fresh_view)) {
        return ResizeOutcome::allocation_fail;
    }
    // Both new storages are held: now the old ones may go (with the locals' destructors).
    memory.swap(fresh);
    if (with_view) {
        char_view_memory.swap(fresh_view);
    }
    if (row == 2 && binary_length > 0 && static_cast<uint32_t>(binary_length) > capacity) {
        binary_length = static_cast<int32_t>(capacity);
    }
    return ResizeOutcome::resized;
}

void memory_not_resized_text(char* out, size_t out_size, int row, uint32_t wanted, uint32_t kept) {
    if (out == nullptr || out_size == 0) {
        return;
    }
    size_t used = 0;
    out[0] = '\0';
    append(out, out_size, &used, "The ");
    append(out, out_size, &used, memory_row_name(row));
    append(out, out_size, &used,
           wanted < kept ? " can not be reduced to " : " can not be enlarged to ");
    append_number(out, out_size, &used, wanted);
    append(out, out_size, &used, " bytes; it keeps ");
    append_number(out, out_size, &used, kept);
    append(out, out_size, &used, ".");
}

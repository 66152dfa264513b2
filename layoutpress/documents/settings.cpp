#include "layoutpress/documents/settings.h"

#include <cstring>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/file_store.h"

Settings settings = {};

namespace {

// Offsets of the fields within the record.
constexpr size_t capacities_offset = 512;
constexpr size_t options_offset = 528;
constexpr size_t ini_file_name_offset = 531;
constexpr size_t file_filter_offset = 1299;
constexpr size_t filter_length_offset = 2068;

constexpr uint32_t largest_filter_length = settings_text_size;

// Default filter lists: pairs of display name and pattern, each text followed by a zero byte;
// the literal's own terminator is the zero byte that ends the list.
constexpr char default_filter_bytes[3][47] = {
    "Struct\0*.str\0Text\0*.txt\0Binary\0*.bin\0ALL\0*.*\0",
    "Text\0*.txt\0Struct\0*.str\0Binary\0*.bin\0ALL\0*.*\0",
    "Binary\0*.bin\0Struct\0*.str\0Text\0*.TXT\0ALL\0*.*\0",
};
constexpr const char* default_ini_file_names[3] = {"*.str", "*.txt", "*.bin"};

uint32_t read_u32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

void write_u32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

void copy_bytes(void* to, const void* from, size_t count) {
    if (count != 0) {
        std::memcpy(to, from, count);
    }
}

bool holds_zero(const char* text, size_t size) {
    return std::memchr(text, 0, size) != nullptr;
}

struct NamedMemory {
    TemporaryMemory* memory;
    const char* name;
};

} // namespace

void set_default_settings(Settings& out) {
    out = Settings{};
    out.organize_space = 1;
    out.organize_line_feed = 1;
    out.binary_output_mode = Hexadecimal;
    for (int kind = 0; kind < 3; ++kind) {
        const char* name = default_ini_file_names[kind];
        for (int i = 0; name[i] != '\0'; ++i) {
            out.ini_file_name[kind][i] = name[i];
        }
        copy_bytes(out.file_filter[kind], default_filter_bytes[kind],
                   sizeof default_filter_bytes[kind]);
        out.file_filter_length[kind] = default_filter_length;
    }
}

MemoryCapacities default_capacities() {
    return MemoryCapacities{{default_struct_capacity, default_text_capacity, default_byte_capacity,
                             default_byte_adjust_capacity}};
}

MemoryCapacities clamp_capacities(MemoryCapacities capacities) {
    for (uint32_t& value : capacities.values) {
        if (value < smallest_capacity) {
            value = smallest_capacity;
        }
    }
    if (capacities.values[2] > largest_byte_capacity) {
        capacities.values[2] = largest_byte_capacity;
    }
    return capacities;
}

void read_settings_record(const uint8_t* bytes, size_t length, MemoryCapacities& capacities,
                          Settings& out) {
    uint8_t record[settings_record_size] = {};
    if (bytes != nullptr) {
        copy_bytes(record, bytes, length < settings_record_size ? length : settings_record_size);
    }

    for (int i = 0; i < 4; ++i) {
        capacities.values[i] = read_u32(record + capacities_offset + 4 * i);
    }
    capacities = clamp_capacities(capacities);

    out.organize_space = record[options_offset];
    out.organize_line_feed = record[options_offset + 1];
    out.binary_output_mode = record[options_offset + 2];
    for (int kind = 0; kind < 3; ++kind) {
        char* name = out.ini_file_name[kind];
        copy_bytes(name, record + ini_file_name_offset + settings_text_size * kind,
                   settings_text_size);
        // A damaged entry still has to end inside its field.
        if (!holds_zero(name, settings_text_size)) {
            name[settings_text_size - 1] = '\0';
        }
        char* filter = out.file_filter[kind];
        copy_bytes(filter, record + file_filter_offset + settings_text_size * kind,
                   settings_text_size);
        // Two zero bytes end the last text and the list, so the file dialog never reads past
        // the field however the list was damaged.
        filter[settings_text_size - 2] = '\0';
        filter[settings_text_size - 1] = '\0';
        uint32_t shown = read_u32(record + filter_length_offset + 4 * kind);
        out.file_filter_length[kind] =
            shown < largest_filter_length ? shown : largest_filter_length;
    }
}

void write_settings_record(const MemoryCapacities& capacities, const Settings& in,
                           uint8_t out[settings_record_size]) {
    std::memset(out, 0, settings_record_size);
    const MemoryCapacities stored = clamp_capacities(capacities);
    for (int i = 0; i < 4; ++i) {
        write_u32(out + capacities_offset + 4 * i, stored.values[i]);
    }
    out[options_offset] = in.organize_space;
    out[options_offset + 1] = in.organize_line_feed;
    out[options_offset + 2] = in.binary_output_mode;
    for (int kind = 0; kind < 3; ++kind) {
        copy_bytes(out + ini_file_name_offset + settings_text_size * kind, in.ini_file_name[kind],
                   settings_text_size);
        copy_bytes(out + file_filter_offset + settings_text_size * kind, in.file_filter[kind],
                   settings_text_size);
        write_u32(out + filter_length_offset + 4 * kind, in.file_filter_length[kind]);
    }
}

SettingsOutcome load_settings(const char* path, const char** failed_memory) {
    if (failed_memory != nullptr) {
        *failed_memory = nullptr;
    }
    uint8_t record[settings_record_size] = {};
    size_t length = 0;
    const bool found = read_file_prefix(path, record, sizeof record, &length);

    Settings loaded{};
    MemoryCapacities capacities;
    if (found) {
        read_settings_record(record, length, capacities, loaded);
    } else {
        capacities = default_capacities();
        set_default_settings(loaded);
    }

    const NamedMemory buffers[5] = {
        {&struct_memory, "struct_memory"},       {&text_memory, "text_memory"},
        {&byte_memory, "byte_memory"},           {&byte_adjust_memory, "byte_adjust_memory"},
        {&char_view_memory, "char_view_memory"},
    };
    const uint32_t sizes[5] = {capacities.values[0], capacities.values[1], capacities.values[2],
                               capacities.values[3], capacities.values[3]};
    for (int i = 0; i < 5; ++i) {
        if (!buffers[i].memory->allocate(sizes[i])) {
            // Give back what this call took, so that a failed start holds nothing.
            for (int j = 0; j < i; ++j) {
                buffers[j].memory->release();
            }
            if (failed_memory != nullptr) {
                *failed_memory = buffers[i].name;
            }
            return SettingsOutcome::allocation_failed;
        }
    }

    settings = loaded;
    if (found) {
        return SettingsOutcome::loaded;
    }
    return save_settings(path) ? SettingsOutcome::created : SettingsOutcome::defaults_unsaved;
}

bool save_settings(const char* path) {
    const MemoryCapacities live = {{struct_memory.capacity(), text_memory.capacity(),
                                    byte_memory.capacity(), byte_adjust_memory.capacity()}};
    uint8_t record[settings_record_size];
    write_settings_record(live, settings, record);
    // A read-only sys.sys keeps its settings, as a read-only document keeps its text.
    if (is_protected_file(path)) {
        return false;
    }
    return write_file_replacing(path, record, sizeof record);
}

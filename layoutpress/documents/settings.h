// The converter's settings and the 2080-byte "sys.sys" record that stores them.
#pragma once

#include <cstddef>
#include <cstdint>

enum BinaryOutputMode : uint8_t { Hexadecimal = 0, HexadecimalPairs = 1, Decimal = 2 };

constexpr size_t settings_record_size = 2080;
constexpr uint32_t smallest_capacity = 255;
constexpr uint32_t largest_byte_capacity = 1431655765; // 0x55555555
constexpr int settings_text_size = 256;
constexpr uint32_t default_filter_length = 47;

struct Settings {
    uint8_t organize_space;     // "[SPACE]"
    uint8_t organize_line_feed; // "[LINE FEED]"
    uint8_t binary_output_mode; // BinaryOutputMode; any other value acts as Decimal
    char ini_file_name[3][settings_text_size];
    char file_filter[3][settings_text_size]; // pairs of zero-terminated texts, then one zero
    uint32_t file_filter_length[3];
};

// The settings in force (process-wide).
extern Settings settings;

// The memory capacities of the record, in the order struct, text, byte, byte adjust.
struct MemoryCapacities {
    uint32_t values[4];
};

void set_default_settings(Settings& out);
MemoryCapacities default_capacities();

// Brings each capacity to at least 255 and the byte_memory one to at most 0x55555555.
MemoryCapacities clamp_capacities(MemoryCapacities capacities);

// The record codec. Reading takes up to 2080 bytes (missing bytes read as zero), clamps the
// capacities and gives every text and filter a terminator inside its field.
void read_settings_record(const uint8_t* bytes, size_t length, MemoryCapacities& capacities,
                          Settings& out);
void write_settings_record(const MemoryCapacities& capacities, const Settings& in,
                           uint8_t out[settings_record_size]);

enum class SettingsOutcome {
    loaded,            // read from the file
    created,           // the file was missing: defaults used and written
    defaults_unsaved,  // the file was missing and could not be written
    allocation_failed, // a buffer could not be allocated; *failed_memory names it
};

// Start-up: reads the file at path (or applies the defaults and writes them), then allocates
// struct_memory, text_memory, byte_memory, byte_adjust_memory and char_view_memory.
SettingsOutcome load_settings(const char* path = "sys.sys", const char** failed_memory = nullptr);

// Writes the record from the settings and the current capacities. The previous file stays
// intact when writing fails. Returns whether the file was written.
bool save_settings(const char* path = "sys.sys");

#include "layoutpress/documents/filter_text.h"

size_t filter_to_text(const char* filter, uint32_t length, char* out, size_t out_size) {
    if (out == nullptr || out_size == 0) {
        return 0;
    }
    if (length > static_cast<uint32_t>(settings_text_size)) {
        length = settings_text_size;
    }
    size_t used = 0;
    for (uint32_t i = 0; filter != nullptr && i < length; ++i) {
        const bool zero = filter[i] == '\0';
        const size_t needed = zero ? 2 : 1;
        if (used + needed > out_size - 1) {
            break;
        }
        if (zero) {
            out[used++] = '\\';
            out[used++] = '0';
        } else {
            out[used++] = filter[i];
        }
    }
    out[used] = '\0';
    return used;
}

size_t text_to_filter(const char* text, char* out, size_t out_size) {
    size_t count = 0;
    if (text == nullptr || out == nullptr) {
        return 0;
    }
    for (const char* at = text; *at != '\0' && count < out_size; ++at) {
        if (at[0] == '\\' && at[1] == '0') {
            out[count++] = '\0';
            ++at;
        } else {
            out[count++] = *at;
        }
    }
    return count;
}

void restore_default_file_formats(Settings& out) {
    Settings defaults;
    set_default_settings(defaults);
    for (int kind = 0; kind < 3; ++kind) {
        for (int i = 0; i < settings_text_size; ++i) {
            out.ini_file_name[kind][i] = defaults.ini_file_name[kind][i];
            out.file_filter[kind][i] = defaults.file_filter[kind][i];
        }
        out.file_filter_length[kind] = defaults.file_filter_length[kind];
    }
}

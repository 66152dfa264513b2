// The simple alternative for the integer records `long a; short b; u_char c; bit:8 f;`: a plain
// loop over comma-separated values with std::from_chars and std::to_chars, written the way
// anyone would write it, without the converter's state machine or options.
//   charconv_peer to-binary TEXT OUT     charconv_peer to-text BINARY OUT
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<char> read_file(const char* path) {
    std::vector<char> bytes;
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return bytes;
    }
    std::fseek(file, 0, SEEK_END);
    bytes.resize(static_cast<size_t>(std::ftell(file)));
    std::fseek(file, 0, SEEK_SET);
    size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    bytes.resize(got);
    std::fclose(file);
    return bytes;
}

bool write_file(const char* path, const char* data, size_t size) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

int to_binary(const char* in, const char* out) {
    std::vector<char> text = read_file(in);
    std::vector<char> binary;
    binary.reserve(text.size() / 2);
    const char* p = text.data();
    const char* end = p + text.size();
    int field = 0;
    while (p < end) {
        while (p < end && (*p == ' ' || *p == '\r' || *p == '\n' || *p == ',')) {
            ++p;
        }
        if (p == end) {
            break;
        }
        int64_t value = 0;
        auto result = std::from_chars(p, end, value, field == 3 ? 2 : 10);
        p = result.ptr;
        static const int sizes[] = {4, 2, 1, 1};
        for (int i = 0; i < sizes[field]; ++i) {
            binary.push_back(static_cast<char>(value >> (8 * i)));
        }
        field = (field + 1) % 4;
    }
    return write_file(out, binary.data(), binary.size()) ? 0 : 1;
}

int to_text(const char* in, const char* out) {
    std::vector<char> binary = read_file(in);
    std::string text;
    text.reserve(binary.size() * 4);
    char number[40];
    for (size_t at = 0; at + 8 <= binary.size(); at += 8) {
        int32_t a;
        int16_t b;
        std::memcpy(&a, &binary[at], 4);
        std::memcpy(&b, &binary[at + 4], 2);
        const unsigned c = static_cast<uint8_t>(binary[at + 6]);
        const unsigned f = static_cast<uint8_t>(binary[at + 7]);
        if (at != 0) {
            text += "\r\n";
        }
        const int64_t values[] = {a, b, c};
        for (int64_t value : values) {
            text += ' ';
            text.append(number, std::to_chars(number, number + sizeof number, value).ptr);
            text += ',';
        }
        char* bits_end = std::to_chars(number, number + sizeof number, f, 2).ptr;
        text += ' ';
        text.append(8 - static_cast<size_t>(bits_end - number), '0');
        text.append(number, bits_end);
        text += ',';
    }
    return write_file(out, text.data(), text.size()) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "to-binary") == 0) {
        return to_binary(argv[2], argv[3]);
    }
    if (argc == 4 && std::strcmp(argv[1], "to-text") == 0) {
        return to_text(argv[2], argv[3]);
    }
    std::fprintf(stderr, "usage: charconv_peer to-binary|to-text IN OUT\n");
    return 2;
}

#include "bench/bench_data.h"

#include <cstring>
#include <map>
#include <memory>

#include "layoutpress/conversion/binary_to_text.h"
#include "layoutpress/structure/structure_parser.h"

namespace {

// A fixed linear congruential sequence.
struct Numbers {
    uint64_t state = 0x9E3779B97F4A7C15u;
    uint32_t next() {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return static_cast<uint32_t>(state >> 32);
    }
};

void put(std::vector<uint8_t>& out, const void* value, size_t size) {
    const uint8_t* bytes = static_cast<const uint8_t*>(value);
    out.insert(out.end(), bytes, bytes + size);
}

// Values of every length, as in real tables: small counts more often than large ones.
int32_t spread(Numbers& numbers) {
    const uint32_t r = numbers.next();
    const int shift = static_cast<int>(r % 31);
    const int32_t magnitude = static_cast<int32_t>(numbers.next() >> (shift + 1));
    return (r & 0x80000000u) != 0 ? -magnitude : magnitude;
}

void append_record(const std::string& name, Numbers& numbers, std::vector<uint8_t>& out) {
    if (name == "integers") { // long a; short b; u_char c; bit:8 f;
        const int32_t a = spread(numbers);
        const int16_t b = static_cast<int16_t>(numbers.next());
        const uint8_t c = static_cast<uint8_t>(numbers.next());
        const uint8_t f = static_cast<uint8_t>(numbers.next());
        put(out, &a, 4);
        put(out, &b, 2);
        put(out, &c, 1);
        put(out, &f, 1);
    } else if (name == "texts") { // f_char name[24]; long n;
        static const char letters[] = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ-";
        char text[24] = {};
        const size_t length = 4 + numbers.next() % 20;
        for (size_t i = 0; i < length; ++i) {
            text[i] = letters[numbers.next() % (sizeof letters - 1)];
        }
        text[0] = static_cast<char>('A' + numbers.next() % 26); // no leading blank
        const int32_t n = spread(numbers);
        put(out, text, 24);
        put(out, &n, 4);
    } else { // float x; double y; float z[2];
        const float x = static_cast<float>(spread(numbers)) / 1024.0f;
        const double y = static_cast<double>(spread(numbers)) * 1.0e-3;
        const float z0 = static_cast<float>(numbers.next() % 100000) / 100.0f;
        const float z1 = static_cast<float>(spread(numbers)) * 1.0e6f;
        put(out, &x, 4);
        put(out, &y, 8);
        put(out, &z0, 4);
        put(out, &z1, 4);
    }
}

std::string structure_of(const std::string& name) {
    if (name == "integers") {
        return "long a;\r\nshort b;\r\nu_char c;\r\nbit:8 f;\r\n";
    }
    if (name == "texts") {
        return "f_char name[24];\r\nlong n;\r\n";
    }
    return "float x;\r\ndouble y;\r\nfloat z[2];\r\n";
}

std::unique_ptr<RecordSet> make_set(const char* name) {
    auto set = std::make_unique<RecordSet>();
    set->name = name;
    set->structure = structure_of(name);
    parse_structure(set->structure.c_str(), set->structure.size() + 1, set->table);
    Numbers numbers;
    std::vector<uint8_t> record;
    std::vector<std::vector<uint8_t>> records;
    size_t binary = 0;
    size_t text = 0;
    for (;;) {
        record.clear();
        append_record(name, numbers, record);
        std::vector<char> one(record.size() * 16 + 64);
        size_t length = binary_to_text(one.data(), one.size(), record.data(), record.size(),
                                       set->table, TextOrganization{});
        // Every record but the first is preceded by CR LF.
        length += records.empty() ? 0 : 2;
        if (binary + record.size() > largest_binary || text + length > largest_text) {
            break;
        }
        binary += record.size();
        text += length;
        records.push_back(record);
    }
    for (const auto& r : records) {
        set->binary.insert(set->binary.end(), r.begin(), r.end());
    }
    std::vector<char> out(text + 1);
    size_t length = binary_to_text(out.data(), out.size(), set->binary.data(), set->binary.size(),
                                   set->table, TextOrganization{});
    set->text.assign(out.data(), length);
    return set;
}

} // namespace

const RecordSet& record_set(const char* name) {
    static std::map<std::string, std::unique_ptr<RecordSet>> sets;
    auto& slot = sets[name];
    if (!slot) {
        slot = make_set(name);
    }
    return *slot;
}

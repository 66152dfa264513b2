// Throughput of the engines on the largest documents. MB/s counts 10^6 bytes of the text side
// (the text format data, the dump text or the data structure) per second; the character view
// counts the binary bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_data.h"
#include "layoutpress/conversion/binary_to_text.h"
#include "layoutpress/conversion/text_to_binary.h"
#include "layoutpress/documents/binary_display.h"
#include "layoutpress/structure/structure_parser.h"

namespace {

const char* const set_names[] = {"integers", "texts", "floats"};

void count_bytes(benchmark::State& state, size_t bytes) {
    // Shown as "MB=…/s".
    state.counters["MB"] = benchmark::Counter(static_cast<double>(state.iterations()) *
                                                  static_cast<double>(bytes) / 1e6,
                                              benchmark::Counter::kIsRate);
}

// A data structure of the most members a table holds, with comments between them.
std::string largest_structure() {
    static const char* const types[] = {"long",  "unsigned short", "u_char", "double",
                                        "float", "bit:16",         "char",   "f_char"};
    std::string text = "/* the widest record a table holds */\r\n";
    for (int i = 0; i < max_members; ++i) {
        const std::string type = types[i % 8];
        text += type + " member_" + std::to_string(i) + (type == "f_char" ? "[16]" : "") +
                ";    // member " + std::to_string(i) + "\r\n";
    }
    return text;
}

void parse_structure_bench(benchmark::State& state) {
    const std::string text = largest_structure();
    MemberTable table;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parse_structure(text.c_str(), text.size() + 1, table));
        benchmark::ClobberMemory();
    }
    count_bytes(state, text.size());
}

void text_to_binary_bench(benchmark::State& state, const char* name) {
    const RecordSet& set = record_set(name);
    std::vector<uint8_t> out(largest_binary);
    for (auto _ : state) {
        size_t length = text_to_binary(out.data(), out.size(), set.text.c_str(),
                                       set.text.size() + 1, set.table);
        benchmark::DoNotOptimize(length);
        benchmark::ClobberMemory();
    }
    count_bytes(state, set.text.size());
}

void binary_to_text_bench(benchmark::State& state, const char* name, bool space, bool line_feed) {
    const RecordSet& set = record_set(name);
    TextOrganization organization;
    organization.space = space;
    organization.line_feed = line_feed;
    // Room for the columns' padding and the line ends the options add.
    std::vector<char> out(set.text.size() * 3 + 64);
    size_t length = 0;
    for (auto _ : state) {
        length = binary_to_text(out.data(), out.size(), set.binary.data(), set.binary.size(),
                                set.table, organization);
        benchmark::DoNotOptimize(length);
        benchmark::ClobberMemory();
    }
    count_bytes(state, length);
}

void render_bench(benchmark::State& state, uint8_t mode) {
    const RecordSet& set = record_set("integers");
    std::vector<char> out(binary_display_size(set.binary.size(), mode));
    for (auto _ : state) {
        benchmark::DoNotOptimize(render_binary_display(out.data(), out.size(), set.binary.data(),
                                                       set.binary.size(), mode));
        benchmark::ClobberMemory();
    }
    count_bytes(state, out.size() - 1);
}

void parse_display_bench(benchmark::State& state, uint8_t mode) {
    const RecordSet& set = record_set("integers");
    std::vector<char> dump(binary_display_size(set.binary.size(), mode));
    render_binary_display(dump.data(), dump.size(), set.binary.data(), set.binary.size(), mode);
    std::vector<uint8_t> out(set.binary.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            parse_binary_display(out.data(), out.size(), dump.data(), dump.size(), mode));
        benchmark::ClobberMemory();
    }
    count_bytes(state, dump.size() - 1);
}

void char_view_bench(benchmark::State& state, const char* name) {
    const RecordSet& set = record_set(name);
    std::vector<char> out(char_view_size(set.binary.size()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            build_char_view(out.data(), out.size(), set.binary.data(), set.binary.size()));
        benchmark::ClobberMemory();
    }
    count_bytes(state, set.binary.size());
}

void register_all() {
    benchmark::RegisterBenchmark("parse_structure/255_members", parse_structure_bench);
    for (const char* name : set_names) {
        benchmark::RegisterBenchmark((std::string("text_to_binary/") + name).c_str(),
                                     text_to_binary_bench, name);
    }
    const struct {
        const char* label;
        bool space;
        bool line_feed;
    } options[] = {{"plain", false, false},
                   {"space", true, false},
                   {"line_feed", false, true},
                   {"space+line_feed", true, true}};
    for (const char* name : set_names) {
        for (const auto& option : options) {
            benchmark::RegisterBenchmark(
                (std::string("binary_to_text/") + name + "/" + option.label).c_str(),
                binary_to_text_bench, name, option.space, option.line_feed);
        }
    }
    const char* const modes[] = {"hex", "pairs", "decimal"};
    for (uint8_t mode = 0; mode < 3; ++mode) {
        benchmark::RegisterBenchmark((std::string("render_binary_display/") + modes[mode]).c_str(),
                                     render_bench, mode);
    }
    for (uint8_t mode = 0; mode < 3; ++mode) {
        benchmark::RegisterBenchmark((std::string("parse_binary_display/") + modes[mode]).c_str(),
                                     parse_display_bench, mode);
    }
    for (const char* name : set_names) {
        benchmark::RegisterBenchmark((std::string("build_char_view/") + name).c_str(),
                                     char_view_bench, name);
    }
}

} // namespace

int main(int argc, char** argv) {
    register_all();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

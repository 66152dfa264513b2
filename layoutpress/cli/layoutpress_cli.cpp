// layoutpress-cli: the converter's engines for batch use. Files are read and written as bytes;
// "-" is standard input or output.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "layoutpress/cli/cli_files.h"
#include "layoutpress/conversion/binary_to_text.h"
#include "layoutpress/conversion/text_to_binary.h"
#include "layoutpress/documents/binary_display.h"
#include "layoutpress/documents/settings.h"
#include "layoutpress/structure/structure_parser.h"

namespace {

constexpr int exit_ok = 0;
constexpr int exit_problem = 1;
constexpr int exit_usage = 2;

const char* const structure_message = "data structure has problem.";
const char* const text_message = "text format data has problem.";
const char* const binary_message = "binary format data has problem.";
const char* const warning_message =
    "the problem occurred by the computation process but displays data there.";

const char* const usage_text =
    "usage: layoutpress-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Converts record data between text format data and packed little-endian binary\n"
    "records, driven by a data structure file.\n"
    "\n"
    "commands:\n"
    "  members STRUCT                     list the member table of a data structure\n"
    "  to-binary STRUCT TEXT [-o OUT]     text format data to binary format data\n"
    "  to-text STRUCT BINARY [-o OUT]     binary format data to text format data\n"
    "  dump BINARY [--mode M] [-o OUT]    binary data as a dump text\n"
    "  undump DUMP [--mode M] [-o OUT]    a dump text back to binary data\n"
    "  charview BINARY [-o OUT]           the character view of binary data\n"
    "\n"
    "FILE arguments may be '-' for standard input; without -o the result goes to standard\n"
    "output. 'layoutpress-cli COMMAND --help' describes one command.\n"
    "Exit status: 0 success, 1 the data has a problem, 2 usage or file error.\n";

struct CommandHelp {
    const char* name;
    const char* text;
};

const CommandHelp command_help[] = {
    {"members", "usage: layoutpress-cli members STRUCT\n"
                "Prints one line per member of the data structure: index, kind (Text, Signed,\n"
                "Unsigned, Float or Bits), size in bytes and declared element count.\n"},
    {"to-binary", "usage: layoutpress-cli to-binary STRUCT TEXT [-o OUT] [--lf]\n"
                  "Converts text format data (values separated by commas and CR LF) into packed\n"
                  "binary records laid out by STRUCT.\n"
                  "  --lf   the text file uses LF line ends\n"},
    {"to-text", "usage: layoutpress-cli to-text STRUCT BINARY [-o OUT] [--space] [--line-feed] "
                "[--lf]\n"
                "Converts packed binary records into text format data.\n"
                "  --space      line the values up in columns\n"
                "  --line-feed  put each value, or each array, on a line of its own\n"
                "  --lf         write LF line ends instead of CR LF\n"},
    {"dump", "usage: layoutpress-cli dump BINARY [--mode hex|pairs|decimal] [-o OUT]\n"
             "Writes the dump text of binary data, 16 bytes to a line (hex when no mode).\n"},
    {"undump", "usage: layoutpress-cli undump DUMP [--mode hex|pairs|decimal] [-o OUT]\n"
               "Reads a dump text back into binary data (hex and pairs read the same way).\n"},
    {"charview", "usage: layoutpress-cli charview BINARY [-o OUT]\n"
                 "Writes the character view of binary data, 16 bytes to a line.\n"},
};

struct Arguments {
    std::vector<std::string> files;
    std::string output;
    bool space = false;
    bool line_feed = false;
    bool lf = false;
    bool help = false;
    uint8_t mode = Hexadecimal;
};

int usage_error(const std::string& message) {
    std::fprintf(stderr, "layoutpress-cli: %s\n(try 'layoutpress-cli --help')\n", message.c_str());
    return exit_usage;
}

int file_error(const std::string& message) {
    std::fprintf(stderr, "layoutpress-cli: %s\n", message.c_str());
    return exit_usage;
}

// Reports the program's own message first, then what exactly went wrong.
int data_problem(const char* message, const std::string& detail) {
    std::fprintf(stderr, "%s\n", message);
    if (!detail.empty()) {
        std::fprintf(stderr, "layoutpress-cli: %s\n", detail.c_str());
    }
    return exit_problem;
}

bool parse_mode(const std::string& text, uint8_t* mode) {
    if (text == "hex") {
        *mode = Hexadecimal;
    } else if (text == "pairs") {
        *mode = HexadecimalPairs;
    } else if (text == "decimal") {
        *mode = Decimal;
    } else {
        return false;
    }
    return true;
}

struct OptionSet {
    bool output = false;
    bool organization = false;
    bool lf = false;
    bool mode = false;
};

// Splits the arguments after the command into files and the options the command takes.
bool parse_arguments(int argc, char** argv, const OptionSet& allowed, Arguments& arguments,
                     std::string* error) {
    for (int i = 2; i < argc; ++i) {
        std::string argument = argv[i];
        auto value_of = [&](const char* option, std::string* value) {
            if (i + 1 >= argc) {
                *error = std::string("option ") + option + " needs a value";
                return false;
            }
            *value = argv[++i];
            return true;
        };
        if (argument == "--help" || argument == "-h") {
            arguments.help = true;
        } else if (allowed.output && argument == "-o") {
            if (!value_of("-o", &arguments.output)) {
                return false;
            }
        } else if (allowed.organization && argument == "--space") {
            arguments.space = true;
        } else if (allowed.organization && argument == "--line-feed") {
            arguments.line_feed = true;
        } else if (allowed.lf && argument == "--lf") {
            arguments.lf = true;
        } else if (allowed.mode && (argument == "--mode" || argument.rfind("--mode=", 0) == 0)) {
            std::string value;
            if (argument == "--mode") {
                if (!value_of("--mode", &value)) {
                    return false;
                }
            } else {
                value = argument.substr(7);
            }
            if (!parse_mode(value, &arguments.mode)) {
                *error = "unknown mode '" + value + "' (use hex, pairs or decimal)";
                return false;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            *error = "unknown option '" + argument + "'";
            return false;
        } else {
            arguments.files.push_back(argument);
        }
    }
    return true;
}

size_t text_length(const uint8_t* text, size_t capacity) {
    const void* end = std::memchr(text, 0, capacity);
    return end == nullptr ? capacity : static_cast<size_t>(static_cast<const uint8_t*>(end) - text);
}

size_t line_of_offset(const uint8_t* text, size_t size, size_t offset) {
    size_t line = 1;
    for (size_t i = 0; i < offset && i < size; ++i) {
        if (text[i] == '\n') {
            ++line;
        }
    }
    return line;
}

std::string structure_detail(const std::string& path, const std::vector<uint8_t>& text,
                             const StructureFailure& failure) {
    std::string where = path + ":" +
                        std::to_string(line_of_offset(text.data(), text.size(), failure.offset)) +
                        ": ";
    switch (failure.problem) {
    case StructureProblem::no_text:
        return path + ": the data structure is empty";
    case StructureProblem::zero_count:
        return where + "a declaration with a count of 0";
    case StructureProblem::declaration_too_long:
        return where + "a declaration of more than 255 characters, or a count that is too large";
    case StructureProblem::too_many_members:
        return where + "the structure needs more than 255 members";
    case StructureProblem::none:
        break;
    }
    return std::string();
}

bool load_structure(const std::string& path, MemberTable& table, int* exit_code) {
    InputBytes bytes;
    std::string error;
    if (!read_whole_input(path, bytes, &error)) {
        *exit_code = file_error(error);
        return false;
    }
    // The parser reads up to the first zero byte; a terminator makes that explicit.
    std::vector<uint8_t> text(bytes.data(), bytes.data() + bytes.size());
    text.push_back(0);
    StructureFailure failure;
    if (parse_structure(reinterpret_cast<const char*>(text.data()), text.size(), table, &failure) ==
        0) {
        *exit_code = data_problem(structure_message, structure_detail(path, text, failure));
        return false;
    }
    return true;
}

bool read_input(const std::string& path, InputBytes& bytes, int* exit_code) {
    std::string error;
    if (!read_whole_input(path, bytes, &error)) {
        *exit_code = file_error(error);
        return false;
    }
    return true;
}

int write_output(const std::string& path, const void* data, size_t size) {
    std::string error;
    if (!write_whole_output(path, data, size, &error)) {
        return file_error(error);
    }
    return exit_ok;
}

bool expect_files(const Arguments& arguments, size_t count, const char* command, int* exit_code) {
    if (arguments.files.size() != count) {
        *exit_code = usage_error(std::string(command) + " takes " + std::to_string(count) +
                                 (count == 1 ? " file" : " files"));
        return false;
    }
    return true;
}

int run_members(const Arguments& arguments) {
    int exit_code = exit_ok;
    MemberTable table;
    if (!expect_files(arguments, 1, "members", &exit_code) ||
        !load_structure(arguments.files[0], table, &exit_code)) {
        return exit_code;
    }
    std::string listing;
    for (int i = 0; i < member_table_entries && !is_end_mark(table.entries[i]); ++i) {
        const MemberEntry& entry = table.entries[i];
        listing += std::to_string(i) + " " + member_kind_name(entry.kind) + " " +
                   std::to_string(entry.size) + " " + std::to_string(entry.element_count) + "\n";
    }
    return write_output(arguments.output, listing.data(), listing.size());
}

// The output buffers are sized to the input: start from an estimate and grow until the result
// fits, so the capacities of the program's settings never limit a batch conversion.
template <typename Convert>
size_t convert_growing(RawBytes& out, size_t estimate, Convert convert,
                       ConversionProblem* problem) {
    size_t capacity = estimate < 256 ? 256 : estimate;
    for (;;) {
        out = RawBytes(capacity);
        size_t result = convert(out.data(), out.capacity, problem);
        if (result != 0 || *problem != ConversionProblem::output_full) {
            return result;
        }
        capacity *= 2;
    }
}

const char* conversion_detail(ConversionProblem problem) {
    switch (problem) {
    case ConversionProblem::no_input:
        return "there is no data to convert";
    case ConversionProblem::empty_structure:
        return "the data structure declares no member";
    case ConversionProblem::bad_member_size:
        return "the data structure has a member of an impossible size";
    case ConversionProblem::no_value:
        return "the text holds no value";
    case ConversionProblem::output_full:
        return "the result is too large";
    case ConversionProblem::none:
        break;
    }
    return "";
}

int run_to_binary(const Arguments& arguments) {
    int exit_code = exit_ok;
    MemberTable table;
    InputBytes input;
    if (!expect_files(arguments, 2, "to-binary", &exit_code) ||
        !load_structure(arguments.files[0], table, &exit_code) ||
        !read_input(arguments.files[1], input, &exit_code)) {
        return exit_code;
    }
    // The engine reads the text up to its capacity (or a zero byte), so the file's bytes serve
    // as they are.
    std::vector<uint8_t> lines;
    const char* text = reinterpret_cast<const char*>(input.data());
    size_t text_size = input.size();
    if (arguments.lf) {
        lines = line_feeds_to_crlf(input.data(), input.size());
        text = reinterpret_cast<const char*>(lines.data());
        text_size = lines.size();
    }
    RawBytes out;
    ConversionProblem problem = ConversionProblem::none;
    size_t length = convert_growing(
        out, text_size + 64,
        [&](uint8_t* buffer, size_t capacity, ConversionProblem* why) {
            return text_to_binary_unfilled(buffer, capacity, text, text_size, table, why);
        },
        &problem);
    if (length == 0) {
        return data_problem(text_message, conversion_detail(problem));
    }
    return write_output(arguments.output, out.data(), length);
}

// A text of at least two such parts is converted in parts side by side, one for each processor:
// a smaller part converts in about a millisecond, about what starting a thread costs here.
constexpr size_t smallest_part = size_t(2) << 20;

struct TextPart {
    size_t offset = 0;
    size_t length = 0;
    char* text = nullptr; // room for the part's text in the memory of all parts
    size_t capacity = 0;
    size_t text_length = 0;
    ConversionProblem problem = ConversionProblem::none;
};

// The data's records shared out among up to one part for each processor, their texts one after
// another in one piece of memory (which one fault at a time takes in 2 MB of) taken before any
// thread starts, so that a failing allocation ends the command here.
std::vector<TextPart> plan_text_parts(const TextInParts& conversion, size_t data_size,
                                      RawBytes& memory) {
    const size_t record = conversion.record_size();
    const unsigned processors = usable_processors();
    size_t count = processors > 8 ? 8 : processors;
    const size_t whole_room = conversion.room(data_size); // the text's length, a little more
    if (count > whole_room / smallest_part) {
        count = whole_room / smallest_part;
    }
    const size_t records = data_size / record;
    std::vector<TextPart> parts(count < 1 ? 1 : count);
    size_t room = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        parts[i].offset = records * i / parts.size() * record;
        const size_t end =
            i + 1 == parts.size() ? data_size : records * (i + 1) / parts.size() * record;
        parts[i].length = end - parts[i].offset;
        parts[i].capacity = conversion.room(parts[i].length);
        if (parts[i].capacity > SIZE_MAX - room) {
            throw std::bad_alloc(); // more than the address space: "not enough memory"
        }
        room += parts[i].capacity;
    }
    memory = RawBytes(room);
    char* next = reinterpret_cast<char*>(memory.data());
    for (TextPart& part : parts) {
        part.text = next;
        next += part.capacity;
    }
    return parts;
}

// The part's text, with LF line ends when asked for (a part never ends inside a line end).
void write_text_part(const TextInParts& conversion, bool lf, TextPart& part) {
    part.text_length =
        conversion.write(part.text, part.capacity, part.offset, part.length, &part.problem);
    if (lf) {
        part.text_length = crlf_to_line_feeds(part.text, part.text_length);
    }
}

int run_to_text(const Arguments& arguments) {
    int exit_code = exit_ok;
    MemberTable table;
    InputBytes data;
    if (!expect_files(arguments, 2, "to-text", &exit_code) ||
        !load_structure(arguments.files[0], table, &exit_code) ||
        !read_input(arguments.files[1], data, &exit_code)) {
        return exit_code;
    }
    if (data.size() == 0) {
        return data_problem(binary_message, "the binary data is empty");
    }
    TextOrganization organization;
    organization.space = arguments.space;
    organization.line_feed = arguments.line_feed;
    const TextInParts conversion(data.data(), data.size(), table, organization);
    std::vector<TextPart> parts;
    RawBytes memory;
    if (conversion.record_size() != 0) {
        parts = plan_text_parts(conversion, data.size(), memory);
        std::vector<std::thread> helpers;
        for (size_t i = 1; i < parts.size(); ++i) {
            try {
                helpers.emplace_back(write_text_part, std::cref(conversion), arguments.lf,
                                     std::ref(parts[i]));
            } catch (const std::system_error&) {
                write_text_part(conversion, arguments.lf, parts[i]); // no thread: here, then
            }
        }
        write_text_part(conversion, arguments.lf, parts[0]);
        for (std::thread& helper : helpers) {
            helper.join();
        }
    } else {
        // No records to share out (nothing to convert, a member of a size its kind does not
        // allow): whole, in memory made larger until the text fits.
        parts.resize(1);
        TextPart& whole = parts[0];
        convert_growing(
            memory, data.size() * 8 + 64,
            [&](uint8_t* buffer, size_t capacity, ConversionProblem* why) {
                return binary_to_text_unfilled(reinterpret_cast<char*>(buffer), capacity,
                                               data.data(), data.size(), table, organization, why);
            },
            &whole.problem);
        whole.text = reinterpret_cast<char*>(memory.data());
        whole.text_length = text_length(memory.data(), memory.capacity);
        if (arguments.lf) {
            whole.text_length = crlf_to_line_feeds(whole.text, whole.text_length);
        }
    }
    // After a problem the text produced so far is still written, as the program shows it.
    ConversionProblem problem = ConversionProblem::none;
    std::string error;
    const bool written = write_output_pieces(
        arguments.output,
        [&](const OutputPut& put) {
            for (TextPart& part : parts) {
                if (!put(part.text, part.text_length)) {
                    return false;
                }
                if (part.problem != ConversionProblem::none) {
                    problem = part.problem;
                    break;
                }
            }
            return true;
        },
        &error);
    if (!written) {
        return file_error(error);
    }
    if (problem != ConversionProblem::none) {
        return data_problem(warning_message, conversion_detail(problem));
    }
    return exit_ok;
}

int run_dump(const Arguments& arguments) {
    int exit_code = exit_ok;
    InputBytes data;
    if (!expect_files(arguments, 1, "dump", &exit_code) ||
        !read_input(arguments.files[0], data, &exit_code)) {
        return exit_code;
    }
    RawBytes dump(binary_display_size(data.size(), arguments.mode));
    char* text = reinterpret_cast<char*>(dump.data());
    render_binary_display(text, dump.capacity, data.data(), data.size(), arguments.mode);
    return write_output(arguments.output, text, dump.capacity - 1);
}

int run_undump(const Arguments& arguments) {
    int exit_code = exit_ok;
    InputBytes input;
    if (!expect_files(arguments, 1, "undump", &exit_code) ||
        !read_input(arguments.files[0], input, &exit_code)) {
        return exit_code;
    }
    const uint8_t* text = input.data();
    const size_t size = input.size();
    // Every byte takes at least two characters of the dump.
    RawBytes out(size / 2 + 1);
    DisplayReport report;
    size_t count =
        parse_binary_display(out.data(), out.capacity, reinterpret_cast<const char*>(text), size,
                             arguments.mode, &report);
    if (report.problem == DisplayProblem::invalid_character) {
        size_t line = line_of_offset(text, size, report.offset);
        size_t column = report.offset + 1;
        for (size_t i = report.offset; i > 0; --i) {
            if (text[i - 1] == '\n') {
                column = report.offset - i + 1;
                break;
            }
        }
        return data_problem(binary_message, arguments.files[0] + ":" + std::to_string(line) + ":" +
                                                std::to_string(column) +
                                                ": a character that is not part of the dump");
    }
    if (report.problem != DisplayProblem::none) {
        return data_problem(binary_message, "the dump could not be read");
    }
    return write_output(arguments.output, out.data(), count);
}

int run_charview(const Arguments& arguments) {
    int exit_code = exit_ok;
    InputBytes data;
    if (!expect_files(arguments, 1, "charview", &exit_code) ||
        !read_input(arguments.files[0], data, &exit_code)) {
        return exit_code;
    }
    RawBytes view(char_view_size(data.size()));
    char* text = reinterpret_cast<char*>(view.data());
    build_char_view(text, view.capacity, data.data(), data.size());
    return write_output(arguments.output, text, view.capacity - 1);
}

struct Command {
    const char* name;
    OptionSet options;
    int (*run)(const Arguments&);
};

const Command commands[] = {
    {"members", {true, false, false, false}, run_members},
    {"to-binary", {true, false, true, false}, run_to_binary},
    {"to-text", {true, true, true, false}, run_to_text},
    {"dump", {true, false, false, true}, run_dump},
    {"undump", {true, false, false, true}, run_undump},
    {"charview", {true, false, false, false}, run_charview},
};

int run(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(usage_text, stderr);
        return exit_usage;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        std::fputs(usage_text, stdout);
        return exit_ok;
    }
    for (const Command& command : commands) {
        if (name != command.name) {
            continue;
        }
        Arguments arguments;
        std::string error;
        if (!parse_arguments(argc, argv, command.options, arguments, &error)) {
            return usage_error(name + ": " + error);
        }
        if (arguments.help) {
            for (const CommandHelp& help : command_help) {
                if (name == help.name) {
                    std::fputs(help.text, stdout);
                }
            }
            return exit_ok;
        }
        return command.run(arguments);
    }
    return usage_error("unknown command '" + name + "'");
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("layoutpress-cli: not enough memory for this conversion\n", stderr);
        return exit_usage;
    }
}

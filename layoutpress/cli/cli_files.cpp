#include "layoutpress/cli/cli_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>

#include "layoutpress/documents/file_store.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define LAYOUTPRESS_CLI_MAPS_FILES 1
#endif

namespace {

bool is_standard_stream(const std::string& path) {
    return path.empty() || path == "-";
}

void use_binary_mode(FILE* stream) {
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
}

std::string describe(const char* what, const std::string& path, int error_number) {
    std::string name = is_standard_stream(path) ? std::string("standard stream") : "'" + path + "'";
    std::string message = std::string("cannot ") + what + " " + name;
    if (error_number != 0) {
        message += ": ";
        message += std::strerror(error_number);
    }
    return message;
}

#ifdef LAYOUTPRESS_CLI_MAPS_FILES
// A mapped input that another program shortens while it is read gives SIGBUS at the first
// page past its new end. The command then ends with a message and the usage/file exit code 2
// instead of a crash; nothing has been written yet, since outputs are written after the
// conversion.
char mapped_input_message[600];
size_t mapped_input_message_length = 0;

void report_shortened_input(int) {
    ssize_t ignored = write(STDERR_FILENO, mapped_input_message, mapped_input_message_length);
    (void)ignored;
    _exit(2);
}

void watch_mapped_input(const std::string& path) {
    const std::string message =
        "layoutpress-cli: cannot read '" + path + "': the file was shortened while it was read\n";
    mapped_input_message_length =
        message.size() < sizeof mapped_input_message ? message.size() : sizeof mapped_input_message;
    std::memcpy(mapped_input_message, message.data(), mapped_input_message_length);
    struct sigaction action {};
    action.sa_handler = report_shortened_input;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, nullptr);
}
#endif

#ifdef LAYOUTPRESS_CLI_MAPS_FILES
bool write_all(int descriptor, const void* data, size_t size) {
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(descriptor, next, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        next += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}
#endif

// Buffers from a quarter of a huge page on are mapped on their own, in whole huge pages where
// there are any: one fault then takes in 2 MB, where the faults of 4 KB pages cost several
// milliseconds for a megabyte on a virtual machine.
constexpr size_t huge_page_size = size_t(2) << 20;
constexpr size_t mapped_buffer_size = huge_page_size / 4;

} // namespace

RawBytes::RawBytes(size_t count) : capacity(count) {
#if defined(LAYOUTPRESS_CLI_MAPS_FILES) && defined(MADV_HUGEPAGE)
    if (count >= mapped_buffer_size && count < SIZE_MAX - 2 * huge_page_size) {
        // Whole huge pages, and one more so that they can start on a huge page boundary; the
        // unused head and tail are never touched.
        const size_t pages = (count + huge_page_size - 1) & ~(huge_page_size - 1);
        const size_t size = pages + huge_page_size;
        void* mapping =
            mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapping != MAP_FAILED) {
            const uintptr_t start = reinterpret_cast<uintptr_t>(mapping);
            const uintptr_t aligned = (start + huge_page_size - 1) & ~(huge_page_size - 1);
            data_ = reinterpret_cast<uint8_t*>(aligned);
            madvise(data_, pages, MADV_HUGEPAGE); // a hint: ordinary pages serve as well
            mapped_ = true;
            mapped_size_ = size;
            mapped_start_ = mapping;
            return;
        }
    }
#endif
    data_ = new uint8_t[count == 0 ? 1 : count];
}

RawBytes::~RawBytes() {
    release();
}

RawBytes& RawBytes::operator=(RawBytes&& other) noexcept {
    if (this != &other) {
        release();
        take(other);
    }
    return *this;
}

void RawBytes::take(RawBytes& other) {
    data_ = other.data_;
    capacity = other.capacity;
    mapped_ = other.mapped_;
    mapped_size_ = other.mapped_size_;
    mapped_start_ = other.mapped_start_;
    other.data_ = nullptr;
    other.capacity = 0;
    other.mapped_ = false;
}

void RawBytes::release() {
    if (data_ == nullptr) {
        return;
    }
#ifdef LAYOUTPRESS_CLI_MAPS_FILES
    if (mapped_) {
        munmap(mapped_start_, mapped_size_);
        data_ = nullptr;
        return;
    }
#endif
    delete[] data_;
    data_ = nullptr;
}

InputBytes::~InputBytes() {
#ifdef LAYOUTPRESS_CLI_MAPS_FILES
    if (mapping_ != nullptr) {
        munmap(mapping_, mapping_size_);
    }
#endif
}

bool read_whole_input(const std::string& path, InputBytes& input, std::string* error) {
    FILE* file = nullptr;
    if (is_standard_stream(path)) {
        file = stdin;
        use_binary_mode(stdin);
    } else {
        file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            *error = describe("read", path, errno);
            return false;
        }
    }
#ifdef LAYOUTPRESS_CLI_MAPS_FILES
    struct stat status;
    if (file != stdin && fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode) &&
        status.st_size > 0) {
        const size_t size = static_cast<size_t>(status.st_size);
        int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
        flags |= MAP_POPULATE; // one call maps every page instead of a fault for each
#endif
        void* mapping = mmap(nullptr, size, PROT_READ, flags, fileno(file), 0);
        if (mapping != MAP_FAILED) {
            watch_mapped_input(path);
            std::fclose(file);
            input.mapping_ = mapping;
            input.mapping_size_ = size;
            input.data_ = static_cast<const uint8_t*>(mapping);
            input.size_ = size;
            return true;
        }
    }
#endif
    // Otherwise read: a file of known size straight into its place, anything else in growing
    // steps.
    size_t capacity = 65536;
    if (file != stdin && std::fseek(file, 0, SEEK_END) == 0) {
        long size = std::ftell(file);
        if (size > 0) {
            capacity = static_cast<size_t>(size) + 1;
        }
        std::fseek(file, 0, SEEK_SET);
    }
    RawBytes bytes(capacity);
    size_t length = 0;
    for (;;) {
        if (length == bytes.capacity) {
            RawBytes larger(bytes.capacity * 2);
            std::memcpy(larger.data(), bytes.data(), length);
            bytes = std::move(larger);
        }
        const size_t got = std::fread(bytes.data() + length, 1, bytes.capacity - length, file);
        length += got;
        if (got == 0) {
            break;
        }
    }
    bool failed = std::ferror(file) != 0;
    int error_number = errno;
    if (file != stdin) {
        std::fclose(file);
    }
    if (failed) {
        *error = describe("read", path, error_number);
        return false;
    }
    input.copy_ = std::move(bytes);
    input.data_ = input.copy_.data();
    input.size_ = length;
    return true;
}

bool write_output_pieces(const std::string& path, const OutputProducer& produce,
                         std::string* error) {
    errno = 0;
    if (!is_standard_stream(path)) {
        if (!write_file_replacing(path.c_str(), [&](std::FILE* file) {
                std::setvbuf(file, nullptr, _IONBF, 0); // the pieces are large already
                return produce([file](const void* data, size_t size) {
                    return size == 0 || std::fwrite(data, 1, size, file) == size;
                });
            })) {
            *error = describe("write", path, errno);
            return false;
        }
        return true;
    }
    use_binary_mode(stdout);
#ifdef LAYOUTPRESS_CLI_MAPS_FILES
    // Straight to the descriptor: the stream's buffer would only split the writes.
    bool written = std::fflush(stdout) == 0 && produce([](const void* data, size_t size) {
                       return write_all(STDOUT_FILENO, data, size);
                   });
#else
    bool written = produce([](const void* data, size_t size) {
                       return size == 0 || std::fwrite(data, 1, size, stdout) == size;
                   }) &&
                   std::fflush(stdout) == 0;
#endif
    if (!written) {
        *error = describe("write", path, errno);
    }
    return written;
}

bool write_whole_output(const std::string& path, const void* data, size_t size,
                        std::string* error) {
    return write_output_pieces(
        path, [data, size](const OutputPut& put) { return put(data, size); }, error);
}

unsigned usable_processors() {
#if defined(LAYOUTPRESS_CLI_MAPS_FILES) && defined(CPU_COUNT)
    cpu_set_t usable;
    if (sched_getaffinity(0, sizeof usable, &usable) == 0 && CPU_COUNT(&usable) > 0) {
        return static_cast<unsigned>(CPU_COUNT(&usable));
    }
#endif
    const unsigned processors = std::thread::hardware_concurrency();
    return processors > 0 ? processors : 1;
}

std::vector<uint8_t> line_feeds_to_crlf(const uint8_t* text, size_t length) {
    std::vector<uint8_t> result;
    result.reserve(length + length / 16);
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            result.push_back('\r');
        }
        result.push_back(text[i]);
    }
    return result;
}

size_t crlf_to_line_feeds(char* text, size_t length) {
    size_t kept = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') {
            continue;
        }
        text[kept++] = text[i];
    }
    return kept;
}

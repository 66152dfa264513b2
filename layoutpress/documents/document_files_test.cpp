#include "layoutpress/documents/document_files.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "testing/files/test_files.h"

namespace {

namespace fs = std::filesystem;
using Bytes = test_files::Bytes;
using test_files::bytes_of;
using test_files::read_all;
using test_files::write_all;

// Small capacities of their own per buffer, so that a load into the wrong buffer, or a limit
// taken from the wrong buffer, shows.
constexpr uint32_t capacities[3] = {9000, 10000, 6000};
constexpr uint32_t adjust_capacity = 7000;
constexpr uint8_t fill = 0xAA;

const char* const kind_names[3] = {"data structure", "text format data", "binary format data"};

using test_files::pattern;

// A text of size bytes without zero bytes: lines of letters ended by CR LF.
Bytes text_pattern(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) {
        const size_t column = i % 40;
        bytes[i] = column == 38 ? '\r' : column == 39 ? '\n' : static_cast<uint8_t>('a' + i % 23);
    }
    return bytes;
}

std::string padded_path(const std::string& text) {
    return text + std::string(document_path_size - text.size(), '\0');
}

std::string padded_name(const std::string& text) {
    return text + std::string(document_file_name_size - text.size(), '\0');
}

Bytes buffer_bytes(const TemporaryMemory& memory) {
    return Bytes(memory.data(), memory.data() + memory.capacity());
}

class DocumentFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int kind = 0; kind < 3; ++kind) {
            TemporaryMemory& memory = document_memory(kind);
            memory.release();
            ASSERT_TRUE(memory.allocate(capacities[kind]));
            std::memset(memory.data(), fill, memory.capacity());
            std::memset(document_path[kind], 0, document_path_size);
            std::memset(document_file_name[kind], 0, document_file_name_size);
        }
        byte_adjust_memory.release();
        ASSERT_TRUE(byte_adjust_memory.allocate(adjust_capacity));
        std::memset(byte_adjust_memory.data(), fill, byte_adjust_memory.capacity());
        binary_length = 0;
    }
    void TearDown() override {
        for (int kind = 0; kind < 3; ++kind) {
            document_memory(kind).release();
        }
        byte_adjust_memory.release();
        binary_length = 0;
    }
    std::string file(const std::string& name) const { return temp.file(name); }

    test_files::TempFolder temp{"layoutpress-documents-"};
    const fs::path folder = temp.path();
};

TEST_F(DocumentFilesTest, FilesLoadAndSaveBackByteForByte) {
    const struct {
        int kind;
        const char* what;
        Bytes content;
    } cases[] = {
        {structure_document, "CR LF lines", bytes_of("long a;\r\nchar b[4];\r\n\r\n")},
        {text_document, "CR LF lines, a lone CR and LF, Ctrl+Z",
         bytes_of("1,\"a\"\r\n2,\"b\"\r\x1a\n3\r\n")},
        {text_document, "exactly 4096 bytes", text_pattern(4096)},
        {text_document, "exactly 8192 bytes", text_pattern(8192)},
        {text_document, "4097 bytes", text_pattern(4097)},
        {structure_document, "empty file", Bytes()},
        {text_document, "one byte", bytes_of("x")},
        {binary_document, "every byte value, zeros too", pattern(1000)},
        {binary_document, "exactly 4096 bytes", pattern(4096, 3)},
        {binary_document, "empty file", Bytes()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << kind_names[c.kind] << ", " << c.what);
        TemporaryMemory& memory = document_memory(c.kind);
        std::memset(memory.data(), fill, memory.capacity());
        const std::string source = file("source");
        write_all(source, c.content);

        const DocumentLoad load = load_document_file(c.kind, source.c_str());
        ASSERT_EQ(load.problem, DocumentFileProblem::none);
        ASSERT_EQ(load.size, c.content.size());
        const Bytes held = buffer_bytes(memory);
        EXPECT_TRUE(std::equal(c.content.begin(), c.content.end(), held.begin()));
        EXPECT_EQ(held[c.content.size()], 0) << "terminator";
        EXPECT_EQ(
            std::count(held.begin() + static_cast<long>(c.content.size()) + 1, held.end(), fill),
            static_cast<long>(held.size() - c.content.size() - 1))
            << "bytes behind the terminator keep their old values";
        EXPECT_STREQ(document_path[c.kind], "") << "loading records nothing";

        if (c.kind == binary_document) {
            binary_length = static_cast<int32_t>(load.size);
        }
        const std::string copy = file("copy");
        ASSERT_EQ(write_document_file(c.kind, copy.c_str()), DocumentFileProblem::none);
        EXPECT_EQ(read_all(copy), c.content);
        EXPECT_FALSE(fs::exists(copy + ".tmp")) << "no temporary file left behind";
    }
}

TEST_F(DocumentFilesTest, LoadingReplacesOnlyTheFilesLengthAndTheTerminator) {
    // A longer document first, then a shorter file: the rest of the old text stays behind
    // the new terminator.
    write_all(file("long"), bytes_of("0123456789"));
    write_all(file("short"), bytes_of("ab"));
    ASSERT_EQ(load_document_file(text_document, file("long").c_str()).size, 10u);
    ASSERT_EQ(load_document_file(text_document, file("short").c_str()).size, 2u);
    EXPECT_EQ(std::string(text_memory.text(), 11), std::string("ab\0003456789\0", 11));
    EXPECT_EQ(text_memory.data()[11], fill);
    EXPECT_EQ(struct_memory.data()[0], fill) << "other documents untouched";
    EXPECT_EQ(byte_memory.data()[0], fill);
}

TEST_F(DocumentFilesTest, AFileMustLeaveRoomForTheTerminator) {
    for (int kind = 0; kind < 3; ++kind) {
        const uint32_t capacity = capacities[kind];
        const struct {
            size_t size;
            bool fits;
        } cases[] = {{capacity - 1, true},
                     {capacity, false},
                     {capacity + 1, false},
                     {capacity + 5000, false}};
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << kind_names[kind] << ", a file of " << c.size
                                            << " bytes, capacity " << capacity);
            TemporaryMemory& memory = document_memory(kind);
            std::memset(memory.data(), fill, memory.capacity());
            const Bytes before = buffer_bytes(memory);
            const Bytes content =
                kind == binary_document ? pattern(c.size, 1) : text_pattern(c.size);
            write_all(file("big"), content);

            const DocumentLoad load = load_document_file(kind, file("big").c_str());
            EXPECT_EQ(load.size, c.size) << "the size loaded, or the size of the refused file";
            if (c.fits) {
                EXPECT_EQ(load.problem, DocumentFileProblem::none);
                EXPECT_TRUE(std::equal(content.begin(), content.end(), memory.data()));
                EXPECT_EQ(memory.data()[capacity - 1], 0) << "terminator in the last byte";
            } else {
                EXPECT_EQ(load.problem, DocumentFileProblem::too_large);
                EXPECT_EQ(buffer_bytes(memory), before) << "a refused file changes nothing";
            }
        }
    }
}

TEST_F(DocumentFilesTest, UnreadablePathsAreReportedAndChangeNothing) {
    fs::create_directory(folder / "a folder");
    const struct {
        const char* what;
        std::string path;
    } cases[] = {
        {"missing file", file("missing.txt")},
        {"file in a missing folder", file("missing/x.txt")},
        {"a folder", file("a folder")},
        {"empty path", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (int kind = 0; kind < 3; ++kind) {
            const Bytes before = buffer_bytes(document_memory(kind));
            const DocumentLoad load = load_document_file(kind, c.path.c_str());
            EXPECT_EQ(load.problem, DocumentFileProblem::cannot_open) << kind_names[kind];
            EXPECT_EQ(load.size, 0u);
            EXPECT_EQ(buffer_bytes(document_memory(kind)), before) << kind_names[kind];
        }
    }
    EXPECT_EQ(load_document_file(3, file("missing.txt").c_str()).problem,
              DocumentFileProblem::cannot_open)
        << "not a document kind";
    EXPECT_EQ(load_document_file(0, nullptr).problem, DocumentFileProblem::cannot_open);
}

TEST_F(DocumentFilesTest, TextsAreSavedUpToTheirFirstZeroByte) {
    const struct {
        const char* what;
        std::string buffer; // the start of the buffer; the fill byte follows
        std::string saved;
    } cases[] = {
        {"zero inside", std::string("abc\0def\0", 8), "abc"},
        {"zero first", std::string("\0abc\0", 5), ""},
        {"CR LF kept", std::string("a\r\nb\r\n\0", 7), "a\r\nb\r\n"},
    };
    for (int kind : {structure_document, text_document}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << kind_names[kind] << ", " << c.what);
            TemporaryMemory& memory = document_memory(kind);
            std::memcpy(memory.data(), c.buffer.data(), c.buffer.size());
            ASSERT_EQ(write_document_file(kind, file("saved").c_str()), DocumentFileProblem::none);
            EXPECT_EQ(read_all(file("saved")), bytes_of(c.saved));
        }
    }
}

TEST_F(DocumentFilesTest, ATextWithoutTerminatorIsSavedUpToTheBufferEnd) {
    std::memset(text_memory.data(), 'x', text_memory.capacity());
    ASSERT_EQ(write_document_file(text_document, file("full").c_str()), DocumentFileProblem::none);
    EXPECT_EQ(read_all(file("full")), Bytes(capacities[text_document], 'x'));
}

TEST_F(DocumentFilesTest, TheBinaryDocumentSavesExactlyBinaryLengthBytes) {
    const Bytes content = pattern(capacities[binary_document], 5);
    std::memcpy(byte_memory.data(), content.data(), content.size());
    const int32_t capacity = static_cast<int32_t>(capacities[binary_document]);
    const struct {
        int32_t length;
        size_t saved;
    } cases[] = {
        {0, 0},
        {1, 1},
        {300, 300},
        {capacity - 1, static_cast<size_t>(capacity - 1)},
        {capacity, static_cast<size_t>(capacity)},
        {capacity + 1, static_cast<size_t>(capacity)}, // never past byte_memory
        {-5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "binary_length " << c.length);
        binary_length = c.length;
        ASSERT_EQ(write_document_file(binary_document, file("out.bin").c_str()),
                  DocumentFileProblem::none);
        EXPECT_EQ(read_all(file("out.bin")),
                  Bytes(content.begin(), content.begin() + static_cast<long>(c.saved)));
    }
}

TEST_F(DocumentFilesTest, ASaveOverwritesAnExistingFileCompletely) {
    write_all(file("old.txt"), pattern(5000));
    std::memcpy(text_memory.data(), "new\0", 4);
    ASSERT_EQ(write_document_file(text_document, file("old.txt").c_str()),
              DocumentFileProblem::none);
    EXPECT_EQ(read_all(file("old.txt")), bytes_of("new"));
}

TEST_F(DocumentFilesTest, AFailedSaveReportsAndKeepsTheOldFile) {
    fs::create_directory(folder / "a folder");
    write_all(file("a folder/inside"), bytes_of("kept"));
    std::memcpy(struct_memory.data(), "long a;\0", 8);
    const struct {
        const char* what;
        std::string path;
        DocumentFileProblem problem;
    } cases[] = {
        {"folder that does not exist", file("missing/x.str"), DocumentFileProblem::cannot_write},
        {"a folder in the way", file("a folder"), DocumentFileProblem::cannot_write},
        {"empty path", "", DocumentFileProblem::cannot_open},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(write_document_file(structure_document, c.path.c_str()), c.problem);
    }
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_TRUE(fs::is_directory(folder / "a folder"));
    EXPECT_EQ(read_all(file("a folder/inside")), bytes_of("kept"));
    EXPECT_EQ(write_document_file(structure_document, nullptr), DocumentFileProblem::cannot_open);
}

TEST_F(DocumentFilesTest, ClearingEmptiesOneDocumentAndItsFileIdentity) {
    for (int cleared = 0; cleared < 3; ++cleared) {
        SCOPED_TRACE(kind_names[cleared]);
        for (int kind = 0; kind < 3; ++kind) {
            std::memset(document_memory(kind).data(), fill, document_memory(kind).capacity());
            record_document_file(kind, "C:\\work\\doc.dat", "doc.dat");
        }
        std::memset(byte_adjust_memory.data(), fill, byte_adjust_memory.capacity());
        binary_length = 77;

        clear_document(cleared);
        for (int kind = 0; kind < 3; ++kind) {
            const TemporaryMemory& memory = document_memory(kind);
            const Bytes expected(memory.capacity(), kind == cleared ? 0 : fill);
            EXPECT_EQ(buffer_bytes(memory), expected) << kind_names[kind];
            EXPECT_EQ(std::string(document_path[kind], document_path_size),
                      kind == cleared ? std::string(document_path_size, '\0')
                                      : padded_path("C:\\work\\doc.dat"))
                << kind_names[kind];
            EXPECT_EQ(std::string(document_file_name[kind], document_file_name_size),
                      kind == cleared ? std::string(document_file_name_size, '\0')
                                      : padded_name("doc.dat"))
                << kind_names[kind];
        }
        const bool binary = cleared == binary_document;
        EXPECT_EQ(buffer_bytes(byte_adjust_memory),
                  Bytes(byte_adjust_memory.capacity(), binary ? 0 : fill))
            << "the dump is cleared with the binary document only";
        EXPECT_EQ(binary_length, binary ? 0 : 77);
    }
}

TEST_F(DocumentFilesTest, RecordingKeepsWhatFitsAndZeroesTheRest) {
    const std::string long_path = "C:\\" + std::string(300, 'p');
    const std::string long_name = std::string(100, 'n');
    const std::string path_255 = long_path.substr(0, 255);
    const std::string name_63 = long_name.substr(0, 63);
    const struct {
        const char* what;
        const char* path;
        const char* title;
        std::string recorded_path;
        std::string recorded_name;
    } cases[] = {
        {"ordinary", "C:\\data\\a.txt", "a.txt", padded_path("C:\\data\\a.txt"),
         padded_name("a.txt")},
        // After the long ones: a shorter name leaves nothing of the longer one behind.
        {"too long", long_path.c_str(), long_name.c_str(), padded_path(path_255),
         padded_name(name_63)},
        {"short after long", "b", "b", padded_path("b"), padded_name("b")},
        {"exactly 255 and 63", path_255.c_str(), name_63.c_str(), padded_path(path_255),
         padded_name(name_63)},
        {"none", nullptr, nullptr, padded_path(""), padded_name("")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        record_document_file(text_document, c.path, c.title);
        EXPECT_EQ(std::string(document_path[text_document], document_path_size), c.recorded_path);
        EXPECT_EQ(std::string(document_file_name[text_document], document_file_name_size),
                  c.recorded_name);
        EXPECT_STREQ(document_path[structure_document], "") << "other kinds untouched";
        EXPECT_STREQ(document_path[binary_document], "");
    }
}

TEST(MemoryMessages, RowNamesAreTheMemoryLabelsWithoutPadding) {
    EXPECT_STREQ(memory_row_name(0), "Data Structure Memory");
    EXPECT_STREQ(memory_row_name(1), "Text Format Data Memory");
    EXPECT_STREQ(memory_row_name(2), "Binary Format Data Memory");
    EXPECT_STREQ(memory_row_name(3), "Display Binary Format Data Memory");
}

TEST(MemoryMessages, TheTextNamesWhatDoesNotFitAndWhereToEnlarge) {
    const struct {
        const char* what;
        size_t needed;
        int row;
        uint32_t capacity;
        const char* text;
    } cases[] = {
        {"file", 40000, 1, 29999,
         "The file is 40000 bytes, but the Text Format Data Memory holds at most 29999. "
         "Enlarge it on the \"Temporary Memory Resizing \" tab."},
        {"result", 12000, 2, 10000,
         "The result is 12000 bytes, but the Binary Format Data Memory holds at most 10000. "
         "Enlarge it on the \"Temporary Memory Resizing \" tab."},
        {"dump", 30001, 3, 30000,
         "The dump is 30001 bytes, but the Display Binary Format Data Memory holds at most "
         "30000. Enlarge it on the \"Temporary Memory Resizing \" tab."},
        {"file", 0, 0, 0,
         "The file is 0 bytes, but the Data Structure Memory holds at most 0. "
         "Enlarge it on the \"Temporary Memory Resizing \" tab."},
        {"file", 4294967295u, 0, 4294967295u,
         "The file is 4294967295 bytes, but the Data Structure Memory holds at most 4294967295. "
         "Enlarge it on the \"Temporary Memory Resizing \" tab."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        char out[300];
        std::memset(out, 'z', sizeof out);
        memory_too_small_text(out, sizeof out, c.what, c.needed, c.row, c.capacity);
        EXPECT_STREQ(out, c.text);
    }
}

TEST(MemoryMessages, TheTextNeverPassesItsBuffer) {
    const std::string whole = "The file is 40000 bytes, but the Text Format Data Memory holds at "
                              "most 29999. Enlarge it on the \"Temporary Memory Resizing \" tab.";
    for (size_t size : {size_t{1}, size_t{2}, size_t{5}, size_t{12}, size_t{13}, size_t{50},
                        whole.size(), whole.size() + 1}) {
        SCOPED_TRACE(testing::Message() << size << " bytes");
        std::string out(size + 8, 'z');
        memory_too_small_text(&out[0], size, "file", 40000, 1, 29999);
        EXPECT_EQ(out.substr(0, size - 1), whole.substr(0, size - 1));
        EXPECT_EQ(out[size - 1], '\0');
        EXPECT_EQ(out.substr(size), std::string(8, 'z')) << "nothing past out_size";
    }
    char untouched = 'z';
    memory_too_small_text(&untouched, 0, "file", 1, 1, 1);
    EXPECT_EQ(untouched, 'z');
}

} // namespace

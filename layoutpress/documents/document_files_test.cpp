// Loading and saving the three documents, clearing them, their recorded file identity, the
// memory messages, and the whole-file store under them.
#include "layoutpress/documents/document_files.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/file_store.h"
#include "testing/files/test_files.h"

namespace {

namespace fs = std::filesystem;
using test_files::Bytes;
using test_files::bytes_of;
using test_files::pattern;
using test_files::read_all;
using test_files::write_all;

// Capacities of their own per buffer, so that a load into the wrong buffer, or a limit taken
// from the wrong buffer, shows.
constexpr uint32_t capacities[3] = {9000, 10000, 6000};
constexpr uint8_t fill = 0xAA;

Bytes held(int kind) {
    const TemporaryMemory& memory = document_memory(kind);
    return Bytes(memory.data(), memory.data() + memory.capacity());
}

class DocumentFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int kind = 0; kind < 3; ++kind) {
            document_memory(kind).release();
            ASSERT_TRUE(document_memory(kind).allocate(capacities[kind]));
            std::memset(document_memory(kind).data(), fill, capacities[kind]);
            record_document_file(kind, nullptr, nullptr);
        }
        byte_adjust_memory.release();
        ASSERT_TRUE(byte_adjust_memory.allocate(700));
        std::memset(byte_adjust_memory.data(), fill, 700);
        binary_length = 0;
    }
    void TearDown() override {
        for (TemporaryMemory* memory :
             {&struct_memory, &text_memory, &byte_memory, &byte_adjust_memory}) {
            memory->release();
        }
        binary_length = 0;
    }
    std::string file(const std::string& name) const { return temp.file(name); }
    test_files::TempFolder temp{"layoutpress-documents-"};
};

// Each kind loads files of 0 bytes up to its capacity less one (refusing larger ones, changing
// nothing) followed by one zero byte, leaves the bytes behind it, and saves
// them back byte for byte.
TEST_F(DocumentFilesTest, FilesLoadAndSaveBackByteForByte) {
    for (int kind = 0; kind < 3; ++kind) {
        const uint32_t capacity = capacities[kind];
        for (size_t size :
             std::vector<size_t>{0, 1, 4097, capacity - 1, capacity, capacity + 5000}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", " << size << " bytes");
            Bytes content = pattern(size, static_cast<uint8_t>(kind));
            if (kind != binary_document) {
                std::replace(content.begin(), content.end(), uint8_t{0}, uint8_t{'\n'});
            }
            write_all(file("source"), content);
            const Bytes before = held(kind);
            const DocumentLoad load = load_document_file(kind, file("source").c_str());
            EXPECT_EQ(load.size, size) << "the size loaded, or the size of the refused file";
            if (size >= capacity) {
                EXPECT_EQ(load.problem, DocumentFileProblem::too_large);
                EXPECT_EQ(held(kind), before) << "a refused file changes nothing";
                continue;
            }
            ASSERT_EQ(load.problem, DocumentFileProblem::none);
            Bytes expected = before;
            std::copy(content.begin(), content.end(), expected.begin());
            expected[size] = 0;
            EXPECT_EQ(held(kind), expected);
            binary_length = static_cast<int32_t>(size);
            ASSERT_EQ(write_document_file(kind, file("copy").c_str()), DocumentFileProblem::none);
            EXPECT_EQ(read_all(file("copy")), content);
        }
    }
    for (const std::string& path :
         {file("missing"), file("no/x"), temp.path().string(), std::string()}) {
        EXPECT_EQ(load_document_file(text_document, path.c_str()).problem,
                  DocumentFileProblem::cannot_open);
    }
    EXPECT_EQ(load_document_file(3, file("source").c_str()).problem,
              DocumentFileProblem::cannot_open);
}

// Texts are saved up to their first zero byte or the buffer's end; the binary document its
// first binary_length bytes, never past byte_memory. Paths and bytes that are missing write
// nothing.
TEST_F(DocumentFilesTest, SavesTakeTheDocumentsLength) {
    std::memcpy(text_memory.data(), "a\r\nb\0def", 8);
    std::memset(struct_memory.data(), 'x', capacities[0]);
    const Bytes bytes = pattern(capacities[binary_document], 5);
    std::copy(bytes.begin(), bytes.end(), byte_memory.data());
    const struct {
        int kind;
        int32_t binary_length;
        size_t saved;
    } saves[] = {{1, 0, 4},       {0, 0, 9000},    {2, 300, 300},
                 {2, 6000, 6000}, {2, 6001, 6000}, {2, -5, 0}};
    for (const auto& c : saves) {
        binary_length = c.binary_length;
        ASSERT_EQ(write_document_file(c.kind, file("t").c_str()), DocumentFileProblem::none);
        const Bytes content = held(c.kind);
        EXPECT_EQ(read_all(file("t")), Bytes(content.begin(), content.begin() + c.saved));
    }
    EXPECT_EQ(write_document_file(text_document, file("no/x").c_str()),
              DocumentFileProblem::cannot_write);
    EXPECT_EQ(write_document_file(text_document, ""), DocumentFileProblem::cannot_open);
    EXPECT_EQ(write_document_file(text_document, nullptr), DocumentFileProblem::cannot_open);
    EXPECT_FALSE(write_file_replacing(nullptr, "x", 1));
    EXPECT_FALSE(write_file_replacing("", "x", 1));
    EXPECT_FALSE(write_file_replacing(file("x").c_str(), nullptr, 1)) << "no bytes to write";
    EXPECT_FALSE(fs::exists(file("x")));
}

// Recording keeps what fits of the path (255) and the name (63) and zeroes the rest; clearing
// empties one document, its buffer and its file identity, and for the binary one the dump too.
TEST_F(DocumentFilesTest, RecordingAndClearingTheFileIdentity) {
    record_document_file(text_document, std::string(300, 'p').c_str(), "longer");
    record_document_file(text_document, "b", "b"); // nothing of the longer ones stays behind
    EXPECT_EQ(std::string(document_path[text_document], 256), "b" + std::string(255, '\0'));
    EXPECT_EQ(std::string(document_file_name[text_document], 64), "b" + std::string(63, '\0'));
    record_document_file(binary_document, std::string(300, 'p').c_str(),
                         std::string(99, 'n').c_str());
    EXPECT_EQ(std::strlen(document_path[binary_document]) +
                  std::strlen(document_file_name[binary_document]),
              255u + 63);
    binary_length = 77;
    for (int cleared : {text_document, binary_document}) {
        clear_document(cleared);
        for (int kind = 0; kind < 3; ++kind) {
            const bool empty = kind == text_document || kind == cleared;
            EXPECT_EQ(held(kind), Bytes(capacities[kind], empty ? 0 : fill));
            EXPECT_EQ(document_file_name[kind][0], kind == binary_document && !empty ? 'n' : 0);
        }
        const bool binary = cleared == binary_document;
        EXPECT_EQ(Bytes(byte_adjust_memory.data(), byte_adjust_memory.data() + 700),
                  Bytes(700, binary ? 0 : fill));
        EXPECT_EQ(binary_length, binary ? 0 : 77);
    }
}

TEST(MemoryMessages, NameWhatDoesNotFitAndWhereToEnlarge) {
    char text[400];
    memory_too_small_text(text, sizeof text, "dump", 30001, 3, 30000);
    EXPECT_STREQ(text,
                 "The dump is 30001 bytes, but the Display Binary Format Data Memory holds at "
                 "most 30000. Enlarge it on the \"Temporary Memory Resizing \" tab.");
    memory_too_small_text(text, sizeof text, nullptr, 4294967295u, 2, 1);
    EXPECT_STREQ(text, "The file is 4294967295 bytes, but the Binary Format Data Memory holds at "
                       "most 1. Enlarge it on the \"Temporary Memory Resizing \" tab.");
    std::memset(text, '#', sizeof text);
    memory_too_small_text(text, 20, "file", 40000, 1, 29999);
    EXPECT_EQ(std::string(text, 21), "The file is 40000 b" + std::string(1, '\0') + "#");
    memory_too_small_text(text, 0, "file", 1, 1, 1);
    EXPECT_EQ(text[0], 'T') << "no room, nothing written";
}

} // namespace

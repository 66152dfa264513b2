// The text form against the converter's own: every built question of the pack, written as text,
// is byte for byte the source the converter turned into it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tallydrill/generator/question_text_form.h"

namespace {

namespace fs = std::filesystem;

std::string file_bytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(QuestionTextForm, WritesThePackSourcesFromTheirRecords) {
    int compared = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(PACK_SOURCE_DIR)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".txt" || name[0] != 'q') {
            continue;
        }
        SCOPED_TRACE(name);
        const std::string built =
            file_bytes(fs::path(PACK_BUILD_DIR) / (entry.path().stem().string() + ".tt"));
        ASSERT_EQ(built.size(), question_record_size);
        QuestionRecord record;
        std::memcpy(&record, built.data(), sizeof record);
        std::string text;
        ASSERT_TRUE(write_question_text_form(record, text));
        EXPECT_EQ(text, file_bytes(entry.path()));
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

TEST(QuestionTextForm, RefusesTextsItCannotCarry) {
    QuestionRecord record;
    std::memset(&record, 0, sizeof record);
    std::string text = "kept";
    const struct {
        const char* what;
        std::size_t offset;
        char byte;
    } faults[] = {
        {"a double quote", offsetof(QuestionRecord, explanation), '"'},
        {"a control character", offsetof(QuestionRecord, answers), '\t'},
    };
    for (const auto& fault : faults) {
        QuestionRecord bad = record;
        reinterpret_cast<char*>(&bad)[fault.offset] = fault.byte;
        EXPECT_FALSE(write_question_text_form(bad, text)) << fault.what;
    }
    std::memset(record.question_text, 'x', question_text_capacity); // no NUL inside the field
    EXPECT_FALSE(write_question_text_form(record, text));
    EXPECT_EQ(text, "kept");
}

} // namespace

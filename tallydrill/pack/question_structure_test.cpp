// question.str, the question record in the converter's structure language, against the record
// the practice program reads.
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "layoutpress/structure/member_table.h"
#include "layoutpress/structure/structure_parser.h"
#include "tallydrill/questions/question_record.h"

namespace {

std::string structure_text() {
    std::ifstream file(QUESTION_STR_PATH, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// One declaration: where its first member starts, its kind and size, how many entries it takes.
struct Declaration {
    const char* field;
    std::size_t offset;
    MemberKind kind;
    int size;
    int entries;
    int element_count; // on the first entry
};

TEST(QuestionStructure, LaysOutTheRecordByteForByte) {
    const Declaration declarations[] = {
        {"reserved", offsetof(QuestionRecord, reserved), MemberKind::Unsigned, 1, 1, 0},
        {"dora_indicators", offsetof(QuestionRecord, dora_indicators), MemberKind::Unsigned, 1, 7,
         7},
        {"back_dora", offsetof(QuestionRecord, back_dora), MemberKind::Unsigned, 1, 7, 7},
        {"hand", offsetof(QuestionRecord, hand), MemberKind::Unsigned, 1, 32, 32},
        {"winning_tile", offsetof(QuestionRecord, winning_tile), MemberKind::Unsigned, 1, 1, 0},
        {"time_limit", offsetof(QuestionRecord, time_limit), MemberKind::Signed, 4, 1, 0},
        {"question_text", offsetof(QuestionRecord, question_text), MemberKind::Text, 256, 1, 256},
        {"answer_right", offsetof(QuestionRecord, answers[0]), MemberKind::Text, 64, 1, 64},
        {"answer_wrong_1", offsetof(QuestionRecord, answers[1]), MemberKind::Text, 64, 1, 64},
        {"answer_wrong_2", offsetof(QuestionRecord, answers[2]), MemberKind::Text, 64, 1, 64},
        {"answer_wrong_3", offsetof(QuestionRecord, answers[3]), MemberKind::Text, 64, 1, 64},
        {"explanation", offsetof(QuestionRecord, explanation), MemberKind::Text, 256, 1, 256},
    };
    const std::string text = structure_text();
    ASSERT_FALSE(text.empty()) << QUESTION_STR_PATH;
    static MemberTable table;
    ASSERT_EQ(parse_structure(text.c_str(), text.size() + 1, table), 1);

    int entry = 0;
    std::size_t offset = 0;
    for (const Declaration& d : declarations) {
        SCOPED_TRACE(d.field);
        EXPECT_EQ(offset, d.offset);
        for (int i = 0; i < d.entries; ++i, ++entry) {
            const MemberEntry& member = table.entries[entry];
            ASSERT_FALSE(is_end_mark(member)) << "entry " << entry;
            EXPECT_EQ(member.kind, d.kind) << "entry " << entry;
            EXPECT_EQ(member.size, d.size) << "entry " << entry;
            EXPECT_EQ(member.element_count, i == 0 ? d.element_count : 0) << "entry " << entry;
            offset += static_cast<std::size_t>(member.size);
        }
    }
    EXPECT_TRUE(is_end_mark(table.entries[entry])) << "members after the explanation";
    EXPECT_EQ(entry, 55);
    EXPECT_EQ(offset, question_record_size);
}

// The converter's window keeps CR LF; a line comment would run on over lone LFs, so the file
// keeps CR LF as well.
TEST(QuestionStructure, UsesCrLfLineEnds) {
    const std::string text = structure_text();
    ASSERT_GE(text.size(), 2u);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "line end at byte " << i;
        }
    }
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

} // namespace

// That the text form converts into the very bytes of its record is held by cli_test.sh with the
// converter itself; here what the form cannot carry.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tallydrill/generator/question_text_form.h"

namespace {

TEST(QuestionTextForm, RefusesTextsItCannotCarry) {
    QuestionRecord record{};
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

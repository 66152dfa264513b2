#include "layoutpress/shell/command_table.h"

#include <set>

#include <gtest/gtest.h>

namespace {

struct Expected {
    uint16_t id;
    Command command;
    int document;
};

constexpr int sel = selected_tab_document;
constexpr int none = no_document;

const Expected every_command[] = {
    {100, Command::new_document, 0},      {101, Command::new_document, 1},
    {102, Command::new_document, 2},      {103, Command::new_document, sel},
    {110, Command::open_document, 0},     {111, Command::open_document, 1},
    {112, Command::open_document, 2},     {113, Command::open_document, sel},
    {114, Command::new_document, 0},      {115, Command::new_document, 1},
    {116, Command::new_document, 2},      {117, Command::new_document, sel},
    {120, Command::save_document, 0},     {121, Command::save_document, 1},
    {122, Command::save_document, 2},     {123, Command::save_document, sel},
    {130, Command::save_document_as, 0},  {131, Command::save_document_as, 1},
    {132, Command::save_document_as, 2},  {133, Command::save_document_as, sel},
    {140, Command::save_all, none},       {150, Command::text_to_binary, none},
    {151, Command::binary_to_text, none}, {900, Command::about, none},
    {1000, Command::exit, none},
};

TEST(CommandTable, EveryIdRunsItsCommandOnItsDocument) {
    for (const Expected& want : every_command) {
        const CommandEntry* entry = find_command(want.id);
        ASSERT_NE(entry, nullptr) << "id " << want.id;
        EXPECT_EQ(entry->id, want.id);
        EXPECT_EQ(entry->command, want.command) << "id " << want.id;
        EXPECT_EQ(entry->document, want.document) << "id " << want.id;
    }
}

TEST(CommandTable, HoldsNothingElse) {
    EXPECT_EQ(command_count(), static_cast<int>(sizeof every_command / sizeof every_command[0]));
    std::set<uint16_t> ids;
    for (int i = 0; i < command_count(); ++i) {
        EXPECT_TRUE(ids.insert(command_at(i).id).second) << "id " << command_at(i).id << " twice";
    }
    // Neighbours of real ids, the control ids of the panes and id 0 (a button without id).
    const uint16_t strangers[] = {0,   1,   99,  104, 109, 118, 119, 124,  134,  141,  149,
                                  152, 300, 302, 851, 899, 901, 999, 1001, 5009, 6015, 65535};
    for (uint16_t id : strangers) {
        EXPECT_EQ(find_command(id), nullptr) << "id " << id;
    }
}

TEST(CommandTable, ButtonsRunTheSelectedTabForms) {
    const uint16_t expected[8] = {140, 150, 151, 103, 113, 117, 123, 133};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(command_button_id(i), expected[i]) << "button " << i;
    }
    EXPECT_EQ(command_button_id(8), 0);
    EXPECT_EQ(command_button_id(-1), 0);
}

} // namespace

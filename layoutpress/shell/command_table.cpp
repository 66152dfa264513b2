#include "layoutpress/shell/command_table.h"

#include "layoutpress/shell/resource_ids.h"
#include "layoutpress/shell/shell_geometry.h"

namespace {

constexpr CommandEntry command_table[] = {
    {IDM_NEW_STRUCTURE, Command::new_document, 0},
    {IDM_NEW_TEXT, Command::new_document, 1},
    {IDM_NEW_BINARY, Command::new_document, 2},
    {IDM_NEW_SELECTED, Command::new_document, selected_tab_document},
    {IDM_OPEN_STRUCTURE, Command::open_document, 0},
    {IDM_OPEN_TEXT, Command::open_document, 1},
    {IDM_OPEN_BINARY, Command::open_document, 2},
    {IDM_OPEN_SELECTED, Command::open_document, selected_tab_document},
    {IDM_CLOSE_STRUCTURE, Command::new_document, 0},
    {IDM_CLOSE_TEXT, Command::new_document, 1},
    {IDM_CLOSE_BINARY, Command::new_document, 2},
    {IDM_CLOSE_SELECTED, Command::new_document, selected_tab_document},
    {IDM_SAVE_STRUCTURE, Command::save_document, 0},
    {IDM_SAVE_TEXT, Command::save_document, 1},
    {IDM_SAVE_BINARY, Command::save_document, 2},
    {IDM_SAVE_SELECTED, Command::save_document, selected_tab_document},
    {IDM_SAVE_AS_STRUCTURE, Command::save_document_as, 0},
    {IDM_SAVE_AS_TEXT, Command::save_document_as, 1},
    {IDM_SAVE_AS_BINARY, Command::save_document_as, 2},
    {IDM_SAVE_AS_SELECTED, Command::save_document_as, selected_tab_document},
    {IDM_SAVE_ALL, Command::save_all, no_document},
    {IDM_TEXT_TO_BINARY, Command::text_to_binary, no_document},
    {IDM_BINARY_TO_TEXT, Command::binary_to_text, no_document},
    {IDM_ABOUT, Command::about, no_document},
    {IDM_EXIT, Command::exit, no_document},
};

constexpr int table_size = sizeof command_table / sizeof command_table[0];

// By button index: "Save All File", the two conversions, then New, Open, Close, Save and
// Save As of the selected tab.
constexpr uint16_t button_ids[command_button_count] = {
    IDM_SAVE_ALL,      IDM_TEXT_TO_BINARY, IDM_BINARY_TO_TEXT, IDM_NEW_SELECTED,
    IDM_OPEN_SELECTED, IDM_CLOSE_SELECTED, IDM_SAVE_SELECTED,  IDM_SAVE_AS_SELECTED,
};

} // namespace

const CommandEntry* find_command(uint16_t id) {
    for (const CommandEntry& entry : command_table) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

uint16_t command_button_id(int index) {
    if (index < 0 || index >= command_button_count) {
        return 0;
    }
    return button_ids[index];
}

int command_count() {
    return table_size;
}

const CommandEntry& command_at(int index) {
    return command_table[index < 0 ? 0 : index >= table_size ? table_size - 1 : index];
}

// Which command a menu item, accelerator or command button runs, and on which document.
#pragma once

#include <cstdint>

enum class Command {
    new_document, // New and Close: empties the document
    open_document,
    save_document,
    save_document_as,
    save_all,
    text_to_binary,
    binary_to_text,
    about,
    exit,
};

// The document a command acts on: a DocumentKind, or one of these.
constexpr int selected_tab_document = -1; // the document of the selected tab
constexpr int no_document = -2;           // the command has no document

struct CommandEntry {
    uint16_t id;
    Command command;
    int document;
};

// The entry of a menu or accelerator id, or nullptr for an id that names no command.
const CommandEntry* find_command(uint16_t id);

// The command id that command button index runs (the same as its menu item), 0 for no button.
uint16_t command_button_id(int index);

// The whole table, for walking it.
int command_count();
const CommandEntry& command_at(int index);

#include "tallydrill/practice/commands.h"

#include "tallydrill/practice/practice_app.h"
#include "tallydrill/practice/question_flow.h"
#include "tallydrill/practice/resource_ids.h"

const char about_caption[] = " [ Pointsmith ] version infomation";
const char about_text[] = "[ Pointsmith ][ Tilvora ] by the tallydrill authors\r\n"
                          "version 2.5\r\n"
                          "mail : tallydrill@example.org\r\n"
                          "web : https://example.org/tallydrill/\r\n"
                          "author page : https://example.org/tallydrill/authors.html";

namespace {

// A button counts as clicked when it is pushed or holds the focus: the children carry no
// identifier, so their state is the only way to tell them apart.
bool reports_click(HWND button) {
    return button != nullptr && SendMessageA(button, BM_GETSTATE, 0, 0) != 0;
}

bool running_in(AnswerMode mode) {
    return practice.state == PracticeState::question_running && practice.mode == mode;
}

// Gives true when the click was an answer, which ends the message.
bool recognise_button(HWND window) {
    switch (practice.state) {
    case PracticeState::start_screen:
        if (reports_click(practice.start_button)) {
            start_from_button(window);
        }
        return false;
    case PracticeState::question_running:
        if (practice.mode == AnswerMode::direct_input) {
            if (reports_click(practice.countdown_pane.decide_button)) {
                answer_with_typed_score(window);
                return true;
            }
            return false;
        }
        for (int slot = 0; slot < choice_count; ++slot) {
            if (reports_click(practice.countdown_pane.choice_buttons[slot])) {
                answer_with_choice(window, slot);
                return true;
            }
        }
        return false;
    case PracticeState::result_shown:
        if (reports_click(practice.result_pane.fields[result_next_button])) {
            next_question(window);
        }
        return false;
    }
    return false;
}

void cmd_load_select_answer(HWND window) {
    load_question_command(window, AnswerMode::select_answer);
}

void cmd_load_direct_input(HWND window) {
    load_question_command(window, AnswerMode::direct_input);
}

void cmd_exit(HWND) {
    if (practice.tile_bitmap != nullptr) {
        DeleteObject(practice.tile_bitmap);
        practice.tile_bitmap = nullptr;
    }
    PostQuitMessage(0);
}

void cmd_about(HWND window) {
    show_about_box(window);
}

void answer_key(HWND window, int slot) {
    if (running_in(AnswerMode::select_answer)) {
        answer_with_choice(window, slot);
    }
}

void cmd_answer_f1(HWND window) {
    answer_key(window, 0);
}
void cmd_answer_f2(HWND window) {
    answer_key(window, 1);
}
void cmd_answer_f3(HWND window) {
    answer_key(window, 2);
}
void cmd_answer_f4(HWND window) {
    answer_key(window, 3);
}

void cmd_enter(HWND window) {
    if (running_in(AnswerMode::direct_input)) {
        answer_with_typed_score(window);
    } else if (practice.state == PracticeState::result_shown) {
        next_question(window);
    }
}

struct CommandEntry {
    WORD id;
    void (*run)(HWND window);
};

const CommandEntry command_table[] = {
    {IDM_LOAD_SELECT_ANSWER, cmd_load_select_answer},
    {IDM_LOAD_DIRECT_INPUT, cmd_load_direct_input},
    {IDM_EXIT, cmd_exit},
    {IDM_DEAL_AGAIN, deal_again},
    {IDM_ABOUT, cmd_about},
    {IDM_ANSWER_F1, cmd_answer_f1},
    {IDM_ANSWER_F2, cmd_answer_f2},
    {IDM_ANSWER_F3, cmd_answer_f3},
    {IDM_ANSWER_F4, cmd_answer_f4},
    {IDM_ENTER, cmd_enter},
};

} // namespace

void handle_command(HWND window, WPARAM wparam) {
    if (HIWORD(wparam) == 0 && recognise_button(window)) {
        return;
    }
    const WORD id = LOWORD(wparam);
    for (const CommandEntry& entry : command_table) {
        if (entry.id == id) {
            entry.run(window);
            return;
        }
    }
}

void show_about_box(HWND window) {
    MessageBoxA(window, about_text, about_caption, MB_OK);
}

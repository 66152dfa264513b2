#include "tallydrill/practice/panes.h"

#include <commctrl.h>

#include "tallydrill/practice/japanese_text.h"
#include "tallydrill/practice/practice_app.h"
#include "tallydrill/practice/window_layout.h"

namespace {

constexpr DWORD plain_button = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
constexpr DWORD bordered = WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr DWORD bordered_static = bordered | SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY;
constexpr DWORD bordered_edit = bordered | ES_CENTER | ES_NOHIDESEL;
constexpr DWORD bordered_value = bordered | ES_CENTER | ES_WANTRETURN;
constexpr DWORD text_box =
    bordered | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN;
constexpr DWORD bar = bordered | PBS_SMOOTH;

constexpr PaneRect no_size{0, 0, 0, 0};

const char* const key_label_texts[choice_count] = {"F1", "F2", "F3", "F4"};

struct FieldSpec {
    const char* window_class;
    const char* text;
    DWORD style;
};

// The six countdown fields in their order; their places come from countdown_field_rect.
const FieldSpec countdown_fields[countdown_field_count] = {
    {"edit", "limitation time", bordered_edit},
    {"edit", "time", bordered_value},
    {PROGRESS_CLASSA, "", bar},
    {"edit", "elapsed time", bordered_edit},
    {"edit", "time", bordered_value},
    {PROGRESS_CLASSA, "", bar},
};

// The eleven result fields by ResultField; the your-answer label's text is set by mode.
const FieldSpec result_fields[result_field_count] = {
    {"button", "NEXT", plain_button},
    {"edit", "", bordered_edit},
    {"edit", "limitation time", bordered_edit},
    {"edit", "", bordered_edit},
    {"edit", "elapsed time", bordered_edit},
    {"edit", "", bordered_edit},
    {"edit", "", bordered_edit},
    {"edit", "right answer", bordered_edit},
    {"edit", "", bordered_edit},
    {"edit", "", bordered_edit},
    {"edit", "", bordered_edit},
};

HWND create_child(HWND parent, const char* window_class, const char* text, DWORD style,
                  const PaneRect& place) {
    return CreateWindowExA(0, window_class, text, style, place.x, place.y, place.width,
                           place.height, parent, nullptr, practice.instance, nullptr);
}

// The Japanese captions go in as UTF-16, so the control is a Unicode window, and get a font
// that has their characters.
HWND create_japanese_child(HWND parent, const wchar_t* window_class, const char* cp932_text,
                           DWORD style, const PaneRect& place) {
    const WideCaption caption = cp932_to_wide(cp932_text);
    HWND child =
        CreateWindowExW(0, window_class, caption.text, style, place.x, place.y, place.width,
                        place.height, parent, nullptr, practice.instance, nullptr);
    if (child != nullptr) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(japanese_caption_font()), FALSE);
    }
    return child;
}

void destroy(HWND& child) {
    if (child != nullptr) {
        DestroyWindow(child);
        child = nullptr;
    }
}

void place(HWND child, const PaneRect& r) {
    if (child != nullptr) {
        MoveWindow(child, r.x, r.y, r.width, r.height, TRUE);
    }
}

void show(HWND child) {
    if (child != nullptr) {
        ShowWindow(child, SW_SHOW);
    }
}

void build_select_answer_part(HWND window) {
    CountdownPane& pane = practice.countdown_pane;
    for (int i = 0; i < choice_count; ++i) {
        pane.choice_buttons[i] =
            create_child(window, "button", "", plain_button, choice_button_rect(i));
        pane.key_labels[i] = create_child(window, "static", key_label_texts[i], bordered_static,
                                          choice_key_label_rect(i));
    }
}

void build_direct_input_part(HWND window) {
    CountdownPane& pane = practice.countdown_pane;
    pane.score_label = create_japanese_child(window, L"static", score_label_cp932, bordered_static,
                                             score_label_rect());
    pane.score_input = create_child(window, "edit", "", bordered_edit, score_input_rect());
    pane.decide_button = create_japanese_child(window, L"button", decide_button_cp932, plain_button,
                                               decide_button_rect());
}

int client_width(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.right;
}

} // namespace

void build_start_button(HWND window, HINSTANCE instance) {
    practice.start_button = CreateWindowExA(0, "button", "F5 : [ Pointsmith ] Start", plain_button,
                                            0, 0, 0, 0, window, nullptr, instance, nullptr);
}

void destroy_start_button() {
    destroy(practice.start_button);
}

void build_question_pane(HWND window) {
    QuestionPane& pane = practice.question_pane;
    pane.question_box =
        create_child(window, "edit", "", text_box, question_box_rect(client_width(window)));
    pane.dora_label =
        create_child(window, "static", "dora display", bordered_static, dora_display_label_rect());
    pane.back_dora_label =
        create_child(window, "static", "back dora", bordered_static, back_dora_label_rect());
}

void build_countdown_pane(HWND window) {
    if (practice.mode == AnswerMode::select_answer) {
        build_select_answer_part(window);
    } else {
        build_direct_input_part(window);
    }
    const int width = client_width(window);
    for (int i = 0; i < countdown_field_count; ++i) {
        const FieldSpec& spec = countdown_fields[i];
        practice.countdown_pane.fields[i] = create_child(
            window, spec.window_class, spec.text, spec.style, countdown_field_rect(i, width));
    }
}

void destroy_countdown_pane() {
    CountdownPane& pane = practice.countdown_pane;
    for (int i = 0; i < choice_count; ++i) {
        destroy(pane.choice_buttons[i]);
        destroy(pane.key_labels[i]);
    }
    destroy(pane.score_label);
    destroy(pane.score_input);
    destroy(pane.decide_button);
    for (HWND& field : pane.fields) {
        destroy(field);
    }
}

void build_result_pane(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    ResultPane& pane = practice.result_pane;
    pane.explanation_box = create_child(window, "edit", "", text_box,
                                        explanation_box_created_rect(client.right, client.bottom));
    for (int i = 0; i < result_field_count; ++i) {
        const FieldSpec& spec = result_fields[i];
        const char* text = spec.text;
        if (i == result_your_answer_label) {
            text = practice.mode == AnswerMode::select_answer ? "select answer" : "input answer";
        }
        pane.fields[i] = create_child(window, spec.window_class, text, spec.style, no_size);
    }
}

void destroy_result_pane() {
    ResultPane& pane = practice.result_pane;
    destroy(pane.explanation_box);
    for (HWND& field : pane.fields) {
        destroy(field);
    }
}

void place_start_screen(int client_width, int client_height) {
    place(practice.start_button, start_button_rect(client_width, client_height));
}

void place_question_running(int client_width) {
    place(practice.question_pane.question_box, question_box_rect(client_width));
    for (int i = 0; i < countdown_field_count; ++i) {
        place(practice.countdown_pane.fields[i], countdown_field_rect(i, client_width));
    }
    show_question_pane();
    for (HWND button : practice.countdown_pane.choice_buttons) {
        show(button);
    }
}

void place_result_shown(int client_width, int client_height) {
    place(practice.question_pane.question_box, question_box_rect(client_width));
    const ResultPaneLayout layout =
        result_pane_layout(client_width, client_height, practice.reveal_step);
    place(practice.result_pane.explanation_box,
          explanation_box_resized_rect(client_width, client_height, practice.reveal_step));
    for (int i = 0; i < result_field_count; ++i) {
        place(practice.result_pane.fields[i], layout.fields[i]);
    }
}

void place_result_pane(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const ResultPaneLayout layout =
        result_pane_layout(client.right, client.bottom, practice.reveal_step);
    place(practice.result_pane.explanation_box, layout.explanation_box);
    for (int i = 0; i < result_field_count; ++i) {
        place(practice.result_pane.fields[i], layout.fields[i]);
    }
}

void show_question_pane() {
    show(practice.question_pane.question_box);
    show(practice.question_pane.dora_label);
    show(practice.question_pane.back_dora_label);
}

void show_answer_fields() {
    const CountdownPane& pane = practice.countdown_pane;
    for (HWND button : pane.choice_buttons) {
        show(button);
    }
    show(pane.score_label);
    show(pane.score_input);
    show(pane.decide_button);
}

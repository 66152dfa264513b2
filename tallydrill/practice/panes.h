// The child windows of the practice window: the start button and the three panes, built,
// destroyed and placed on the main window. Every child has the control identifier 0.
#pragma once

#include <windows.h>

void build_start_button(HWND window, HINSTANCE instance);
void destroy_start_button();

void build_question_pane(HWND window);
void build_countdown_pane(HWND window); // the part of practice.mode, then the six fields
void destroy_countdown_pane();
void build_result_pane(HWND window); // the your-answer label reads by practice.mode
void destroy_result_pane();

// Placing by state on resizing; client size W x H.
void place_start_screen(int client_width, int client_height);
void place_question_running(int client_width);
void place_result_shown(int client_width, int client_height);

// The opening result pane at the current reveal step, as each timer tick places it.
void place_result_pane(HWND window);

// Shows the question box and the two dora labels, plus the four choice buttons, or the
// direct-input fields, of a running question.
void show_question_pane();
void show_answer_fields();

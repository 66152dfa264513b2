// The two modes of the practice window, kept for the whole run.
#pragma once

enum class PracticeState : int { start_screen = 0, question_running = 1, result_shown = 2 };

enum class AnswerMode : int { select_answer = 0, direct_input = 1 };

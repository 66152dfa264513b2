// Identifiers shared by tallydrill.rc and the code: the resource names and the commands of the
// menu, the accelerator table and the window procedure. Plain preprocessor definitions, so that
// the resource compiler reads this file as well as the C++ compiler.
#pragma once

// Resource names.
#define TD_MENU_NAME "MyMenu"
#define TD_ICON_NAME "MyIcon"
#define TD_CLASS_NAME "MyWin"

// Commands. Every child window is created with the identifier 0, which is no command.
#define IDM_LOAD_SELECT_ANSWER 100 // menu, F5: load a question, answer by choice buttons
#define IDM_LOAD_DIRECT_INPUT 101  // menu, F6: load a question, answer by a typed score
#define IDM_EXIT 102               // menu
#define IDM_DEAL_AGAIN 110         // menu, F7: deal the current question again
#define IDM_ABOUT 120              // menu bar, F12
#define IDM_ANSWER_F1 130          // F1 to F4: choice buttons 0 to 3
#define IDM_ANSWER_F2 131
#define IDM_ANSWER_F3 132
#define IDM_ANSWER_F4 133
#define IDM_ENTER 200 // Enter: the typed score, or NEXT

// The practice window in the test's own process: its class, menu and accelerators, the start
// screen, the panes of a running question and of a result, the minimum size and the about box.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tallydrill/practice/commands.h"
#include "tallydrill/practice/practice_test_support.h"
#include "tallydrill/practice/question_file.h"
#include "tallydrill/practice/resource_ids.h"
#include "win32_test_support.h"

namespace {

using namespace practice_test;
using win32_test::DialogDriver;

// Seed 1 deals entries 0..3 to slots 1, 3, 2, 0.
const std::string seed_1_buttons[4] = {"1500", "2900", "5800", "3900"};
constexpr int seed_1_right_slot = 1;

QuestionTexts white_dragon_texts() {
    return QuestionTexts{30,
                         "Ron on white.\\nWhat is the score?",
                         {"2900", "3900", "5800", "1500"},
                         "White dragon 1 han,\\n40 fu: 2900."};
}

struct ChildSpec {
    const char* window_class;
    const char* text;
    LONG_PTR style;
    PaneRect place;
};

void expect_child(HWND child, const ChildSpec& spec, const std::string& what) {
    SCOPED_TRACE(what);
    ASSERT_NE(child, nullptr);
    EXPECT_STRCASEEQ(win32_test::window_class(child).c_str(), spec.window_class);
    EXPECT_EQ(text_of(child), spec.text);
    // An edit control takes WS_BORDER out of its style and draws the border itself.
    const bool edit = win32_test::window_class(child) == "Edit";
    const LONG_PTR ignored = WS_CLIPSIBLINGS | (edit ? WS_BORDER : 0);
    EXPECT_EQ(GetWindowLongPtrA(child, GWL_STYLE) & 0xFFFFFFFF & ~ignored, spec.style & ~ignored)
        << std::hex << GetWindowLongPtrA(child, GWL_STYLE);
    EXPECT_EQ(GetDlgCtrlID(child), 0) << "every child has the identifier 0";
    EXPECT_EQ(describe(place_of(child)), describe(spec.place));
}

constexpr LONG_PTR child_visible = WS_CHILD | WS_VISIBLE;
constexpr LONG_PTR plain_button = child_visible | BS_PUSHBUTTON;
constexpr LONG_PTR bordered_static =
    child_visible | WS_BORDER | SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY;
constexpr LONG_PTR bordered_edit = child_visible | WS_BORDER | ES_CENTER | ES_NOHIDESEL;
constexpr LONG_PTR bordered_value = child_visible | WS_BORDER | ES_CENTER | ES_WANTRETURN;
constexpr LONG_PTR text_box = child_visible | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                              ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN;
constexpr LONG_PTR bar = child_visible | WS_BORDER | PBS_SMOOTH;

std::string menu_text(HMENU menu, UINT position) {
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

class PracticeWindow : public PracticeWindowTest {};

TEST_F(PracticeWindow, RegistersItsClassAndOpensOnTheStartScreen) {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), TD_CLASS_NAME, &window_class));
    EXPECT_EQ(window_class.style, 0u);
    EXPECT_EQ(window_class.cbClsExtra, 0);
    EXPECT_EQ(window_class.cbWndExtra, 0);
    EXPECT_NE(window_class.hIcon, nullptr) << "icon \"MyIcon\"";
    EXPECT_NE(window_class.hCursor, nullptr);
    EXPECT_EQ(window_class.hbrBackground, GetStockObject(LTGRAY_BRUSH));

    EXPECT_EQ(text_of(window()), "[ Pointsmith ][ Tilvora ] version 2.5");
    EXPECT_EQ(GetWindowLongPtrA(window(), GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetWindowLongPtrA(window(), GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    RECT outer{};
    GetWindowRect(window(), &outer);
    EXPECT_EQ(outer.right - outer.left, 630);
    EXPECT_EQ(outer.bottom - outer.top, 450);

    EXPECT_EQ(practice.state, PracticeState::start_screen);
    EXPECT_EQ(practice.mode, AnswerMode::select_answer);
    const std::vector<HWND> children = children_of(window());
    ASSERT_EQ(children.size(), 1u);
    const SIZE c = client();
    expect_child(
        children[0],
        {"button", "F5 : [ Pointsmith ] Start", plain_button, {10, c.cy / 4, c.cx - 20, c.cy / 2}},
        "start button");
    EXPECT_EQ(children[0], practice.start_button);
}

TEST_F(PracticeWindow, MenuAndAcceleratorTable) {
    HMENU bar = GetMenu(window());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(menu_text(bar, 0), "&Menu");
    EXPECT_EQ(menu_text(bar, 1), "&About this software");
    EXPECT_EQ(GetMenuItemID(bar, 1), static_cast<UINT>(IDM_ABOUT));

    HMENU drop_down = GetSubMenu(bar, 0);
    ASSERT_NE(drop_down, nullptr);
    const std::vector<std::pair<std::string, int>> items = {
        {"Question Load : &Select answer score mode : F5", IDM_LOAD_SELECT_ANSWER},
        {"Question Load : &Input score mode : F6", IDM_LOAD_DIRECT_INPUT},
        {"&Deal the question again : F7", IDM_DEAL_AGAIN},
        {"", 0}, // separator
        {"&Exit", IDM_EXIT},
    };
    ASSERT_EQ(GetMenuItemCount(drop_down), static_cast<int>(items.size()));
    for (UINT i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(menu_text(drop_down, i), items[i].first);
        EXPECT_EQ(GetMenuItemID(drop_down, i), static_cast<UINT>(items[i].second));
    }

    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), TD_MENU_NAME);
    ASSERT_NE(table, nullptr);
    ACCEL entries[32] = {};
    const int count = CopyAcceleratorTableA(table, entries, 32);
    std::set<std::tuple<int, int, int>> found;
    for (int i = 0; i < count; ++i) {
        found.insert({entries[i].fVirt & ~0x80, entries[i].key, entries[i].cmd});
    }
    const int v = FVIRTKEY | FNOINVERT;
    const std::set<std::tuple<int, int, int>> expected = {
        {v, VK_F12, IDM_ABOUT},
        {v, VK_F5, IDM_LOAD_SELECT_ANSWER},
        {v, VK_F6, IDM_LOAD_DIRECT_INPUT},
        {v, VK_F7, IDM_DEAL_AGAIN},
        {v, VK_F1, IDM_ANSWER_F1},
        {v, VK_F2, IDM_ANSWER_F2},
        {v, VK_F3, IDM_ANSWER_F3},
        {v, VK_F4, IDM_ANSWER_F4},
        {v, VK_RETURN, IDM_ENTER},
    };
    EXPECT_EQ(count, static_cast<int>(expected.size()));
    EXPECT_EQ(found, expected);
}

TEST_F(PracticeWindow, StartButtonOpensTheQuestionDialogAndBuildsThePanes) {
    const std::string path = write_question("q1.tt", make_question(white_dragon_texts()));
    std::string caption;
    std::vector<std::string> filters;
    std::string name_box;
    bool read_only_visible = true;
    DialogDriver dialogs;
    dialogs.answer([&](HWND dialog) {
        caption = win32_test::window_text(dialog);
        HWND types = GetDlgItem(dialog, 0x470); // cmb1, "Files of type"
        const int count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[128] = {};
            SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            filters.push_back(text);
        }
        filters.push_back("selected " + std::to_string(SendMessageA(types, CB_GETCURSEL, 0, 0)));
        name_box = win32_test::item_text(dialog, 0x47C);
        read_only_visible = IsWindowVisible(GetDlgItem(dialog, 0x410)) != FALSE; // chx1
        win32_test::answer_file_dialog(dialog, path);
    });
    clock_ms = 200000;
    click(practice.start_button);
    // Read before anything pumps messages: both bars stand full and the elapsed value is empty
    // until the first tick. Then a tick, so that what follows does not depend on the timer.
    ASSERT_EQ(practice.state, PracticeState::question_running);
    for (int field : {countdown_limit_bar, countdown_elapsed_bar}) {
        HWND bar_window = practice.countdown_pane.fields[field];
        EXPECT_EQ(SendMessageA(bar_window, PBM_GETRANGE, TRUE, 0), 0) << field;
        EXPECT_EQ(SendMessageA(bar_window, PBM_GETRANGE, FALSE, 0), 1000) << field;
        EXPECT_EQ(SendMessageA(bar_window, PBM_GETPOS, 0, 0), 1000) << field;
    }
    EXPECT_EQ(text_of(practice.countdown_pane.fields[countdown_elapsed_value]), "");
    SendMessageA(window(), WM_TIMER, 1, 0);
    ASSERT_TRUE(dialogs.wait_done(3000));

    EXPECT_EQ(caption, "Pointsmith question Data Load");
    EXPECT_EQ(filters,
              (std::vector<std::string>{"Pointsmith question", "ALL FORMAT", "selected 0"}));
    EXPECT_EQ(name_box, "*.tt");
    EXPECT_FALSE(read_only_visible);

    EXPECT_EQ(practice.state, PracticeState::question_running);
    EXPECT_EQ(practice.mode, AnswerMode::select_answer);
    EXPECT_EQ(practice.start_button, nullptr);
    EXPECT_EQ(text_of(window()), "q1.tt") << "the title is the file title";
    EXPECT_EQ(practice.question_start_ms, 200000u) << "the clock is read after the dialog";

    const SIZE c = client();
    const int w = c.cx;
    const std::vector<HWND> children = children_of(window());
    ASSERT_EQ(children.size(), 3u + 8u + 6u);
    std::vector<ChildSpec> expected = {
        {"edit", "Ron on white.\r\nWhat is the score?", text_box, {0, 0, w, 50}},
        {"static", "dora display", bordered_static, {0, 100, 150, 49}},
        {"static", "back dora", bordered_static, {0, 149, 150, 50}},
    };
    const char* keys[4] = {"F1", "F2", "F3", "F4"};
    for (int i = 0; i < 4; ++i) {
        expected.push_back(
            {"button", seed_1_buttons[i].c_str(), plain_button, {50, 280 + 30 * i, 550, 30}});
        expected.push_back({"static", keys[i], bordered_static, {0, 280 + 30 * i, 50, 28}});
    }
    const std::vector<ChildSpec> countdown = {
        {"edit", "limitation time", bordered_edit, {0, 50, w / 3, 25}},
        {"edit", "30 sec", bordered_value, {w / 3, 50, w / 3, 25}},
        {"msctls_progress32", "", bar, {2 * w / 3, 50, w / 3, 25}},
        {"edit", "elapsed time", bordered_edit, {0, 75, w / 3, 25}},
        {"edit", "0 sec", bordered_value, {w / 3, 75, w / 3, 25}},
        {"msctls_progress32", "", bar, {2 * w / 3, 75, w / 3, 25}},
    };
    expected.insert(expected.end(), countdown.begin(), countdown.end());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expect_child(children[i], expected[i], "child " + std::to_string(i));
    }
    EXPECT_EQ(SendMessageA(practice.countdown_pane.fields[countdown_limit_bar], PBM_GETPOS, 0, 0),
              1000);
    EXPECT_EQ(SendMessageA(practice.countdown_pane.fields[countdown_elapsed_bar], PBM_GETPOS, 0, 0),
              0);
    EXPECT_EQ(practice.right_slot, seed_1_right_slot);
}

TEST_F(PracticeWindow, TheSecondDialogStartsFromThePreviousChoice) {
    const std::string path = write_question("first.tt", make_question(white_dragon_texts()));
    std::string second_name_box;
    DialogDriver dialogs;
    dialogs.answer(win32_test::choose_file(path));
    dialogs.answer([&](HWND dialog) {
        second_name_box = win32_test::item_text(dialog, 0x47C);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    press_key(VK_F5);
    EXPECT_STRCASEEQ(question_file_path(), path.c_str());
    press_key(VK_F5);
    ASSERT_TRUE(dialogs.wait_done(3000));
    EXPECT_EQ(second_name_box, "first.tt");
    EXPECT_EQ(text_of(window()), "first.tt");
}

TEST_F(PracticeWindow, ResultPaneShowsTheAnswerAndOpensOverTenTicks) {
    const std::string path = write_question("q1.tt", make_question(white_dragon_texts()));
    DialogDriver dialogs;
    dialogs.answer(win32_test::choose_file(path));
    press_key(VK_F5);
    ASSERT_TRUE(dialogs.wait_done(3000));
    clock_ms += 12340;
    // Answer straight, without pumping, so that no timer tick comes in between.
    accelerator_command(IDM_ANSWER_F3);
    ASSERT_EQ(practice.state, PracticeState::result_shown);
    EXPECT_EQ(practice.reveal_step, 0);
    for (HWND button : practice.countdown_pane.choice_buttons) {
        EXPECT_EQ(button, nullptr);
    }

    const SIZE c = client();
    const std::vector<HWND> children = children_of(window());
    ASSERT_EQ(children.size(), 3u + 1u + 11u);
    expect_child(
        children[3],
        {"edit", "White dragon 1 han,\r\n40 fu: 2900.", text_box, {0, c.cy - 120, c.cx, 120}},
        "explanation box");
    const std::vector<std::string> verdict_texts = {
        "NEXT",         "permit", "limitation time", "30 sec", "elapsed time", "12.3 sec", "wrong",
        "right answer", "2900",   "select answer",   "5800"};
    for (int i = 0; i < result_field_count; ++i) {
        const bool is_button = i == result_next_button;
        expect_child(children[4 + i],
                     {is_button ? "button" : "edit",
                      verdict_texts[i].c_str(),
                      is_button ? plain_button : bordered_edit,
                      {0, 0, 0, 0}},
                     "result field " + std::to_string(i));
    }

    // Tick k lays the pane out at the step of tick k - 1, then advances it.
    const std::vector<int> steps = {0, 3, 6, 9, 12, 15, 18, 21, 24, 25, 25};
    for (std::size_t k = 0; k < steps.size(); ++k) {
        SCOPED_TRACE("tick " + std::to_string(k + 1));
        SendMessageA(window(), WM_TIMER, 1, 0);
        const int a = steps[k];
        const auto clamp = [](int v) { return v < 0 ? 0 : v; };
        EXPECT_EQ(describe(place_of(practice.result_pane.explanation_box)),
                  describe({0, 280, c.cx, (c.cy - 280) * a / 25}));
        EXPECT_EQ(describe(place_of(practice.result_pane.fields[result_next_button])),
                  describe({0, 50, clamp(3 * a - 10), 2 * a}));
        EXPECT_EQ(describe(place_of(practice.result_pane.fields[result_answer_verdict])),
                  describe({65, 75, 3 * a + 10, a}));
        for (int k4 = 0; k4 < 4; ++k4) {
            EXPECT_EQ(describe(place_of(practice.result_pane.fields[result_limit_label + k4])),
                      describe({(c.cx - 150) * k4 / 4 + 150, 50, (c.cx - 150) * a / 100, a}));
            EXPECT_EQ(
                describe(place_of(practice.result_pane.fields[result_right_answer_label + k4])),
                describe({(c.cx - 150) * k4 / 4 + 150, 75, (c.cx - 150) * a / 100, a}));
        }
        EXPECT_EQ(practice.reveal_step, k + 1 < steps.size() ? steps[k + 1] : 25);
    }
    EXPECT_EQ(describe(place_of(practice.result_pane.fields[result_next_button])),
              describe({0, 50, 65, 50}));
}

TEST_F(PracticeWindow, ResizingTheResultMovesTheExplanationBoxUntilTheNextTick) {
    DialogDriver dialogs;
    dialogs.answer(win32_test::cancel());
    press_key(VK_F5);
    ASSERT_TRUE(dialogs.wait_done(3000));
    accelerator_command(IDM_ANSWER_F1);
    for (int i = 0; i < 12; ++i) {
        SendMessageA(window(), WM_TIMER, 1, 0);
    }
    SetWindowPos(window(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
    const SIZE c = client();
    EXPECT_EQ(describe(place_of(practice.result_pane.explanation_box)),
              describe({0, c.cy - 120 - 25, c.cx, 25 + 120}));
    EXPECT_EQ(describe(place_of(practice.question_pane.question_box)), describe({0, 0, c.cx, 50}));
    EXPECT_EQ(describe(place_of(practice.result_pane.fields[result_your_answer_value])),
              describe({(c.cx - 150) * 3 / 4 + 150, 75, (c.cx - 150) * 25 / 100, 25}));
    SendMessageA(window(), WM_TIMER, 1, 0);
    EXPECT_EQ(describe(place_of(practice.result_pane.explanation_box)),
              describe({0, 280, c.cx, c.cy - 280}));
}

TEST_F(PracticeWindow, TheWindowSpringsBackToItsMinimumOuterSize) {
    struct Row {
        int width, height;             // asked for
        int outer_width, outer_height; // got
    };
    const Row rows[] = {
        {400, 300, 630, 450}, {500, 800, 630, 800}, {900, 300, 900, 450},
        {900, 700, 900, 700}, {630, 450, 630, 450},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
        RECT before{};
        GetWindowRect(window(), &before);
        SetWindowPos(window(), nullptr, 0, 0, row.width, row.height, SWP_NOMOVE | SWP_NOZORDER);
        RECT after{};
        GetWindowRect(window(), &after);
        EXPECT_EQ(after.right - after.left, row.outer_width);
        EXPECT_EQ(after.bottom - after.top, row.outer_height);
        EXPECT_EQ(after.left, before.left) << "in place";
        EXPECT_EQ(after.top, before.top) << "in place";
        const SIZE c = client();
        EXPECT_EQ(describe(place_of(practice.start_button)),
                  describe({10, c.cy / 4, c.cx - 20, c.cy / 2}));
    }
}

TEST_F(PracticeWindow, RunningPanesFollowTheWidthAndTheFixedFieldsStay) {
    DialogDriver dialogs;
    dialogs.answer(win32_test::cancel());
    press_key(VK_F5);
    ASSERT_TRUE(dialogs.wait_done(3000));
    SetWindowPos(window(), nullptr, 0, 0, 931, 500, SWP_NOMOVE | SWP_NOZORDER);
    const int w = client().cx;
    EXPECT_EQ(describe(place_of(practice.question_pane.question_box)), describe({0, 0, w, 50}));
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(describe(place_of(practice.countdown_pane.fields[i])),
                  describe({w * (i % 3) / 3, 50 + 25 * (i / 3), w / 3, 25}));
    }
    EXPECT_EQ(describe(place_of(practice.countdown_pane.choice_buttons[3])),
              describe({50, 370, 550, 30}));
    EXPECT_EQ(describe(place_of(practice.question_pane.back_dora_label)),
              describe({0, 149, 150, 50}));
}

TEST_F(PracticeWindow, TheAboutBoxOpensInEveryStateAndChangesNothing) {
    const std::string path = write_question("q1.tt", make_question(white_dragon_texts()));
    DialogDriver dialogs;
    dialogs.answer(win32_test::press(IDOK)); // start screen
    dialogs.answer(win32_test::choose_file(path));
    dialogs.answer(win32_test::press(IDOK)); // question running
    dialogs.answer(win32_test::press(IDOK)); // result shown
    const auto about = [&](PracticeState expected) {
        press_key(VK_F12);
        EXPECT_EQ(practice.state, expected);
    };
    about(PracticeState::start_screen);
    EXPECT_NE(practice.start_button, nullptr);
    press_key(VK_F5);
    about(PracticeState::question_running);
    EXPECT_EQ(text_of(practice.countdown_pane.choice_buttons[0]), seed_1_buttons[0]);
    press_key(VK_F1);
    about(PracticeState::result_shown);
    EXPECT_EQ(text_of(practice.result_pane.fields[result_your_answer_value]), seed_1_buttons[0]);
    ASSERT_TRUE(dialogs.wait_done(3000));

    const std::vector<win32_test::SeenDialog> seen = dialogs.seen();
    ASSERT_EQ(seen.size(), 4u);
    for (std::size_t i : {0u, 2u, 3u}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].caption, " [ Pointsmith ] version infomation");
        ASSERT_EQ(seen[i].texts.size(), 1u);
        EXPECT_EQ(seen[i].texts[0], about_text);
    }
    const std::string text = about_text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << "five lines";
    EXPECT_NE(text.find("version 2.5"), std::string::npos);
}

TEST_F(PracticeWindow, ExitDeletesTheBitmapAndPostsQuitWhileTheWindowStays) {
    ASSERT_NE(practice.tile_bitmap, nullptr) << "data/bp.bmp was loaded";
    HBITMAP bitmap = practice.tile_bitmap;
    SendMessageA(window(), WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(practice.tile_bitmap, nullptr);
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the bitmap is gone";
    pump(20);
    EXPECT_TRUE(quit_seen_);
    EXPECT_EQ(quit_code_, 0u);
    EXPECT_TRUE(IsWindow(window()));
}

TEST_F(PracticeWindow, ClosingTheWindowDeletesTheBitmapAndPostsQuit) {
    HBITMAP bitmap = practice.tile_bitmap;
    ASSERT_NE(bitmap, nullptr);
    SendMessageA(window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window()));
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    pump(20);
    EXPECT_TRUE(quit_seen_);
    EXPECT_EQ(quit_code_, 0u);
}

TEST_F(PracticeWindow, ASecondStartFailsCleanlyWhenTheClassIsTaken) {
    // The class "MyWin" is registered by the running window: a second start cannot register it.
    const PracticeStart second = start_practice(GetModuleHandleA(nullptr), SW_HIDE);
    EXPECT_EQ(second.window, nullptr);
}

} // namespace

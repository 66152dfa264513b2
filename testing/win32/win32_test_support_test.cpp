// The GUI test helpers at work on a window of the test's own, message boxes, the common file
// dialogs and a program started from the test.
#include "win32_test_support.h"

#include <commdlg.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using win32_test::DialogDriver;

std::string full_path(const std::string& name) {
    char path[MAX_PATH] = {};
    GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    return path;
}

bool file_exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A window with an edit box that records the commands it receives.
class OwnWindow {
  public:
    OwnWindow() {
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "Win32TestSupportOwn";
        RegisterClassA(&window_class);
        window = CreateWindowExA(0, window_class.lpszClassName, "Own window",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 100, nullptr,
                                 nullptr, window_class.hInstance, nullptr);
        edit =
            CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 200, 24, window,
                            reinterpret_cast<HMENU>(10), window_class.hInstance, nullptr);
        commands().clear();
    }
    ~OwnWindow() { DestroyWindow(window); }

    static std::vector<int>& commands() {
        static std::vector<int> received;
        return received;
    }

    HWND window = nullptr;
    HWND edit = nullptr;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_COMMAND && lparam == 0) {
            commands().push_back(LOWORD(wparam));
            return 0;
        }
        return DefWindowProcA(window, message, wparam, lparam);
    }
};

TEST(Win32TestSupport, EachTestRunsInAFreshEmptyFolder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*", &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::vector<std::string> names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_TRUE(names.empty()) << "first entry: " << names.front();
    std::ofstream("left-behind.txt") << "the next test must not see this";
}

TEST(Win32TestSupport, PumpUntilStopsWhenDoneOrWhenTheTimeIsUp) {
    const DWORD start = GetTickCount();
    EXPECT_FALSE(win32_test::pump_until([] { return false; }, 200));
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 190u);
    EXPECT_LT(waited, 2000u);

    OwnWindow own;
    win32_test::post_command(own.window, 41);
    EXPECT_TRUE(win32_test::pump_until([] { return !OwnWindow::commands().empty(); }, 2000));
    EXPECT_EQ(OwnWindow::commands(), std::vector<int>{41});
}

TEST(Win32TestSupport, CommandsKeysAndCharactersReachTheirWindows) {
    OwnWindow own;
    ASSERT_TRUE(win32_test::send_command(own.window, 7));
    EXPECT_EQ(OwnWindow::commands(), std::vector<int>{7}) << "sent: handled on return";

    win32_test::post_chars(own.edit, "ac");
    win32_test::post_key(own.edit, VK_LEFT);
    win32_test::post_chars(own.edit, "b");
    EXPECT_TRUE(win32_test::pump_until(
        [&] { return win32_test::window_text(own.edit).size() == 3; }, 2000));
    EXPECT_EQ(win32_test::window_text(own.edit), "abc");
    EXPECT_EQ(win32_test::item_text(own.window, 10), "abc");
    EXPECT_EQ(win32_test::item_text(own.window, 11), "") << "no such item";
    EXPECT_EQ(win32_test::window_class(own.edit), "Edit");
}

TEST(Win32TestSupport, SendInputTypesIntoTheFocusedWindow) {
    OwnWindow own;
    SetForegroundWindow(own.window);
    SetFocus(own.edit);
    win32_test::pump_messages(50);
    ASSERT_EQ(GetFocus(), own.edit);
    ASSERT_TRUE(win32_test::send_input_key('Q'));
    EXPECT_TRUE(
        win32_test::pump_until([&] { return !win32_test::window_text(own.edit).empty(); }, 2000));
    EXPECT_EQ(win32_test::window_text(own.edit), "q");
}

INT_PTR CALLBACK plain_dialog_procedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

TEST(Win32TestSupport, FindsVisibleEnabledDialogsOnly) {
    // A modeless dialog from an in-memory template with no controls.
    alignas(4) WORD dialog_template[16] = {};
    auto* header = reinterpret_cast<DLGTEMPLATE*>(dialog_template);
    header->style = WS_POPUP | WS_CAPTION;
    header->cx = 100;
    header->cy = 40;
    HWND dialog =
        CreateDialogIndirectA(GetModuleHandleA(nullptr), header, nullptr, plain_dialog_procedure);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(win32_test::find_dialog(), nullptr) << "not visible yet";
    ShowWindow(dialog, SW_SHOW);
    EXPECT_EQ(win32_test::find_dialog(), dialog);
    EXPECT_EQ(win32_test::find_process_dialog(GetCurrentProcessId()), dialog);
    EnableWindow(dialog, FALSE);
    EXPECT_EQ(win32_test::find_dialog(), nullptr) << "disabled: it waits for a dialog it opened";
    EnableWindow(dialog, TRUE);
    EXPECT_EQ(win32_test::find_dialog(), dialog);
    EXPECT_EQ(win32_test::find_dialog(GetCurrentThreadId() + 4), nullptr) << "another thread";
    DestroyWindow(dialog);
    EXPECT_EQ(win32_test::find_dialog(), nullptr);
}

TEST(Win32TestSupport, AnswersAMessageBoxAndReadsWhatItSaid) {
    DialogDriver dialogs;
    dialogs.answer(win32_test::press(IDNO));
    EXPECT_EQ(MessageBoxA(nullptr, "Keep the changes?", "Caption here", MB_YESNOCANCEL), IDNO);
    ASSERT_EQ(dialogs.seen().size(), 1u);
    EXPECT_EQ(dialogs.seen()[0].caption, "Caption here");
    EXPECT_EQ(dialogs.seen()[0].texts, std::vector<std::string>{"Keep the changes?"});
    EXPECT_TRUE(dialogs.wait_done(2000));
}

TEST(Win32TestSupport, AnswersDialogsInTurn) {
    DialogDriver dialogs;
    dialogs.answer(win32_test::press(IDRETRY));
    dialogs.answer(win32_test::cancel());
    EXPECT_EQ(MessageBoxA(nullptr, "first", "One", MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(MessageBoxA(nullptr, "second", "Two", MB_RETRYCANCEL), IDCANCEL);
    ASSERT_EQ(dialogs.seen().size(), 2u);
    EXPECT_EQ(dialogs.seen()[1].caption, "Two");
}

TEST(Win32TestSupport, AnUnexpectedDialogFailsTheTestAndIsClosed) {
    int result = 0;
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(
        {
            DialogDriver dialogs;
            result = MessageBoxA(nullptr, "Nobody expects this", "Surprise", MB_OK);
        },
        "unexpected dialog \"Surprise\" / \"Nobody expects this\"");
    EXPECT_NE(result, 0) << "the message box was closed";
}

TEST(Win32TestSupport, ADialogStillUpAfterTheTimeoutFailsTheTestAndIsClosed) {
    const DWORD start = GetTickCount();
    int result = 0;
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(
        {
            DialogDriver dialogs(300);
            dialogs.answer(win32_test::ignore());
            result = MessageBoxA(nullptr, "Stuck", "Stays up", MB_OKCANCEL);
        },
        "dialog \"Stays up\" / \"Stuck\" still up 300 ms after it was answered");
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_LT(GetTickCount() - start, 3000u);
}

TEST(Win32TestSupport, TheWatchdogFailsATestWhoseDialogNobodyAnswers) {
    win32_test::set_dialog_watchdog(400);
    const DWORD start = GetTickCount();
    int result = 0;
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(
        result = MessageBoxA(nullptr, "Forgotten", "No driver", MB_OKCANCEL),
        "dialog \"No driver\" / \"Forgotten\" unanswered for 400 ms; closing it");
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_LT(GetTickCount() - start, 3000u);
}

TEST(Win32TestSupport, AnAnswerLeftUnusedFailsTheTest) {
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(
        {
            DialogDriver dialogs;
            dialogs.answer(win32_test::press(IDOK));
        },
        "an expected dialog did not appear");
}

TEST(Win32TestSupport, ChoosesAFileInTheOpenDialog) {
    const std::string path = full_path("input.txt");
    std::ofstream(path) << "data";
    DialogDriver dialogs;
    dialogs.answer(win32_test::choose_file(path));

    char chosen[MAX_PATH] = {};
    OPENFILENAMEA open = {};
    open.lStructSize = sizeof open;
    open.lpstrFilter = "Text files\0*.txt\0All files\0*.*\0";
    open.lpstrFile = chosen;
    open.nMaxFile = sizeof chosen;
    open.lpstrTitle = "Pick the input";
    open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    ASSERT_TRUE(GetOpenFileNameA(&open)) << "error " << CommDlgExtendedError();
    EXPECT_STRCASEEQ(chosen, path.c_str());
    ASSERT_EQ(dialogs.seen().size(), 1u);
    EXPECT_EQ(dialogs.seen()[0].caption, "Pick the input");
}

TEST(Win32TestSupport, CancelsTheOpenDialog) {
    DialogDriver dialogs;
    dialogs.answer(win32_test::cancel());
    char chosen[MAX_PATH] = {};
    OPENFILENAMEA open = {};
    open.lStructSize = sizeof open;
    open.lpstrFile = chosen;
    open.nMaxFile = sizeof chosen;
    open.Flags = OFN_EXPLORER;
    EXPECT_FALSE(GetOpenFileNameA(&open));
    EXPECT_EQ(CommDlgExtendedError(), 0u) << "cancelled, not failed";
}

TEST(Win32TestSupport, AnswersTheSaveDialogAndItsOverwriteQuestion) {
    const std::string path = full_path("existing.bin");
    std::ofstream(path) << "old";
    DialogDriver dialogs;
    dialogs.answer(win32_test::choose_file(path));
    dialogs.answer(win32_test::press(IDYES));

    char chosen[MAX_PATH] = {};
    OPENFILENAMEA save = {};
    save.lStructSize = sizeof save;
    save.lpstrFile = chosen;
    save.nMaxFile = sizeof chosen;
    save.lpstrTitle = "Save as";
    save.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT;
    ASSERT_TRUE(GetSaveFileNameA(&save)) << "error " << CommDlgExtendedError();
    EXPECT_STRCASEEQ(chosen, path.c_str());
    ASSERT_EQ(dialogs.seen().size(), 2u);
    EXPECT_EQ(dialogs.seen()[0].caption, "Save as");
    EXPECT_EQ(dialogs.seen()[1].caption, "Save as") << "the question is the dialog's own";
    EXPECT_TRUE(dialogs.wait_done(2000));
}

TEST(Win32TestSupport, WindowsPathsForUnixPaths) {
    EXPECT_EQ(win32_test::windows_path("/work/build/a.exe"), "Z:\\work\\build\\a.exe");
    EXPECT_EQ(win32_test::windows_path("C:\\x.exe"), "C:\\x.exe");
    EXPECT_EQ(win32_test::windows_path("relative/x.exe"), "relative/x.exe");
}

TEST(Win32TestSupport, WaitingForAWindowThatNeverComesEnds) {
    const DWORD start = GetTickCount();
    EXPECT_EQ(win32_test::wait_for_window("NoSuchClassAnywhere", nullptr, 300), nullptr);
    EXPECT_LT(GetTickCount() - start, 2000u);
}

TEST(Win32TestSupport, DrivesAnotherProgram) {
    const std::string program = win32_test::windows_path(CHILD_PROGRAM);
    ASSERT_TRUE(file_exists(program)) << program;
    win32_test::Program child("\"" + program + "\"");
    ASSERT_TRUE(child.started());
    HWND window = child.wait_for_window("Win32TestSupportChild", "Support child");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(win32_test::item_text(window, 102), "idle");

    ASSERT_TRUE(win32_test::send_command(window, 200));
    EXPECT_EQ(win32_test::item_text(window, 102), "command 200");

    HWND edit = GetDlgItem(window, 101);
    win32_test::post_chars(edit, "typed");
    EXPECT_TRUE(
        win32_test::pump_until([&] { return win32_test::window_text(edit) == "typed"; }, 3000))
        << win32_test::window_text(edit);

    win32_test::post_key(window, VK_F5);
    EXPECT_TRUE(
        win32_test::pump_until([&] { return win32_test::item_text(window, 102) == "F5"; }, 3000));

    {
        DialogDriver dialogs(DialogDriver::OfProcess{child.id()});
        dialogs.answer(win32_test::press(IDCANCEL));
        win32_test::post_command(window, 201);
        EXPECT_TRUE(win32_test::pump_until(
            [&] { return win32_test::item_text(window, 102) == "answer 2"; }, 5000))
            << win32_test::item_text(window, 102);
        ASSERT_EQ(dialogs.seen().size(), 1u);
        EXPECT_EQ(dialogs.seen()[0].caption, "Child");
        EXPECT_EQ(dialogs.seen()[0].texts, std::vector<std::string>{"Child asks"});
    }

    win32_test::post_command(window, 202);
    DWORD exit_code = 0;
    ASSERT_TRUE(child.wait_for_exit(5000, &exit_code));
    EXPECT_EQ(exit_code, 7u);
}

} // namespace

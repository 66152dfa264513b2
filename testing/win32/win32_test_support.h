// Helpers for GoogleTest programs that drive Win32 windows and dialogs, in the test's own
// process or in a program it starts. Runs under Wine in the win64 test build
// (project_wine_test); see tools/wine/README.md.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace win32_test {

// ---- Messages ---------------------------------------------------------------------------

// Dispatches this thread's messages for the given time.
void pump_messages(DWORD milliseconds);

// Dispatches this thread's messages until done() is true (then true) or the time is up (false).
bool pump_until(const std::function<bool()>& done, DWORD timeout_ms);

// ---- Windows and their texts ------------------------------------------------------------

// The text of a window, also of another process's (WM_GETTEXT; "" when it does not answer).
std::string window_text(HWND window);

// The class name of a window.
std::string window_class(HWND window);

// The text of the dialog item with this id ("" when there is none).
std::string item_text(HWND dialog, int id);

// The non-empty texts of the direct children of this class ("Static": a dialog's messages), in
// the order of the window list.
std::vector<std::string> child_texts(HWND parent, const char* class_name = "Static");

// ---- Dialogs ----------------------------------------------------------------------------

// The first visible, enabled top-level dialog (#32770) of a thread or of a process; nullptr
// when there is none. A disabled dialog is the owner of another one and is skipped.
HWND find_dialog(DWORD thread_id = GetCurrentThreadId());
HWND find_process_dialog(DWORD process_id);

// Posts WM_COMMAND(id, BN_CLICKED) from the button with this id; false when there is none.
bool press_button(HWND dialog, int id);

// Sets the file name of a common file dialog (the combo box 0x47C of the Explorer-style dialog,
// or the edit box 0x480 of the old style) to path and posts IDOK; false when it has neither.
bool answer_file_dialog(HWND dialog, const std::string& path);

// What a dialog showed when DialogDriver met it.
struct SeenDialog {
    std::string caption;
    std::vector<std::string> texts; // its Static texts: a message box's message
};

// Answers the modal dialogs of the constructing thread or of another process,
// from a thread of its own, so that MessageBox, GetOpenFileName or a program's own dialogs can
// be driven from the test that opens them:
//
//     win32_test::DialogDriver dialogs;
//     dialogs.answer(win32_test::press(IDNO));
//     EXPECT_EQ(MessageBoxA(nullptr, "Save?", "App", MB_YESNO), IDNO);
//     EXPECT_EQ(dialogs.seen().at(0).texts.at(0), "Save?");
//
// Each dialog that appears gets the next queued answer. A dialog with no answer left fails the
// test and is closed; so is a dialog still up timeout_ms after it was answered. An answer left
// unused when the driver ends fails the test too.
class DialogDriver {
  public:
    using Answer = std::function<void(HWND dialog)>;

    struct OfProcess {
        DWORD id;
    };

    // The dialogs of the constructing thread.
    explicit DialogDriver(DWORD timeout_ms = 5000);
    // The dialogs of another program (Program::id()).
    explicit DialogDriver(OfProcess process, DWORD timeout_ms = 5000);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    void answer(Answer answer);
    std::vector<SeenDialog> seen() const;
    // Waits until every queued answer has been given and its dialog has gone.
    bool wait_done(DWORD timeout_ms);

  private:
    DialogDriver(DWORD timeout_ms, DWORD thread_id, DWORD process_id);
    void run();
    HWND current_dialog() const;

    DWORD timeout_ms_;
    DWORD thread_id_;
    DWORD process_id_;
    mutable std::mutex mutex_;
    std::vector<Answer> answers_;
    std::size_t next_answer_ = 0;
    std::vector<SeenDialog> seen_;
    struct Handled {
        HWND window;
        DWORD at; // when it was answered, or last seen waiting for a dialog it opened
    };
    std::vector<Handled> handled_; // the dialogs met, while they are still up
    bool stop_ = false;
    std::thread thread_;
};

// Answers for DialogDriver.
DialogDriver::Answer press(int id);                        // press the button with this id
DialogDriver::Answer choose_file(const std::string& path); // answer_file_dialog(path)
DialogDriver::Answer cancel();                             // press IDCANCEL
DialogDriver::Answer ignore();                             // leave it up (the timeout closes it)

// Every project_wine_test program watches its own process's dialogs: one that stays up
// unanswered this long fails the running test and is closed. set_dialog_watchdog changes the
// time for the running test only.
constexpr DWORD default_dialog_watchdog_ms = 10000;
void set_dialog_watchdog(DWORD timeout_ms);

// ---- Another program --------------------------------------------------------------------

// A Windows path for a path of the Unix side of Wine ("/a/b" -> "Z:\a\b"); other paths as they
// are. For $<TARGET_FILE:...> paths passed to a test as compile definitions.
std::string windows_path(const std::string& path);

// A program started for the test (under the same Wine prefix); ended when this object goes.
class Program {
  public:
    // Starts command_line (the program's path first, quoted when it has spaces) in folder
    // working_directory (default: the test's). The test fails when it cannot be started.
    explicit Program(const std::string& command_line, const std::string& working_directory = "");
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    DWORD id() const { return process_.dwProcessId; }
    HANDLE handle() const { return process_.hProcess; }

    // A visible top-level window of this program with this class and/or title (nullptr: any),
    // waited for up to timeout_ms; nullptr when none appears.
    HWND wait_for_window(const char* class_name, const char* title, DWORD timeout_ms = 10000);

    // Waits for the program to end; true with its exit code, false when it is still running.
    bool wait_for_exit(DWORD timeout_ms, DWORD* exit_code);

  private:
    PROCESS_INFORMATION process_ = {};
};

// A visible top-level window with this class and/or title, of any process (process_id 0) or
// of one, waited for up to timeout_ms.
HWND wait_for_window(const char* class_name, const char* title, DWORD timeout_ms,
                     DWORD process_id = 0);

// WM_COMMAND for a menu item or accelerator id: sent (returns when handled; false when the
// window does not answer in 5 s) or posted.
bool send_command(HWND window, int id);
bool post_command(HWND window, int id);

// Posts WM_KEYDOWN and WM_KEYUP for a virtual key to a window (a focused control, say).
void post_key(HWND window, WORD virtual_key);

// Posts WM_CHAR for each character of text to a window (an edit control, say).
void post_chars(HWND window, const std::string& text);

// Types a virtual key with SendInput: goes to the foreground window (tests that use it must
// be SERIAL). False when the input was not accepted.
bool send_input_key(WORD virtual_key);

} // namespace win32_test

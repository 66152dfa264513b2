// Helpers for GoogleTest programs that drive Win32 windows and dialogs under Wine (see
// tools/wine/README.md). Their main fails and closes a dialog left unanswered for 10 to 20 s.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace win32_test {

// Dispatches this thread's messages until done() is true (then true) or the time is up.
bool pump_until(const std::function<bool()>& done, DWORD timeout_ms);

// WM_GETTEXT, also across processes ("" when the window does not answer within 5 s).
std::string window_text(HWND window);
std::string window_class(HWND window);
std::string full_path(const std::string& name); // of a file of the current folder

// The first visible, enabled #32770 of a thread, or of the process process_id when not 0; a file
// dialog described by its title, any other as "caption: message" (its last Static text).
HWND find_dialog(DWORD thread_id, DWORD process_id = 0);
std::string describe_dialog(HWND dialog);
// A file dialog's file types (the selected one marked "*"), then its file name box.
std::vector<std::string> offered_files(HWND dialog);

// Runs action while a thread of its own answers the dialogs of this thread (or of process_id)
// in order, waits (5 s at most) until each is gone, and gives what they showed. A dialog with
// no answer left, or an answer left unused, fails the test.
using Answer = std::function<void(HWND dialog)>;
std::vector<std::string> answer_dialogs(const std::vector<Answer>& answers,
                                        const std::function<void()>& action, DWORD process_id = 0);
Answer press(int id);
Answer cancel();
Answer choose_file(const std::string& path); // into the file name box (0x47C), then OK

// A program started from the test's folder (unix_path: $<TARGET_FILE:...>), ended with this.
class Program {
  public:
    explicit Program(const std::string& unix_path);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD id() const { return process_.dwProcessId; }
    // A visible top-level window of the program of this class (and title), waited for 10 s.
    HWND wait_for_window(const char* class_name, const char* title = nullptr);
    long wait_for_exit(DWORD timeout_ms = 10000); // -1 while the program still runs

  private:
    PROCESS_INFORMATION process_ = {};
};
// The environment variable's path when set (release_test.sh's unpacked release), else built_in.
std::string program_path(const char* variable, const char* built_in);

// Input posted as the keyboard gives it: WM_KEYDOWN/UP of a key, WM_CHAR of each character.
void post_key(HWND window, WORD virtual_key);
void post_chars(HWND window, const std::string& text);

// Pixels as COLORREF gives them, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
Picture picture_of_dc(HDC dc, int left, int top, int width, int height);

} // namespace win32_test

#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace win32_test {

namespace {

// Waits for sent messages and timers to answer (5 s), so a hung window cannot hang the test.
constexpr UINT answer_timeout_ms = 5000;

std::string describe(const SeenDialog& dialog) {
    std::ostringstream out;
    out << "\"" << dialog.caption << "\"";
    for (const std::string& text : dialog.texts) {
        out << " / \"" << text << "\"";
    }
    return out.str();
}

SeenDialog look_at(HWND dialog) {
    return SeenDialog{window_text(dialog), child_texts(dialog)};
}

// Closes a dialog that must not stay: Cancel, then WM_CLOSE.
void close_dialog(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

bool usable_dialog(HWND window) {
    return IsWindowVisible(window) && IsWindowEnabled(window) && window_class(window) == "#32770";
}

struct WindowQuery {
    const char* class_name;
    const char* title;
    DWORD process_id;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<WindowQuery*>(parameter);
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    if (query->process_id) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != query->process_id) {
            return TRUE;
        }
    }
    if (query->class_name && window_class(window) != query->class_name) {
        return TRUE;
    }
    if (query->title && window_text(window) != query->title) {
        return TRUE;
    }
    query->found = window;
    return FALSE;
}

BOOL CALLBACK match_dialog(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<WindowQuery*>(parameter);
    if (query->process_id) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != query->process_id) {
            return TRUE;
        }
    }
    if (usable_dialog(window)) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

struct TextQuery {
    HWND parent;
    const char* class_name;
    std::vector<std::string>* texts;
};

BOOL CALLBACK collect_text(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<TextQuery*>(parameter);
    if (GetParent(window) != query->parent) {
        return TRUE; // EnumChildWindows also walks the grandchildren
    }
    if (query->class_name && window_class(window) != query->class_name) {
        return TRUE;
    }
    std::string text = window_text(window);
    if (!text.empty()) {
        query->texts->push_back(text);
    }
    return TRUE;
}

} // namespace

void pump_messages(DWORD milliseconds) {
    pump_until([] { return false; }, milliseconds);
}

bool pump_until(const std::function<bool()>& done, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) {
            return true;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeout_ms) {
            return false;
        }
        const DWORD wait = timeout_ms - elapsed < 10 ? timeout_ms - elapsed : 10;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

std::string window_text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, answer_timeout_ms,
                             &length)) {
        return "";
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, answer_timeout_ms, &copied)) {
        return "";
    }
    text.resize(copied < length ? copied : length);
    return text;
}

std::string window_class(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string item_text(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? window_text(item) : "";
}

std::vector<std::string> child_texts(HWND parent, const char* class_name) {
    std::vector<std::string> texts;
    TextQuery query{parent, class_name, &texts};
    EnumChildWindows(parent, collect_text, reinterpret_cast<LPARAM>(&query));
    return texts;
}

HWND find_dialog(DWORD thread_id) {
    WindowQuery query{nullptr, nullptr, 0, nullptr};
    EnumThreadWindows(thread_id, match_dialog, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND find_process_dialog(DWORD process_id) {
    WindowQuery query{nullptr, nullptr, process_id, nullptr};
    EnumWindows(match_dialog, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

bool press_button(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) {
        return false;
    }
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != 0;
}

bool answer_file_dialog(HWND dialog, const std::string& path) {
    HWND name_box = GetDlgItem(dialog, 0x47C); // cmb13 of the Explorer-style dialog
    if (!name_box) {
        name_box = GetDlgItem(dialog, 0x480); // edt1 of the old style
    }
    if (!name_box) {
        return false;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(name_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                             SMTO_ABORTIFHUNG, answer_timeout_ms, &result)) {
        return false;
    }
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) != 0;
}

DialogDriver::DialogDriver(DWORD timeout_ms) : DialogDriver(timeout_ms, GetCurrentThreadId(), 0) {}

DialogDriver::DialogDriver(OfProcess process, DWORD timeout_ms)
    : DialogDriver(timeout_ms, 0, process.id) {}

DialogDriver::DialogDriver(DWORD timeout_ms, DWORD thread_id, DWORD process_id)
    : timeout_ms_(timeout_ms), thread_id_(thread_id), process_id_(process_id) {
    thread_ = std::thread([this] { run(); });
}

DialogDriver::~DialogDriver() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    thread_.join();
    for (std::size_t i = next_answer_; i < answers_.size(); ++i) {
        ADD_FAILURE() << "an expected dialog did not appear (answer " << i + 1 << " of "
                      << answers_.size() << " unused)";
    }
}

void DialogDriver::answer(Answer answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(std::move(answer));
}

std::vector<SeenDialog> DialogDriver::seen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

bool DialogDriver::wait_done(DWORD timeout_ms) {
    return pump_until(
        [this] {
            std::lock_guard<std::mutex> lock(mutex_);
            bool up = false;
            for (const Handled& handled : handled_) {
                up = up || IsWindow(handled.window);
            }
            return next_answer_ == answers_.size() && !up;
        },
        timeout_ms);
}

HWND DialogDriver::current_dialog() const {
    return process_id_ ? find_process_dialog(process_id_) : find_dialog(thread_id_);
}

void DialogDriver::run() {
    for (;;) {
        Sleep(20);
        HWND dialog = current_dialog();
        const DWORD now = GetTickCount();
        bool overdue = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_) {
                return;
            }
            std::vector<Handled> still_up;
            for (Handled& handled : handled_) {
                if (!IsWindow(handled.window)) {
                    continue; // answered and gone
                }
                if (IsWindowVisible(handled.window) && !IsWindowEnabled(handled.window)) {
                    handled.at = now; // waits for a dialog it opened
                }
                if (handled.window == dialog && now - handled.at > timeout_ms_) {
                    overdue = true;
                    handled.at = now; // closed now, and reported again if that fails
                }
                still_up.push_back(handled);
            }
            handled_ = still_up;
            if (!dialog) {
                continue;
            }
            bool known = false;
            for (const Handled& handled : handled_) {
                known = known || handled.window == dialog;
            }
            if (known && !overdue) {
                continue;
            }
        }
        if (overdue) {
            ADD_FAILURE() << "dialog " << describe(look_at(dialog)) << " still up " << timeout_ms_
                          << " ms after it was answered; closing it";
            close_dialog(dialog);
            continue;
        }
        Sleep(30); // let the new dialog finish its initialisation
        const SeenDialog seen = look_at(dialog);
        Answer answer;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            seen_.push_back(seen);
            handled_.push_back(Handled{dialog, GetTickCount()});
            if (next_answer_ < answers_.size()) {
                answer = answers_[next_answer_++];
            }
        }
        if (answer) {
            answer(dialog);
        } else {
            ADD_FAILURE() << "unexpected dialog " << describe(seen) << "; closing it";
            close_dialog(dialog);
        }
    }
}

DialogDriver::Answer press(int id) {
    return [id](HWND dialog) {
        EXPECT_TRUE(press_button(dialog, id)) << "the dialog has no button " << id;
    };
}

DialogDriver::Answer choose_file(const std::string& path) {
    return [path](HWND dialog) {
        EXPECT_TRUE(answer_file_dialog(dialog, path)) << "not a file dialog: no file name box";
    };
}

DialogDriver::Answer cancel() {
    return [](HWND dialog) { close_dialog(dialog); };
}

DialogDriver::Answer ignore() {
    return [](HWND) {};
}

std::string windows_path(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    std::string result = "Z:" + path;
    for (char& c : result) {
        if (c == '/') {
            c = '\\';
        }
    }
    return result;
}

Program::Program(const std::string& command_line, const std::string& working_directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string line = command_line;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        working_directory.empty() ? nullptr : working_directory.c_str(), &startup,
                        &process_)) {
        ADD_FAILURE() << "cannot start " << command_line << " (error " << GetLastError() << ")";
        process_ = {};
    }
}

Program::~Program() {
    if (!process_.hProcess) {
        return;
    }
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 255);
        WaitForSingleObject(process_.hProcess, answer_timeout_ms);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND Program::wait_for_window(const char* class_name, const char* title, DWORD timeout_ms) {
    if (!process_.hProcess) {
        return nullptr;
    }
    return win32_test::wait_for_window(class_name, title, timeout_ms, process_.dwProcessId);
}

bool Program::wait_for_exit(DWORD timeout_ms, DWORD* exit_code) {
    if (!process_.hProcess || WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) {
        return false;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    if (exit_code) {
        *exit_code = code;
    }
    return true;
}

HWND wait_for_window(const char* class_name, const char* title, DWORD timeout_ms,
                     DWORD process_id) {
    WindowQuery query{class_name, title, process_id, nullptr};
    pump_until(
        [&query] {
            query.found = nullptr;
            EnumWindows(match_window, reinterpret_cast<LPARAM>(&query));
            return query.found != nullptr;
        },
        timeout_ms);
    return query.found;
}

bool send_command(HWND window, int id) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_ABORTIFHUNG,
                               answer_timeout_ms, &result) != 0;
}

bool post_command(HWND window, int id) {
    return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0) != 0;
}

void post_key(HWND window, WORD virtual_key) {
    const UINT scan = MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, virtual_key, 1 | (scan << 16));
    PostMessageA(window, WM_KEYUP, virtual_key, 1 | (scan << 16) | (3u << 30));
}

void post_chars(HWND window, const std::string& text) {
    for (unsigned char c : text) {
        PostMessageA(window, WM_CHAR, c, 1);
    }
}

bool send_input_key(WORD virtual_key) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtual_key;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

} // namespace win32_test

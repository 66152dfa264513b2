#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace win32_test {

namespace {

constexpr DWORD answer_timeout_ms = 5000; // for sent messages and answered dialogs

void close_dialog(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

struct DialogQuery {
    DWORD thread_id;
    DWORD process_id;
    HWND found;
};

BOOL CALLBACK match_dialog(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<DialogQuery*>(parameter);
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    if ((query->process_id != 0 ? process == query->process_id : thread == query->thread_id) &&
        IsWindowVisible(window) && IsWindowEnabled(window) && window_class(window) == "#32770") {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK last_static_text(HWND child, LPARAM parameter) {
    const std::string text = window_text(child);
    if (window_class(child) == "Static" && !text.empty()) {
        *reinterpret_cast<std::string*>(parameter) = text;
    }
    return TRUE;
}

} // namespace

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
        if (GetTickCount() - start >= timeout_ms) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string window_text(HWND window) {
    std::string text(1 << 16, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, answer_timeout_ms, &copied)) {
        return "";
    }
    text.resize(std::min<std::size_t>(copied, text.size() - 1));
    return text;
}

std::string window_class(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string full_path(const std::string& name) {
    char path[MAX_PATH] = {};
    GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    return path;
}

HWND find_dialog(DWORD thread_id, DWORD process_id) {
    DialogQuery query{thread_id, process_id, nullptr};
    EnumWindows(match_dialog, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::string describe_dialog(HWND dialog) {
    if (GetDlgItem(dialog, 0x47C) != nullptr) {
        return window_text(dialog);
    }
    std::string message;
    EnumChildWindows(dialog, last_static_text, reinterpret_cast<LPARAM>(&message));
    return window_text(dialog) + ": " + message;
}

std::vector<std::string> offered_files(HWND dialog) {
    std::vector<std::string> offered;
    HWND types = GetDlgItem(dialog, 0x470);
    const LRESULT selected = SendMessageA(types, CB_GETCURSEL, 0, 0);
    for (LRESULT i = 0; i < SendMessageA(types, CB_GETCOUNT, 0, 0); ++i) {
        char type[256] = {};
        SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(type));
        offered.push_back(type + std::string(i == selected ? "*" : ""));
    }
    offered.push_back(window_text(GetDlgItem(dialog, 0x47C)));
    return offered;
}

std::vector<std::string> answer_dialogs(const std::vector<Answer>& answers,
                                        const std::function<void()>& action, DWORD process_id) {
    std::mutex mutex;
    std::size_t next = 0;
    std::vector<std::string> seen;
    std::vector<HWND> answered;
    std::atomic<bool> stop{false};
    const DWORD thread_id = GetCurrentThreadId();
    std::thread driver([&] {
        while (!stop) {
            Sleep(20);
            HWND dialog = find_dialog(thread_id, process_id);
            if (dialog == nullptr ||
                std::find(answered.begin(), answered.end(), dialog) != answered.end()) {
                continue;
            }
            Sleep(30); // let the new dialog finish its initialisation
            const std::string shown = describe_dialog(dialog);
            std::unique_lock<std::mutex> lock(mutex);
            seen.push_back(shown);
            answered.push_back(dialog);
            if (next == answers.size()) {
                lock.unlock();
                ADD_FAILURE() << "unexpected dialog " << shown;
                close_dialog(dialog);
                continue;
            }
            const Answer& answer = answers[next++];
            lock.unlock();
            answer(dialog);
        }
    });
    action();
    pump_until(
        [&] {
            std::lock_guard<std::mutex> lock(mutex);
            return next == answers.size() &&
                   std::none_of(answered.begin(), answered.end(), IsWindow);
        },
        answer_timeout_ms);
    stop = true;
    driver.join();
    if (next < answers.size()) {
        ADD_FAILURE() << answers.size() - next << " expected dialog(s) did not appear";
    }
    return seen;
}

Answer press(int id) {
    return [id](HWND dialog) {
        EXPECT_NE(GetDlgItem(dialog, id), nullptr) << "the dialog has no button " << id;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    };
}

Answer cancel() {
    return close_dialog;
}

Answer choose_file(const std::string& path) {
    return [path](HWND dialog) {
        HWND name_box = GetDlgItem(dialog, 0x47C);
        EXPECT_NE(name_box, nullptr) << "not a file dialog";
        DWORD_PTR result = 0;
        SendMessageTimeoutA(name_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                            SMTO_ABORTIFHUNG, answer_timeout_ms, &result);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}

Program::Program(const std::string& unix_path) {
    std::string line = "\"Z:" + unix_path + "\"";
    std::replace(line.begin(), line.end(), '/', '\\');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
        ADD_FAILURE() << "cannot start " << line << " (error " << GetLastError() << ")";
        process_ = {};
    }
}

Program::~Program() {
    if (process_.hProcess != nullptr) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 255);
            WaitForSingleObject(process_.hProcess, answer_timeout_ms);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

HWND Program::wait_for_window(const char* class_name, const char* title) {
    HWND found = nullptr;
    pump_until(
        [&] {
            for (found = FindWindowExA(nullptr, nullptr, class_name, title); found != nullptr;
                 found = FindWindowExA(nullptr, found, class_name, title)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(found, &owner);
                if (owner == process_.dwProcessId && IsWindowVisible(found)) {
                    return true;
                }
            }
            return false;
        },
        process_.hProcess != nullptr ? 10000 : 0);
    return found;
}

long Program::wait_for_exit(DWORD timeout_ms) {
    DWORD code = 0;
    if (process_.hProcess == nullptr ||
        WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.hProcess, &code)) {
        return -1;
    }
    return static_cast<long>(code);
}

std::string program_path(const char* variable, const char* built_in) {
    const char* given = std::getenv(variable);
    return given != nullptr && *given != '\0' ? given : built_in;
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

Picture picture_of_dc(HDC dc, int left, int top, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, dc, left, top, SRCCOPY);
    GdiFlush();
    Picture picture{width, height, {}};
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (int i = 0; i < width * height; ++i) {
        picture.pixels.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    return picture;
}

} // namespace win32_test

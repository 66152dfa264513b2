// Linked into every project_wine_test program: fails the running test, and closes the dialog,
// when a dialog of the test's process stays up unanswered, so that a forgotten message box
// costs seconds instead of the ctest timeout. A DialogDriver answers long before it fires.
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>

namespace win32_test {

namespace {

std::atomic<DWORD> watchdog_timeout{default_dialog_watchdog_ms};

class DialogWatchdog : public testing::EmptyTestEventListener {
  public:
    void OnTestStart(const testing::TestInfo&) override {
        watchdog_timeout = default_dialog_watchdog_ms;
        stop_ = false;
        thread_ = std::thread([this] { watch(); });
    }

    void OnTestEnd(const testing::TestInfo&) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

  private:
    void watch() {
        HWND watched = nullptr;
        DWORD since = 0;
        std::unique_lock<std::mutex> lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return stop_; })) {
            HWND dialog = find_process_dialog(GetCurrentProcessId());
            if (dialog != watched) {
                watched = dialog;
                since = GetTickCount();
                continue;
            }
            if (dialog && GetTickCount() - since > watchdog_timeout) {
                const SeenDialog seen{window_text(dialog), child_texts(dialog)};
                std::string texts;
                for (const std::string& text : seen.texts) {
                    texts += " / \"" + text + "\"";
                }
                ADD_FAILURE() << "dialog \"" << seen.caption << "\"" << texts << " unanswered for "
                              << watchdog_timeout << " ms; closing it";
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                PostMessageA(dialog, WM_CLOSE, 0, 0);
                since = GetTickCount();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

const bool installed = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new DialogWatchdog);
    return true;
}();

} // namespace

void set_dialog_watchdog(DWORD timeout_ms) {
    watchdog_timeout = timeout_ms;
}

} // namespace win32_test

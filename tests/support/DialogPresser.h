// Answers the first dialog box that the test process itself shows, from a
// second thread, while the test's thread is inside the modal loop.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

namespace wintest {

class DialogPresser {
public:
    // Clicks the button with this id (IDOK, IDCANCEL, ...) of the first
    // visible dialog of this process that appears within ten seconds, after
    // handing the dialog to inspect (on the presser's thread: collect what
    // is needed there and check it after the dialog has ended).
    explicit DialogPresser(int buttonId, std::function<void(HWND)> inspect = nullptr);
    ~DialogPresser();
    DialogPresser(const DialogPresser &) = delete;
    DialogPresser &operator=(const DialogPresser &) = delete;

    bool Pressed() const { return pressed_; }

private:
    std::atomic<bool> done_{false};
    std::atomic<bool> pressed_{false};
    std::thread worker_;
};

} // namespace wintest

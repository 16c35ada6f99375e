// Answers the first dialog box that the test process itself shows, from a
// second thread, while the test's thread is inside the modal loop.
#pragma once

#include "support/WinTest.h"

#include <atomic>
#include <functional>
#include <thread>

namespace wintest {

class DialogPresser {
public:
    // Clicks this button of the first dialog within ten seconds, after
    // handing it to inspect (on the presser's thread).
    explicit DialogPresser(int buttonId, std::function<void(HWND)> inspect = nullptr)
        : worker_([this, buttonId, inspect] {
              HWND dialog = nullptr;
              for (int i = 0; i < 200 && !done_ && !dialog; ++i, Sleep(50))
                  dialog = FindProcessWindow(GetCurrentProcessId(), L"#32770", nullptr);
              if (!dialog) return;
              if (inspect) inspect(dialog);
              PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                           (LPARAM)GetDlgItem(dialog, buttonId));
          })
    {
    }
    ~DialogPresser()
    {
        done_ = true;
        worker_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread worker_;
};

} // namespace wintest

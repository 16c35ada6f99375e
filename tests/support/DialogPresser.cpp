#include "support/DialogPresser.h"

#include "support/WinTest.h"

namespace wintest {

DialogPresser::DialogPresser(int buttonId, std::function<void(HWND)> inspect)
    : worker_([this, buttonId, inspect] {
          const ULONGLONG end = GetTickCount64() + 10000;
          while (!done_ && GetTickCount64() < end) {
              if (HWND dialog = FindProcessWindow(GetCurrentProcessId(), L"#32770", nullptr)) {
                  if (inspect) inspect(dialog);
                  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                               (LPARAM)GetDlgItem(dialog, buttonId));
                  pressed_ = true;
                  return;
              }
              Sleep(50);
          }
      })
{
}

DialogPresser::~DialogPresser()
{
    done_ = true;
    worker_.join();
}

} // namespace wintest

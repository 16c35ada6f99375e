#include "support/DialogPresser.h"

#include <wchar.h>

namespace wintest {

HWND FindOwnDialog()
{
    struct Search {
        DWORD pid;
        HWND found;
    } search = {GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto *s = (Search *)p;
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            wchar_t cls[16] = L"";
            GetClassNameW(w, cls, 16);
            if (pid == s->pid && wcscmp(cls, L"#32770") == 0 && IsWindowVisible(w)) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&search);
    return search.found;
}

DialogPresser::DialogPresser(int buttonId, std::function<void(HWND)> inspect)
    : worker_([this, buttonId, inspect] {
          const ULONGLONG end = GetTickCount64() + 10000;
          while (!done_ && GetTickCount64() < end) {
              if (HWND dialog = FindOwnDialog()) {
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

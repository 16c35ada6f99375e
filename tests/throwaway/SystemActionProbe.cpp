// The system actions of CSystem for tests/harness/throwaway-actions.sh, which
// runs it in a prefix of its own: the actions end every process of their
// prefix, so it refuses to act in one without the marker file.
//   wait SECONDS [FILE]  a process for an action to end; writes FILE once it runs
//   refuse               actions outside 0-3
//   exec N               ExecWindowsAction(N)
//   force                ForceShutdown, then AbortShutdown
//   version              the operating-system checks
//   saver                exit code 1 when the screen saver is on (a fresh
//                        process reads what another left; a running one
//                        keeps its first look)
#include "system/CSystem.h"

#include <stdio.h>

int wmain(int argc, wchar_t **argv)
{
    const wchar_t *mode = argc > 1 ? argv[1] : L"";
    if (!wcscmp(mode, L"wait")) {
        if (FILE *running = argc > 3 ? _wfopen(argv[3], L"wb") : nullptr) fclose(running);
        Sleep(argc > 2 ? _wtoi(argv[2]) * 1000 : 60000);
        return 0;
    }
    if (!wcscmp(mode, L"version"))
        return printf("nt=%d xp=%d win8=%d\n", CSystem::IsNT(), CSystem::IsWinXPOrHigher(),
                      CSystem::IsWin8OrHigher()) < 0;
    if (!wcscmp(mode, L"saver")) {
        BOOL active = FALSE;
        SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        return active;
    }
    if (GetFileAttributesW(L"C:\\throwaway-prefix.txt") == INVALID_FILE_ATTRIBUTES)
        return printf("refusing: not a throwaway prefix\n"), 2;
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (!wcscmp(mode, L"refuse")) {
        const bool four = CSystem::ExecWindowsAction((CSystem::WindowsActionType)4);
        const bool minus = CSystem::ExecWindowsAction((CSystem::WindowsActionType)-1);
        return printf("refuse 4=%d -1=%d\n", four, minus), four || minus;
    }
    if (!wcscmp(mode, L"exec") && argc > 2) {
        printf("calling %d\n", _wtoi(argv[2]));
        printf("returned %d\n",
               CSystem::ExecWindowsAction((CSystem::WindowsActionType)_wtoi(argv[2])));
        Sleep(30000); // the action is expected to end this process first
        return 3;
    }
    if (!wcscmp(mode, L"force")) {
        const bool force = CSystem::ForceShutdown(nullptr, L"Tempulo test", 30, true, false,
                                                  SHTDN_REASON_MINOR_MAINTENANCE);
        return printf("force=%d abort=%d\n", force, CSystem::AbortShutdown(nullptr)) < 0;
    }
    return 2;
}

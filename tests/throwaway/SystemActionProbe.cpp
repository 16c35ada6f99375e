// Calls the system actions of CSystem for tests/harness/throwaway-actions.sh,
// which runs it in a prefix of its own: these calls end every process of
// the prefix they run in. The program refuses to act anywhere else.
//   SystemActionProbe wait SECONDS [FILE]
//                                     a process for an action to end; it
//                                     writes FILE once it runs
//   SystemActionProbe refuse          actions outside 0-3
//   SystemActionProbe exec N          ExecWindowsAction(N)
//   SystemActionProbe force           ForceShutdown, then AbortShutdown
//   SystemActionProbe version         the operating-system checks
//   SystemActionProbe open FILE URL   writes the URL into FILE: a stand-in
//                                     browser, registered for web addresses
//   SystemActionProbe saver           exit code 1 when the screen saver is
//                                     on: a fresh process reads the setting
//                                     that another one left, where a
//                                     long-running one keeps its first look
#include "system/CSystem.h"

#include <stdio.h>
#include <wchar.h>

namespace {

const wchar_t kMarker[] = L"C:\\throwaway-prefix.txt";

bool InThrowawayPrefix()
{
    return GetFileAttributesW(kMarker) != INVALID_FILE_ATTRIBUTES;
}

void Say(const char *format, int a = 0, int b = 0)
{
    printf(format, a, b);
    printf("\n");
    fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 2) return 2;
    const wchar_t *mode = argv[1];
    if (wcscmp(mode, L"wait") == 0) {
        if (argc > 3)
            if (FILE *running = _wfopen(argv[3], L"wb")) fclose(running);
        Sleep(argc > 2 ? (DWORD)_wtoi(argv[2]) * 1000 : 60000);
        return 0;
    }
    if (wcscmp(mode, L"version") == 0) {
        printf("nt=%d xp=%d win8=%d\n", CSystem::IsNT(), CSystem::IsWinXPOrHigher(),
               CSystem::IsWin8OrHigher());
        return 0;
    }
    if (wcscmp(mode, L"open") == 0 && argc > 3) {
        FILE *out = _wfopen(argv[2], L"wb");
        if (!out) return 1;
        fwrite(argv[3], sizeof(wchar_t), wcslen(argv[3]), out);
        fclose(out);
        return 0;
    }
    if (wcscmp(mode, L"saver") == 0) {
        BOOL active = FALSE;
        SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        return active ? 1 : 0;
    }
    if (!InThrowawayPrefix()) {
        Say("refusing: not a throwaway prefix");
        return 2;
    }
    if (wcscmp(mode, L"refuse") == 0) {
        const bool four = CSystem::ExecWindowsAction((CSystem::WindowsActionType)4);
        const bool minus = CSystem::ExecWindowsAction((CSystem::WindowsActionType)-1);
        Say("refuse 4=%d -1=%d", four, minus);
        return four || minus ? 1 : 0;
    }
    if (wcscmp(mode, L"exec") == 0 && argc > 2) {
        const int action = _wtoi(argv[2]);
        Say("calling %d", action);
        const bool accepted = CSystem::ExecWindowsAction((CSystem::WindowsActionType)action);
        Say("returned %d", accepted);
        Sleep(30000); // the action is expected to end this process first
        return 3;
    }
    if (wcscmp(mode, L"force") == 0) {
        const bool force = CSystem::ForceShutdown(nullptr, L"Tempulo test", 30, true, false,
                                                  SHTDN_REASON_MINOR_MAINTENANCE);
        const bool abort = CSystem::AbortShutdown(nullptr);
        Say("force=%d abort=%d", force, abort);
        return 0;
    }
    return 2;
}

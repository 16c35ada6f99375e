#include "engine/Expiry.h"

#include "engine/Screenshot.h"
#include "engine/Task.h"
#include "engine/Tick.h"
#include "res/resource.h"
#include "settings/Settings.h"
#include "timecalc/CTimeCalc.h"

#include <mmsystem.h>
#include <strsafe.h>

bool (*ExecSystemAction)(CSystem::WindowsActionType action) = CSystem::ExecWindowsAction;

namespace {

// Action choices in the order of the settings page: shut down, reboot, log
// off, power save.
const CSystem::WindowsActionType kActions[] = {CSystem::Shutdown, CSystem::Reboot, CSystem::LogOff,
                                               CSystem::PowerOff};

void LoadText(const tAppData *app, UINT id, wchar_t *text)
{
    text[0] = L'\0';
    LoadStringW(app->Instance, id, text, PATH_CCH);
}

// Message texts end in an empty line, as every message of the program does.
void LoadParagraph(const tAppData *app, UINT id, wchar_t *text)
{
    wchar_t raw[PATH_CCH];
    LoadText(app, id, raw);
    StringCchPrintfW(text, PATH_CCH, L"%s\n\n", raw);
}

void RunSystemAction(tAppData *app, HWND window)
{
    const tSettings &s = app->Settings;
    if (s.TakePrntScrn) TakeScreenshot(app, window, false);
    // The action may end the program before its window can save anything:
    // the position goes with the settings now.
    SaveSettingsAndPosition(app, window);
    if (s.EventNo >= 0 && s.EventNo < (int)(sizeof kActions / sizeof kActions[0]))
        ExecSystemAction(kActions[s.EventNo]);
    PostMessageW(window, WM_CLOSE, 0, 0);
}

void SetTargetToNewYear(tAppData *app, CTimeCalc *calc)
{
    tSettings &s = app->Settings;
    s.Tag = 1;
    s.Monat = 1;
    s.Jahr = calc->GetCurrentValue(Year) + 1;
    s.Stunde = s.Minute = s.Sekunde = 0;
    const CalcValueType fields[6] = {Day, Month, Year, Hour, Minute, Second};
    const int values[6] = {s.Tag, s.Monat, s.Jahr, s.Stunde, s.Minute, s.Sekunde};
    for (int i = 0; i < 6; ++i)
        calc->SetCalcDateValue(fields[i], values[i]);
}

void ShowExpiredMessage(tAppData *app, HWND window, CTimeCalc *calc, bool offerReset)
{
    tSettings &s = app->Settings;
    if (s.SoundEnabled)
        PlaySoundW(MAKEINTRESOURCEW(IDW_ALARM), app->Instance, SND_RESOURCE | SND_ASYNC);
    if (!offerReset) {
        // Only a task that chains its targets can find the next one itself.
        if (s.TaskEnabled && (s.TaskState == TASK_SINCE_LAST || s.TaskState == TASK_WEEKDAYS))
            offerReset = !ComputeTaskTarget(app, calc, false);
        else
            offerReset = true;
    }
    wchar_t text[PATH_CCH], caption[PATH_CCH];
    LoadParagraph(app, IDS_EXPIRED, text);
    LoadText(app, IDS_INFORMATION, caption);
    if (offerReset) {
        wchar_t question[PATH_CCH];
        LoadText(app, IDS_RESET_QUESTION, question);
        StringCchCatW(text, PATH_CCH, question);
        if (MessageBoxW(window, text, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
            IDNO) {
            offerReset = false;
            s.AcceptPast = true;
        }
    } else {
        MessageBoxW(window, text, caption, MB_OK | MB_ICONEXCLAMATION);
    }
    if (s.SoundEnabled) PlaySoundW(nullptr, nullptr, 0);
    if (offerReset) SetTargetToNewYear(app, calc);
}

} // namespace

bool ValidateTarget(tAppData *app, HWND window, CTimeCalc *calc)
{
    if (calc->CalcDateIsValid()) return true;
    wchar_t format[PATH_CCH], text[PATH_CCH], caption[PATH_CCH];
    LoadText(app, IDS_INVALID_DATE, format);
    StringCchPrintfW(text, PATH_CCH, format, calc->MinYear, calc->MaxYear);
    // A caption is one line: the empty line that ends the texts is left off.
    LoadText(app, IDS_INFORMATION, caption);
    MessageBoxW(window, text, caption, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool CheckExpiry(tAppData *app, HWND window, CTimeCalc *calc, bool initial)
{
    tSettings &s = app->Settings;
    bool offerReset = false;
    if (initial && !ValidateTarget(app, window, calc)) return false;
    if ((initial || app->SettingsApplied) && s.TaskEnabled)
        offerReset = !ComputeTaskTarget(app, calc, initial);

    if (!calc->CalcDateExpired() || s.AcceptPast) {
        if (initial) StartTickTimer(window);
        app->SettingsApplied = false;
        return true;
    }

    if (!initial) StopTickTimer(window);
    if (GetWindowLongPtrW(window, GWL_STYLE) & WS_MINIMIZE) ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    if (!initial && !app->SettingsApplied && s.Event != EVENT_MESSAGE) {
        if (s.Event == EVENT_SYSTEM_ACTION) {
            RunSystemAction(app, window);
            return true;
        }
        // Any other event only brings the window to the front, every second.
        StartTickTimer(window);
        app->SettingsApplied = false;
        return true;
    }
    ShowExpiredMessage(app, window, calc, offerReset);
    StartTickTimer(window);
    app->SettingsApplied = false;
    return true;
}

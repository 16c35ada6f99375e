#include "settings/Settings.h"

#include "font/CFont.h"
#include "registry/CRegistry.h"
#include "settings/DisplayFormat.h"

#include <strsafe.h>

namespace {

const wchar_t kWindowsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
const wchar_t kRunSubKey[] = L"Run";
const wchar_t kRunValue[] = L"Tempulo";

void EnsureRegistryKey(tAppData *app)
{
    if (app->RegistryKey[0] == L'\0') StringCchCopyW(app->RegistryKey, NAME_CCH, app->ClassName);
}

// Reads, writes and range checks of one settings pass over one key.
class Store {
public:
    explicit Store(const wchar_t *key) : reg_(key, RegCurrentUser) {}

    int Int(const wchar_t *sub, const wchar_t *name, int def)
    {
        return reg_.ReadValue(sub, name, def);
    }
    // Only an exact 1 is true: anything else another program or a hand edit
    // left there reads as false.
    bool Bool(const wchar_t *sub, const wchar_t *name, bool def)
    {
        return reg_.ReadValue(sub, name, def ? 1 : 0) == 1;
    }
    DWORD Dword(const wchar_t *sub, const wchar_t *name, DWORD def)
    {
        return reg_.ReadValue(sub, name, def);
    }
    void Text(const wchar_t *sub, const wchar_t *name, wchar_t *field, size_t cch)
    {
        wchar_t def[PATH_CCH];
        StringCchCopyW(def, PATH_CCH, field);
        StringCchCopyW(field, cch, reg_.ReadValue(sub, name, (const wchar_t *)def));
    }

    void Put(const wchar_t *sub, const wchar_t *name, int value)
    {
        reg_.WriteValue(sub, name, value);
    }
    void Put(const wchar_t *sub, const wchar_t *name, bool value)
    {
        reg_.WriteValue(sub, name, value ? 1 : 0);
    }
    void Put(const wchar_t *sub, const wchar_t *name, DWORD value)
    {
        reg_.WriteValue(sub, name, value);
    }
    void Put(const wchar_t *sub, const wchar_t *name, const wchar_t *value)
    {
        reg_.WriteValue(sub, name, value);
    }

private:
    CRegistry reg_;
};

void ColorValueName(int index, wchar_t *out, size_t cch)
{
    StringCchPrintfW(out, cch, index < 10 ? L"RgbColors0%d" : L"RgbColors%d", index);
}

void LoadFont(tAppData *app, Store &store)
{
    CFont fallback;
    CFont *current = app->Font ? app->Font : &fallback;
    wchar_t face[PATH_CCH];
    StringCchCopyW(face, PATH_CCH, current->GetFaceName());
    store.Text(L"Font", L"FaceName", face, PATH_CCH);
    const long weight = store.Int(L"Font", L"Weight", current->GetWeight());
    const long height = store.Int(L"Font", L"Height", current->GetHeight());
    const BYTE italic = (BYTE)store.Int(L"Font", L"Italic", current->GetItalic());
    const BYTE underline = (BYTE)store.Int(L"Font", L"Underline", current->GetUnderline());
    const BYTE strikeOut = (BYTE)store.Int(L"Font", L"StrikeOut", current->GetStrikeOut());
    // The long overload: the stored height is a logical height, not points.
    CFont *font = new CFont(face, weight, height, italic, underline, strikeOut);
    font->SetColor((COLORREF)store.Int(L"Font", L"RGB", (int)font->GetColor()));
    delete app->Font;
    app->Font = font;
}

void WriteAutoStart(const tAppData *app)
{
    CRegistry windows(kWindowsKey, RegCurrentUser, false);
    const tSettings &s = app->Settings;
    if (s.AutoStart && s.AppPath[0]) {
        // Quoted, so that a path with blanks cannot be taken for a shorter
        // program path followed by arguments.
        wchar_t command[PATH_CCH + 2];
        StringCchPrintfW(command, _countof(command), L"\"%s\"", s.AppPath);
        windows.WriteValue(kRunSubKey, kRunValue, (const wchar_t *)command);
    } else {
        windows.DeleteValue(kRunSubKey, kRunValue);
    }
}

} // namespace

void LoadSettings(tAppData *app)
{
    if (!app) return;
    EnsureRegistryKey(app);
    Store store(app->RegistryKey);
    tSettings &s = app->Settings;

    s.AutoStart = store.Bool(L"Option", L"AutoStart", s.AutoStart) && s.IsLocalDrive;
    s.TabIndex = store.Int(L"Common", L"TabIndex", s.TabIndex);

    LoadFont(app, store);

    s.FontType = store.Int(L"Option", L"FontType", s.FontType);
    if (s.FontType < 1 || s.FontType > 3) s.FontType = 1;
    s.BackColor = (COLORREF)store.Int(L"Colors", L"BackColor", (int)s.BackColor);
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) {
        wchar_t name[16];
        ColorValueName(i, name, _countof(name));
        s.RgbColors[i] = store.Dword(L"Colors", name, s.RgbColors[i]);
    }
    s.FormatNo = store.Int(L"Option", L"FormatNo", s.FormatNo);
    if ((unsigned)s.FormatNo > 3) s.FormatNo = 0;
    if (app->Layout) SetDisplayFormat(app->Layout, DisplayFormatOf(s.FormatNo), s.FontType != 2);

    s.Tag = store.Int(L"Basis", L"Tag", s.Tag);
    s.Monat = store.Int(L"Basis", L"Monat", s.Monat);
    s.Jahr = store.Int(L"Basis", L"Jahr", s.Jahr);
    s.Stunde = store.Int(L"Basis", L"Stunde", s.Stunde);
    s.Minute = store.Int(L"Basis", L"Minute", s.Minute);

    s.TickEnabled = store.Bool(L"Option", L"TickEnabled", s.TickEnabled);
    s.TickAtLastSecondsEnabled =
        store.Bool(L"Option", L"TickAtLastSecondsEnabled", s.TickAtLastSecondsEnabled);
    s.AcceptPast = store.Bool(L"Option", L"AcceptPast", s.AcceptPast);

    s.SpecialDay = store.Int(L"Calc", L"SpecialDay", s.SpecialDay);
    s.SpecialYear = store.Int(L"Calc", L"SpecialYear", s.SpecialYear);
    s.SetTime = store.Bool(L"Calc", L"SetTime", s.SetTime);
    s.SetPlus = store.Bool(L"Calc", L"SetPlus", s.SetPlus);
    s.TD_Tag = store.Int(L"Calc", L"TD_Tag", s.TD_Tag);
    s.TD_Monat = store.Int(L"Calc", L"TD_Monat", s.TD_Monat);
    s.TD_Jahr = store.Int(L"Calc", L"TD_Jahr", s.TD_Jahr);
    s.TD_Stunde = store.Int(L"Calc", L"TD_Stunde", s.TD_Stunde);
    s.TD_Minute = store.Int(L"Calc", L"TD_Minute", s.TD_Minute);
    s.TD_Sekunde = store.Int(L"Calc", L"TD_Sekunde", s.TD_Sekunde);

    s.Zoom = store.Int(L"Common", L"Zoom", s.Zoom);
    s.Front = store.Bool(L"Common", L"Front", s.Front);
    s.Use1Monitor = store.Bool(L"Common", L"Use1Monitor", s.Use1Monitor);
    s.ShowInTaskbar = store.Bool(L"Common", L"ShowInTaskbar", s.ShowInTaskbar);
    s.TaskbarChanged = s.ShowInTaskbar;
    s.PosVertikal = store.Int(L"Common", L"PosVertikal", s.PosVertikal);
    s.PosHorizontal = store.Int(L"Common", L"PosHorizontal", s.PosHorizontal);
    s.IsFreePos = store.Bool(L"Common", L"IsFreePos", s.IsFreePos);

    s.PositionLeft = store.Int(L"position", L"left", POSITION_UNKNOWN);
    s.PositionTop = store.Int(L"position", L"top", POSITION_UNKNOWN);

    s.Event = store.Int(L"Action", L"Event", s.Event);
    s.EventNo = store.Int(L"Action", L"EventNo", s.EventNo);
    if (s.EventNo < 0 || s.EventNo > 3) s.EventNo = 0;
    s.SoundEnabled = store.Bool(L"Action", L"SoundEnabled", s.SoundEnabled);
    s.TakePrntScrn = store.Bool(L"Action", L"TakePrntScrn", s.TakePrntScrn);
    s.ExtensionNo = store.Int(L"Action", L"ExtensionNo", s.ExtensionNo);
    store.Text(L"Action", L"PrntScrnPath", s.PrntScrnPath, PATH_CCH);

    s.TaskEnabled = store.Bool(L"Task", L"TaskEnabled", s.TaskEnabled);
    s.IsMo = store.Bool(L"Task", L"IsMo", s.IsMo);
    s.IsDi = store.Bool(L"Task", L"IsDi", s.IsDi);
    s.IsMi = store.Bool(L"Task", L"IsMi", s.IsMi);
    s.IsDo = store.Bool(L"Task", L"IsDo", s.IsDo);
    s.IsFr = store.Bool(L"Task", L"IsFr", s.IsFr);
    s.IsSa = store.Bool(L"Task", L"IsSa", s.IsSa);
    s.IsSo = store.Bool(L"Task", L"IsSo", s.IsSo);
    s.TaskState = store.Int(L"Task", L"TaskState", s.TaskState);
    s.Start_Stunde = store.Int(L"Task", L"Start_Stunde", s.Start_Stunde);
    s.Start_Minute = store.Int(L"Task", L"Start_Minute", s.Start_Minute);
    s.Count_Stunde = store.Int(L"Task", L"Count_Stunde", s.Count_Stunde);
    s.Count_Minute = store.Int(L"Task", L"Count_Minute", s.Count_Minute);
    s.Jeweils_Stunde = store.Int(L"Task", L"Jeweils_Stunde", s.Jeweils_Stunde);
    s.Jeweils_Minute = store.Int(L"Task", L"Jeweils_Minute", s.Jeweils_Minute);
}

void SaveSettings(tAppData *app)
{
    if (!app) return;
    EnsureRegistryKey(app);
    Store store(app->RegistryKey);
    const tSettings &s = app->Settings;

    WriteAutoStart(app);

    store.Put(L"Option", L"AutoStart", s.AutoStart);
    store.Put(L"Common", L"TabIndex", s.TabIndex);
    store.Put(L"Option", L"FontType", s.FontType);
    if (app->Font) {
        CFont *font = app->Font;
        store.Put(L"Font", L"FaceName", font->GetFaceName());
        store.Put(L"Font", L"Weight", (int)font->GetWeight());
        store.Put(L"Font", L"Height", (int)font->GetHeight());
        store.Put(L"Font", L"Italic", (int)font->GetItalic());
        store.Put(L"Font", L"Underline", (int)font->GetUnderline());
        store.Put(L"Font", L"StrikeOut", (int)font->GetStrikeOut());
        store.Put(L"Font", L"RGB", (DWORD)font->GetColor());
    }
    store.Put(L"Colors", L"BackColor", (DWORD)s.BackColor);
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) {
        wchar_t name[16];
        ColorValueName(i, name, _countof(name));
        store.Put(L"Colors", name, (int)s.RgbColors[i]);
    }
    store.Put(L"Option", L"FormatNo", s.FormatNo);

    store.Put(L"Basis", L"Tag", s.Tag);
    store.Put(L"Basis", L"Monat", s.Monat);
    store.Put(L"Basis", L"Jahr", s.Jahr);
    store.Put(L"Basis", L"Stunde", s.Stunde);
    store.Put(L"Basis", L"Minute", s.Minute);

    store.Put(L"Option", L"TickEnabled", s.TickEnabled);
    store.Put(L"Option", L"TickAtLastSecondsEnabled", s.TickAtLastSecondsEnabled);
    store.Put(L"Option", L"AcceptPast", s.AcceptPast);

    store.Put(L"Calc", L"SpecialDay", s.SpecialDay);
    store.Put(L"Calc", L"SpecialYear", s.SpecialYear);
    store.Put(L"Calc", L"SetTime", s.SetTime);
    store.Put(L"Calc", L"SetPlus", s.SetPlus);
    store.Put(L"Calc", L"TD_Tag", s.TD_Tag);
    store.Put(L"Calc", L"TD_Monat", s.TD_Monat);
    store.Put(L"Calc", L"TD_Jahr", s.TD_Jahr);
    store.Put(L"Calc", L"TD_Stunde", s.TD_Stunde);
    store.Put(L"Calc", L"TD_Minute", s.TD_Minute);
    store.Put(L"Calc", L"TD_Sekunde", s.TD_Sekunde);

    store.Put(L"Common", L"Zoom", s.Zoom);
    store.Put(L"Common", L"Front", s.Front);
    // A freely placed window belongs to no one monitor: the next start must
    // not pin it to one.
    store.Put(L"Common", L"Use1Monitor", s.IsFreePos ? false : s.Use1Monitor);
    store.Put(L"Common", L"ShowInTaskbar", s.ShowInTaskbar);
    store.Put(L"Common", L"PosVertikal", s.PosVertikal);
    store.Put(L"Common", L"PosHorizontal", s.PosHorizontal);
    store.Put(L"Common", L"IsFreePos", s.IsFreePos);

    store.Put(L"Action", L"Event", s.Event);
    store.Put(L"Action", L"EventNo", s.EventNo);
    store.Put(L"Action", L"SoundEnabled", s.SoundEnabled);
    store.Put(L"Action", L"TakePrntScrn", s.TakePrntScrn);
    store.Put(L"Action", L"ExtensionNo", s.ExtensionNo);
    store.Put(L"Action", L"PrntScrnPath", (const wchar_t *)s.PrntScrnPath);

    store.Put(L"Task", L"TaskEnabled", s.TaskEnabled);
    store.Put(L"Task", L"IsMo", s.IsMo);
    store.Put(L"Task", L"IsDi", s.IsDi);
    store.Put(L"Task", L"IsMi", s.IsMi);
    store.Put(L"Task", L"IsDo", s.IsDo);
    store.Put(L"Task", L"IsFr", s.IsFr);
    store.Put(L"Task", L"IsSa", s.IsSa);
    store.Put(L"Task", L"IsSo", s.IsSo);
    store.Put(L"Task", L"TaskState", s.TaskState);
    store.Put(L"Task", L"Start_Stunde", s.Start_Stunde);
    store.Put(L"Task", L"Start_Minute", s.Start_Minute);
    store.Put(L"Task", L"Count_Stunde", s.Count_Stunde);
    store.Put(L"Task", L"Count_Minute", s.Count_Minute);
    store.Put(L"Task", L"Jeweils_Stunde", s.Jeweils_Stunde);
    store.Put(L"Task", L"Jeweils_Minute", s.Jeweils_Minute);
}

void SaveSettingsAndPosition(tAppData *app, HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    SaveWindowPosition(app, r.left, r.top);
    SaveSettings(app);
}

void SaveWindowPosition(tAppData *app, int left, int top)
{
    if (!app) return;
    EnsureRegistryKey(app);
    Store store(app->RegistryKey);
    store.Put(L"position", L"left", left);
    store.Put(L"position", L"top", top);
}

#include "font/CFont.h"
#include "settings/AppData.h"
#include "settings/DisplayFormat.h"
#include "system/CSystem.h"
#include "timecalc/CTimeCalc.h"

#include <strsafe.h>

namespace {

const COLORREF kDefaultCustomColors[CUSTOM_COLOR_COUNT] = {
    0x000000, 0xC80000, 0x4BA532, 0xB4AA19, 0x2828B4, 0xB428AA, 0x0050A0, 0xAAAAAA,
    0x646464, 0xF08C32, 0x64FA46, 0xF0E650, 0x5A64F0, 0xF064F0, 0x28FAFA, 0xFFFFFF};

} // namespace

void ApplyDefaults(tAppData *app)
{
    tSettings &s = app->Settings;
    s.AutoStart = false;
    s.FontType = 2;
    s.TabIndex = 0;
    s.BackColor = 0x000000;
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        s.RgbColors[i] = kDefaultCustomColors[i];
    delete app->Font;
    app->Font = new CFont(L"Times New Roman", 24);
    app->Font->SetColor(0x0000FF);
    s.FormatNo = 0;
    SetDisplayFormat(app->Layout, DisplayFormatOf(s.FormatNo), s.FontType != 2);

    CTimeCalc now;
    s.Tag = 1;
    s.Monat = 1;
    s.Jahr = now.GetCurrentValue(Year) + 1;
    s.Stunde = 0;
    s.Minute = 0;
    s.Sekunde = 0;
    const CalcValueType launchFields[6] = {Day, Month, Year, Hour, Minute, Second};
    for (int i = 0; i < 6; ++i)
        s.LaunchTime[i] = now.GetCurrentValue(launchFields[i]);

    s.TickAtLastSecondsEnabled = true;
    s.AcceptPast = false;
    s.TickEnabled = false;
    s.SpecialDay = 0;
    s.SpecialYear = s.Jahr;
    s.SetTime = true;
    s.SetPlus = true;
    s.TD_Tag = s.TD_Monat = s.TD_Jahr = 0;
    s.TD_Stunde = s.TD_Minute = s.TD_Sekunde = 0;
    s.Front = true;
    s.Use1Monitor = false;
    s.Zoom = 1;
    s.ShowInTaskbar = false;
    s.TaskbarChanged = false;
    s.PosHorizontal = 2;
    s.PosVertikal = 0;
    s.IsFreePos = false;
    s.Event = 1;
    s.EventNo = 2;
    s.SoundEnabled = false;
    s.TakePrntScrn = true;
    s.ExtensionNo = 0;
    CSystem *system = new CSystem();
    StringCchCopyW(s.PrntScrnPath, PATH_CCH, system->GetMyPrntScrnDir());
    delete system;
    s.TaskEnabled = false;
    s.IsMo = s.IsDi = s.IsMi = s.IsDo = s.IsFr = s.IsSa = s.IsSo = false;
    s.TaskState = 1;
    s.Start_Stunde = s.Start_Minute = 0;
    s.Count_Stunde = s.Count_Minute = 0;
    s.Jeweils_Stunde = s.Jeweils_Minute = 0;
}

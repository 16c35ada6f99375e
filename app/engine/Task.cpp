#include "engine/Task.h"

#include "timecalc/CTimeCalc.h"

namespace {

const CalcValueType kTargetFields[6] = {Day, Month, Year, Hour, Minute, Second};

bool SinceStart(tAppData *app, CTimeCalc *calc, bool initial)
{
    // Only the start-up counts: later checks keep the target it gave.
    if (!initial) return true;
    const tSettings &s = app->Settings;
    for (int i = 0; i < 6; ++i)
        calc->SetCalcDateValue(kTargetFields[i], s.LaunchTime[i]);
    calc->CalculateDate(true, 0, 0, 0, s.Start_Stunde, s.Start_Minute, 0);
    if (calc->CalcDateExpired()) {
        // An interval of nothing (or a start-up time long gone) counts from
        // now instead.
        for (int i = 0; i < 6; ++i)
            calc->SetCalcDateValue(kTargetFields[i], calc->GetCurrentValue(kTargetFields[i]));
        calc->CalculateDate(true, 0, 0, 0, s.Start_Stunde, s.Start_Minute, 0);
    }
    StoreTarget(app, calc);
    return true;
}

bool SinceLast(tAppData *app, CTimeCalc *calc)
{
    if (!calc->CalcDateExpired()) return true;
    const tSettings &s = app->Settings;
    calc->CalculateDate(true, 0, 0, 0, s.Count_Stunde, s.Count_Minute, 0);
    // One interval is all the task adds: a target that is still past means
    // the program was away for longer, and the user decides what follows.
    if (calc->CalcDateExpired()) return false;
    StoreTarget(app, calc);
    return true;
}

bool OnWeekdays(tAppData *app, CTimeCalc *calc)
{
    const tSettings &s = app->Settings;
    const bool chosen[7] = {s.IsSo, s.IsMo, s.IsDi, s.IsMi, s.IsDo, s.IsFr, s.IsSa};
    // The caller's object may hold a target that failed validation; from
    // here on it is a fresh one whose target starts as now.
    *calc = CTimeCalc();
    calc->SetCalcDateValue(Hour, s.Jeweils_Stunde);
    calc->SetCalcDateValue(Minute, s.Jeweils_Minute);
    calc->SetCalcDateValue(Second, 0);
    // Seven tries reach the same weekday of next week, which is the answer
    // when today is the only day chosen and its time has passed.
    for (int i = 0; i < 7; ++i) {
        const long weekday = calc->GetCalcDateValue(DayOfWeek);
        if (weekday >= 0 && weekday <= 6 && chosen[weekday] && !calc->CalcDateExpired()) break;
        calc->CalculateDate(true, 1, 0, 0, 0, 0, 0);
    }
    StoreTarget(app, calc);
    return true;
}

} // namespace

bool ComputeTaskTarget(tAppData *app, CTimeCalc *calc, bool initial)
{
    if (!app || !calc) return false;
    switch (app->Settings.TaskState) {
    case TASK_SINCE_START: return SinceStart(app, calc, initial);
    case TASK_SINCE_LAST: return SinceLast(app, calc);
    case TASK_WEEKDAYS: return OnWeekdays(app, calc);
    }
    return true;
}

void StoreTarget(tAppData *app, CTimeCalc *calc)
{
    if (!app || !calc) return;
    tSettings &s = app->Settings;
    s.Tag = calc->GetCalcDateValue(Day);
    s.Monat = calc->GetCalcDateValue(Month);
    s.Jahr = calc->GetCalcDateValue(Year);
    s.Stunde = calc->GetCalcDateValue(Hour);
    s.Minute = calc->GetCalcDateValue(Minute);
    s.Sekunde = calc->GetCalcDateValue(Second);
}

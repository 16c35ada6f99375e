// The scheduled task: a target computed from program start, from the
// previous target, or from the chosen weekdays.
#pragma once

#include "settings/AppData.h"

class CTimeCalc;

enum { TASK_SINCE_START = 1, TASK_SINCE_LAST = 2, TASK_WEEKDAYS = 3 };

// Computes the task's target on the tick's date object and stores it in
// the settings. False only when the interval after the previous target
// still lies in the past; the stored target is then left as it was.
bool ComputeTaskTarget(tAppData *app, CTimeCalc *calc, bool initial);

// The object's target becomes the stored one (Tag ... Sekunde).
void StoreTarget(tAppData *app, CTimeCalc *calc);

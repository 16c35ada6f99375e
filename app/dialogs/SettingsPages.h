// The five pages of the settings dialog: filling them from the live
// settings, checking them and storing them back.
#pragma once

#include <windows.h>

class CTimeCalc;

enum { PAGE_DISPLAY, PAGE_CALC, PAGE_WINDOW, PAGE_ACTION, PAGE_TASK, PAGE_COUNT };

// The page table lives in the settings dialog's DWLP_USER.
struct tPageTable {
    HWND Pages[PAGE_COUNT];
    // Whether the main window showed a taskbar button when the dialog
    // opened: a reset changes the setting, not the window.
    bool TaskbarShown;
    // The colour button's picture, which the button never frees.
    HBITMAP Swatch;
};

// The settings dialog's table, and one of its pages; null when the table is
// not there.
tPageTable *PageTable(HWND dialog);
HWND SettingsPage(HWND dialog, int index);

// How a number is shown in an edit: "07" or "7", and whether 0 and
// negative values leave the edit empty.
enum NumberRule { NUMBER_TWO_DIGIT, NUMBER_PLAIN, NUMBER_BLANK_TWO_DIGIT, NUMBER_BLANK_PLAIN };
void SetNumber(HWND box, int id, int value, NumberRule rule);
// The edit read as an unsigned number: 0 for an empty or non-numeric text.
int ReadNumber(HWND box, int id);

// The calculation page shows the object's target date and time, or gives
// its own (second 0) to the object.
void FillTargetFields(HWND page, CTimeCalc *calc);
void ReadTargetFields(HWND page, CTimeCalc *calc);

void InitSettingsPages(HWND dialog);
// False after it has shown why the target or the task cannot be accepted.
bool ValidateSettingsPages(HWND dialog);
// Stores every page into the live settings once they are valid.
bool ReadSettingsPages(HWND dialog);
// Enables and shows the controls that the check boxes and modes allow.
void UpdatePageStates(HWND dialog);

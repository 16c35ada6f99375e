#include "dialogs/SettingsDlg.h"

INT_PTR RunSettingsDialog(HWND)
{
    // The pages are not there yet: nothing to confirm.
    return IDCANCEL;
}

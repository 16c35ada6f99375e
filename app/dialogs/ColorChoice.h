// The background colour: the platform's colour chooser and the swatch on
// the display page.
#pragma once

#include <windows.h>

// Edits the dialog's working copy of the colours; true when the user
// confirmed a colour.
bool ChooseBackColor(HWND owner);

// Paints the colour button of the settings dialog with the working colour.
void ShowColorSwatch(HWND dialog);
// The button's last swatch, freed once the button has gone.
void FreeColorSwatch(HWND dialog);

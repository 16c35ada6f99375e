// The face: thirteen prepared character images and one cell per character
// of the display format.
#pragma once

#include "settings/AppData.h"

// Fills the empty images in app->Images for the face type, font and
// background colour, and lays out the cells of app->Layout->Format for the
// zoom factor. Always succeeds: an image that cannot be made stays empty and
// its cells are as wide as it is.
bool BuildFace(tAppData *app, HWND window);

// The window's dots per inch: 96 at 100 %, and for a window the system
// scales itself.
int FaceDpi(HWND window);

// Index of the image that shows the character, or -1.
int FaceImageIndex(wchar_t character);

// Plain exported functions that create and delete library objects, for
// programs that load the library at run time and look functions up by name.
// Every Dispose function accepts null.
#pragma once

#include "PictavoApi.h"

#include <windows.h>

class PictavoLibInfo;
class CSystem;
class CIcon;
class CFont;
class CImage;
class CSupportedGraphic;

PICTAVO_CAPI PictavoLibInfo *CreatePictavoLibInfo();
PICTAVO_CAPI void DisposePictavoLibInfo(PictavoLibInfo *info);
PICTAVO_CAPI CSystem *CreateCSystemClass();
PICTAVO_CAPI void DisposeCSystemClass(CSystem *system);
PICTAVO_CAPI CSupportedGraphic *CreateCSupportedGraphicClass();
PICTAVO_CAPI void DisposeCSupportedGraphicClass(CSupportedGraphic *table);
// The disposer releases the image's bitmap and its file-format state too.
PICTAVO_CAPI CImage *CreateCImageClass();
PICTAVO_CAPI void DisposeCImageClass(CImage *image);
PICTAVO_CAPI CIcon *CreateCIconClass();
PICTAVO_CAPI void DisposeCIconClass(CIcon *icon);
// A regular-weight font of the face at a size in points, with the three
// style bytes as given.
PICTAVO_CAPI CFont *CreateCFontClass(const wchar_t *faceName, int points, BYTE italic,
                                     BYTE underline, BYTE strikeOut);
PICTAVO_CAPI void DisposeCFontClass(CFont *font);

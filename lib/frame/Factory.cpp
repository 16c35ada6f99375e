#include "frame/Factory.h"

#include "font/CFont.h"
#include "frame/CIcon.h"
#include "frame/PictavoLibInfo.h"
#include "imaging/CImage.h"
#include "imaging/CSupportedGraphic.h"
#include "system/CSystem.h"

#include <new>

// No exception may cross these plain functions: a failed allocation gives
// null.

PictavoLibInfo *CreatePictavoLibInfo()
{
    return new (std::nothrow) PictavoLibInfo();
}
void DisposePictavoLibInfo(PictavoLibInfo *info)
{
    delete info;
}

CSystem *CreateCSystemClass()
{
    return new (std::nothrow) CSystem();
}
void DisposeCSystemClass(CSystem *system)
{
    delete system;
}

CSupportedGraphic *CreateCSupportedGraphicClass()
{
    return new (std::nothrow) CSupportedGraphic();
}
void DisposeCSupportedGraphicClass(CSupportedGraphic *table)
{
    delete table;
}

CImage *CreateCImageClass()
{
    return new (std::nothrow) CImage();
}
void DisposeCImageClass(CImage *image)
{
    delete image;
}

CIcon *CreateCIconClass()
{
    return new (std::nothrow) CIcon();
}
void DisposeCIconClass(CIcon *icon)
{
    delete icon;
}

CFont *CreateCFontClass(const wchar_t *faceName, int points, BYTE italic, BYTE underline,
                        BYTE strikeOut)
{
    return new (std::nothrow)
        CFont(faceName, (long)FW_NORMAL, points, italic, underline, strikeOut);
}
void DisposeCFontClass(CFont *font)
{
    delete font;
}

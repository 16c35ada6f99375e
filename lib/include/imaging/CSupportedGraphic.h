// The graphic file types the library knows, and the texts built from them:
// open and save dialog filters, save names and extensions, name completion
// and the path test. Whether a type really loads or saves is up to CImage.
#pragma once

#include "PictavoApi.h"

class PICTAVO_API CSupportedGraphic {
public:
    enum SupportedType { AllFormats = 0, GraphicFormats = 1, MandelFormat = 2 };

    CSupportedGraphic();
    ~CSupportedGraphic();

    int CountTypesForLoad(SupportedType group);
    int CountTypesForSave(SupportedType group);

    // Filters for the common dialogs: shown text and pattern alternating,
    // each null-terminated, the whole ended by one more null character.
    const wchar_t *GetLoadDlgFilter(SupportedType group);
    const wchar_t *GetSaveDlgFilter(SupportedType group);

    // "Description (*.ext)" and ".ext" of the index-th save type. Both
    // share one buffer with GetSaveDlgFilter: copy before the next call.
    const wchar_t *GetNameForSave(SupportedType group, int index);
    const wchar_t *GetFileFilterForSave(SupportedType group, int index);

    // After a save dialog: a name without any dot gets the extension of the
    // chosen filter (index counted from 1). Empty for an unsupported group
    // and for a name too long to take the extension.
    const wchar_t *CheckSavefileName(SupportedType group, const wchar_t *name, int filterIndex);
    // Whether the file name of a full path (one with a backslash) has an
    // extension of the group.
    bool IsSupportedFiletype(SupportedType group, const wchar_t *path);

private:
    const wchar_t *GetDescription(unsigned type);
    const wchar_t *GetFileFilter(unsigned type, bool forSave);

    wchar_t CompletedName[260];
    wchar_t Spare[260];
    wchar_t LoadFilter[520];
    wchar_t SaveFilter[410];
};

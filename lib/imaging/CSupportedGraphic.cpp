#include "imaging/CSupportedGraphic.h"

#include <windows.h>

#include <cwchar>
#include <strsafe.h>

namespace {

struct FileType {
    unsigned number;
    const wchar_t *description;
    const wchar_t *pattern; // open dialog, after "*"
    const wchar_t *extension;
};

const FileType kTypes[] = {
    {901, L"Windows Bitmap", L".bmp", L".bmp"},
    {905, L"Graphics Interchange", L".gif", L".gif"},
    {906, L"Windows Icon", L".ico", L".ico"},
    {907, L"JPEG File Interchange Format", L".jpg;*.jpeg", L".jpg"},
    {911, L"Portable Network Graphics", L".png", L".png"},
    {912, L"Portable Pixelmap", L".ppm", L".ppm"},
    {914, L"Raw Dateiformat", L".raw", L".raw"},
    {916, L"Truevision Targa", L".tga", L".tga"},
    {917, L"Tagged Image Fileformat", L".tif;*.tiff", L".tif"},
    {918, L"Windows Metafile", L".wmf", L".wmf"},
    {950, L"Mandelbrot", L".mab", L".mab"},
};

struct TypeList {
    const unsigned *types;
    int count;
};

const unsigned kAllLoad[] = {901, 905, 906, 907, 911, 912, 914, 916, 917, 918, 950};
const unsigned kAllSave[] = {901, 905, 907, 911, 917, 918, 950};
const unsigned kGraphicLoad[] = {901, 905, 906, 907, 911, 912, 914, 916, 917, 918};
const unsigned kGraphicSave[] = {901, 905, 907, 911, 917, 918};
const unsigned kMandel[] = {950};

const wchar_t kEmpty[] = L"";
const wchar_t kAllSupported[] = L"Alle unterstützten Formate";

TypeList LoadList(CSupportedGraphic::SupportedType group)
{
    switch (group) {
    case CSupportedGraphic::AllFormats: return {kAllLoad, 11};
    case CSupportedGraphic::GraphicFormats: return {kGraphicLoad, 10};
    case CSupportedGraphic::MandelFormat: return {kMandel, 1};
    }
    return {nullptr, 0};
}

TypeList SaveList(CSupportedGraphic::SupportedType group)
{
    switch (group) {
    case CSupportedGraphic::AllFormats: return {kAllSave, 7};
    case CSupportedGraphic::GraphicFormats: return {kGraphicSave, 6};
    case CSupportedGraphic::MandelFormat: return {kMandel, 1};
    }
    return {nullptr, 0};
}

const FileType *Find(unsigned number)
{
    for (const FileType &t : kTypes)
        if (t.number == number) return &t;
    return nullptr;
}

// Appends one null-terminated piece to a list of pieces that `used`
// characters already fill; false when it does not fit, leaving room for the
// final terminator.
bool AppendPiece(wchar_t *buffer, size_t capacity, size_t &used, const wchar_t *a,
                 const wchar_t *b = L"", const wchar_t *c = L"", const wchar_t *d = L"")
{
    wchar_t piece[260];
    if (FAILED(StringCchPrintfW(piece, 260, L"%s%s%s%s", a, b, c, d))) return false;
    const size_t length = wcslen(piece);
    if (used + length + 2 > capacity) return false;
    wmemcpy(buffer + used, piece, length + 1);
    used += length + 1;
    buffer[used] = L'\0';
    return true;
}

} // namespace

CSupportedGraphic::CSupportedGraphic() : CompletedName{}, Spare{}, LoadFilter{}, SaveFilter{} {}

CSupportedGraphic::~CSupportedGraphic() = default;

const wchar_t *CSupportedGraphic::GetDescription(unsigned type)
{
    const FileType *t = Find(type);
    return t ? t->description : kEmpty;
}

const wchar_t *CSupportedGraphic::GetFileFilter(unsigned type, bool forSave)
{
    const FileType *t = Find(type);
    if (!t) return kEmpty;
    return forSave ? t->extension : t->pattern;
}

int CSupportedGraphic::CountTypesForLoad(SupportedType group)
{
    return LoadList(group).count;
}

int CSupportedGraphic::CountTypesForSave(SupportedType group)
{
    return SaveList(group).count;
}

const wchar_t *CSupportedGraphic::GetLoadDlgFilter(SupportedType group)
{
    const TypeList list = LoadList(group);
    if (list.count == 0) return kEmpty;
    LoadFilter[0] = LoadFilter[1] = L'\0';
    size_t used = 0;
    wchar_t combined[260] = L"";
    for (int i = 0; i < list.count; ++i) {
        const wchar_t *pattern = GetFileFilter(list.types[i], false);
        wchar_t shown[100];
        StringCchPrintfW(shown, 100, L"%s (*%s)", GetDescription(list.types[i]), pattern);
        AppendPiece(LoadFilter, 520, used, shown);
        AppendPiece(LoadFilter, 520, used, L"*", pattern);
        StringCchCatW(combined, 260, i == 0 ? L"*" : L";*");
        StringCchCatW(combined, 260, pattern);
    }
    AppendPiece(LoadFilter, 520, used, kAllSupported);
    AppendPiece(LoadFilter, 520, used, combined);
    return LoadFilter;
}

const wchar_t *CSupportedGraphic::GetSaveDlgFilter(SupportedType group)
{
    const TypeList list = SaveList(group);
    if (list.count == 0) return kEmpty;
    SaveFilter[0] = SaveFilter[1] = L'\0';
    size_t used = 0;
    for (int i = 0; i < list.count; ++i) {
        const wchar_t *extension = GetFileFilter(list.types[i], true);
        wchar_t shown[100];
        StringCchPrintfW(shown, 100, L"%s (*%s)", GetDescription(list.types[i]), extension);
        AppendPiece(SaveFilter, 410, used, shown);
        AppendPiece(SaveFilter, 410, used, L"*", extension);
    }
    return SaveFilter;
}

const wchar_t *CSupportedGraphic::GetNameForSave(SupportedType group, int index)
{
    const TypeList list = SaveList(group);
    if (index < 0 || index >= list.count) return kEmpty;
    const unsigned type = list.types[index];
    StringCchPrintfW(SaveFilter, 410, L"%s (*%s)", GetDescription(type), GetFileFilter(type, true));
    return SaveFilter;
}

const wchar_t *CSupportedGraphic::GetFileFilterForSave(SupportedType group, int index)
{
    const TypeList list = SaveList(group);
    if (index < 0 || index >= list.count) return kEmpty;
    StringCchCopyW(SaveFilter, 410, GetFileFilter(list.types[index], true));
    return SaveFilter;
}

const wchar_t *CSupportedGraphic::CheckSavefileName(SupportedType group, const wchar_t *name,
                                                    int filterIndex)
{
    const TypeList list = SaveList(group);
    if (list.count == 0 || !name) return kEmpty;
    wchar_t copy[260];
    StringCchCopyW(copy, 260, name); // cut to 259 characters
    if (wcschr(copy, L'.')) return name;
    const int index = filterIndex - 1;
    if (index < 0 || index >= list.count) return name;
    // A name that cannot take its extension is refused rather than saved
    // cut short under a name the user did not choose.
    if (wcslen(name) > 259 || FAILED(StringCchPrintfW(CompletedName, 260, L"%s%s", name,
                                                      GetFileFilter(list.types[index], true)))) {
        CompletedName[0] = L'\0';
        return kEmpty;
    }
    return CompletedName;
}

bool CSupportedGraphic::IsSupportedFiletype(SupportedType group, const wchar_t *path)
{
    const TypeList list = LoadList(group);
    if (list.count == 0 || !path) return false;
    wchar_t copy[260];
    StringCchCopyW(copy, 260, path);
    const wchar_t *slash = wcsrchr(copy, L'\\');
    if (!slash) return false;
    const wchar_t *dot = wcsrchr(slash, L'.');
    if (!dot) return false;
    wchar_t extension[260];
    StringCchCopyW(extension, 260, dot);
    for (wchar_t *c = extension; *c; ++c)
        if (*c >= L'A' && *c <= L'Z') *c = wchar_t(*c - L'A' + L'a');

    for (int i = 0; i < list.count; ++i) {
        // A pattern may list several extensions: ".jpg;*.jpeg".
        const wchar_t *pattern = GetFileFilter(list.types[i], false);
        for (;;) {
            const wchar_t *end = wcschr(pattern, L';');
            const size_t length = end ? size_t(end - pattern) : wcslen(pattern);
            if (length == wcslen(extension) && wcsncmp(pattern, extension, length) == 0)
                return true;
            if (!end) break;
            pattern = end + 2; // skip ";*"
        }
    }
    return false;
}

// Checks the resources of the built Tempulo.exe and PictavoLib64.dll: the
// texts come in the language of the user interface, both languages define
// the same resources and the same controls in every dialog, the sounds have
// the format the program plays, and the icons load at every size.
#include "res/version.h"
#include "shell/ContextMenu.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Loaded once, as data, for the rest of the test program's life.
HMODULE Module(const wchar_t *name)
{
    static std::map<std::wstring, HMODULE> loaded;
    HMODULE &module = loaded[name];
    if (!module)
        module = LoadLibraryExW(wintest::BesideTestProgram(name).c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return module;
}

std::wstring LoadText(HMODULE module, UINT id)
{
    wchar_t text[512] = L"";
    LoadStringW(module, id, text, 512);
    return text;
}

TEST(Texts, ComeInTheLanguageOfTheUserInterface)
{
    // The harness names the locale it started the program with.
    const std::wstring locale = wintest::Env(L"TEST_LOCALE");
    ASSERT_FALSE(locale.empty()) << "TEST_LOCALE not passed on by the harness";
    const bool german = locale.rfind(L"de_", 0) == 0;
    const struct {
        const wchar_t *file;
        UINT id;
        const wchar_t *german, *english;
    } texts[] = {
        {L"Tempulo.exe", 102, L"Tempulo", L"Tempulo"},
        {L"Tempulo.exe", 3201,
         L"Das Programm ist bereits aktiv.\nEs kann nicht erneut gestartet werden!",
         L"The program is already active.\nIt can not be restarted!"},
        {L"Tempulo.exe", 3424,
         L"Das eingestellte Datum ist ung\u00fcltig !!\nBitte korrigieren Sie dieses \u00fcber "
         L"die Einstellungen.\n\n(Jahr : 01.01.%d - 31.12.%d)",
         L"The set date is invalid !!\nPlease correct this in the settings.\n\n(year : "
         L"01.01.%d - 31.12.%d)"},
        {L"Tempulo.exe", 3425, L"F\u00fcr die Berechnung des Tempulos muss unter \"Task planen\"\n",
         L"For calculation of the Tempulo go under \"Schedule Task\"\n"},
        {L"PictavoLib64.dll", 120, L"Pictavo-Library", L"Pictavo-Library"},
        {L"PictavoLib64.dll", 3012, L"Fehler", L"error"},
    };
    for (const auto &t : texts)
        EXPECT_EQ(LoadText(Module(t.file), t.id), german ? t.german : t.english) << t.id;
}

// The ids of every string of one language in the module.
std::set<UINT> StringIds(HMODULE module, LANGID lang)
{
    std::set<UINT> ids;
    for (UINT block = 1; block <= 4096; ++block) {
        HRSRC res = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), lang);
        const WCHAR *p = res ? (const WCHAR *)LockResource(LoadResource(module, res)) : nullptr;
        for (UINT i = 0; i < 16 && p; p += *p + 1, ++i)
            if (*p) ids.insert((block - 1) * 16 + i);
    }
    return ids;
}

// The numeric names of the resources of one type.
std::vector<UINT> Names(HMODULE module, LPCWSTR type)
{
    std::vector<UINT> names;
    EnumResourceNamesW(
        module, type,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
            if (IS_INTRESOURCE(name))
                ((std::vector<UINT> *)param)->push_back((UINT)(ULONG_PTR)name);
            return TRUE;
        },
        (LONG_PTR)&names);
    return names;
}

TEST(Languages, BothDefineTheSameResources)
{
    for (const wchar_t *file : {L"Tempulo.exe", L"PictavoLib64.dll"}) {
        HMODULE module = Module(file);
        ASSERT_NE(module, nullptr) << file;
        const std::set<UINT> german = StringIds(module, kGerman);
        EXPECT_FALSE(german.empty()) << file;
        EXPECT_EQ(german, StringIds(module, kEnglish)) << file;
        // Every dialog and menu exists in both languages, or once for all
        // (the about box).
        for (const wchar_t *type : {RT_DIALOG, RT_MENU}) {
            for (UINT name : Names(module, type)) {
                std::set<LANGID> langs;
                EnumResourceLanguagesW(
                    module, type, MAKEINTRESOURCEW(name),
                    [](HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) -> BOOL {
                        return ((std::set<LANGID> *)param)->insert(lang), TRUE;
                    },
                    (LONG_PTR)&langs);
                const LANGID neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
                EXPECT_TRUE((langs.count(kGerman) && langs.count(kEnglish)) ||
                            (langs.size() == 1 && langs.count(neutral)))
                    << file << " type " << (ULONG_PTR)type << " id " << name;
            }
        }
    }
}

// One line for a DLGTEMPLATEEX and one for each of its items: id, class,
// style and extended style, everything a translation must leave alone. Empty
// when the dialog does not exist in that language.
std::vector<std::wstring> DialogShape(HMODULE module, UINT dialog, LANGID lang)
{
    std::vector<std::wstring> shape;
    HRSRC res = FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(dialog), lang);
    const WORD *p = res ? (const WORD *)LockResource(LoadResource(module, res)) : nullptr;
    if (!p || p[0] != 1 || p[1] != 0xFFFF) return shape; // not a DIALOGEX
    DWORD exStyle, style;
    memcpy(&exStyle, p + 4, 4);
    memcpy(&style, p + 6, 4);
    const WORD count = p[8];
    // Menu, class, title: an ordinal (0xFFFF, number), nothing (0) or a string.
    auto skip = [](const WORD *q) {
        return *q == 0xFFFF ? q + 2 : q + wcslen((const wchar_t *)q) + 1;
    };
    auto hex = [](DWORD value) {
        wchar_t text[12];
        swprintf(text, 12, L"%08lx", value);
        return std::wstring(text);
    };
    auto name = [](const WORD *q) {
        return *q == 0xFFFF ? L"#" + std::to_wstring(q[1]) : std::wstring((const wchar_t *)q);
    };
    p = skip(skip(skip(p + 13)));
    if (style & DS_SETFONT) p = skip(p + 3); // size, weight, italic and charset, face
    shape.push_back(L"dialog style " + hex(style) + L" ex " + hex(exStyle));
    for (WORD i = 0; i < count; ++i) {
        p = (const WORD *)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
        DWORD item[3]; // help id, extended style, style; then x, y, cx, cy and the id
        int id;
        memcpy(item, p, sizeof item);
        memcpy(&id, p + 10, 4);
        const WORD *cls = p + 12, *title = skip(cls), *extra = skip(title);
        shape.push_back(std::to_wstring(id) + L" " + name(cls) + L" style " + hex(item[2]) +
                        L" ex " + hex(item[1]));
        p = (const WORD *)((const BYTE *)(extra + 1) + *extra);
    }
    return shape;
}

TEST(Languages, DialogsHaveTheSameControlsInBoth)
{
    HMODULE module = Module(L"Tempulo.exe");
    ASSERT_NE(module, nullptr);
    int compared = 0;
    for (UINT dialog : Names(module, RT_DIALOG)) {
        const auto german = DialogShape(module, dialog, kGerman);
        if (german.empty()) continue; // no German template
        EXPECT_EQ(german, DialogShape(module, dialog, kEnglish)) << "dialog " << dialog;
        ++compared;
    }
    EXPECT_GE(compared, 8); // the settings frame, its five pages and two helpers
}

TEST(Texts, TheContextMenuNamesTheProgramInItsAboutEntry)
{
    const bool german = wintest::Env(L"TEST_LOCALE").rfind(L"de_", 0) == 0;
    // The test program carries the program's resources.
    HMENU menu = CreateContextMenu(GetModuleHandleW(nullptr), L"Tempulo");
    ASSERT_NE(menu, nullptr);
    const struct {
        UINT id;
        const wchar_t *german, *english;
    } entries[] = {
        {140, L"&Einstellungen...", L"S&ettings..."},
        {0, L"", L""},
        {106, L"Hilfethemen", L"View Help"},
        {0, L"", L""},
        {141, L"I&nfo \u00fcber Pictavo-Library...", L"A&bout Pictavo-Library..."},
        {104, L"Inf&o \u00fcber Tempulo...", L"Ab&out Tempulo..."},
        {0, L"", L""},
        {105, L"&Beenden", L"E&xit"},
    };
    ASSERT_EQ(GetMenuItemCount(menu), (int)(sizeof entries / sizeof entries[0]));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[100] = L"";
        GetMenuStringW(menu, i, text, 100, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(menu, i), entries[i].id) << i;
        EXPECT_STREQ(text, german ? entries[i].german : entries[i].english) << i;
    }
    DestroyContextMenu();
}

TEST(Resources, SoundsArePcmWavesOfTheirFormat)
{
    const struct {
        UINT id;
        WORD bits;
        DWORD rate, dataBytes;
    } sounds[] = {{402, 16, 22050, 2516}, {401, 8, 22255, 76365}};
    HMODULE program = Module(L"Tempulo.exe");
    for (const auto &sound : sounds) {
        HRSRC res = FindResourceW(program, MAKEINTRESOURCEW(sound.id), L"WAVE");
        ASSERT_NE(res, nullptr) << sound.id;
        const BYTE *p = (const BYTE *)LockResource(LoadResource(program, res));
        const DWORD size = SizeofResource(program, res);
        ASSERT_TRUE(p && size > 12 && !memcmp(p, "RIFF", 4) && !memcmp(p + 8, "WAVE", 4));
        PCMWAVEFORMAT format = {};
        DWORD dataBytes = 0;
        // Walk the chunks; each is bounded by the resource's size.
        for (DWORD pos = 12, chunk = 0; pos + 8 <= size; pos += 8 + chunk + (chunk & 1)) {
            memcpy(&chunk, p + pos + 4, 4);
            if (!memcmp(p + pos, "fmt ", 4) && chunk >= sizeof(format))
                memcpy(&format, p + pos + 8, sizeof(format));
            if (!memcmp(p + pos, "data", 4) && pos + 8 + chunk <= size) dataBytes = chunk;
        }
        EXPECT_EQ(format.wf.wFormatTag, WAVE_FORMAT_PCM) << sound.id;
        EXPECT_EQ(format.wf.nChannels, 1) << sound.id;
        EXPECT_EQ(format.wBitsPerSample, sound.bits) << sound.id;
        EXPECT_EQ(format.wf.nSamplesPerSec, sound.rate) << sound.id;
        EXPECT_EQ(dataBytes, sound.dataBytes) << sound.id;
    }
}

TEST(Resources, IconsAtEverySizeAndTheProgramsVersionRecord)
{
    HMODULE program = Module(L"Tempulo.exe"), library = Module(L"PictavoLib64.dll");
    for (int size : {16, 32, 48}) {
        for (auto icon : {std::make_pair(program, 108), std::make_pair(library, 107)}) {
            HICON loaded = (HICON)LoadImageW(icon.first, MAKEINTRESOURCEW(icon.second), IMAGE_ICON,
                                             size, size, 0);
            EXPECT_NE(loaded, nullptr) << icon.second << " at " << size;
            if (loaded) DestroyIcon(loaded);
        }
    }
    DWORD handle = 0;
    EXPECT_GT(GetFileVersionInfoSizeW(wintest::BesideTestProgram(L"Tempulo.exe").c_str(), &handle),
              0u);
}

// A string of a file's version record, in its first language.
std::wstring VersionString(const wchar_t *file, const wchar_t *name)
{
    const std::wstring path = wintest::BesideTestProgram(file);
    DWORD handle = 0;
    std::vector<BYTE> record(GetFileVersionInfoSizeW(path.c_str(), &handle));
    if (record.empty() ||
        !GetFileVersionInfoW(path.c_str(), 0, (DWORD)record.size(), record.data()))
        return L"";
    DWORD *translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", (void **)&translation, &size))
        return L"";
    wchar_t query[100];
    swprintf(query, 100, L"\\StringFileInfo\\%04x%04x\\%ls", LOWORD(*translation),
             HIWORD(*translation), name);
    wchar_t *text = nullptr;
    return VerQueryValueW(record.data(), query, (void **)&text, &size) ? text : L"";
}

TEST(Resources, TheProgramCarriesItsManifest)
{
    HMODULE program = Module(L"Tempulo.exe");
    HRSRC res = FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(res, nullptr);
    const std::string manifest((const char *)LockResource(LoadResource(program, res)),
                               SizeofResource(program, res));
    for (const char *part : {"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0",
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "PerMonitorV2", "asInvoker"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

TEST(Resources, OneVersionNumberForTheProductAndTheLibrarysOwnFileVersion)
{
    const std::string project = TEMPULO_VERSION_TEXT;
    const std::wstring version(project.begin(), project.end());
    EXPECT_EQ(VersionString(L"Tempulo.exe", L"FileVersion"), version);
    EXPECT_EQ(VersionString(L"Tempulo.exe", L"ProductVersion"), version);
    EXPECT_EQ(VersionString(L"PictavoLib64.dll", L"ProductVersion"), version);
    EXPECT_EQ(VersionString(L"PictavoLib64.dll", L"FileVersion"), L"1.8.6.0");
}

} // namespace

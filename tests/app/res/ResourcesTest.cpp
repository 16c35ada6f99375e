// Proves the resources of the built Tempulo.exe and PictavoLib64.dll: texts
// and the context menu come in the language of the user interface (the
// harness runs this once per language), both languages define the same
// strings, menus and dialog controls, and the program's sounds, icon and
// version record are there.
#include "res/resource.h"
#include "res/version.h"
#include "shell/ContextMenu.h"
#include "support/HostShell.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Loaded once, as data.
HMODULE Module(const wchar_t *name)
{
    static std::map<std::wstring, HMODULE> loaded;
    HMODULE &module = loaded[name];
    if (!module)
        module = LoadLibraryExW(wintest::BesideTestProgram(name).c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return module;
}

bool German()
{
    const std::wstring locale = wintest::Env(L"TEST_LOCALE");
    EXPECT_FALSE(locale.empty()) << "TEST_LOCALE not passed on by the harness";
    return locale.rfind(L"de_", 0) == 0;
}

TEST(Texts, ComeInTheLanguageOfTheUserInterface)
{
    const bool german = German();
    const struct {
        const wchar_t *file;
        UINT id;
        const wchar_t *de, *en;
    } texts[] = {
        {L"Tempulo.exe", IDS_ALREADY_ACTIVE,
         L"Das Programm ist bereits aktiv.\nEs kann nicht erneut gestartet werden!",
         L"The program is already active.\nIt can not be restarted!"},
        {L"Tempulo.exe", IDS_EXPIRED, L"Der Tempulo ist abgelaufen.", L"Tempulo has expired."},
        {L"Tempulo.exe", IDS_RESET_QUESTION,
         L"Soll das Datum auf den 1. Januar des \nkommenden Jahres gesetzt werden?",
         L"Is the date to be set to January 1 \nof the coming year?"},
        {L"Tempulo.exe", IDS_INVALID_DATE,
         L"Das eingestellte Datum ist ung\u00fcltig !!\nBitte korrigieren Sie dieses \u00fcber "
         L"die Einstellungen.\n\n(Jahr : 01.01.%d - 31.12.%d)",
         L"The set date is invalid !!\nPlease correct this in the settings.\n\n(year : "
         L"01.01.%d - 31.12.%d)"},
        {L"Tempulo.exe", IDS_SCREENSHOT_FAILED, L"Der Screenshot konnte nicht gespeichert werden!",
         L"The screenshot could not be saved!"},
        {L"Tempulo.exe", IDS_INFORMATION, L"Information", L"information"},
        {L"PictavoLib64.dll", 3012, L"Fehler", L"error"},
    };
    for (const auto &t : texts) {
        wchar_t text[512] = L"";
        LoadStringW(Module(t.file), t.id, text, 512);
        EXPECT_STREQ(text, german ? t.de : t.en) << t.file << " " << t.id;
    }

    // The test program carries the program's resources.
    HMENU menu = CreateContextMenu(GetModuleHandleW(nullptr), L"Tempulo");
    ASSERT_NE(menu, nullptr);
    const struct {
        UINT id;
        const wchar_t *de, *en;
    } entries[] = {
        {IDM_SETTINGS, L"&Einstellungen...", L"S&ettings..."},
        {0, L"", L""},
        {IDM_HELP, L"Hilfethemen", L"View Help"},
        {0, L"", L""},
        {IDM_ABOUT_LIBRARY, L"I&nfo \u00fcber Pictavo-Library...", L"A&bout Pictavo-Library..."},
        {IDM_ABOUT, L"Inf&o \u00fcber Tempulo...", L"Ab&out Tempulo..."},
        {0, L"", L""},
        {IDM_EXIT, L"&Beenden", L"E&xit"},
    };
    ASSERT_EQ(GetMenuItemCount(menu), int(sizeof entries / sizeof entries[0]));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[100] = L"";
        GetMenuStringW(menu, i, text, 100, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(menu, i), entries[i].id) << "menu entry " << i;
        EXPECT_STREQ(text, german ? entries[i].de : entries[i].en) << "menu entry " << i;
    }
    DestroyContextMenu();
}

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

std::vector<UINT> Names(HMODULE module, LPCWSTR type)
{
    std::vector<UINT> names;
    EnumResourceNamesW(
        module, type,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
            if (IS_INTRESOURCE(name))
                ((std::vector<UINT> *)param)->push_back(UINT(ULONG_PTR(name)));
            return TRUE;
        },
        (LONG_PTR)&names);
    return names;
}

// A dialog template (DLGTEMPLATEEX) as one line per item: id, class, style
// and extended style, all that a translation must leave alone.
std::vector<std::wstring> DialogShape(HMODULE module, UINT dialog, LANGID lang)
{
    std::vector<std::wstring> shape;
    HRSRC res = FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(dialog), lang);
    const WORD *p = res ? (const WORD *)LockResource(LoadResource(module, res)) : nullptr;
    if (!p || p[0] != 1 || p[1] != 0xFFFF) return shape;
    DWORD style, item[3]; // help id, extended style, style
    memcpy(&style, p + 6, 4);
    const WORD count = p[8];
    // Menu, class, title, font face: an ordinal (0xFFFF, number) or a string.
    auto skip = [](const WORD *q) { return *q == 0xFFFF ? q + 2 : q + wcslen((PCWSTR)q) + 1; };
    p = skip(skip(skip(p + 13)));
    if (style & DS_SETFONT) p = skip(p + 3);
    for (WORD i = 0; i < count; ++i) {
        p = (const WORD *)((ULONG_PTR(p) + 3) & ~ULONG_PTR(3));
        int id;
        memcpy(item, p, sizeof item);
        memcpy(&id, p + 10, 4);
        const WORD *cls = p + 12, *extra = skip(skip(cls));
        const std::wstring name =
            *cls == 0xFFFF ? L"#" + std::to_wstring(cls[1]) : std::wstring((PCWSTR)cls);
        wchar_t line[300];
        swprintf(line, 300, L"%d %ls style %08lx ex %08lx", id, name.c_str(), item[2], item[1]);
        shape.push_back(line);
        p = (const WORD *)((const BYTE *)(extra + 1) + *extra);
    }
    return shape;
}

TEST(Languages, BothDefineTheSameStringsMenusAndDialogControls)
{
    for (const wchar_t *file : {L"Tempulo.exe", L"PictavoLib64.dll"}) {
        SCOPED_TRACE(testing::Message() << file);
        HMODULE module = Module(file);
        ASSERT_NE(module, nullptr);
        const std::set<UINT> german = StringIds(module, kGerman);
        EXPECT_FALSE(german.empty());
        EXPECT_EQ(german, StringIds(module, kEnglish));
        // Every dialog and menu in both languages, or once for all.
        for (const wchar_t *type : {RT_DIALOG, RT_MENU})
            for (UINT id : Names(module, type)) {
                std::set<LANGID> langs;
                EnumResourceLanguagesW(
                    module, type, MAKEINTRESOURCEW(id),
                    [](HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) -> BOOL {
                        return ((std::set<LANGID> *)param)->insert(lang), TRUE;
                    },
                    (LONG_PTR)&langs);
                const bool de = langs.count(kGerman), en = langs.count(kEnglish);
                EXPECT_TRUE((de && en) || langs == std::set<LANGID>{LANG_NEUTRAL})
                    << "resource " << id;
                if (type == RT_DIALOG && de) {
                    EXPECT_EQ(DialogShape(module, id, kGerman), DialogShape(module, id, kEnglish))
                        << "the controls of dialog " << id;
                }
            }
    }
}

TEST(Resources, SoundsAndIconOfTheProgram)
{
    HMODULE program = Module(L"Tempulo.exe");
    for (UINT id : {IDW_ALARM, IDW_TICK}) {
        HRSRC res = FindResourceW(program, MAKEINTRESOURCEW(id), L"WAVE");
        const BYTE *p = res ? (const BYTE *)LockResource(LoadResource(program, res)) : nullptr;
        ASSERT_TRUE(p && SizeofResource(program, res) > 44) << "sound " << id;
        EXPECT_TRUE(!memcmp(p, "RIFF", 4) && !memcmp(p + 8, "WAVEfmt ", 8) && p[20] == 1)
            << "a PCM wave, as PlaySound wants it: sound " << id;
    }
    for (int size : {16, 32, 48}) {
        HICON icon =
            (HICON)LoadImageW(program, MAKEINTRESOURCEW(IDI_TEMPULO), IMAGE_ICON, size, size, 0);
        EXPECT_NE(icon, nullptr) << "icon at " << size;
        DestroyIcon(icon);
    }
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
    const std::wstring version = wintest::Wide(TEMPULO_VERSION_TEXT);
    EXPECT_EQ(VersionString(L"Tempulo.exe", L"FileVersion"), version);
    EXPECT_EQ(VersionString(L"Tempulo.exe", L"ProductVersion"), version);
    EXPECT_EQ(VersionString(L"PictavoLib64.dll", L"ProductVersion"), version);
    EXPECT_EQ(VersionString(L"PictavoLib64.dll", L"FileVersion"), L"1.8.6.0");
}

} // namespace

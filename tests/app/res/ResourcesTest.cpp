// Checks the resources of the built Tempulo.exe and PictavoLib64.dll: the
// texts come in the language of the user interface, both languages define
// the same resources, the sounds have the format the program plays, and the
// icons load at every size.
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
            std::vector<UINT> names;
            EnumResourceNamesW(
                module, type,
                [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
                    if (IS_INTRESOURCE(name))
                        ((std::vector<UINT> *)param)->push_back((UINT)(ULONG_PTR)name);
                    return TRUE;
                },
                (LONG_PTR)&names);
            for (UINT name : names) {
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

} // namespace

// Checks the resources of the built Tempulo.exe and PictavoLib64.dll: the
// texts come in the language of the user interface, both languages define
// the same resources, the sounds have the format the program plays, and the
// icons load at every size.
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
        // Every dialog and menu exists in both languages.
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
                EXPECT_TRUE(langs.count(kGerman) && langs.count(kEnglish))
                    << file << " type " << (ULONG_PTR)type << " id " << name;
            }
        }
    }
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

// Checks the resources of the built Tempulo.exe and PictavoLib64.dll: the
// texts come in the language of the user interface, both languages define
// the same resources, and the sounds have the format the program expects.
#include "support/WinTest.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

class ModuleFile {
public:
    explicit ModuleFile(const wchar_t *name)
        : module_(LoadLibraryExW(wintest::BesideTestProgram(name).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }
    ~ModuleFile()
    {
        if (module_) FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

// The harness names the locale it started the program with; without it the
// expected language would be a guess.
bool IsGermanRun()
{
    const std::wstring locale = wintest::Env(L"TEST_LOCALE");
    EXPECT_FALSE(locale.empty()) << "TEST_LOCALE not passed on by the harness";
    return locale.rfind(L"de_", 0) == 0;
}

std::wstring LoadText(HMODULE module, UINT id)
{
    wchar_t text[512] = L"";
    LoadStringW(module, id, text, 512);
    return text;
}

// The ids of every string of one language in the module.
std::set<UINT> StringIds(HMODULE module, LANGID lang)
{
    std::set<UINT> ids;
    for (UINT block = 1; block <= 4096; ++block) {
        HRSRC res = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), lang);
        if (!res) continue;
        const WCHAR *p = static_cast<const WCHAR *>(LockResource(LoadResource(module, res)));
        for (UINT i = 0; i < 16 && p; ++i) {
            const WORD length = *p++;
            if (length) ids.insert((block - 1) * 16 + i);
            p += length;
        }
    }
    return ids;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param)
{
    reinterpret_cast<std::set<LANGID> *>(param)->insert(lang);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<UINT> *>(param)->insert((UINT)(ULONG_PTR)name);
    return TRUE;
}

// For each dialog and menu: the languages it exists in.
std::map<std::pair<UINT, UINT>, std::set<LANGID>> LocalisedResources(HMODULE module)
{
    std::map<std::pair<UINT, UINT>, std::set<LANGID>> result;
    for (UINT type : {5u /*RT_DIALOG*/, 4u /*RT_MENU*/}) {
        std::set<UINT> names;
        EnumResourceNamesW(module, MAKEINTRESOURCEW(type), CollectName, (LONG_PTR)&names);
        for (UINT name : names) {
            std::set<LANGID> langs;
            EnumResourceLanguagesW(module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(name),
                                   CollectLanguage, (LONG_PTR)&langs);
            result[{type, name}] = langs;
        }
    }
    return result;
}

struct Texts {
    UINT id;
    const wchar_t *german;
    const wchar_t *english;
};

TEST(ProgramTexts, ComeInTheLanguageOfTheUserInterface)
{
    const Texts texts[] = {
        {102, L"Tempulo", L"Tempulo"},
        {120, L"Tempulo", L"Tempulo"},
        {3011, L"Information", L"information"},
        {3201, L"Das Programm ist bereits aktiv.\nEs kann nicht erneut gestartet werden!",
         L"The program is already active.\nIt can not be restarted!"},
        {3424,
         L"Das eingestellte Datum ist ung\u00fcltig !!\nBitte korrigieren Sie dieses \u00fcber "
         L"die Einstellungen.\n\n(Jahr : 01.01.%d - 31.12.%d)",
         L"The set date is invalid !!\nPlease correct this in the settings.\n\n(year : "
         L"01.01.%d - 31.12.%d)"},
    };
    ModuleFile program(L"Tempulo.exe");
    ASSERT_NE(program.get(), nullptr);
    for (const Texts &t : texts) {
        EXPECT_EQ(LoadText(program.get(), t.id), IsGermanRun() ? t.german : t.english) << t.id;
    }
}

TEST(LibraryTexts, ComeInTheLanguageOfTheUserInterface)
{
    ModuleFile library(L"PictavoLib64.dll");
    ASSERT_NE(library.get(), nullptr);
    EXPECT_EQ(LoadText(library.get(), 120), L"Pictavo-Library");
    EXPECT_EQ(LoadText(library.get(), 3012), IsGermanRun() ? L"Fehler" : L"error");
}

TEST(Languages, BothDefineTheSameResources)
{
    for (const wchar_t *file : {L"Tempulo.exe", L"PictavoLib64.dll"}) {
        ModuleFile module(file);
        ASSERT_NE(module.get(), nullptr) << file;
        const std::set<UINT> german = StringIds(module.get(), kGerman);
        EXPECT_FALSE(german.empty()) << file;
        EXPECT_EQ(german, StringIds(module.get(), kEnglish)) << file;
        for (const auto &entry : LocalisedResources(module.get())) {
            EXPECT_EQ(entry.second.count(kGerman), 1u)
                << file << " type " << entry.first.first << " id " << entry.first.second;
            EXPECT_EQ(entry.second.count(kEnglish), 1u)
                << file << " type " << entry.first.first << " id " << entry.first.second;
        }
    }
}

struct WaveFormat {
    WORD format, channels;
    DWORD rate;
    WORD bits;
    DWORD dataBytes;
};

bool ReadWave(HMODULE module, UINT id, WaveFormat &out)
{
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), L"WAVE");
    if (!res) return false;
    const BYTE *p = static_cast<const BYTE *>(LockResource(LoadResource(module, res)));
    const DWORD size = SizeofResource(module, res);
    if (!p || size < 12 || memcmp(p, "RIFF", 4) != 0 || memcmp(p + 8, "WAVE", 4) != 0) return false;
    bool haveFormat = false, haveData = false;
    for (DWORD pos = 12; pos + 8 <= size;) {
        DWORD chunk;
        memcpy(&chunk, p + pos + 4, 4);
        if (memcmp(p + pos, "fmt ", 4) == 0 && chunk >= 16) {
            memcpy(&out.format, p + pos + 8, 2);
            memcpy(&out.channels, p + pos + 10, 2);
            memcpy(&out.rate, p + pos + 12, 4);
            memcpy(&out.bits, p + pos + 22, 2);
            haveFormat = true;
        } else if (memcmp(p + pos, "data", 4) == 0) {
            out.dataBytes = chunk;
            haveData = pos + 8 + chunk <= size;
        }
        pos += 8 + chunk + (chunk & 1);
    }
    return haveFormat && haveData;
}

TEST(Sounds, TickAndAlarmHaveTheirFormats)
{
    ModuleFile program(L"Tempulo.exe");
    ASSERT_NE(program.get(), nullptr);
    WaveFormat tick = {};
    ASSERT_TRUE(ReadWave(program.get(), 402, tick));
    EXPECT_EQ(tick.format, WAVE_FORMAT_PCM);
    EXPECT_EQ(tick.channels, 1);
    EXPECT_EQ(tick.bits, 16);
    EXPECT_EQ(tick.rate, 22050u);
    EXPECT_EQ(tick.dataBytes, 2516u);

    WaveFormat alarm = {};
    ASSERT_TRUE(ReadWave(program.get(), 401, alarm));
    EXPECT_EQ(alarm.format, WAVE_FORMAT_PCM);
    EXPECT_EQ(alarm.channels, 1);
    EXPECT_EQ(alarm.bits, 8);
    EXPECT_EQ(alarm.rate, 22255u);
    EXPECT_EQ(alarm.dataBytes, 76365u);
}

TEST(Icons, ProgramAndLibraryIconsLoadAtEverySize)
{
    ModuleFile program(L"Tempulo.exe");
    ModuleFile library(L"PictavoLib64.dll");
    for (int size : {16, 32, 48}) {
        HICON icon =
            (HICON)LoadImageW(program.get(), MAKEINTRESOURCEW(108), IMAGE_ICON, size, size, 0);
        EXPECT_NE(icon, nullptr) << size;
        if (icon) DestroyIcon(icon);
        icon = (HICON)LoadImageW(library.get(), MAKEINTRESOURCEW(107), IMAGE_ICON, size, size, 0);
        EXPECT_NE(icon, nullptr) << size;
        if (icon) DestroyIcon(icon);
    }
}

TEST(Versions, LibraryIs186AndProgramHasARecord)
{
    for (const wchar_t *file : {L"PictavoLib64.dll", L"Tempulo.exe"}) {
        const std::wstring path = wintest::BesideTestProgram(file);
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
        ASSERT_GT(size, 0u) << file;
        std::string data(size, '\0');
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, &data[0]));
        VS_FIXEDFILEINFO *info = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(&data[0], L"\\", (void **)&info, &length));
        if (std::wstring(file) == L"PictavoLib64.dll") {
            EXPECT_EQ(info->dwFileVersionMS, MAKELONG(8, 1));
            EXPECT_EQ(info->dwFileVersionLS, MAKELONG(0, 6));
        }
    }
}

} // namespace

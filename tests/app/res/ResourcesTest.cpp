// Proves the resources of the built Tempulo.exe and PictavoLib64.dll: texts
// and the context menu come in the language of the user interface (the
// harness runs this once per language), both languages define the same
// strings, menus and dialogs, and the version records agree.
#include "res/resource.h"
#include "res/version.h"
#include "shell/ContextMenu.h"
#include "support/WinTest.h"
#include "system/CSystem.h"

#include <gtest/gtest.h>

#include <set>

using namespace wintest;

namespace {

const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

HMODULE Module(const wchar_t *name)
{
    return LoadLibraryExW(BesideTestProgram(name).c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

TEST(Texts, ComeInTheLanguageOfTheUserInterface)
{
    const std::wstring locale = Env(L"TEST_LOCALE");
    ASSERT_FALSE(locale.empty()) << "TEST_LOCALE not passed on by the harness";
    const bool german = locale.rfind(L"de_", 0) == 0;
    // The library picks its own texts; the program's are in its menu.
    wchar_t text[100] = L"";
    LoadStringW(Module(L"PictavoLib64.dll"), 3012, text, 100);
    EXPECT_STREQ(text, german ? L"Fehler" : L"error");
    // The test program carries the program's resources.
    HMENU menu = CreateContextMenu(GetModuleHandleW(nullptr), L"Tempulo");
    ASSERT_EQ(GetMenuItemCount(menu), 8);
    wchar_t first[100] = L"", last[100] = L"";
    GetMenuStringW(menu, 0, first, 100, MF_BYPOSITION);
    GetMenuStringW(menu, 7, last, 100, MF_BYPOSITION);
    EXPECT_STREQ(first, german ? L"&Einstellungen..." : L"S&ettings...");
    EXPECT_STREQ(last, german ? L"&Beenden" : L"E&xit");
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

TEST(Languages, BothDefineTheSameStringsMenusAndDialogs)
{
    for (const wchar_t *file : {L"Tempulo.exe", L"PictavoLib64.dll"}) {
        SCOPED_TRACE(testing::Message() << file);
        HMODULE module = Module(file);
        const std::set<UINT> german = StringIds(module, kGerman);
        EXPECT_FALSE(german.empty());
        EXPECT_EQ(german, StringIds(module, kEnglish));
        // Every dialog and menu in both languages, or once for all.
        for (const wchar_t *type : {RT_DIALOG, RT_MENU})
            EnumResourceNamesW(
                module, type,
                [](HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR) -> BOOL {
                    std::set<LANGID> langs;
                    EnumResourceLanguagesW(
                        module, type, name,
                        [](HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR to) -> BOOL {
                            return ((std::set<LANGID> *)to)->insert(lang), TRUE;
                        },
                        (LONG_PTR)&langs);
                    EXPECT_TRUE((langs == std::set<LANGID>{kGerman, kEnglish} ||
                                 langs == std::set<LANGID>{LANG_NEUTRAL}))
                        << "resource " << ULONG_PTR(name);
                    return TRUE;
                },
                0);
    }
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
    // The program's version record, which the test program carries too;
    // entries 2 and 8 are the file and the product version.
    CSystem system;
    const HMODULE program = GetModuleHandleW(nullptr),
                  library = GetModuleHandleW(L"PictavoLib64.dll");
    const std::wstring version = Wide(TEMPULO_VERSION_TEXT);
    EXPECT_EQ(system.GetAppInfo(program, 2, L""), version);
    EXPECT_EQ(system.GetAppInfo(program, 8, L""), version);
    EXPECT_EQ(system.GetAppInfo(library, 8, L""), version);
    EXPECT_EQ(system.GetAppInfo(library, 2, L""), std::wstring(L"1.8.6.0"));
}

} // namespace

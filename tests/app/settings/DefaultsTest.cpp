// Proves the settings of a first start: next New Year as the target, red
// Times New Roman and the digital face, the program's own path and a
// screenshot folder in the user's documents. (That the defaults button
// keeps the window where it is belongs to the dialog tests.)
#include "font/CFont.h"
#include "settings/AppData.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Defaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Loading follows the defaults: no run of the program may have left any.
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wow6432Node\\Orvandt\\Tempulo");
        app = CreateAppData(GetModuleHandleW(nullptr));
    }
    void TearDown() override { DestroyAppData(app); }
    tAppData *app = nullptr;
};

TEST_F(Defaults, AFirstStartCountsToNextNewYearInRedTimesNewRomanAndKnowsItsPlace)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const tSettings &s = app->Settings;
    EXPECT_EQ(s.Tag * 100 + s.Monat, 101);
    EXPECT_EQ(s.Stunde + s.Minute + s.Sekunde, 0);
    EXPECT_NEAR(s.Jahr, now.wYear + 1, 1) << "unless run across New Year's Eve midnight";
    EXPECT_STREQ(app->Layout->Format, L"ddddd hh:mm:ss") << "digital digits: no blank cells";
    EXPECT_STREQ(app->Font->GetFaceName(), L"Times New Roman");
    EXPECT_EQ(app->Font->GetColor(), 0x0000FFu);

    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_STREQ(s.AppPath, exe);
    EXPECT_EQ(std::wstring(app->DriveRoot), std::wstring(exe, 3));
    EXPECT_TRUE(s.IsLocalDrive) << "Z:, where the tests run, is a fixed disk under Wine";
    const std::wstring shots = s.PrntScrnPath;
    const size_t slash = shots.rfind(L'\\');
    ASSERT_NE(slash, std::wstring::npos);
    EXPECT_EQ(shots.substr(slash), L"\\Screenshots");
    EXPECT_TRUE(wintest::IsFolder(shots.substr(0, slash))) << "inside the user's documents";
}

} // namespace

#include "font/CFont.h"
#include "imaging/CSupportedGraphic.h"
#include "settings/AppData.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Defaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The object loads the program's own settings over the defaults: a
        // run of the program earlier in the session may have left some.
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wow6432Node\\Orvandt\\Tempulo");
        app = CreateAppData(GetModuleHandleW(nullptr));
    }
    void TearDown() override { DestroyAppData(app); }
    tAppData *app = nullptr;
};

TEST_F(Defaults, NewObjectCountsDownToNextNewYearInRedTimesNewRoman)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const tSettings &s = app->Settings;
    EXPECT_EQ(s.Tag * 100 + s.Monat, 101);
    EXPECT_EQ(s.Stunde + s.Minute + s.Sekunde, 0);
    // Unless the test straddles midnight of New Year's Eve.
    EXPECT_NEAR(s.Jahr, now.wYear + 1, 1);
    EXPECT_EQ(s.SpecialYear, s.Jahr);
    EXPECT_STREQ(app->Layout->Format, L"ddddd hh:mm:ss") << "digital digits: no blank cells";

    ASSERT_NE(app->Font, nullptr);
    EXPECT_STREQ(app->Font->GetFaceName(), L"Times New Roman");
    EXPECT_EQ(app->Font->GetHeight(), CFont::CalcHeightTolfHeight(24));
    EXPECT_EQ(app->Font->GetColor(), 0x0000FFu);
    ASSERT_NE(app->DialogFont, nullptr);
    EXPECT_NE(app->DialogFont, app->Font);
    ASSERT_NE(app->SupportedGraphic, nullptr);
    EXPECT_EQ(app->SupportedGraphic->CountTypesForSave(CSupportedGraphic::GraphicFormats), 6);
    for (int i = 0; i < FACE_IMAGE_COUNT; ++i)
        EXPECT_NE(app->Images[i], nullptr) << i;
}

TEST_F(Defaults, ProgramPathDriveAndScreenshotFolder)
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_STREQ(app->Settings.AppPath, exe);
    EXPECT_EQ(std::wstring(app->DriveRoot), std::wstring(exe, 3));
    // The tests run from the build folder on Z:, a fixed disk under Wine.
    EXPECT_TRUE(app->Settings.IsLocalDrive) << app->DriveRoot;

    const std::wstring shots = app->Settings.PrntScrnPath;
    const size_t slash = shots.rfind(L'\\');
    ASSERT_NE(slash, std::wstring::npos);
    EXPECT_EQ(shots.substr(slash), L"\\Screenshots");
    EXPECT_TRUE(wintest::IsFolder(shots.substr(0, slash))) << "inside the user's documents";
}

TEST_F(Defaults, ResetRestoresTheFontButKeepsPositionAndProgramFacts)
{
    tSettings &s = app->Settings;
    s.PositionLeft = 123;
    s.IsLocalDrive = true;
    wcscpy_s(s.AppPath, L"C:\\Tools\\Tempulo.exe");
    s.FontType = 1;
    s.FormatNo = 3;
    delete app->Font;
    app->Font = new CFont(L"Arial", 700L, 12L, 1, 1, 0);
    app->Font->SetColor(0x00FF00);

    ApplyDefaults(app);
    EXPECT_EQ(s.PositionLeft, 123);
    EXPECT_TRUE(s.IsLocalDrive);
    EXPECT_STREQ(s.AppPath, L"C:\\Tools\\Tempulo.exe");
    EXPECT_EQ(s.FontType, 2);
    EXPECT_STREQ(app->Layout->Format, L"ddddd hh:mm:ss");
    EXPECT_STREQ(app->Font->GetFaceName(), L"Times New Roman");
    EXPECT_EQ(app->Font->GetWeight(), 400);
    EXPECT_FALSE(app->Font->IsItalic());
    EXPECT_EQ(app->Font->GetColor(), 0x0000FFu);
}

} // namespace

#include "font/CFont.h"
#include "imaging/CSupportedGraphic.h"
#include "settings/AppData.h"

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

TEST_F(Defaults, NewObjectCountsDownToNextNewYear)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const tSettings &s = app->Settings;
    EXPECT_EQ(s.Tag, 1);
    EXPECT_EQ(s.Monat, 1);
    // Unless the test straddles midnight of New Year's Eve.
    EXPECT_NEAR(s.Jahr, now.wYear + 1, 1);
    EXPECT_EQ(s.Stunde, 0);
    EXPECT_EQ(s.Minute, 0);
    EXPECT_EQ(s.Sekunde, 0);
    EXPECT_EQ(s.SpecialYear, s.Jahr);

    EXPECT_EQ(s.FontType, 2);
    EXPECT_EQ(s.FormatNo, 0);
    EXPECT_STREQ(app->Layout->Format, L"ddddd hh:mm:ss") << "digital digits: no blank cells";
    EXPECT_EQ(s.PosHorizontal, 2);
    EXPECT_EQ(s.PosVertikal, 0);
    EXPECT_TRUE(s.Front);
    EXPECT_FALSE(s.ShowInTaskbar);
    EXPECT_FALSE(s.IsFreePos);
    EXPECT_EQ(s.Zoom, 1);
    EXPECT_EQ(s.Event, 1);
    EXPECT_EQ(s.EventNo, 2);
    EXPECT_TRUE(s.TakePrntScrn);
    EXPECT_TRUE(s.TickAtLastSecondsEnabled);
    EXPECT_FALSE(s.TickEnabled);
    EXPECT_FALSE(s.AcceptPast);
    EXPECT_EQ(s.TaskState, 1);
    EXPECT_EQ(s.RgbColors[1], 0xC80000u);
    EXPECT_EQ(s.RgbColors[15], 0xFFFFFFu);
    EXPECT_STREQ(app->Title, L"Tempulo");
    EXPECT_STREQ(app->ClassName, L"Tempulo");

    ASSERT_NE(app->Font, nullptr);
    EXPECT_STREQ(app->Font->GetFaceName(), L"Times New Roman");
    EXPECT_EQ(app->Font->GetHeight(), CFont::CalcHeightTolfHeight(24));
    EXPECT_EQ(app->Font->GetColor(), 0x0000FFu);
    ASSERT_NE(app->DialogFont, nullptr);
    EXPECT_NE(app->DialogFont, app->Font);
}

TEST_F(Defaults, ObjectOwnsItsLibraryObjects)
{
    ASSERT_NE(app->SupportedGraphic, nullptr);
    EXPECT_EQ(app->SupportedGraphic->CountTypesForSave(CSupportedGraphic::GraphicFormats), 6);
    for (int i = 0; i < FACE_IMAGE_COUNT; ++i) EXPECT_NE(app->Images[i], nullptr) << i;
    // The dialog's working font is refilled from Font whenever the dialog
    // opens; until then it is the copy made before the defaults.
    EXPECT_NE(app->DialogFont, nullptr);
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
    const DWORD parent = GetFileAttributesW(shots.substr(0, slash).c_str());
    EXPECT_TRUE(parent != INVALID_FILE_ATTRIBUTES && (parent & FILE_ATTRIBUTE_DIRECTORY))
        << "inside the user's documents";
}

TEST_F(Defaults, ResetRestoresTheDefaultFont)
{
    delete app->Font;
    app->Font = new CFont(L"Arial", 700L, 12L, 1, 1, 0);
    app->Font->SetColor(0x00FF00);
    ApplyDefaults(app);
    EXPECT_STREQ(app->Font->GetFaceName(), L"Times New Roman");
    EXPECT_EQ(app->Font->GetWeight(), 400);
    EXPECT_EQ(app->Font->GetHeight(), CFont::CalcHeightTolfHeight(24));
    EXPECT_FALSE(app->Font->IsItalic());
    EXPECT_EQ(app->Font->GetColor(), 0x0000FFu);
}

TEST_F(Defaults, ResetKeepsPositionAndProgramFacts)
{
    tSettings &s = app->Settings;
    s.PositionLeft = 123;
    s.PositionTop = -45;
    s.IsLocalDrive = true;
    wcscpy_s(s.AppPath, L"C:\\Tools\\Tempulo.exe");
    s.FontType = 1;
    s.FormatNo = 3;
    s.Event = 2;
    s.LaunchTime[2] = 1999;

    ApplyDefaults(app);
    EXPECT_EQ(s.PositionLeft, 123);
    EXPECT_EQ(s.PositionTop, -45);
    EXPECT_TRUE(s.IsLocalDrive);
    EXPECT_STREQ(s.AppPath, L"C:\\Tools\\Tempulo.exe");
    EXPECT_EQ(s.FontType, 2);
    EXPECT_EQ(s.Event, 1);
    EXPECT_STREQ(app->Layout->Format, L"ddddd hh:mm:ss");
}

TEST_F(Defaults, LaunchTimeIsTheMomentOfTheReset)
{
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    ApplyDefaults(app);
    GetLocalTime(&after);
    const int *t = app->Settings.LaunchTime;
    auto key = [](int d, int mo, int y, int h, int mi, int s) {
        return ((((y * 100LL + mo) * 100 + d) * 100 + h) * 100 + mi) * 100 + s;
    };
    const long long launch = key(t[0], t[1], t[2], t[3], t[4], t[5]);
    EXPECT_GE(launch, key(before.wDay, before.wMonth, before.wYear, before.wHour, before.wMinute,
                          before.wSecond));
    EXPECT_LE(launch, key(after.wDay, after.wMonth, after.wYear, after.wHour, after.wMinute,
                          after.wSecond));
}

} // namespace

#include "font/CFont.h"
#include "registry/CRegistry.h"
#include "settings/AppData.h"
#include "settings/Settings.h"
#include "support/RawRegistry.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

// Each test keeps its settings under a key name of its own (RegistryKey), so
// it never meets the settings of the real program or of another test; the
// autostart value has a fixed name and is removed after every test.

using wintest::ReadRaw;

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Every field that LoadSettings and SaveSettings carry, but the colour table
// and the screenshot folder.
// clang-format off
#define PERSISTED_FIELDS(X)                                                                        \
    X(Tag) X(Monat) X(Jahr) X(Stunde) X(Minute) X(FontType) X(TabIndex) X(BackColor) X(AutoStart)  \
    X(TickEnabled) X(TickAtLastSecondsEnabled) X(AcceptPast) X(SpecialDay) X(SpecialYear)          \
    X(SetTime) X(SetPlus) X(TD_Tag) X(TD_Monat) X(TD_Jahr) X(TD_Stunde) X(TD_Minute)               \
    X(TD_Sekunde) X(Event) X(EventNo) X(SoundEnabled) X(TakePrntScrn) X(ExtensionNo)              \
    X(TaskEnabled) X(IsMo) X(IsDi) X(IsMi) X(IsDo) X(IsFr) X(IsSa) X(IsSo) X(TaskState)            \
    X(Start_Stunde) X(Start_Minute) X(Count_Stunde) X(Count_Minute) X(Jeweils_Stunde)              \
    X(Jeweils_Minute) X(FormatNo) X(Zoom) X(PosHorizontal) X(PosVertikal) X(Front)                 \
    X(Use1Monitor) X(IsFreePos) X(ShowInTaskbar) X(TaskbarChanged)
// clang-format on

void ExpectSameSettings(const tSettings &a, const tSettings &b)
{
#define SAME(field) EXPECT_EQ(a.field, b.field) << #field;
    PERSISTED_FIELDS(SAME)
#undef SAME
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        EXPECT_EQ(a.RgbColors[i], b.RgbColors[i]) << "RgbColors " << i;
    EXPECT_STREQ(a.PrntScrnPath, b.PrntScrnPath);
}

class Persistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = CreateAppData(GetModuleHandleW(nullptr));
        wcscpy_s(app->RegistryKey, name.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
        ApplyDefaults(app);
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Tempulo");
        DestroyAppData(app);
    }

    DWORD Stored(const wchar_t *sub, const wchar_t *value) const
    {
        return ReadRaw(base + L"\\" + sub, value).Dword();
    }
    // Values as another writer would leave them, in the class's own forms.
    CRegistry Store() const { return CRegistry(app->RegistryKey, RegCurrentUser); }

    const std::wstring name = wintest::UniqueName(L"TempuloTest-");
    const std::wstring base = L"Software\\Wow6432Node\\Orvandt\\" + name;
    tAppData *app = nullptr;
};

// Every persisted field away from its default (so that a value that is not
// loaded shows), and a font unlike the default one. IsFreePos stays false
// here, or Use1Monitor would be stored as 0.
void SetUnusualSettings(tAppData *app)
{
    tSettings &s = app->Settings;
    s.IsLocalDrive = true;
    wcscpy_s(s.AppPath, L"C:\\Program Files\\Tempulo\\Tempulo.exe");
    s.AutoStart = true, s.TabIndex = 4, s.FontType = 3, s.BackColor = 0x00102030;
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        s.RgbColors[i] = 0x00010101u * (i + 1);
    s.FormatNo = 2;
    s.Tag = 29, s.Monat = 2, s.Jahr = 2032, s.Stunde = 23, s.Minute = 59;
    s.TickEnabled = true, s.TickAtLastSecondsEnabled = false, s.AcceptPast = true;
    s.SpecialDay = 5, s.SpecialYear = 2040, s.SetTime = false, s.SetPlus = false;
    s.TD_Tag = -3, s.TD_Monat = -1, s.TD_Jahr = 7, s.TD_Stunde = -12, s.TD_Minute = 30;
    s.TD_Sekunde = INT_MIN;
    s.Zoom = 4, s.Front = false, s.Use1Monitor = true, s.ShowInTaskbar = true;
    s.PosVertikal = -1, s.PosHorizontal = 1, s.IsFreePos = false;
    s.Event = 2, s.EventNo = 3, s.SoundEnabled = true, s.TakePrntScrn = false;
    s.ExtensionNo = 4;
    wcscpy_s(s.PrntScrnPath, L"D:\\Bilder\\Bildschirmfotos äöü");
    s.TaskEnabled = true;
    s.IsMo = s.IsDi = s.IsMi = s.IsDo = s.IsFr = s.IsSa = s.IsSo = true;
    s.TaskState = 3, s.Start_Stunde = 1, s.Start_Minute = 2, s.Count_Stunde = 3;
    s.Count_Minute = 4, s.Jeweils_Stunde = 5, s.Jeweils_Minute = 6;
    delete app->Font;
    app->Font = new CFont(L"Courier New", 700L, -40L, 1, 1, 1);
    app->Font->SetColor(0x00345678);
}

TEST_F(Persistence, EmptyRegistryLoadsEveryDefault)
{
    tSettings defaults = app->Settings;
    app->Settings.PositionLeft = 10;
    LoadSettings(app);
    ExpectSameSettings(app->Settings, defaults);
    EXPECT_EQ(app->Settings.PositionLeft, INT_MIN);
    EXPECT_STREQ(app->Font->GetFaceName(), L"Times New Roman");
    EXPECT_EQ(app->Font->GetHeight(), CFont::CalcHeightTolfHeight(24));
    EXPECT_EQ(app->Font->GetColor(), 0x0000FFu);
    EXPECT_STREQ(app->Layout->Format, L"ddddd hh:mm:ss");
    EXPECT_FALSE(wintest::RawKeyExists(base)) << "loading writes nothing";
}

TEST_F(Persistence, EverySettingSurvivesSaveAndLoadInItsRegistryForm)
{
    SetUnusualSettings(app);
    app->Settings.TaskbarChanged = false; // follows ShowInTaskbar on load
    SaveSettings(app);
    tSettings saved = app->Settings;
    saved.TaskbarChanged = saved.ShowInTaskbar;

    EXPECT_EQ(Stored(L"Option", L"AutoStart"), 1u);
    EXPECT_EQ(Stored(L"Calc", L"TD_Tag"), 0xFFFFFFFCu) << "-3 in the shifted int form";
    EXPECT_EQ(Stored(L"Calc", L"TD_Sekunde"), 0x7FFFFFFFu);
    EXPECT_EQ(Stored(L"Font", L"Height"), 0xFFFFFFD7u) << "-40 shifted";
    EXPECT_EQ(Stored(L"Font", L"RGB"), 0x00345678u);
    EXPECT_EQ(Stored(L"Colors", L"RgbColors03"), 0x00040404u);
    EXPECT_EQ(Stored(L"Colors", L"RgbColors15"), 0x00101010u);
    EXPECT_STREQ(ReadRaw(base + L"\\Font", L"FaceName").Text().c_str(), L"Courier New");
    EXPECT_EQ(ReadRaw(base + L"\\position", L"left").found, false) << "left to the main window";

    ApplyDefaults(app);
    LoadSettings(app);
    ExpectSameSettings(app->Settings, saved);
    EXPECT_EQ(app->Settings.PositionLeft, INT_MIN) << "position is the window's to save";
    CFont *font = app->Font;
    EXPECT_STREQ(font->GetFaceName(), L"Courier New");
    EXPECT_EQ(font->GetWeight(), 700);
    EXPECT_EQ(font->GetHeight(), -40) << "the stored logical height, not points";
    EXPECT_EQ(font->GetItalic() + font->GetUnderline() + font->GetStrikeOut(), 3);
    EXPECT_EQ(font->GetColor(), 0x00345678u);
    EXPECT_STREQ(app->Layout->Format, L" yyy.MM.ddd hh:mm:ss ") << "font faces get blanks";
}

// --- values another program or a hand edit left --------------------------------

TEST_F(Persistence, ValuesOutOfRangeAreFixed)
{
    const struct {
        const wchar_t *sub, *name;
        int stored, loaded;
        int tSettings::*field;
    } cases[] = {
        {L"Option", L"FontType", 0, 1, &tSettings::FontType},
        {L"Option", L"FontType", 7, 1, &tSettings::FontType},
        {L"Option", L"FontType", 3, 3, &tSettings::FontType},
        {L"Option", L"FormatNo", -1, 0, &tSettings::FormatNo},
        {L"Option", L"FormatNo", 4, 0, &tSettings::FormatNo},
        {L"Option", L"FormatNo", INT_MIN, 0, &tSettings::FormatNo},
        {L"Option", L"FormatNo", 3, 3, &tSettings::FormatNo},
        {L"Action", L"EventNo", 4, 0, &tSettings::EventNo},
        {L"Action", L"EventNo", -1, 0, &tSettings::EventNo},
        {L"Action", L"EventNo", 3, 3, &tSettings::EventNo},
    };
    for (const auto &c : cases) {
        ApplyDefaults(app);
        Store().WriteValue(c.sub, c.name, c.stored);
        LoadSettings(app);
        EXPECT_EQ(app->Settings.*c.field, c.loaded) << c.name << " " << c.stored;
    }
}

TEST_F(Persistence, BooleansAreTrueOnlyForExactlyOne)
{
    CRegistry store = Store();
    store.WriteValue(L"Common", L"Front", 2);                     // default true
    store.WriteValue(L"Option", L"TickAtLastSecondsEnabled", -1); // default true
    store.WriteValue(L"Calc", L"SetTime", (DWORD)0xFFFFFFFF);     // default true
    store.WriteValue(L"Task", L"IsSo", 1);
    store.WriteValue(L"Action", L"SoundEnabled", 256);
    LoadSettings(app);
    const tSettings &s = app->Settings;
    EXPECT_FALSE(s.Front || s.TickAtLastSecondsEnabled || s.SetTime || s.SoundEnabled);
    EXPECT_TRUE(s.IsSo);
}

TEST_F(Persistence, ValuesOfTheWrongTypeOrSizeKeepTheDefault)
{
    tSettings defaults = app->Settings;
    CRegistry store = Store();
    store.WriteValue(L"Basis", L"Jahr", L"2030");
    store.WriteValue(L"Option", L"FontType", L"3");
    store.WriteValue(L"Common", L"Front", L"0");
    store.WriteValue(L"Action", L"PrntScrnPath", 5);
    store.WriteValue(L"Font", L"FaceName", 1);
    store.WriteValue(L"Colors", L"RgbColors03", L"0xFFFFFF");
    store.WriteValue(L"Calc", L"SpecialDay", std::wstring(300, L'p').c_str());
    // Font style flags are taken as one byte.
    store.WriteValue(L"Font", L"Italic", 0x101);
    store.WriteValue(L"Font", L"Underline", 0x200);
    LoadSettings(app);
    ExpectSameSettings(app->Settings, defaults);
    EXPECT_STREQ(app->Font->GetFaceName(), L"Times New Roman");
    EXPECT_EQ(app->Font->GetItalic(), 1);
    EXPECT_EQ(app->Font->GetUnderline(), 0);

    store.WriteValue(L"Action", L"PrntScrnPath", std::wstring(300, L'p').c_str());
    store.WriteValue(L"Font", L"FaceName", std::wstring(40, L'f').c_str());
    LoadSettings(app);
    EXPECT_STREQ(app->Settings.PrntScrnPath, defaults.PrntScrnPath) << "too long to read";
    EXPECT_EQ(wcslen(app->Font->GetFaceName()), 31u) << "face names are cut to fit";
}

// --- special rules of saving --------------------------------------------------

TEST_F(Persistence, FreePositionStoresUse1MonitorAsZero)
{
    app->Settings.Use1Monitor = true;
    app->Settings.IsFreePos = true;
    SaveSettings(app);
    EXPECT_EQ(Stored(L"Common", L"Use1Monitor"), 0u);
    EXPECT_TRUE(app->Settings.Use1Monitor) << "the field itself stays";
    LoadSettings(app);
    EXPECT_FALSE(app->Settings.Use1Monitor);
    EXPECT_TRUE(app->Settings.IsFreePos);

    app->Settings.Use1Monitor = true;
    app->Settings.IsFreePos = false;
    SaveSettings(app);
    EXPECT_EQ(Stored(L"Common", L"Use1Monitor"), 1u);
}

TEST_F(Persistence, AutoStartEntryFollowsTheSettingAndLoadsOnlyFromALocalDrive)
{
    tSettings &s = app->Settings;
    s.IsLocalDrive = true;
    wcscpy_s(s.AppPath, L"C:\\Program Files\\Tempulo\\Tempulo.exe");
    s.AutoStart = true;
    SaveSettings(app);
    // Quoted: unquoted, a path with blanks could start C:\Program.exe.
    EXPECT_STREQ(ReadRaw(kRunKey, L"Tempulo").Text().c_str(),
                 L"\"C:\\Program Files\\Tempulo\\Tempulo.exe\"");
    s.AutoStart = false;
    SaveSettings(app);
    EXPECT_FALSE(ReadRaw(kRunKey, L"Tempulo").found);

    Store().WriteValue(L"Option", L"AutoStart", 1);
    s.IsLocalDrive = false;
    LoadSettings(app);
    EXPECT_FALSE(s.AutoStart);
    s.IsLocalDrive = true;
    LoadSettings(app);
    EXPECT_TRUE(s.AutoStart);
}

} // namespace

#include "font/CFont.h"
#include "registry/CRegistry.h"
#include "settings/AppData.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

// Each test keeps its settings under a key name of its own (RegistryKey), so
// it never meets the settings of the real program or of another test; the
// autostart value has a fixed name and is removed after every test.

namespace {

const wchar_t kMaker[] = L"Software\\Wow6432Node\\Orvandt";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool RawDword(const std::wstring &key, const wchar_t *name, DWORD *value)
{
    DWORD type = 0, size = sizeof(*value);
    return RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, &type, value, &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD;
}

bool RawText(const std::wstring &key, const wchar_t *name, std::wstring *text)
{
    wchar_t buffer[1024];
    DWORD type = 0, size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, &type, buffer, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    *text = buffer;
    return true;
}

void ExpectSameSettings(const tSettings &a, const tSettings &b)
{
#define SAME(field) EXPECT_EQ(a.field, b.field) << #field
    SAME(Tag);
    SAME(Monat);
    SAME(Jahr);
    SAME(Stunde);
    SAME(Minute);
    SAME(FontType);
    SAME(TabIndex);
    SAME(BackColor);
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        SAME(RgbColors[i]);
    SAME(AutoStart);
    SAME(TickEnabled);
    SAME(TickAtLastSecondsEnabled);
    SAME(AcceptPast);
    SAME(SpecialDay);
    SAME(SpecialYear);
    SAME(SetTime);
    SAME(SetPlus);
    SAME(TD_Tag);
    SAME(TD_Monat);
    SAME(TD_Jahr);
    SAME(TD_Stunde);
    SAME(TD_Minute);
    SAME(TD_Sekunde);
    SAME(Event);
    SAME(EventNo);
    SAME(SoundEnabled);
    SAME(TakePrntScrn);
    SAME(ExtensionNo);
    SAME(TaskEnabled);
    SAME(IsMo);
    SAME(IsDi);
    SAME(IsMi);
    SAME(IsDo);
    SAME(IsFr);
    SAME(IsSa);
    SAME(IsSo);
    SAME(TaskState);
    SAME(Start_Stunde);
    SAME(Start_Minute);
    SAME(Count_Stunde);
    SAME(Count_Minute);
    SAME(Jeweils_Stunde);
    SAME(Jeweils_Minute);
    SAME(FormatNo);
    SAME(Zoom);
    SAME(PosHorizontal);
    SAME(PosVertikal);
    SAME(Front);
    SAME(Use1Monitor);
    SAME(IsFreePos);
    SAME(ShowInTaskbar);
    SAME(TaskbarChanged);
#undef SAME
    EXPECT_STREQ(a.PrntScrnPath, b.PrntScrnPath);
}

class Persistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = CreateAppData(GetModuleHandleW(nullptr));
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string test = info->name();
        const std::wstring name = L"TempuloTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::wstring(test.begin(), test.end());
        wcscpy_s(app->RegistryKey, name.c_str());
        base = std::wstring(kMaker) + L"\\" + name;
        RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
        ApplyDefaults(app);
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Tempulo");
        DestroyAppData(app);
    }

    std::wstring Key(const wchar_t *sub) const { return base + L"\\" + sub; }
    // Values as another writer would leave them, in the class's own forms.
    CRegistry Store() const { return CRegistry(app->RegistryKey, RegCurrentUser); }

    tAppData *app = nullptr;
    std::wstring base;
};

// Every persisted field away from its default (so that a value that is not
// loaded shows), and a font unlike the default one. IsFreePos stays false
// here, or Use1Monitor would be stored as 0.
void SetUnusualSettings(tAppData *app)
{
    tSettings &s = app->Settings;
    s.IsLocalDrive = true;
    wcscpy_s(s.AppPath, L"C:\\Program Files\\Tempulo\\Tempulo.exe");
    s.AutoStart = true;
    s.TabIndex = 4;
    s.FontType = 3;
    s.BackColor = 0x00102030;
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

// --- loading over the defaults ----------------------------------------------

TEST_F(Persistence, EmptyRegistryLoadsEveryDefault)
{
    tSettings defaults = app->Settings;
    app->Settings.PositionLeft = 10;
    app->Settings.PositionTop = 20;
    LoadSettings(app);

    ExpectSameSettings(app->Settings, defaults);
    EXPECT_EQ(app->Settings.PositionLeft, INT_MIN);
    EXPECT_EQ(app->Settings.PositionTop, INT_MIN);
    EXPECT_STREQ(app->Font->GetFaceName(), L"Times New Roman");
    EXPECT_EQ(app->Font->GetHeight(), CFont::CalcHeightTolfHeight(24));
    EXPECT_EQ(app->Font->GetWeight(), 400);
    EXPECT_EQ(app->Font->GetColor(), 0x0000FFu);
    EXPECT_STREQ(app->Layout->Format, L"ddddd hh:mm:ss");
    EXPECT_FALSE(CRegistry(app->RegistryKey, RegCurrentUser).ExistKey(L""))
        << "loading writes nothing";
}

TEST_F(Persistence, EverySettingSurvivesSaveAndLoad)
{
    SetUnusualSettings(app);
    app->Settings.TaskbarChanged = false; // follows ShowInTaskbar on load
    SaveSettings(app);
    tSettings saved = app->Settings;
    saved.TaskbarChanged = saved.ShowInTaskbar;

    ApplyDefaults(app);
    LoadSettings(app);
    ExpectSameSettings(app->Settings, saved);
    EXPECT_EQ(app->Settings.PositionLeft, INT_MIN) << "position is the window's to save";

    CFont *font = app->Font;
    EXPECT_STREQ(font->GetFaceName(), L"Courier New");
    EXPECT_EQ(font->GetWeight(), 700);
    EXPECT_EQ(font->GetHeight(), -40) << "the stored logical height, not points";
    EXPECT_EQ(font->GetItalic(), 1);
    EXPECT_EQ(font->GetUnderline(), 1);
    EXPECT_EQ(font->GetStrikeOut(), 1);
    EXPECT_EQ(font->GetColor(), 0x00345678u);
    EXPECT_STREQ(app->Layout->Format, L" yyy.MM.ddd hh:mm:ss ") << "font faces get blanks";
}

TEST_F(Persistence, SavedValuesHaveTheirRegistryForms)
{
    SetUnusualSettings(app);
    SaveSettings(app);

    DWORD v = 0;
    ASSERT_TRUE(RawDword(Key(L"Option"), L"AutoStart", &v));
    EXPECT_EQ(v, 1u);
    ASSERT_TRUE(RawDword(Key(L"Calc"), L"TD_Tag", &v));
    EXPECT_EQ(v, 0xFFFFFFFCu) << "-3 in the shifted int form";
    ASSERT_TRUE(RawDword(Key(L"Calc"), L"TD_Sekunde", &v));
    EXPECT_EQ(v, 0x7FFFFFFFu);
    ASSERT_TRUE(RawDword(Key(L"Font"), L"Height", &v));
    EXPECT_EQ(v, 0xFFFFFFD7u) << "-40 shifted";
    ASSERT_TRUE(RawDword(Key(L"Font"), L"RGB", &v));
    EXPECT_EQ(v, 0x00345678u);
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) {
        wchar_t name[16];
        swprintf_s(name, L"RgbColors%02d", i);
        ASSERT_TRUE(RawDword(Key(L"Colors"), name, &v)) << i;
        EXPECT_EQ(v, 0x00010101u * (i + 1));
    }
    std::wstring text;
    ASSERT_TRUE(RawText(Key(L"Font"), L"FaceName", &text));
    EXPECT_EQ(text, L"Courier New");
    ASSERT_TRUE(RawText(Key(L"Action"), L"PrntScrnPath", &text));
    EXPECT_EQ(text, L"D:\\Bilder\\Bildschirmfotos äöü");
    EXPECT_FALSE(RawDword(Key(L"position"), L"left", &v)) << "left to the main window";
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
        SCOPED_TRACE(std::wstring(c.name) + L" " + std::to_wstring(c.stored));
        ApplyDefaults(app);
        Store().WriteValue(c.sub, c.name, c.stored);
        LoadSettings(app);
        EXPECT_EQ(app->Settings.*c.field, c.loaded);
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
    EXPECT_FALSE(app->Settings.Front);
    EXPECT_FALSE(app->Settings.TickAtLastSecondsEnabled);
    EXPECT_FALSE(app->Settings.SetTime);
    EXPECT_TRUE(app->Settings.IsSo);
    EXPECT_FALSE(app->Settings.SoundEnabled);
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
    LoadSettings(app);
    EXPECT_EQ(app->Settings.Jahr, defaults.Jahr);
    EXPECT_EQ(app->Settings.FontType, 2);
    EXPECT_TRUE(app->Settings.Front);
    EXPECT_STREQ(app->Settings.PrntScrnPath, defaults.PrntScrnPath);
    EXPECT_STREQ(app->Font->GetFaceName(), L"Times New Roman");
    EXPECT_EQ(app->Settings.RgbColors[3], defaults.RgbColors[3]);
    EXPECT_EQ(app->Settings.SpecialDay, defaults.SpecialDay);

    store.WriteValue(L"Action", L"PrntScrnPath", std::wstring(300, L'p').c_str());
    store.WriteValue(L"Font", L"FaceName", std::wstring(40, L'f').c_str());
    LoadSettings(app);
    EXPECT_STREQ(app->Settings.PrntScrnPath, defaults.PrntScrnPath) << "too long to read";
    EXPECT_EQ(wcslen(app->Font->GetFaceName()), 31u) << "face names are cut to fit";
}

TEST_F(Persistence, FontStyleFlagsAreTakenAsOneByte)
{
    CRegistry store = Store();
    store.WriteValue(L"Font", L"Italic", 0x101);
    store.WriteValue(L"Font", L"Underline", 0x200);
    store.WriteValue(L"Font", L"StrikeOut", 2);
    LoadSettings(app);
    EXPECT_EQ(app->Font->GetItalic(), 1);
    EXPECT_EQ(app->Font->GetUnderline(), 0);
    EXPECT_EQ(app->Font->GetStrikeOut(), 2);
    EXPECT_EQ(app->Font->GetColor(), 0x0000FFu) << "colour default kept";
}

// --- special rules of saving --------------------------------------------------

TEST_F(Persistence, FreePositionStoresUse1MonitorAsZero)
{
    DWORD v = 7;
    app->Settings.Use1Monitor = true;
    app->Settings.IsFreePos = true;
    SaveSettings(app);
    ASSERT_TRUE(RawDword(Key(L"Common"), L"Use1Monitor", &v));
    EXPECT_EQ(v, 0u);
    EXPECT_TRUE(app->Settings.Use1Monitor) << "the field itself stays";
    LoadSettings(app);
    EXPECT_FALSE(app->Settings.Use1Monitor);
    EXPECT_TRUE(app->Settings.IsFreePos);

    app->Settings.Use1Monitor = true;
    app->Settings.IsFreePos = false;
    SaveSettings(app);
    ASSERT_TRUE(RawDword(Key(L"Common"), L"Use1Monitor", &v));
    EXPECT_EQ(v, 1u);
}

TEST_F(Persistence, AutoStartEntryFollowsTheSetting)
{
    tSettings &s = app->Settings;
    s.IsLocalDrive = true;
    wcscpy_s(s.AppPath, L"C:\\Program Files\\Tempulo\\Tempulo.exe");
    s.AutoStart = true;
    SaveSettings(app);
    std::wstring command;
    ASSERT_TRUE(RawText(kRunKey, L"Tempulo", &command));
    // Quoted: unquoted, a path with blanks could start C:\Program.exe.
    EXPECT_EQ(command, L"\"C:\\Program Files\\Tempulo\\Tempulo.exe\"");

    s.AutoStart = false;
    SaveSettings(app);
    EXPECT_FALSE(RawText(kRunKey, L"Tempulo", &command));
}

TEST_F(Persistence, AutoStartLoadsOnlyFromALocalDrive)
{
    Store().WriteValue(L"Option", L"AutoStart", 1);
    app->Settings.IsLocalDrive = false;
    LoadSettings(app);
    EXPECT_FALSE(app->Settings.AutoStart);
    app->Settings.IsLocalDrive = true;
    LoadSettings(app);
    EXPECT_TRUE(app->Settings.AutoStart);
}

} // namespace

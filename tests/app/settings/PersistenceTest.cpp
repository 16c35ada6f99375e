// Settings through the real registry of the test prefix: what is saved loads
// back unchanged, and whatever another program, an older version or a hand
// edit left in any value of the tree loads as a safe value and is written
// back clean. Each test keeps its settings under a key name of its own.
#include "font/CFont.h"
#include "registry/CRegistry.h"
#include "settings/AppData.h"
#include "settings/Settings.h"
#include "support/RawRegistry.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

using wintest::ReadRaw;
using wintest::WriteRaw;

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The whole tree, by subkey; "$" marks a text value.
const struct {
    const wchar_t *sub, *names;
} kTree[] = {
    {L"Option", L"AutoStart FontType FormatNo TickEnabled TickAtLastSecondsEnabled AcceptPast"},
    {L"Common",
     L"TabIndex Zoom Front Use1Monitor ShowInTaskbar PosVertikal PosHorizontal IsFreePos"},
    {L"Font", L"$FaceName Weight Height Italic Underline StrikeOut RGB"},
    {L"Colors", L"BackColor RgbColors00 RgbColors01 RgbColors02 RgbColors03 RgbColors04 "
                L"RgbColors05 RgbColors06 RgbColors07 RgbColors08 RgbColors09 RgbColors10 "
                L"RgbColors11 RgbColors12 RgbColors13 RgbColors14 RgbColors15"},
    {L"Basis", L"Tag Monat Jahr Stunde Minute"},
    {L"Calc", L"SpecialDay SpecialYear SetTime SetPlus TD_Tag TD_Monat TD_Jahr TD_Stunde "
              L"TD_Minute TD_Sekunde"},
    {L"Action", L"Event EventNo SoundEnabled TakePrntScrn ExtensionNo $PrntScrnPath"},
    {L"position", L"left top"},
    {L"Task", L"TaskEnabled IsMo IsDi IsMi IsDo IsFr IsSa IsSo TaskState Start_Stunde "
              L"Start_Minute Count_Stunde Count_Minute Jeweils_Stunde Jeweils_Minute"},
};

struct Value {
    std::wstring sub, name;
    bool text;
};

std::vector<Value> Tree()
{
    std::vector<Value> values;
    for (const auto &branch : kTree) {
        std::wistringstream names(branch.names);
        for (std::wstring name; names >> name;)
            values.push_back(
                {branch.sub, name[0] == L'$' ? name.substr(1) : name, name[0] == L'$'});
    }
    return values;
}

// Every field that loading and saving carry, but the colours and the folder.
// clang-format off
#define PERSISTED_FIELDS(X)                                                                        \
    X(Tag) X(Monat) X(Jahr) X(Stunde) X(Minute) X(FontType) X(TabIndex) X(BackColor) X(AutoStart)  \
    X(TickEnabled) X(TickAtLastSecondsEnabled) X(AcceptPast) X(SpecialDay) X(SpecialYear)          \
    X(SetTime) X(SetPlus) X(TD_Tag) X(TD_Monat) X(TD_Jahr) X(TD_Stunde) X(TD_Minute)               \
    X(TD_Sekunde) X(Event) X(EventNo) X(SoundEnabled) X(TakePrntScrn) X(ExtensionNo)              \
    X(TaskEnabled) X(IsMo) X(IsDi) X(IsMi) X(IsDo) X(IsFr) X(IsSa) X(IsSo) X(TaskState)            \
    X(Start_Stunde) X(Start_Minute) X(Count_Stunde) X(Count_Minute) X(Jeweils_Stunde)              \
    X(Jeweils_Minute) X(FormatNo) X(Zoom) X(PosHorizontal) X(PosVertikal) X(Front)                 \
    X(Use1Monitor) X(IsFreePos) X(ShowInTaskbar) X(TaskbarChanged) X(PositionLeft) X(PositionTop)
// clang-format on

struct FontFacts {
    std::wstring face;
    long height, weight;
    COLORREF color;
};

FontFacts FactsOf(CFont *font)
{
    return {font->GetFaceName(), font->GetHeight(), font->GetWeight(), font->GetColor()};
}

// The fields and font facts that differ; empty when none does.
std::string Differences(tAppData *a, const tSettings &s, const FontFacts &font)
{
    std::ostringstream out;
#define SAME(field)                                                                                \
    if (a->Settings.field != s.field) out << #field " " << a->Settings.field << " ";
    PERSISTED_FIELDS(SAME)
#undef SAME
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        if (a->Settings.RgbColors[i] != s.RgbColors[i]) out << "RgbColors" << i << " ";
    if (wcscmp(a->Settings.PrntScrnPath, s.PrntScrnPath)) out << "PrntScrnPath ";
    const FontFacts f = FactsOf(a->Font);
    if (f.face != font.face || f.height != font.height || f.weight != font.weight ||
        f.color != font.color)
        out << "font ";
    return out.str();
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
    CRegistry Store() const { return CRegistry(app->RegistryKey, RegCurrentUser); }

    const std::wstring name = wintest::UniqueName(L"TempuloTest-");
    const std::wstring base = L"Software\\Wow6432Node\\Orvandt\\" + name;
    tAppData *app = nullptr;
};

TEST_F(Persistence, NothingStoredLoadsEveryDefaultAndWritesNothing)
{
    tSettings defaults = app->Settings;
    defaults.PositionLeft = defaults.PositionTop = INT_MIN;
    const FontFacts font = FactsOf(app->Font);
    app->Settings.PositionLeft = 10;
    LoadSettings(app);
    EXPECT_EQ(Differences(app, defaults, font), "");
    EXPECT_STREQ(app->Layout->Format, L"ddddd hh:mm:ss");
    EXPECT_FALSE(wintest::RawKeyExists(base));
}

TEST_F(Persistence, EverySettingSurvivesSaveAndLoadInItsRegistryForm)
{
    tSettings &s = app->Settings;
    // Every field away from its default, so that one not loaded shows.
    s.IsLocalDrive = true, s.AutoStart = true, s.TabIndex = 4, s.FontType = 3;
    s.BackColor = 0x00102030, s.FormatNo = 2;
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        s.RgbColors[i] = 0x00010101u * (i + 1);
    s.Tag = 29, s.Monat = 2, s.Jahr = 2032, s.Stunde = 23, s.Minute = 59;
    s.TickEnabled = true, s.TickAtLastSecondsEnabled = false, s.AcceptPast = true;
    s.SpecialDay = 5, s.SpecialYear = 2040, s.SetTime = false, s.SetPlus = false;
    s.TD_Tag = -3, s.TD_Monat = -1, s.TD_Jahr = 7, s.TD_Stunde = -12, s.TD_Minute = 30;
    s.TD_Sekunde = INT_MIN, s.Zoom = 4, s.Front = false, s.Use1Monitor = true;
    s.ShowInTaskbar = true, s.PosVertikal = -1, s.PosHorizontal = 1, s.IsFreePos = false;
    s.Event = 2, s.EventNo = 3, s.SoundEnabled = true, s.TakePrntScrn = false, s.ExtensionNo = 4;
    wcscpy_s(s.PrntScrnPath, L"D:\\Bilder\\Bildschirmfotos \u00e4\u00f6\u00fc");
    s.TaskEnabled = true, s.IsMo = s.IsDi = s.IsMi = s.IsDo = s.IsFr = s.IsSa = s.IsSo = true;
    s.TaskState = 3, s.Start_Stunde = 1, s.Start_Minute = 2, s.Count_Stunde = 3;
    s.Count_Minute = 4, s.Jeweils_Stunde = 5, s.Jeweils_Minute = 6, s.TaskbarChanged = true;
    delete app->Font;
    app->Font = new CFont(L"Courier New", 700L, -40L, 1, 1, 1);
    app->Font->SetColor(0x00345678);
    s.PositionLeft = s.PositionTop = INT_MIN; // not loaded: the window's to save
    SaveSettings(app);
    const tSettings saved = s;
    const FontFacts font = FactsOf(app->Font);

    // The int form keeps negative numbers apart from large ones.
    EXPECT_EQ(Stored(L"Calc", L"TD_Tag"), 0xFFFFFFFCu);
    EXPECT_EQ(Stored(L"Calc", L"TD_Sekunde"), 0x7FFFFFFFu);
    EXPECT_EQ(Stored(L"Colors", L"RgbColors15"), 0x00101010u);
    EXPECT_FALSE(ReadRaw(base + L"\\position", L"left").found) << "the window's to save";

    ApplyDefaults(app);
    LoadSettings(app);
    EXPECT_EQ(Differences(app, saved, font), "");
    EXPECT_EQ(app->Font->GetHeight(), -40) << "the stored logical height, not points";
    EXPECT_EQ(app->Font->GetItalic() + app->Font->GetUnderline() + app->Font->GetStrikeOut(), 3);
    EXPECT_STREQ(app->Layout->Format, L" yyy.MM.ddd hh:mm:ss ") << "font faces get blanks";
}

TEST_F(Persistence, NumbersOutOfRangeAndBooleansOtherThanOneLoadSafely)
{
    const struct {
        const wchar_t *sub, *name;
        int stored, loaded;
        int tSettings::*field;
        bool tSettings::*flag;
    } cases[] = {
        {L"Option", L"FontType", 0, 1, &tSettings::FontType, nullptr},
        {L"Option", L"FontType", 7, 1, &tSettings::FontType, nullptr},
        {L"Option", L"FormatNo", -1, 0, &tSettings::FormatNo, nullptr},
        {L"Option", L"FormatNo", INT_MIN, 0, &tSettings::FormatNo, nullptr},
        {L"Option", L"FormatNo", 3, 3, &tSettings::FormatNo, nullptr},
        {L"Action", L"EventNo", 4, 0, &tSettings::EventNo, nullptr},
        {L"Action", L"EventNo", -1, 0, &tSettings::EventNo, nullptr},
        {L"Common", L"Front", 2, 0, nullptr, &tSettings::Front},
        {L"Option", L"TickAtLastSecondsEnabled", -1, 0, nullptr,
         &tSettings::TickAtLastSecondsEnabled},
        {L"Task", L"IsSo", 1, 1, nullptr, &tSettings::IsSo},
        {L"Action", L"SoundEnabled", 257, 0, nullptr, &tSettings::SoundEnabled},
    };
    for (const auto &c : cases) {
        ApplyDefaults(app);
        Store().WriteValue(c.sub, c.name, c.stored);
        LoadSettings(app);
        EXPECT_EQ(c.field ? app->Settings.*c.field : (int)(app->Settings.*c.flag), c.loaded)
            << c.name << " stored as " << c.stored;
    }
    // Font styles are one byte.
    Store().WriteValue(L"Font", L"Italic", 0x101);
    LoadSettings(app);
    EXPECT_EQ(app->Font->GetItalic(), 1);
}

// A value of another type, size or shape than the program writes is as
// good as missing; a text without its terminator is taken as far as it
// goes. Afterwards the save writes the whole tree in its own forms.
TEST_F(Persistence, EveryValueOfTheTreeSurvivesWhatOthersLeaveThere)
{
    const DWORD one = 1;
    const ULONGLONG wide = 1;
    const BYTE blob[3] = {1, 2, 3};
    const std::wstring longText(300, L'p');
    const wchar_t unterminated[4] = {L'C', L':', L'\\', L'x'};
    const struct {
        const char *what;
        bool forText;
        DWORD type;
        const void *data;
        DWORD size;
        const wchar_t *loaded; // for text; null: the default
    } forms[] = {
        {"number as text", false, REG_SZ, L"1", 4, nullptr},
        {"number as 4 bytes of binary", false, REG_BINARY, &one, 4, nullptr},
        {"number as 8 bytes", false, REG_QWORD, &wide, 8, nullptr},
        {"number of 3 bytes", false, REG_DWORD, blob, 3, nullptr},
        {"text as number", true, REG_DWORD, &one, 4, nullptr},
        {"text as binary", true, REG_BINARY, blob, 3, nullptr},
        {"text as expandable", true, REG_EXPAND_SZ, L"C:\\y", 10, nullptr},
        {"text too long", true, REG_SZ, longText.c_str(), 602, nullptr},
        {"text without end", true, REG_SZ, unterminated, 8, L"C:\\x"},
        {"text of an odd size", true, REG_SZ, L"C:\\z", 7, L"C:\\"},
    };
    tSettings defaults = app->Settings;
    defaults.PositionLeft = defaults.PositionTop = INT_MIN;
    const FontFacts font = FactsOf(app->Font);
    const std::vector<Value> tree = Tree();
    ASSERT_EQ(tree.size(), 76u);
    for (const Value &v : tree)
        for (const auto &f : forms) {
            if (f.forText != v.text) continue;
            ApplyDefaults(app);
            RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
            ASSERT_TRUE(WriteRaw(base + L"\\" + v.sub, v.name.c_str(), f.type, f.data, f.size));
            LoadSettings(app);
            tSettings expected = defaults;
            FontFacts expectedFont = font;
            if (f.loaded && v.name == L"PrntScrnPath") wcscpy_s(expected.PrntScrnPath, f.loaded);
            if (f.loaded && v.name == L"FaceName") expectedFont.face = f.loaded;
            EXPECT_EQ(Differences(app, expected, expectedFont), "")
                << f.what << " in " << std::string(v.name.begin(), v.name.end());
        }

    // All at once, then saved: every value in the program's own form.
    for (const Value &v : tree)
        WriteRaw(base + L"\\" + v.sub, v.name.c_str(), v.text ? REG_DWORD : REG_SZ, L"17", 4);
    ApplyDefaults(app);
    LoadSettings(app);
    SaveSettings(app);
    for (const Value &v : tree) {
        if (v.sub == L"position") continue; // written by the window
        const wintest::RawValue stored = ReadRaw(base + L"\\" + v.sub, v.name.c_str());
        const std::string name(v.name.begin(), v.name.end());
        EXPECT_EQ(stored.type, v.text ? (DWORD)REG_SZ : (DWORD)REG_DWORD) << name;
        if (v.text)
            EXPECT_TRUE(stored.data.size() >= 2 && stored.data.size() % 2 == 0 &&
                        stored.data[stored.data.size() - 1] == 0 &&
                        stored.data[stored.data.size() - 2] == 0)
                << name;
        else
            EXPECT_EQ(stored.data.size(), 4u) << name;
    }
}

TEST_F(Persistence, SavingTakesCareOfTheFreePositionAndTheAutostartEntry)
{
    tSettings &s = app->Settings;
    // A dragged window belongs to no one monitor.
    s.Use1Monitor = s.IsFreePos = true;
    SaveSettings(app);
    EXPECT_EQ(Stored(L"Common", L"Use1Monitor"), 0u);
    EXPECT_TRUE(s.Use1Monitor) << "the field itself stays";

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

    // Only a program on a fixed local disk may start with Windows.
    Store().WriteValue(L"Option", L"AutoStart", 1);
    s.IsLocalDrive = false;
    LoadSettings(app);
    EXPECT_FALSE(s.AutoStart);
}

} // namespace

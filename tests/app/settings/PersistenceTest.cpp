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
#include <map>
#include <string>
#include <vector>

using wintest::ReadRaw;
using wintest::WriteRaw;

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The stored tree: "sub\\name" to type and bytes.
using Tree = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;

Tree Dump(const std::wstring &base)
{
    Tree tree;
    HKEY root;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, base.c_str(), 0, KEY_READ, &root)) return tree;
    wchar_t sub[256];
    for (DWORD i = 0, n = 256; !RegEnumKeyExW(root, i, sub, &n, 0, 0, 0, 0); ++i, n = 256) {
        HKEY key;
        if (RegOpenKeyExW(root, sub, 0, KEY_READ, &key)) continue;
        wchar_t name[256];
        BYTE data[2048];
        for (DWORD k = 0, nn = 256, type = 0, size = sizeof data;
             !RegEnumValueW(key, k, name, &nn, 0, &type, data, &size);
             ++k, nn = 256, size = sizeof data)
            tree[std::wstring(sub) + L"\\" + name] = {type, {data, data + size}};
        RegCloseKey(key);
    }
    RegCloseKey(root);
    return tree;
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
    // Loaded over the defaults and saved again into a fresh tree.
    Tree Resaved()
    {
        ApplyDefaults(app);
        LoadSettings(app);
        RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
        SaveSettings(app);
        return Dump(base);
    }

    const std::wstring name = wintest::UniqueName(L"TempuloTest-");
    const std::wstring base = L"Software\\Wow6432Node\\Orvandt\\" + name;
    tAppData *app = nullptr;
};

TEST_F(Persistence, NothingStoredLoadsEveryDefaultAndWritesNothing)
{
    SaveSettings(app);
    const Tree defaults = Dump(base);
    RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
    app->Settings.PositionLeft = 10;
    LoadSettings(app);
    EXPECT_FALSE(wintest::RawKeyExists(base)) << "loading writes nothing";
    EXPECT_EQ(app->Settings.PositionLeft, INT_MIN);
    EXPECT_STREQ(app->Layout->Format, L"ddddd hh:mm:ss");
    EXPECT_TRUE(Resaved() == defaults);
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
    SaveSettings(app);
    const Tree saved = Dump(base);
    ASSERT_EQ(saved.size(), 74u) << "the whole tree but the window's position";
    // The int form keeps negative numbers apart from large ones.
    EXPECT_EQ(Stored(L"Calc", L"TD_Tag"), 0xFFFFFFFCu);
    EXPECT_EQ(Stored(L"Calc", L"TD_Sekunde"), 0x7FFFFFFFu);
    EXPECT_TRUE(Resaved() == saved) << "every value loaded back";
    EXPECT_EQ(app->Font->GetHeight(), -40) << "the stored logical height, not points";
    EXPECT_STREQ(app->Layout->Format, L" yyy.MM.ddd hh:mm:ss ") << "font faces get blanks";
}

TEST_F(Persistence, NumbersOutOfRangeAndBooleansOtherThanOneLoadSafely)
{
    const struct {
        const wchar_t *sub, *name;
        int stored, saved; // as found, and as the next save writes it
    } cases[] = {
        {L"Option", L"FontType", 0, 1},
        {L"Option", L"FontType", 7, 1},
        {L"Option", L"FormatNo", -1, 0},
        {L"Option", L"FormatNo", INT_MIN, 0},
        {L"Option", L"FormatNo", 3, 3},
        {L"Action", L"EventNo", 4, 0},
        {L"Action", L"EventNo", -1, 0},
        {L"Common", L"Front", 2, 0},
        {L"Option", L"TickAtLastSecondsEnabled", -1, 0},
        {L"Task", L"IsSo", 1, 1},
        {L"Action", L"SoundEnabled", 257, 0},
        {L"Font", L"Italic", 0x101, 1},
    };
    for (const auto &c : cases) {
        RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
        Store().WriteValue(c.sub, c.name, c.stored);
        Resaved();
        EXPECT_EQ(Store().ReadValue(c.sub, c.name, -99), c.saved) << c.name << " " << c.stored;
    }
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
    SaveSettings(app);
    const Tree defaults = Dump(base);
    // Every value the defaults write, and the window's position, which they do not.
    std::map<std::wstring, bool> tree = {{L"position\\left", false}, {L"position\\top", false}};
    for (const auto &value : defaults)
        tree[value.first] = value.second.first == REG_SZ;
    ASSERT_EQ(tree.size(), 76u);
    for (const auto &v : tree)
        for (const auto &f : forms) {
            if (f.forText != v.second) continue;
            const size_t slash = v.first.find(L'\\');
            const std::wstring sub = v.first.substr(0, slash), name = v.first.substr(slash + 1);
            RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
            ASSERT_TRUE(WriteRaw(base + L"\\" + sub, name.c_str(), f.type, f.data, f.size));
            Tree expected = defaults;
            if (f.loaded) {
                const BYTE *p = (const BYTE *)f.loaded;
                expected[v.first].second.assign(p, p + (wcslen(f.loaded) + 1) * 2);
            }
            // Loaded as missing (or as far as it goes), and written back clean.
            EXPECT_TRUE(Resaved() == expected)
                << f.what << " in " << std::string(name.begin(), name.end());
            const int position =
                name == L"left" ? app->Settings.PositionLeft : app->Settings.PositionTop;
            EXPECT_TRUE(sub != L"position" || position == INT_MIN) << f.what;
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

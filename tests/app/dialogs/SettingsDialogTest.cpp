// The settings dialog of the real Tempulo.exe, driven from this process as a
// user would drive it: controls set and buttons pressed in the other
// process, messages answered, and what the program stored read back from the
// registry after it ended. Runs once per user-interface language.
#include "filesystem/CFileSystem.h"
#include "support/GdiCount.h"
#include "support/TempuloProcess.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using namespace wintest;

namespace {

const int FRAME = -1; // the frame's own controls, not a page's

bool German()
{
    return Env(L"TEST_LOCALE").rfind(L"de_", 0) == 0;
}

std::wstring Text(UINT id)
{
    wchar_t text[512] = L"";
    LoadStringW(GetModuleHandleW(nullptr), id, text, 512);
    return text;
}

// Texts of another process's controls go through messages: GetWindowText
// would give only the caption it keeps for top-level windows.
std::wstring EditText(HWND control)
{
    wchar_t text[512] = L"";
    SendMessageW(control, WM_GETTEXT, 512, (LPARAM)text);
    return text;
}

void SetEditText(HWND control, const std::wstring &text)
{
    SendMessageW(control, WM_SETTEXT, 0, (LPARAM)text.c_str());
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

// The visible top-level dialog of the process that the owner owns.
HWND OwnedBox(DWORD processId, HWND owner)
{
    struct Search {
        DWORD processId;
        HWND owner, found;
    } search = {processId, owner, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            Search *s = (Search *)param;
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == s->processId && IsWindowVisible(window) &&
                GetWindow(window, GW_OWNER) == s->owner && ClassOf(window) == L"#32770") {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&search);
    return search.found;
}

HWND WaitForOwnedBox(DWORD processId, HWND owner)
{
    HWND box = nullptr;
    WaitUntil([&] { return (box = OwnedBox(processId, owner)) != nullptr; }, 10000);
    return box;
}

bool WaitGone(HWND window)
{
    return WaitUntil([&] { return !IsWindow(window); }, 10000);
}

// The settings dialog of a running Tempulo, opened through its command.
class Dialog {
public:
    explicit Dialog(Tempulo &program) : program_(program)
    {
        PostMessageW(program.window, WM_COMMAND, 140, 0);
        frame = WaitForOwnedBox(program.Process().Id(), program.window);
        if (!frame) return;
        // The pages in tab order, told apart by a control of each.
        const int marks[5] = {180, 190, 210, 230, 240};
        for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            for (int i = 0; i < 5; ++i)
                if (ClassOf(child) == L"#32770" && GetDlgItem(child, marks[i])) pages[i] = child;
    }

    HWND frame = nullptr;
    HWND pages[5] = {};

    HWND Control(int page, int id) const
    {
        return GetDlgItem(page == FRAME ? frame : pages[page], id);
    }

    // A control's state as one text: an edit's text, a list's selection, a
    // button's check.
    std::wstring State(int page, int id) const
    {
        HWND control = Control(page, id);
        const std::wstring kind = ClassOf(control);
        if (kind == L"Edit") return EditText(control);
        if (kind == L"ComboBox") return std::to_wstring(SendMessageW(control, CB_GETCURSEL, 0, 0));
        return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0";
    }

    void Set(int page, int id, const std::wstring &value) const
    {
        HWND control = Control(page, id);
        const std::wstring kind = ClassOf(control);
        if (kind == L"Edit")
            SetEditText(control, value);
        else if (kind == L"ComboBox")
            SendMessageW(control, CB_SETCURSEL, std::stoi(value), 0);
        else
            SendMessageW(control, BM_SETCHECK, value == L"1" ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    // A button of the dialog or a page pressed; the dialog reacts in its own
    // time (a press may open a modal box).
    void Press(int id) const { wintest::Press(frame, id); }
    // A check box or radio clicked, and the dialog's reaction waited for.
    void Click(int page, int id, bool on) const
    {
        Set(page, id, on ? L"1" : L"0");
        SendMessageW(frame, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Control(page, id));
    }

    // The box the dialog shows next (a message, a helper dialog, a chooser).
    HWND NextBox() const { return WaitForOwnedBox(program_.Process().Id(), frame); }

    bool Close(int button)
    {
        Press(button);
        return WaitGone(frame);
    }

private:
    Tempulo &program_;
};

struct Registry {
    const wchar_t *sub, *name;
    int value;
};

void ExpectStored(std::initializer_list<Registry> values)
{
    for (const Registry &r : values)
        EXPECT_EQ(ReadTempuloSetting(r.sub, r.name), r.value) << r.sub << L"\\" << r.name;
}

struct Shown {
    int page, id;
    const wchar_t *state;
};

void ExpectShown(const Dialog &dialog, const std::vector<Shown> &rows, const char *what)
{
    for (const Shown &row : rows)
        EXPECT_EQ(dialog.State(row.page, row.id), row.state)
            << what << ": page " << row.page << " control " << row.id;
}

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override { ResetTempuloSettings(); }
    void TearDown() override
    {
        ResetTempuloSettings();
        HKEY run;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                          0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
            RegDeleteValueW(run, L"Tempulo");
            RegCloseKey(run);
        }
    }
};

TEST_F(SettingsDialog, FillsEveryPageFromTheLiveSettingsByTheDisplayRules)
{
    const struct {
        const char *what;
        std::initializer_list<Setting> settings;
        const wchar_t *face;
        std::vector<Shown> shown;
        int visiblePage;
    } cases[] = {
        {"placed window",
         {{L"Basis", L"Tag", 7},
          {L"Basis", L"Monat", 3},
          {L"Basis", L"Jahr", 2031},
          {L"Basis", L"Stunde", 5},
          {L"Basis", L"Minute", 0},
          {L"Option", L"FontType", 3},
          {L"Option", L"FormatNo", 2},
          {L"Option", L"TickEnabled", 1},
          {L"Option", L"TickAtLastSecondsEnabled", 0},
          {L"Option", L"AutoStart", 1},
          {L"Common", L"Zoom", 3},
          {L"Common", L"Front", 0},
          {L"Common", L"Use1Monitor", 1},
          {L"Common", L"ShowInTaskbar", 1},
          {L"Common", L"PosHorizontal", 1},
          {L"Common", L"PosVertikal", 2},
          {L"Common", L"TabIndex", 3},
          {L"Action", L"Event", 2},
          {L"Action", L"EventNo", 1},
          {L"Action", L"SoundEnabled", 1},
          {L"Action", L"TakePrntScrn", 1},
          {L"Action", L"ExtensionNo", 3},
          {L"Task", L"TaskState", 2},
          {L"Task", L"Count_Stunde", 12},
          {L"Task", L"Count_Minute", 5},
          {L"Task", L"Jeweils_Stunde", 7},
          {L"Task", L"IsMo", 1},
          {L"Task", L"IsSo", 1}},
         L"Courier New",
         {{FRAME, 270, L"1"}, {0, 182, L"0"},         {0, 183, L"0"},
          {0, 184, L"1"},     {0, 180, L"2"},         {0, 185, L"Courier New"},
          {0, 198, L"1"},     {0, 199, L"0"},         {1, 190, L"07"},
          {1, 191, L"03"},    {1, 192, L"2031"},      {1, 194, L"05"},
          {1, 195, L"00"},    {1, 200, L"0"},         {2, 210, L"3"},
          {2, 211, L"0"},     {2, 212, L"1"},         {2, 213, L"0"},
          {2, 214, L"1"},     {2, 215, L"0"},         {2, 216, L"0"},
          {2, 217, L"0"},     {2, 218, L"1"},         {2, 219, L"0"},
          {2, 220, L"1"},     {3, 230, L"0"},         {3, 231, L"1"},
          {3, 232, L"1"},     {3, 233, L"1"},         {3, 234, L"1"},
          {3, 239, L"3"},     {3, 236, L"C:\\shots"}, {4, 240, L"0"},
          {4, 241, L"0"},     {4, 242, L"1"},         {4, 243, L"0"},
          {4, 244, L""},      {4, 245, L""},          {4, 246, L"12"},
          {4, 247, L"5"},     {4, 255, L"07"},        {4, 256, L"00"},
          {4, 248, L"1"},     {4, 249, L"0"},         {4, 254, L"1"}},
         3},
        {"dragged window, blanks",
         {{L"Basis", L"Tag", 0},
          {L"Basis", L"Monat", 12},
          {L"Basis", L"Jahr", 0},
          {L"Option", L"FontType", 1},
          {L"Common", L"IsFreePos", 1},
          {L"Common", L"Use1Monitor", 1},
          {L"Common", L"PosHorizontal", 0},
          {L"Common", L"PosVertikal", 0},
          {L"position", L"left", 40},
          {L"position", L"top", 50},
          {L"Common", L"TabIndex", 7},
          {L"Option", L"AcceptPast", 1},
          {L"Action", L"Event", 1},
          {L"Action", L"ExtensionNo", 9}},
         nullptr,
         {{0, 182, L"1"},
          {0, 184, L"0"},
          {1, 190, L""},
          {1, 191, L"12"},
          {1, 192, L""},
          {1, 200, L"1"},
          {2, 212, L"0"},
          {2, 213, L"0"},
          {2, 216, L"0"},
          {2, 219, L"1"},
          {3, 230, L"1"},
          {3, 231, L"0"},
          {3, 239, L"-1"}},
         0},
    };
    for (const auto &c : cases) {
        ResetTempuloSettings();
        WriteTempuloSettings(c.settings);
        WriteTempuloText(L"Action", L"PrntScrnPath", L"C:\\shots");
        if (c.face) WriteTempuloText(L"Font", L"FaceName", c.face);
        Tempulo tempulo;
        // An invalid target is reported at the start: answered, it stays.
        if (HWND report = OwnedBox(tempulo.Process().Id(), tempulo.window)) {
            Press(report, IDOK);
            ASSERT_TRUE(WaitGone(report)) << c.what;
        }
        Dialog dialog(tempulo);
        ASSERT_NE(dialog.frame, nullptr) << c.what;
        EXPECT_EQ(WindowText(dialog.frame), German() ? L"Einstellungen" : L"Settings");
        ExpectShown(dialog, c.shown, c.what);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(IsWindowVisible(dialog.pages[i]) != 0, i == c.visiblePage) << c.what << i;
        EXPECT_TRUE(dialog.Close(IDCANCEL));
    }
}

TEST_F(SettingsDialog, OkRefusesAnInvalidTargetOrTaskAndStoresNothing)
{
    const std::wstring invalidDate = [] {
        wchar_t text[512];
        swprintf(text, 512, Text(3424).c_str(), 1900, 2099);
        return std::wstring(text);
    }();
    auto taskText = [](UINT reason) { return Text(3425) + Text(reason); };
    const struct {
        const char *what;
        std::vector<Shown> input; // on top of a valid 15.06.2030 12:00, task off
        std::wstring message;
    } cases[] = {
        {"empty day", {{1, 190, L""}}, invalidDate},
        {"31 February", {{1, 190, L"31"}, {1, 191, L"02"}}, invalidDate},
        {"29 February of a common year",
         {{1, 190, L"29"}, {1, 191, L"02"}, {1, 192, L"2027"}},
         invalidDate},
        {"year before 1900", {{1, 192, L"1899"}}, invalidDate},
        {"year after 2099", {{1, 192, L"2100"}}, invalidDate},
        {"year 100", {{1, 192, L"100"}}, invalidDate},
        {"hour 24", {{1, 194, L"24"}}, invalidDate},
        {"task since start without a time",
         {{4, 240, L"1"},
          {4, 241, L"1"},
          {4, 242, L"0"},
          {4, 243, L"0"},
          {4, 244, L""},
          {4, 245, L"0"}},
         taskText(3426)},
        {"task since last without a time",
         {{4, 240, L"1"},
          {4, 241, L"0"},
          {4, 242, L"1"},
          {4, 243, L"0"},
          {4, 246, L""},
          {4, 247, L""}},
         taskText(3427)},
        {"weekday task without a day",
         {{4, 240, L"1"}, {4, 241, L"0"}, {4, 242, L"0"}, {4, 243, L"1"}},
         taskText(3428)},
        {"weekday task at minute 60",
         {{4, 240, L"1"},
          {4, 241, L"0"},
          {4, 242, L"0"},
          {4, 243, L"1"},
          {4, 250, L"1"},
          {4, 255, L"10"},
          {4, 256, L"60"}},
         taskText(3429)},
        {"the date is checked before the task",
         {{1, 190, L"30"}, {1, 191, L"02"}, {4, 240, L"1"}, {4, 243, L"1"}},
         invalidDate},
    };
    WriteTempuloSettings({{L"Basis", L"Tag", 15},
                          {L"Basis", L"Monat", 6},
                          {L"Basis", L"Jahr", 2030},
                          {L"Basis", L"Stunde", 12},
                          {L"Basis", L"Minute", 0},
                          {L"Common", L"Zoom", 1}});
    Tempulo tempulo;
    Dialog dialog(tempulo);
    ASSERT_NE(dialog.frame, nullptr);
    const std::vector<Shown> valid = {
        {1, 190, L"15"}, {1, 191, L"06"}, {1, 192, L"2030"}, {1, 194, L"12"}, {1, 195, L"00"},
        {4, 240, L"0"},  {4, 241, L"1"},  {4, 242, L"0"},    {4, 243, L"0"},  {4, 248, L"0"},
        {4, 249, L"0"},  {4, 250, L"0"},  {4, 255, L"00"},   {4, 256, L"00"}, {2, 210, L"4"}};
    for (const auto &c : cases) {
        for (const Shown &s : valid)
            dialog.Set(s.page, s.id, s.state);
        for (const Shown &s : c.input)
            dialog.Set(s.page, s.id, s.state);
        dialog.Press(IDOK);
        HWND box = dialog.NextBox();
        ASSERT_NE(box, nullptr) << c.what;
        EXPECT_EQ(ControlText(box), c.message) << c.what;
        EXPECT_EQ(WindowText(box), Text(3011)) << c.what;
        Press(box, IDOK);
        EXPECT_TRUE(WaitGone(box)) << c.what;
        EXPECT_TRUE(IsWindow(dialog.frame)) << c.what;
        // The pages keep what the user typed.
        for (const Shown &s : c.input)
            EXPECT_EQ(dialog.State(s.page, s.id), s.state) << c.what;
    }
    EXPECT_TRUE(dialog.Close(IDCANCEL));
    EXPECT_EQ(tempulo.Exit(), 0u);
    ExpectStored({{L"Basis", L"Tag", 15},
                  {L"Basis", L"Jahr", 2030},
                  {L"Common", L"Zoom", 1},
                  {L"Task", L"TaskEnabled", 0}});
}

TEST_F(SettingsDialog, OkStoresEveryPageAndTheWindowFollowsAtOnce)
{
    WriteTempuloSettings({{L"Common", L"Front", 1}, {L"Common", L"ShowInTaskbar", 0}});
    Tempulo tempulo;
    const RECT before = tempulo.Rect();
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_EQ(before.right, work.right); // a fresh start: top right
    Dialog dialog(tempulo);
    ASSERT_NE(dialog.frame, nullptr);
    const struct {
        Shown control;
        Registry stored;
    } rows[] = {
        {{FRAME, 270, L"1"}, {L"Option", L"AutoStart", 1}},
        {{0, 183, L"0"}, {L"Option", L"FontType", 1}},
        {{0, 182, L"1"}, {L"Option", L"FontType", 1}},
        {{0, 180, L"3"}, {L"Option", L"FormatNo", 3}},
        {{0, 198, L"1"}, {L"Option", L"TickEnabled", 1}},
        {{0, 199, L"0"}, {L"Option", L"TickAtLastSecondsEnabled", 0}},
        {{1, 190, L"9"}, {L"Basis", L"Tag", 9}},
        {{1, 191, L"11"}, {L"Basis", L"Monat", 11}},
        {{1, 192, L"31"}, {L"Basis", L"Jahr", 2031}}, // two digits: this century
        {{1, 194, L"7"}, {L"Basis", L"Stunde", 7}},
        {{1, 195, L"45"}, {L"Basis", L"Minute", 45}},
        {{2, 210, L"2"}, {L"Common", L"Zoom", 2}},
        {{2, 211, L"0"}, {L"Common", L"Front", 0}},
        {{2, 212, L"1"}, {L"Common", L"Use1Monitor", 1}},
        {{2, 220, L"1"}, {L"Common", L"ShowInTaskbar", 1}},
        {{2, 215, L"0"}, {L"Common", L"PosHorizontal", 0}},
        {{2, 213, L"1"}, {L"Common", L"PosHorizontal", 0}},
        {{2, 216, L"0"}, {L"Common", L"PosVertikal", 2}},
        {{2, 218, L"1"}, {L"Common", L"PosVertikal", 2}},
        {{3, 231, L"1"}, {L"Action", L"Event", 2}},
        {{3, 230, L"0"}, {L"Action", L"Event", 2}},
        {{3, 233, L"3"}, {L"Action", L"EventNo", 3}},
        {{3, 232, L"1"}, {L"Action", L"SoundEnabled", 1}},
        {{3, 234, L"0"}, {L"Action", L"TakePrntScrn", 0}},
        {{3, 239, L"4"}, {L"Action", L"ExtensionNo", 4}},
        {{4, 240, L"1"}, {L"Task", L"TaskEnabled", 1}},
        {{4, 241, L"0"}, {L"Task", L"TaskState", 2}},
        {{4, 242, L"1"}, {L"Task", L"TaskState", 2}},
        {{4, 246, L"30"}, {L"Task", L"Count_Stunde", 30}},
        {{4, 247, L"15"}, {L"Task", L"Count_Minute", 15}},
        {{4, 244, L"3"}, {L"Task", L"Start_Stunde", 3}},
        {{4, 252, L"1"}, {L"Task", L"IsFr", 1}},
        {{4, 256, L"20"}, {L"Task", L"Jeweils_Minute", 20}},
    };
    for (const auto &row : rows)
        dialog.Set(row.control.page, row.control.id, row.control.state);
    // The page shown last is the one the dialog opens on next time.
    SendMessageW(dialog.Control(FRAME, 160), TCM_SETCURSEL, 2, 0);
    ASSERT_TRUE(dialog.Close(IDOK));

    // Placed at once: digital digits at zoom 2 at the bottom left, no longer
    // topmost, with a taskbar button.
    const RECT after = tempulo.Rect();
    EXPECT_EQ(after.left, work.left);
    EXPECT_EQ(after.bottom, work.bottom);
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
    const LONG_PTR style = GetWindowLongPtrW(tempulo.window, GWL_EXSTYLE);
    EXPECT_FALSE(style & WS_EX_TOPMOST);
    EXPECT_TRUE(style & WS_EX_APPWINDOW);
    EXPECT_FALSE(style & WS_EX_TOOLWINDOW);

    EXPECT_EQ(tempulo.Exit(), 0u);
    for (const auto &row : rows)
        EXPECT_EQ(ReadTempuloSetting(row.stored.sub, row.stored.name), row.stored.value)
            << row.stored.sub << L"\\" << row.stored.name;
    ExpectStored({{L"Common", L"TabIndex", 2}, {L"Common", L"IsFreePos", 0}});
}

TEST_F(SettingsDialog, CancelKeepsSettingsAndWindowButNotTheTabHelpersAndReset)
{
    WriteTempuloSettings({{L"Basis", L"Tag", 15},
                          {L"Basis", L"Monat", 6},
                          {L"Basis", L"Jahr", 2030},
                          {L"Option", L"FontType", 1},
                          {L"Common", L"Zoom", 2},
                          {L"Calc", L"SpecialDay", 0},
                          {L"Calc", L"SpecialYear", 2024}});
    Tempulo tempulo;
    const RECT before = tempulo.Rect();
    {
        Dialog dialog(tempulo);
        ASSERT_NE(dialog.frame, nullptr);
        dialog.Set(1, 190, L"20");
        dialog.Set(2, 210, L"4");
        // Easter 2025 through the select-day dialog.
        dialog.Press(193);
        HWND day = dialog.NextBox();
        ASSERT_NE(day, nullptr);
        EXPECT_EQ(WindowText(day), German() ? L"Tag ausw\u00e4hlen" : L"Select Day");
        EXPECT_EQ(SendDlgItemMessageW(day, 264, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(EditText(GetDlgItem(day, 265)), L"2024");
        SendDlgItemMessageW(day, 264, CB_SETCURSEL, 4, 0);
        SetEditText(GetDlgItem(day, 265), L"2025");
        SYSTEMTIME now;
        GetLocalTime(&now);
        Press(day, IDOK);
        ASSERT_TRUE(WaitGone(day));
        EXPECT_EQ(dialog.State(1, 190), L"20");
        EXPECT_EQ(dialog.State(1, 191), L"04");
        EXPECT_EQ(dialog.State(1, 192), L"2025");
        const std::wstring hour = dialog.State(1, 194), minute = dialog.State(1, 195);
        SYSTEMTIME later;
        GetLocalTime(&later);
        EXPECT_TRUE(std::stoi(hour) * 60 + std::stoi(minute) >= now.wHour * 60 + now.wMinute &&
                    std::stoi(hour) * 60 + std::stoi(minute) <= later.wHour * 60 + later.wMinute)
            << hour << L":" << minute;
        SendMessageW(dialog.Control(FRAME, 160), TCM_SETCURSEL, 4, 0);
        ASSERT_TRUE(dialog.Close(IDCANCEL));
    }
    const RECT unchanged = tempulo.Rect();
    EXPECT_TRUE(EqualRect(&before, &unchanged));
    // and it counts on.
    const Capture face = tempulo.Face();
    EXPECT_TRUE(WaitUntil([&] { return !(tempulo.Face() == face); }, 5000));
    {
        // The helper's inputs come back; the page has the stored target.
        Dialog dialog(tempulo);
        ASSERT_NE(dialog.frame, nullptr);
        EXPECT_TRUE(IsWindowVisible(dialog.pages[4]));
        EXPECT_EQ(dialog.State(1, 190), L"15");
        dialog.Press(193);
        HWND day = dialog.NextBox();
        ASSERT_NE(day, nullptr);
        EXPECT_EQ(SendDlgItemMessageW(day, 264, CB_GETCURSEL, 0, 0), 4);
        EXPECT_EQ(EditText(GetDlgItem(day, 265)), L"2025");
        Press(day, IDCANCEL);
        ASSERT_TRUE(WaitGone(day));

        // Reset asks first, No by default; No changes nothing.
        dialog.Press(83);
        HWND question = dialog.NextBox();
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(WindowText(question),
                  German() ? L"Einstellungen zur\u00fccksetzen" : L"Reset all settings");
        EXPECT_EQ(ControlText(question), Text(3203) + L"\n" + Text(3200));
        EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(question, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON);
        Press(question, IDNO);
        ASSERT_TRUE(WaitGone(question));
        EXPECT_EQ(dialog.State(0, 182), L"1");

        dialog.Press(83);
        question = dialog.NextBox();
        ASSERT_NE(question, nullptr);
        Press(question, IDYES);
        ASSERT_TRUE(WaitGone(question));
        ExpectShown(dialog,
                    {{0, 183, L"1"},
                     {0, 182, L"0"},
                     {0, 185, L"Times New Roman"},
                     {1, 190, L"01"},
                     {1, 191, L"01"},
                     {2, 210, L"1"},
                     {2, 215, L"1"},
                     {2, 216, L"1"}},
                    "after the reset");
        ASSERT_TRUE(dialog.Close(IDCANCEL));
    }
    // The confirmed defaults are in force: the window shows them at once.
    const RECT reset = tempulo.Rect();
    EXPECT_LT(reset.bottom - reset.top, before.bottom - before.top);
    EXPECT_EQ(tempulo.Exit(), 0u);
    SYSTEMTIME today;
    GetLocalTime(&today);
    ExpectStored({{L"Option", L"FontType", 2},
                  {L"Common", L"Zoom", 1},
                  {L"Basis", L"Tag", 1},
                  {L"Basis", L"Jahr", today.wYear + 1},
                  {L"Common", L"TabIndex", 4},
                  {L"Font", L"RGB", 0x0000FF},
                  {L"Font", L"Height", -32},
                  {L"Calc", L"SpecialDay", 0},
                  {L"Calc", L"SpecialYear", today.wYear + 1}});
}

TEST_F(SettingsDialog, ChecksAndModesEnableWhatTheyGovern)
{
    struct Click {
        int page, id;
        bool on;
    };
    struct Rule {
        int page;
        std::vector<int> ids;
        bool enabled;
    };
    const int modes[3] = {241, 242, 243};
    auto mode = [&](int chosen) {
        std::vector<Click> clicks;
        for (int id : modes)
            if (id != chosen) clicks.push_back({4, id, false});
        clicks.push_back({4, chosen, true});
        return clicks;
    };
    const struct {
        const char *what;
        std::vector<Click> clicks;
        std::vector<Rule> rules;
        bool taskMarks; // the "*" labels of the calculation page
    } cases[] = {
        {"continue past the target",
         {{1, 200, true}},
         {{3, {230, 231, 232, 233, 234, 235, 236, 237, 238, 239}, false}},
         false},
        {"an action with a screenshot",
         {{1, 200, false}, {3, 234, true}},
         {{3, {230, 231, 232, 233, 234, 235, 236, 237, 238, 239}, true}},
         false},
        {"no screenshot",
         {{3, 234, false}},
         {{3, {234}, true}, {3, {235, 236, 237, 238, 239}, false}},
         false},
        {"task off",
         {{4, 240, false}},
         {{4, {241, 242, 243, 244, 245, 246, 247, 248, 254, 12, 255, 256}, false},
          {1, {190, 191, 192, 193, 194, 195, 197}, true}},
         false},
        {"task since start", {}, {}, false},
        {"task since the last target", {}, {}, false},
        {"task on weekdays", {}, {}, true},
    };
    // The three modes, each with the task switched on.
    std::vector<Click> sinceStart = mode(241), sinceLast = mode(242), weekdays = mode(243);
    sinceStart.insert(sinceStart.begin(), {4, 240, true});
    const std::vector<Click> modeClicks[3] = {sinceStart, sinceLast, weekdays};
    const std::vector<Rule> modeRules[3] = {
        {{4, {241, 242, 243, 244, 245}, true}, {4, {246, 247, 248, 254, 12, 255, 256}, false}},
        {{4, {246, 247}, true}, {4, {244, 245, 248, 12, 255, 256}, false}},
        {{4, {248, 249, 250, 251, 252, 253, 254, 12, 255, 256}, true},
         {4, {244, 245, 246, 247}, false},
         {1, {190, 191, 192, 193, 194, 195, 197}, false}},
    };

    Tempulo tempulo;
    Dialog dialog(tempulo);
    ASSERT_NE(dialog.frame, nullptr);
    EXPECT_TRUE(IsWindowEnabled(dialog.Control(FRAME, 270))); // Z: is a fixed disk
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(2, 219)));
    int modeIndex = 0;
    for (const auto &c : cases) {
        const bool isMode = c.clicks.empty();
        const std::vector<Click> &clicks = isMode ? modeClicks[modeIndex] : c.clicks;
        const std::vector<Rule> &rules = isMode ? modeRules[modeIndex++] : c.rules;
        for (const Click &click : clicks)
            dialog.Click(click.page, click.id, click.on);
        for (const Rule &rule : rules)
            for (int id : rule.ids)
                EXPECT_EQ(IsWindowEnabled(dialog.Control(rule.page, id)) != 0, rule.enabled)
                    << c.what << ": page " << rule.page << " control " << id;
        for (int id : {201, 202})
            EXPECT_EQ(IsWindowVisible(dialog.Control(1, id)) != 0 ||
                          (GetWindowLongPtrW(dialog.Control(1, id), GWL_STYLE) & WS_VISIBLE) != 0,
                      c.taskMarks)
                << c.what << ": label " << id;
    }
    EXPECT_TRUE(dialog.Close(IDCANCEL));
}

TEST_F(SettingsDialog, CalculateTimeFromTheSetTimeOrFromNow)
{
    Tempulo tempulo;
    Dialog dialog(tempulo);
    ASSERT_NE(dialog.frame, nullptr);
    // Opens the helper, puts the inputs in, presses OK.
    auto calculate = [&](std::vector<Shown> inputs) {
        dialog.Press(197);
        HWND box = dialog.NextBox();
        if (!box) return false;
        EXPECT_EQ(WindowText(box), German() ? L"Zeit berechnen" : L"Calculate New Time");
        for (const Shown &in : inputs) {
            HWND control = GetDlgItem(box, in.id);
            if (ClassOf(control) == L"Edit")
                SetEditText(control, in.state);
            else
                SendMessageW(control, BM_SETCHECK, in.state[0] == L'1' ? BST_CHECKED : 0, 0);
        }
        Press(box, IDOK);
        return WaitGone(box);
    };
    const std::vector<Shown> setPlus = {
        {0, 260, L"1"}, {0, 261, L"0"}, {0, 262, L"1"}, {0, 263, L"0"}, {0, 190, L""},
        {0, 191, L""},  {0, 192, L""},  {0, 194, L""},  {0, 195, L""},  {0, 196, L""}};
    // The set time plus 90 minutes runs into the next day and year.
    for (const Shown &s : {Shown{1, 190, L"31"}, Shown{1, 191, L"12"}, Shown{1, 192, L"2030"},
                           Shown{1, 194, L"23"}, Shown{1, 195, L"00"}})
        dialog.Set(s.page, s.id, s.state);
    std::vector<Shown> plus90 = setPlus;
    plus90.push_back({0, 195, L"90"});
    ASSERT_TRUE(calculate(plus90));
    ExpectShown(
        dialog,
        {{1, 190, L"01"}, {1, 191, L"01"}, {1, 192, L"2031"}, {1, 194, L"00"}, {1, 195, L"30"}},
        "set time plus 90 minutes");

    // Empty offsets copy the set time unchanged; the inputs came back.
    dialog.Press(197);
    HWND box = dialog.NextBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(EditText(GetDlgItem(box, 195)), L"90");
    EXPECT_EQ(SendDlgItemMessageW(box, 260, BM_GETCHECK, 0, 0), BST_CHECKED);
    Press(box, IDCANCEL);
    ASSERT_TRUE(WaitGone(box));
    ASSERT_TRUE(calculate(setPlus));
    ExpectShown(dialog, {{1, 190, L"01"}, {1, 192, L"2031"}, {1, 194, L"00"}, {1, 195, L"30"}},
                "empty offsets");

    // Now plus one day: tomorrow at the current hour and minute.
    for (int attempt = 0; attempt < 3; ++attempt) {
        SYSTEMTIME before;
        GetLocalTime(&before);
        ASSERT_TRUE(calculate({{0, 260, L"0"},
                               {0, 261, L"1"},
                               {0, 262, L"1"},
                               {0, 263, L"0"},
                               {0, 190, L"1"},
                               {0, 191, L""},
                               {0, 192, L""},
                               {0, 194, L""},
                               {0, 195, L""},
                               {0, 196, L""}}));
        SYSTEMTIME after;
        GetLocalTime(&after);
        if (before.wMinute != after.wMinute) continue; // the minute turned meanwhile
        FILETIME ft;
        SystemTimeToFileTime(&before, &ft);
        ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
        t.QuadPart += 864000000000ULL; // one day of 100-ns steps
        ft = {t.LowPart, t.HighPart};
        SYSTEMTIME tomorrow;
        FileTimeToSystemTime(&ft, &tomorrow);
        wchar_t day[8], month[8], year[8], hour[8], minute[8];
        swprintf(day, 8, L"%02u", tomorrow.wDay);
        swprintf(month, 8, L"%02u", tomorrow.wMonth);
        swprintf(year, 8, L"%u", tomorrow.wYear);
        swprintf(hour, 8, L"%02u", tomorrow.wHour);
        swprintf(minute, 8, L"%02u", tomorrow.wMinute);
        ExpectShown(
            dialog,
            {{1, 190, day}, {1, 191, month}, {1, 192, year}, {1, 194, hour}, {1, 195, minute}},
            "now plus one day");
        break;
    }
    EXPECT_TRUE(dialog.Close(IDCANCEL));
    EXPECT_EQ(tempulo.Exit(), 0u);
    // The helper's inputs stay although the settings were cancelled.
    ExpectStored({{L"Calc", L"SetTime", 0},
                  {L"Calc", L"SetPlus", 1},
                  {L"Calc", L"TD_Tag", 1},
                  {L"Calc", L"TD_Minute", 0}});
}

std::wstring StoredText(const wchar_t *sub, const wchar_t *name)
{
    wchar_t text[MAX_PATH] = L"";
    DWORD size = sizeof text;
    const std::wstring key = std::wstring(TEMPULO_KEY) + L"\\" + sub;
    RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

TEST_F(SettingsDialog, ChoosersOpenWithTheSettingsAndOnlyOkKeepsColourAndFont)
{
    const std::wstring missing = L"C:\\users\\Public\\no such folder\\deeper";
    const std::wstring nearest = CFileSystem(missing.c_str(), true).RealDir(false, L"");
    ASSERT_FALSE(nearest.empty());
    WriteTempuloSettings({{L"Colors", L"BackColor", 0x332211}, {L"Option", L"FontType", 1}});
    WriteTempuloText(L"Action", L"PrntScrnPath", missing.c_str());
    Tempulo tempulo;
    for (bool confirm : {false, true}) {
        Dialog dialog(tempulo);
        ASSERT_NE(dialog.frame, nullptr);
        // The colour chooser starts full-open on the background colour.
        dialog.Press(181);
        HWND colors = dialog.NextBox();
        ASSERT_NE(colors, nullptr);
        EXPECT_EQ(EditText(GetDlgItem(colors, 706)), L"17"); // red
        EXPECT_EQ(EditText(GetDlgItem(colors, 708)), L"51"); // blue
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(colors, 706)));
        SetEditText(GetDlgItem(colors, 706), L"10");
        SetEditText(GetDlgItem(colors, 707), L"200");
        SetEditText(GetDlgItem(colors, 708), L"30");
        Press(colors, IDOK);
        ASSERT_TRUE(WaitGone(colors));
        // The swatch shows the colour at once.
        RECT swatch;
        GetWindowRect(dialog.Control(0, 181), &swatch);
        const LONG cx = (swatch.left + swatch.right) / 2, cy = (swatch.top + swatch.bottom) / 2;
        EXPECT_TRUE(WaitUntil(
            [&] {
                return CaptureScreen({cx, cy, cx + 1, cy + 1}).pixels[0] == 0x0AC81E;
            },
            3000));

        // A chosen font makes the face font text.
        dialog.Press(186);
        HWND fonts = dialog.NextBox();
        ASSERT_NE(fonts, nullptr);
        Press(fonts, IDOK);
        ASSERT_TRUE(WaitGone(fonts));
        ExpectShown(dialog, {{0, 182, L"0"}, {0, 183, L"0"}, {0, 184, L"1"}}, "font chosen");
        EXPECT_FALSE(dialog.State(0, 185).empty());

        // The folder browser: cancelled, it still puts the nearest existing
        // folder in place of the missing one.
        dialog.Press(237);
        HWND browser = dialog.NextBox();
        ASSERT_NE(browser, nullptr);
        bool titled = false;
        for (HWND c = GetWindow(browser, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            titled = titled || WindowText(c) == Text(3030);
        EXPECT_TRUE(titled);
        Press(browser, IDCANCEL);
        ASSERT_TRUE(WaitGone(browser));
        EXPECT_EQ(dialog.State(3, 236), nearest);
        ASSERT_TRUE(dialog.Close(confirm ? IDOK : IDCANCEL));
    }
    EXPECT_EQ(tempulo.Exit(), 0u);
    ExpectStored({{L"Colors", L"BackColor", 0x1EC80A}, {L"Option", L"FontType", 3}});
    EXPECT_EQ(StoredText(L"Action", L"PrntScrnPath"), nearest);
}

TEST_F(SettingsDialog, LeavesTheProgramsObjectsFlatAcrossAHundredOpenings)
{
    if (German()) GTEST_SKIP() << "the same code in either language";
    Tempulo tempulo;
    auto windows = [&] {
        int count = 0;
        std::pair<DWORD, int *> search(tempulo.Process().Id(), &count);
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto *p = (std::pair<DWORD, int *> *)param;
                DWORD pid = 0;
                GetWindowThreadProcessId(window, &pid);
                if (pid != p->first) return TRUE;
                ++*p->second;
                EnumChildWindows(
                    window, [](HWND, LPARAM n) -> BOOL { return ++*(int *)n, TRUE; },
                    (LPARAM)p->second);
                return TRUE;
            },
            (LPARAM)&search);
        return count;
    };
    auto cycle = [&](int button) {
        Dialog dialog(tempulo);
        return dialog.frame && dialog.Close(button);
    };
    // The first openings fill the platform's caches of fonts and brushes.
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(cycle(i % 2 ? IDOK : IDCANCEL)) << i;
    const int gdi = GdiObjectCount(tempulo.Process().Handle()), users = windows();
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(cycle(i % 2 ? IDOK : IDCANCEL)) << i;
    EXPECT_EQ(GdiObjectCount(tempulo.Process().Handle()), gdi);
    EXPECT_EQ(windows(), users);
}

// Pictures of every page in the language of the run, for a person to look
// at and for the README.
TEST_F(SettingsDialog, PhotographsEveryPage)
{
    WriteTempuloSettings({{L"Common", L"TabIndex", 0}});
    Tempulo tempulo;
    Dialog dialog(tempulo);
    ASSERT_NE(dialog.frame, nullptr);
    HWND tab = dialog.Control(FRAME, 160);
    const wchar_t *lang = German() ? L"de" : L"en";
    for (int i = 0; i < 5; ++i) {
        // Focus moves the selection with its notifications, as a click does.
        SendMessageW(tab, TCM_SETCURFOCUS, i, 0);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog.pages[i]) != 0; }, 3000)) << i;
        UpdateWindow(dialog.frame);
        Sleep(200); // let the X server show the repaint
        RECT r;
        GetWindowRect(dialog.frame, &r);
        wchar_t name[64];
        swprintf(name, 64, L"settings-%ls-page%d.bmp", lang, i);
        EXPECT_TRUE(SaveCapture(CaptureScreen(r), OutputPath(name))) << i;
    }
    for (int helper : {193, 197}) {
        dialog.Press(helper);
        HWND box = dialog.NextBox();
        ASSERT_NE(box, nullptr);
        Sleep(200);
        RECT r;
        GetWindowRect(box, &r);
        wchar_t name[64];
        swprintf(name, 64, L"settings-%ls-%ls.bmp", lang,
                 helper == 193 ? L"selectday" : L"calctime");
        EXPECT_TRUE(SaveCapture(CaptureScreen(r), OutputPath(name)));
        Press(box, IDCANCEL);
        ASSERT_TRUE(WaitGone(box));
    }
    EXPECT_TRUE(dialog.Close(IDCANCEL));
}

} // namespace

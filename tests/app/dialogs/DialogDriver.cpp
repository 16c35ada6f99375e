#include "DialogDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <sstream>

namespace wintest {

bool German()
{
    return Env(L"TEST_LOCALE").rfind(L"de_", 0) == 0;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring State(HWND control)
{
    const std::wstring kind = ClassOf(control);
    if (kind == L"ComboBox") return std::to_wstring(SendMessageW(control, CB_GETCURSEL, 0, 0));
    if (kind == L"Button")
        return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0";
    wchar_t text[512] = L"";
    SendMessageW(control, WM_GETTEXT, 512, (LPARAM)text);
    return text;
}

void Set(HWND control, const std::wstring &state)
{
    const std::wstring kind = ClassOf(control);
    if (kind == L"ComboBox")
        SendMessageW(control, CB_SETCURSEL, std::stoi(state), 0);
    else if (kind == L"Button")
        SendMessageW(control, BM_SETCHECK, state == L"1" ? BST_CHECKED : BST_UNCHECKED, 0);
    else
        SendMessageW(control, WM_SETTEXT, 0, (LPARAM)state.c_str());
}

std::vector<Item> Items(const wchar_t *states)
{
    std::vector<Item> items;
    std::wistringstream in(states);
    for (std::wstring word; in >> word;) {
        const size_t colon = word.find(L':'), equals = word.find(L'=');
        items.push_back({std::stoi(word.substr(0, colon)), std::stoi(word.substr(colon + 1)),
                         equals == std::wstring::npos ? L"" : word.substr(equals + 1)});
    }
    return items;
}

HWND WaitForOwnedBox(DWORD processId, HWND owner)
{
    HWND box = nullptr;
    WaitUntil(
        [&] { return (box = FindProcessWindow(processId, L"#32770", nullptr, owner)) != nullptr; },
        10000);
    return box;
}

bool WaitGone(HWND window)
{
    return WaitUntil([&] { return !IsWindow(window); }, 10000);
}

Dialog::Dialog(Tempulo &program) : program_(program)
{
    PostMessageW(program.window, WM_COMMAND, 140, 0);
    frame = WaitForOwnedBox(program.Process().Id(), program.window);
    // The pages in tab order, told apart by a control of each.
    const int marks[5] = {180, 190, 210, 230, 240};
    for (HWND c = frame ? GetWindow(frame, GW_CHILD) : nullptr; c; c = GetWindow(c, GW_HWNDNEXT))
        for (int i = 0; i < 5; ++i)
            if (ClassOf(c) == L"#32770" && GetDlgItem(c, marks[i])) pages[i] = c;
}

void Dialog::Apply(const wchar_t *states) const
{
    for (const Item &item : Items(states))
        Set(Control(item.page, item.id), item.state);
}

void Dialog::Click(const wchar_t *states) const
{
    for (const Item &item : Items(states)) {
        HWND control = Control(item.page, item.id);
        Set(control, item.state);
        SendMessageW(frame, WM_COMMAND, MAKEWPARAM(item.id, BN_CLICKED), (LPARAM)control);
    }
}

void Dialog::Expect(const wchar_t *states, const std::string &what) const
{
    for (const Item &item : Items(states))
        EXPECT_EQ(State(item.page, item.id), item.state)
            << what << ": control " << item.page << ":" << item.id;
}

bool Dialog::Close(int button) const
{
    Press(button);
    return WaitGone(frame);
}

void Dialog::SelectTab(int index) const
{
    SendMessageW(Control(-1, 160), TCM_SETCURFOCUS, index, 0);
}

// Fills the helper dialog and presses OK in it.
bool RunHelper(const Dialog &dialog, int button, const wchar_t *states)
{
    HWND box = dialog.Open(button);
    for (const Item &item : Items(states))
        Set(GetDlgItem(box, item.id), item.state);
    return Answer(box, IDOK);
}

} // namespace wintest

#include "support/TempuloProcess.h"

#include "registry/CRegistry.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace wintest {

const wchar_t TEMPULO_KEY[] = L"Software\\Wow6432Node\\Orvandt\\Tempulo";

void ResetTempuloSettings()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, TEMPULO_KEY);
}

void WriteTempuloSetting(const wchar_t *sub, const wchar_t *name, int value)
{
    CRegistry(L"Tempulo", RegCurrentUser).WriteValue(sub, name, value);
}

void WriteTempuloText(const wchar_t *sub, const wchar_t *name, const wchar_t *text)
{
    CRegistry(L"Tempulo", RegCurrentUser).WriteValue(sub, name, text);
}

int ReadTempuloSetting(const wchar_t *sub, const wchar_t *name, int fallback)
{
    const int missing = 0x5EEDBEEF;
    const int value = CRegistry(L"Tempulo", RegCurrentUser).ReadValue(sub, name, missing);
    return value == missing ? fallback : value;
}

Tempulo::Tempulo()
{
    Start();
}

namespace {

struct Named {
    std::wstring sub, name;
    int value;
};

std::vector<Named> Parse(const std::wstring &line)
{
    std::vector<Named> values;
    std::wistringstream in(line);
    for (std::wstring word; in >> word;) {
        const size_t slash = word.find(L'/'), equals = word.find(L'=');
        values.push_back({word.substr(0, slash), word.substr(slash + 1, equals - slash - 1),
                          (int)std::stoll(word.substr(equals + 1), nullptr, 0)});
    }
    return values;
}

} // namespace

void WriteSettings(const std::wstring &values)
{
    for (const Named &v : Parse(values))
        WriteTempuloSetting(v.sub.c_str(), v.name.c_str(), v.value);
}

void ExpectSettings(const std::wstring &values)
{
    for (const Named &v : Parse(values))
        EXPECT_EQ(ReadTempuloSetting(v.sub.c_str(), v.name.c_str()), v.value)
            << std::string(v.sub.begin(), v.sub.end()) << "/"
            << std::string(v.name.begin(), v.name.end());
}

Tempulo::Tempulo(const std::wstring &settings)
{
    ResetTempuloSettings();
    WriteSettings(settings);
    Start();
}

void Tempulo::Start()
{
    program_.reset(new Program(BesideTestProgram(L"Tempulo.exe")));
    window = program_->WaitForWindow(L"Tempulo", L"Tempulo", 20000);
    // The window shows before start-up has ended (placement, first tick, a
    // message it may show).
    WaitForInputIdle(program_->Handle(), 20000);
}

Tempulo::~Tempulo()
{
    for (int i = 0; i < 5 && program_->WaitForExit(0) == STILL_ACTIVE; ++i) {
        HWND box = FindProcessWindow(program_->Id(), L"#32770", nullptr);
        if (!box) break;
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([&] { return !IsWindow(box); }, 2000);
    }
    if (IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
    program_->WaitForExit(5000);
}

RECT Tempulo::Rect() const
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

Capture Tempulo::Face() const
{
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, (POINT *)&r, 2);
    return CaptureScreen(r);
}

HWND Tempulo::WaitForBox(DWORD milliseconds)
{
    return program_->WaitForWindow(L"#32770", nullptr, milliseconds);
}

DWORD Tempulo::Exit(UINT message, WPARAM wParam)
{
    PostMessageW(window, message, wParam, 0);
    return program_->WaitForExit(20000);
}

std::wstring ProgramText(UINT id)
{
    wchar_t text[1024] = L"";
    LoadStringW(GetModuleHandleW(nullptr), id, text, 1024);
    return text;
}

std::wstring ControlText(HWND box, int id)
{
    return WindowText(GetDlgItem(box, id));
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

void Press(HWND box, int id)
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(box, id));
}

bool Answer(HWND box, int id)
{
    if (!box) return false;
    Press(box, id);
    return WaitUntil([&] { return !IsWindow(box); }, 10000);
}

} // namespace wintest

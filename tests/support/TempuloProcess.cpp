#include "support/TempuloProcess.h"

#include "registry/CRegistry.h"

namespace wintest {

const wchar_t TEMPULO_KEY[] = L"Software\\Wow6432Node\\Orvandt\\Tempulo";

void ResetTempuloSettings()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, TEMPULO_KEY);
}

void WriteTempuloSettings(std::initializer_list<Setting> settings)
{
    CRegistry store(L"Tempulo", RegCurrentUser);
    for (const Setting &s : settings)
        store.WriteValue(s.sub, s.name, s.value);
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

Tempulo::Tempulo(std::initializer_list<Setting> settings)
{
    ResetTempuloSettings();
    WriteTempuloSettings(settings);
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

} // namespace wintest

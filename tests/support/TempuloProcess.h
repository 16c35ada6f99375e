// The real Tempulo.exe, started from a test in the shared session, with its
// settings in the session's registry and the message boxes it shows.
#pragma once

#include "support/WinTest.h"

#include <initializer_list>
#include <memory>
#include <string>

namespace wintest {

// Below HKEY_CURRENT_USER, where the program keeps its settings.
extern const wchar_t TEMPULO_KEY[];

struct Setting {
    const wchar_t *sub;
    const wchar_t *name;
    int value;
};

// Removes every setting: the next start is a first start.
void ResetTempuloSettings();
// In the program's own stored forms.
void WriteTempuloSettings(std::initializer_list<Setting> settings);
void WriteTempuloText(const wchar_t *sub, const wchar_t *name, const wchar_t *text);
// The stored int; fallback when the value is missing or not a number.
int ReadTempuloSetting(const wchar_t *sub, const wchar_t *name, int fallback = -12345);

class Tempulo {
public:
    // Starts the program beside the test and waits for its window (which
    // exists before the start-up check shows any message).
    Tempulo();
    // The same on exactly these settings: all others are removed first.
    explicit Tempulo(std::initializer_list<Setting> settings);
    ~Tempulo();

    HWND window = nullptr;
    Program &Process() { return *program_; }

    RECT Rect() const;
    // The face as the screen shows it: the client area.
    Capture Face() const;
    // A message box or dialog of the program, waiting up to the time given.
    HWND WaitForBox(DWORD milliseconds = 10000);
    // Ends the program as the menu's Exit does, or by the message given;
    // the exit code.
    DWORD Exit(UINT message = WM_COMMAND, WPARAM wParam = 105);

private:
    void Start();
    std::unique_ptr<Program> program_;
};

// A text of the program's string table: app tests carry its resources.
std::wstring ProgramText(UINT id);
// Text of a control of a box (the message of a message box by default).
std::wstring ControlText(HWND box, int id = 0xFFFF);
std::wstring WindowText(HWND window);
// Clicks a button of a box of another process.
void Press(HWND box, int id);

} // namespace wintest

// The real Tempulo.exe, started from a test in the shared session, with its
// settings in the session's registry and the boxes it shows.
#pragma once

#include "support/WinTest.h"

#include <memory>
#include <string>

namespace wintest {

// Below HKEY_CURRENT_USER, where the program keeps its settings.
extern const wchar_t TEMPULO_KEY[];

// Reset: the next start is a first start. Written in the program's forms;
// read back as int, fallback when missing. Several settings are written or
// checked as "sub/name=number ..." (decimal, negative or 0x hex).
void ResetTempuloSettings();
void WriteTempuloSetting(const wchar_t *sub, const wchar_t *name, int value);
void WriteTempuloText(const wchar_t *sub, const wchar_t *name, const wchar_t *text);
int ReadTempuloSetting(const wchar_t *sub, const wchar_t *name, int fallback = -12345);
void WriteSettings(const std::wstring &values);
void ExpectSettings(const std::wstring &values);

class Tempulo {
public:
    // Starts the program beside the test (on exactly these settings) and
    // waits until it waits for input; ends what a failed test left open.
    Tempulo();
    explicit Tempulo(const std::wstring &settings);
    ~Tempulo();

    HWND window = nullptr;
    Program &Process() { return *program_; }
    RECT Rect() const;
    Capture Face() const; // the client area as the screen shows it
    HWND WaitForBox(DWORD milliseconds = 10000);
    // Posts the message (the menu's Exit by default); the exit code.
    DWORD Exit(UINT message = WM_COMMAND, WPARAM wParam = 105);

private:
    void Start();
    std::unique_ptr<Program> program_;
};

// The program's string table (app tests carry its resources); a control's
// text (a message box's message by default); clicking a button of a box.
std::wstring ProgramText(UINT id);
std::wstring ControlText(HWND box, int id = 0xFFFF);
std::wstring WindowText(HWND window);
void Press(HWND box, int id);
// Presses the button and waits until the box is gone; false if there was
// no box or it stayed.
bool Answer(HWND box, int id);

} // namespace wintest

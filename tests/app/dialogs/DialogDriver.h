// Drives the settings dialog of a running Tempulo from this process.
//
// Controls are named "page:id" (page -1 is the frame), and a set of control
// states is written "page:id=state ...": an edit's text, a list's selection,
// a button's check (1 or 0).
#pragma once

#include "support/TempuloProcess.h"

#include <string>
#include <vector>

namespace wintest {

bool German();
std::wstring ClassOf(HWND window);

// Controls of another process are read and set through messages:
// GetWindowText would give only the caption kept for top-level windows.
std::wstring State(HWND control);
void Set(HWND control, const std::wstring &state);

struct Item {
    int page, id;
    std::wstring state;
};
std::vector<Item> Items(const wchar_t *states);

// Waits for a visible dialog box of the process that the owner owns.
HWND WaitForOwnedBox(DWORD processId, HWND owner);
bool WaitGone(HWND window);

// The settings dialog of a running Tempulo, opened through its command.
class Dialog {
public:
    explicit Dialog(Tempulo &program);

    HWND frame = nullptr;
    HWND pages[5] = {};

    HWND Control(int page, int id) const { return GetDlgItem(page < 0 ? frame : pages[page], id); }
    std::wstring State(int page, int id) const { return wintest::State(Control(page, id)); }

    void Apply(const wchar_t *states) const;
    // As a click: set, then the dialog told and its reaction waited for.
    void Click(const wchar_t *states) const;
    void Expect(const wchar_t *states, const std::string &what) const;

    // A button of the frame or a page pressed; the dialog reacts in its own
    // time, as a press may open a modal box.
    void Press(int id) const { wintest::Press(frame, id); }
    // The box the dialog shows next (a message, a helper, a chooser), after
    // this button is pressed.
    HWND NextBox() const { return WaitForOwnedBox(program_.Process().Id(), frame); }
    HWND Open(int id) const { return Press(id), NextBox(); }
    bool Close(int button) const;
    // Focus moves the selection with its notifications, as a click does.
    void SelectTab(int index) const;

private:
    Tempulo &program_;
};

// Fills the helper dialog opened by the button and presses OK in it.
bool RunHelper(const Dialog &dialog, int button, const wchar_t *states);

} // namespace wintest

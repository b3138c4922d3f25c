// Finds the program's dialogs and message boxes by caption and answers them,
// the way a player would, from a thread other than the one running the
// modal loop. Works across processes too.
#pragma once

#include <windows.h>

#include <future>
#include <string>

// The visible top-level dialog window (class "#32770") with this caption, or
// null after the timeout.
HWND WaitForDialog(const char* caption, DWORD timeoutMs = 10000);
// Any visible top-level window of this class and caption (null for any), or null.
HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs = 10000);

// A visible dialog (class "#32770") with this caption (null for any) that
// holds a control of this id; tells a dialog from a message box of the same
// caption. Null after the timeout.
HWND WaitForDialogWithControl(const char* caption, int controlId, DWORD timeoutMs = 10000);
// A visible dialog that holds a child window of this class anywhere inside it,
// such as the folder browser with its "SysTreeView32". Null after the timeout.
HWND WaitForDialogHolding(const char* childClass, DWORD timeoutMs = 10000);
// Waits until the window is destroyed; false after the timeout.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = 10000);

std::string WindowText(HWND window);

// What a message box showed.
struct BoxSeen {
    bool found;
    std::string caption;
    std::string text;
    bool hasIcon;       // an icon is shown (warning, exclamation, ...)
    bool yesNo;         // Yes and No buttons instead of OK
};
BoxSeen ReadMessageBox(HWND box);

// Presses a button of a dialog or message box (posted, so it never blocks).
void PressButton(HWND dialog, int id);

// Waits on a helper thread for the message box with `caption`, records it
// and presses `button` (IDOK, IDYES, IDNO). found = false after the timeout.
std::future<BoxSeen> AnswerMessageBox(const char* caption, int button, DWORD timeoutMs = 10000);

// Closes every dialog of this process still open (a failed test's leftovers).
void CloseStrayDialogs();

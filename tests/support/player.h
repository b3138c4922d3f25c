// Plays the player against real windows: shows the program's dialogs on the
// test's thread as the program does, clicks their controls, and answers every
// message box and prompt that comes up, in the order a script gives,
// recording what each one said.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// One answer to one window: "Yes", "No", "OK" or "Cancel" press that button,
// "Close" sends WM_CLOSE, "=text" types the text into the window's edit
// field and presses OK. `act` does anything else with the window.
struct Answer {
    Answer(const char* button) : button(button) {}
    Answer(std::function<void(HWND)> act) : act(std::move(act)) {}
    std::string button;
    std::function<void(HWND)> act;
};
using Script = std::vector<Answer>;
using Seen = std::vector<std::string>;

// Runs `action` while another thread answers, in turn, every dialog window
// (class "#32770", of any process) that becomes visible meanwhile, and
// returns one line per window: "caption: text" for a message box, with a
// leading "!" when it shows an icon, and the caption alone for any other
// dialog. A window beyond the script, or one without the button the script
// asks for, is recorded with " (unanswered)" and closed: a box that must not
// come fails the comparison at once instead of hanging the test. The
// answering stops as soon as `action` returns.
Seen Play(const Script& script, const std::function<void()>& action);

// Shows the dialog template `id` with `proc` modally on this thread (no owner,
// init parameter 0) and runs `drive` on another thread once it is visible;
// a dialog still open afterwards is sent WM_CLOSE. Returns what
// DialogBoxParamA returned.
INT_PTR ShowDialog(int id, DLGPROC proc, const std::function<void(HWND)>& drive);
// Presses a control and returns when the dialog has handled it, with every
// box and prompt that the command opened.
void Click(HWND dialog, int id);
// Runs `work` on the dialog's thread, inside its message loop.
void OnDialogThread(HWND dialog, const std::function<void()>& work);

std::string WindowText(HWND window);
// The visible dialog window (class "#32770") with this caption, waiting up to
// five seconds for it; null if none came.
HWND FindDialog(const char* caption);

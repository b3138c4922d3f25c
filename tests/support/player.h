// Plays the player against real windows: runs the main dialog on the test's
// thread as the program does, presses its controls, and answers every box
// and prompt that comes up in the order a script gives, recording each one.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct CharacterEntry;

// One answer to one window: "Yes", "No", "OK" or "Cancel" press that button,
// "Close" sends WM_CLOSE, "=text" types the text into its edit field and
// presses OK; `act` does anything else with the window.
struct Answer {
    Answer(const char* button) : button(button) {}
    Answer(std::function<void(HWND)> act) : act(std::move(act)) {}
    std::string button;
    std::function<void(HWND)> act;
};
using Script = std::vector<Answer>;
using Seen = std::vector<std::string>;

// Runs `action` while another thread answers, in turn, every dialog window
// (class "#32770", of any process) that becomes visible meanwhile. Returns a
// line per window: "caption: text" for a message box ("!caption: text" when
// it shows an icon), the caption alone for any other dialog. A window beyond
// the script, or without the button asked for, gets " (unanswered)" and is
// dismissed, so a box that must not come fails a comparison at once instead
// of hanging the test. The answering stops as soon as `action` returns.
Seen Play(const Script& script, const std::function<void()>& action);

// What start-up leaves for the main dialog: the instance, a main font in the
// "Exocet" face, the mode and no first run. The destructor frees the
// character list and restores the zero state.
struct MainWindowState {
    explicit MainWindowState(BYTE graphicMode = 1);
    ~MainWindowState();
};
// A character appended to the program's list, freed with it.
CharacterEntry* AddCharacter(const char* name, DWORD slotMask = 0);

// Shows IDD_MAIN modally on this thread with the program's own procedure and
// runs `drive` on another thread once it is visible; a dialog still open then
// is closed. Returns what DialogBoxParamA returned.
INT_PTR ShowMainDialog(const std::function<void(HWND)>& drive);
// Presses a control; returns when the dialog has handled it, with every box
// and prompt that the command opened.
void Click(HWND dialog, int id);
// Selects an item as a player does, with the keyboard, so that the list box
// itself tells the dialog.
void Select(HWND dialog, int index);
// The slots whose Load button is enabled, as a mask; 0x80 is added when a
// slot's Load and X buttons disagree or a Save button is disabled.
DWORD EnabledSlots(HWND dialog);
// Runs `work` on the dialog's thread, inside its message loop.
void OnDialogThread(HWND dialog, const std::function<void()>& work);
std::string WindowText(HWND window);

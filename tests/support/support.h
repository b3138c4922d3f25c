// What every test stands on: real files, registry values and windows, and a
// player that works the program's windows and answers its boxes.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/save_path.h"
#include "app/settings.h"
#include "app/startup.h"
#include "resource.h"
#include "store/characters.h"
#include "store/game.h"
#include "ui/main/main_dialog.h"

// ---- Files (disk.cpp)

// Entries of a tree, relative to its directory, as Tree() writes them (a
// string may hold several, separated by ", "); parents are made as needed.
// "Amy\\2\\" is a directory, "Amy.d2s=bytes" a file holding those bytes, and
// "Amy.d2s" alone a file holding its own name, so a copy shows its origin.
using Entries = std::initializer_list<std::string>;

std::string MakeTempDir();   // new and empty, under the temp directory
void MakeEntries(const std::string& dir, Entries entries);
// Every entry below `dir`, sorted and joined by ", ", written as MakeEntries
// takes them: "Amy\\, Amy\\2\\, Amy\\2\\Amy.d2s, Amy.d2s=new".
std::string Tree(const std::string& dir);
void RemoveTree(const std::string& path);
std::string ReadBytes(const std::string& path);   // "<missing>" if it cannot be read
void SetLastWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour,
                      WORD minute);   // given in UTC

// A save path made of `entries` (stored with `suffix`, such as "\\"), set as
// the program's save path; the character list and the tree go at the end.
struct SavePath {
    explicit SavePath(Entries entries = {}, const char* suffix = "");
    ~SavePath();
    std::string At(const std::string& relative) const { return dir + "\\" + relative; }
    std::string Tree() const { return ::Tree(dir); }
    std::string dir;
};

// ---- Registry values, through the build's own view as the program sees them (registry.cpp)

// Writes exactly these bytes: a REG_SZ gets no terminator unless the data ends in one.
void SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const std::string& data);
// A REG_SZ with its terminator, as most programs write one.
void SetString(HKEY root, const char* subkey, const char* name, const std::string& text);
struct RegValue { bool present; DWORD type; std::string data; };
RegValue ReadValue(HKEY root, const char* subkey, const char* name);
// Removes the tool's key and the game's key, named in full, under both roots.
void ClearAllKeys();

// ---- The player (player.cpp)

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
// Runs `work` on the dialog's thread, inside its message loop.
void OnDialogThread(HWND dialog, const std::function<void()>& work);
std::string WindowText(HWND window);
// The row of the window's client area by which `count` pixels have shown
// `colour` on the screen, reading from the top, or -1.
int FirstRowWith(HWND window, COLORREF colour, int count = 1);
// The fixed text that a tooltip holds for a dialog's control.
std::string TipText(HWND tooltip, HWND dialog, int id);

// The real slotkeeper.exe, which the build puts beside the tests: runs it
// with this process's environment, its TMP and TEMP included, and returns its
// exit code; STILL_ACTIVE when it had to be ended after a minute.
DWORD RunSlotkeeper();
std::string ProgramDirectory();   // the directory of this test program

// What every test stands on: real files, registry values and windows, and a
// player that works the program's windows and answers its boxes.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/save_path.h"
#include "app/startup.h"
#include "resource.h"
#include "store/characters.h"
#include "ui/main/main_controls.h"
#include "ui/main/main_dialog.h"

// Boxes that more than one test meets, as "caption: text", "!" first for an icon.
const char kRunningGameWarning[] =
    "!IMPORTANT: Please make sure you never backup / restore during a running Diablo II game.\n"
    "Only backup / restore while in the MAIN MENU or it will fail.\n"
    "(Press the Help button for more details)";
const char kUnknownResolutionHint[] =
    "!Important hint!: If the dialog seems to be screwed up, right-click anywhere on it\n"
    "and select \"Toggle Graphic Mode\" to turn off the graphical interface";

// Entries below a directory, several to a string separated by ", ", parents made as needed:
// "Amy\\2\\" is a directory, "Amy.d2s=bytes" a file, and "Amy.d2s" alone a file holding its own
// name, so a copy shows its origin; "-Amy\\2" removes that entry and all below it.
using Entries = std::initializer_list<std::string>;
std::string MakeTempDir();   // new and empty, under the temp directory
void MakeEntries(const std::string& dir, Entries entries);
std::string Tree(const std::string& dir);   // every entry below `dir`, sorted, as made above
void RemoveTree(const std::string& path);
std::string ReadBytes(const std::string& path);   // "<missing>" if it cannot be read

// The save path, made of `entries`, stored with `suffix`; the end removes it and the characters.
struct SavePath {
    explicit SavePath(Entries entries = {}, const char* suffix = "");
    ~SavePath();
    std::string At(const std::string& relative) const { return dir + "\\" + relative; }
    std::string Tree() const { return ::Tree(dir); }
    std::string dir;
};

// Registry values, through the build's own view as the program sees them. SetValue writes exactly
// these bytes: a REG_SZ gets no terminator unless the data ends in one.
const char kTool[] = "Software\\Slotkeeper";   // the tool's key, named in full
void SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const std::string& data);
std::string Stored(const char* name);   // the tool's value as "type:data", or "absent"
void ClearAllKeys();   // the tool's key and the game's key, named in full, under both roots

// One answer to one window: "Yes", "No", "OK", "Cancel" press that button,
// "Close" closes it, "=text" types into its edit field and presses OK.
struct Answer {
    Answer(const char* button) : button(button) {}
    Answer(std::function<void(HWND)> act) : act(std::move(act)) {}
    std::string button;
    std::function<void(HWND)> act;
};
using Script = std::vector<Answer>;
using Seen = std::vector<std::string>;

// Runs `action` while another thread answers, in turn, every dialog window of any process that
// shows meanwhile; returns a line per window: "caption: text" for a message box ("!caption: text"
// with an icon), else the caption. A window beyond the script, or without the button asked for,
// is recorded with " (unanswered)" and dismissed, and one that an answer did not end within five
// seconds with " (still open)" and closed: a box that must not come fails instead of hanging.
Seen Play(const Script& script, const std::function<void()>& action);

// What start-up leaves for the main dialog; the end frees the characters and zeroes the state.
struct MainWindowState {
    explicit MainWindowState(BYTE graphicMode = 1);
    ~MainWindowState();
};
CharacterEntry* AddCharacter(const char* name, DWORD slotMask = 0);   // to the program's list

// Shows IDD_MAIN modally on this thread with the program's own procedure, runs `drive` on another
// thread, then closes it; returns its result.
INT_PTR ShowMainDialog(const std::function<void(HWND)>& drive);
void Click(HWND dialog, int id);   // returns when the command is done, boxes and all
void Select(HWND dialog, int index);   // with the keyboard, so that the list tells the dialog
void OnDialogThread(HWND dialog, const std::function<void()>& work);   // inside its loop
std::string WindowText(HWND window);
// The row by which `count` pixels of the window show `colour`, or -1.
int FirstRowWith(HWND window, COLORREF colour, int count = 1);

// How many more kernel, drawing or window handles are open after `work`, of the kind that grew
// most. The platform's caches keep up to about twenty; a leak grows with the times work is done.
int HandlesLeakedBy(const std::function<void()>& work);

// Runs the slotkeeper.exe beside the tests in this environment; its exit code, or 259 when it
// is ended after 15 seconds.
DWORD RunSlotkeeper();

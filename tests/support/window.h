// The main dialog run in-process, with the state start-up would have left,
// and the moves a player makes on it.
#pragma once

#include <windows.h>

#include <functional>

struct CharacterEntry;

// What start-up leaves for the main dialog: the instance, a main font in the
// "Exocet" face, the mode and no first run. Restores the zero state and frees
// the character list at the end.
struct MainWindowState {
    explicit MainWindowState(BYTE graphicMode = 1);
    ~MainWindowState();
};

// A character appended to the program's list, freed with it.
CharacterEntry* AddCharacter(const char* name, DWORD slotMask = 0);

// Shows IDD_MAIN with the program's dialog procedure; see ShowDialog.
INT_PTR ShowMainDialog(const std::function<void(HWND)>& drive);
// Selects the item as a player does, with the keyboard, so the list box
// itself tells the dialog.
void Select(HWND dialog, int index);
// The slots whose Load button is enabled, as a mask; 0x80 is added when a
// slot's Load and X buttons disagree or a Save button is disabled.
DWORD EnabledSlots(HWND dialog);

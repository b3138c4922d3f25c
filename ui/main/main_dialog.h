// The main dialog IDD_MAIN: the character list and the slot buttons.
#pragma once

#include <windows.h>

struct CharacterEntry;

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void InitMainDialog(HWND dialog);
// The entry of the selected list item, or null when none is selected.
CharacterEntry* GetSelectedCharacter(HWND dialog);
// Enables or disables the Load and Delete buttons of a slot together.
void EnableSlotPair(HWND dialog, int slot, BOOL enable);
// Sets the Load and Delete buttons from the selected character's slotMask.
void UpdateSlotButtons(HWND dialog);
// Gives the fifteen controls other than the Delete buttons `font` (may be null).
void SetControlFonts(HWND dialog, HFONT font);

// Control ids of slot 1..5.
int SaveButtonId(int slot);
int LoadButtonId(int slot);
int DeleteButtonId(int slot);

// The main dialog's controls as its parts share them: the ids of each slot's
// buttons, the selected character, the slot buttons' state and the fonts.
#pragma once

#include <windows.h>

struct CharacterEntry;

// Control ids of slot 1..5; 0 for any other number.
int SaveButtonId(int slot);
int LoadButtonId(int slot);
int DeleteButtonId(int slot);
// The slot 1..5 whose Save, Load or Delete button has the id `id`, or 0.
int SlotOfSaveButton(int id);
int SlotOfLoadButton(int id);
int SlotOfDeleteButton(int id);

// The entry of the selected list item, or null when none is selected.
CharacterEntry* GetSelectedCharacter(HWND dialog);
// Enables or disables the Load and Delete buttons of a slot together.
void EnableSlotPair(HWND dialog, int slot, BOOL enable);
// Sets the Load and Delete buttons from the selected character's slotMask.
void UpdateSlotButtons(HWND dialog);
// Gives the fifteen controls other than the Delete buttons `font` (may be null).
void SetControlFonts(HWND dialog, HFONT font);

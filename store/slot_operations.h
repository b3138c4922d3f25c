// Save, load and delete of one slot of one character. They ask their own
// questions (message boxes without owner) but touch no other window.
#pragma once

#include <windows.h>

struct CharacterEntry;

// Creates the slot directory, or asks before overwriting an existing one.
// False when the save must stop (no character, or the user said No).
bool PrepareSlot(CharacterEntry* entry, int slot);
// Copies the character files into the slot and writes the description.
// `description` is null when the description dialog was closed.
void CopyToSlot(CharacterEntry* entry, int slot, const char* description);
// Restores the slot over the character's files after a question. False only
// when the slot holds no file of the character.
bool LoadSlot(CharacterEntry* entry, int slot);
// Deletes the slot after a question and clears its bit.
void DeleteSlot(CharacterEntry* entry, int slot);

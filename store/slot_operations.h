// Save, load and delete of one slot of one character in the save path
// `savePath`. They ask their own questions and give their own warnings
// (message boxes without owner) but touch no window.
#pragma once

#include <windows.h>

struct CharacterEntry;

#define SLOT_QUESTION_CAPTION "Are you sure?"

// Each operation changes the slot, or the character's files, wholly or not
// at all: everything new is made and written through beside what it
// replaces, then switched in by renames, and what it replaces is kept until
// the switch is complete. An interruption is set right at the next start
// (journal.h).

// Asks before overwriting an existing slot; touches nothing. False when the
// save must stop (no character, or the user said No). `empty` tells whether
// the slot is empty.
bool PrepareSlot(const char* savePath, CharacterEntry* entry, int slot, bool* empty);
// Saves the character files and the description into the slot: the new
// backup holds the files that only the earlier one held, and its desc.txt
// when the description is empty. `description` is null when the description
// dialog was closed. Either the slot is the new backup and its bit is set,
// or it is as it was and a warning names what failed and why.
void CopyToSlot(const char* savePath, CharacterEntry* entry, int slot, const char* description,
                bool empty);
// Restores the slot over the character's files after a question. Restores
// nothing when one of the files to replace is in use or write-protected, or
// when anything fails on the way. False only when the slot holds no file of
// the character.
bool LoadSlot(const char* savePath, CharacterEntry* entry, int slot);
// Deletes the slot after a question and clears its bit; a slot that cannot
// be taken away whole stays as it was, with a warning.
void DeleteSlot(const char* savePath, CharacterEntry* entry, int slot);

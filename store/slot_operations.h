// Save, load and delete of one slot of one character in the save path
// `savePath`. They ask their own questions and give their own warnings
// (message boxes without owner) but touch no window.
#pragma once

#include <windows.h>

struct CharacterEntry;

#define SLOT_QUESTION_CAPTION "Are you sure?"

// Creates the slot directory, or asks before overwriting an existing one.
// False when the save must stop (no character, or the user said No).
// `created` tells whether this call made the slot directory.
bool PrepareSlot(const char* savePath, CharacterEntry* entry, int slot, bool* created);
// Copies the character files into the slot and writes the description.
// `description` is null when the description dialog was closed. The slot's
// bit is set only when at least one file was copied; files that could not
// be copied are named in one warning. When nothing was copied, a slot
// directory that PrepareSlot `created` for this save is removed again if it
// is still empty; an existing slot keeps everything.
void CopyToSlot(const char* savePath, CharacterEntry* entry, int slot, const char* description,
                bool created);
// Restores the slot over the character's files after a question. Restores
// nothing when one of the files to replace is in use or write-protected.
// False only when the slot holds no file of the character.
bool LoadSlot(const char* savePath, CharacterEntry* entry, int slot);
// Deletes the slot after a question and clears its bit; what could not be
// deleted is named in a warning.
void DeleteSlot(const char* savePath, CharacterEntry* entry, int slot);

// The CharacterList: one entry per savegame <name>.d2s in the save path, in
// the order the file search yields them. Built once at start-up.
#pragma once

#include <windows.h>

struct CharacterEntry {
    DWORD slotMask;        // bit n-1 set: slot directory n exists
    CharacterEntry* next;  // null in the last entry
    char name[256];        // the savegame's name without ".d2s"
};

// Appends the characters of the save path to `list`; warns when no savegame
// is found. Always true.
bool ScanCharacters(const char* savePath, CharacterEntry** list);
// Creates the character directory when it is missing and reads the mask.
void ReadSlotMask(const char* savePath, CharacterEntry* entry);
// Frees every entry of `list` and empties it.
void ReleaseCharacters(CharacterEntry** list);

// Layout of the backup store inside the save path:
//   <save path>\<name>            character directory
//   <save path>\<name>\<n>        slot directory, n = 1..5
//   <save path>\<name>\<n>\<file> copies of the character files
//   <save path>\<name>\<n>\desc.txt  the slot's description
// Every path is built by BuildPath into a MAX_PATH buffer; a path that does
// not fit is refused rather than cut, because a cut path names another file.
#pragma once

#include <windows.h>

#define SLOT_COUNT         5
#define SLOT_INFO_SIZE     1284  // the slot information text, terminator included
#define DESCRIPTION_SIZE   1024  // the description block, terminator included
#define DESCRIPTION_FILE   "desc.txt"
#define SAVEGAME_EXTENSION ".d2s"

struct CharacterEntry;

// Formats a path into `path`. Returns false, leaving `path` empty, when the
// result would not fit into MAX_PATH bytes with its terminator.
bool BuildPath(char (&path)[MAX_PATH], const char* format, ...)
    __attribute__((format(gnu_printf, 2, 3)));

// The slotMask bit of slot 1..5; 0 for any other number.
DWORD SlotBit(int slot);

// The character directory <save path>\<name>; refused for a name that the
// platform would turn into another directory's.
bool BuildCharacterDirectory(char (&path)[MAX_PATH], const char* savePath,
                             const CharacterEntry* entry);
// The slot directory <save path>\<name>\<slot>.
bool BuildSlotDirectory(char (&path)[MAX_PATH], const char* savePath, const CharacterEntry* entry,
                        int slot);

// Writes the slot information of `slot` of `entry` into `text`.
void FormatSlotInfo(char (&text)[SLOT_INFO_SIZE], const char* savePath, const CharacterEntry* entry,
                    int slot);

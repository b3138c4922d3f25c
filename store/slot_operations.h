// Save, load and delete of one slot of one character. They ask their own
// questions and give their own warnings (message boxes without owner) but
// touch no other window.
#pragma once

#include <windows.h>

struct CharacterEntry;

#define SLOT_QUESTION_CAPTION   "Are you sure?"
#define SLOT_WARNING_CAPTION    "Warning"

// Creates the slot directory, or asks before overwriting an existing one.
// False when the save must stop (no character, or the user said No).
// `created` tells whether this call made the slot directory.
bool PrepareSlot(CharacterEntry* entry, int slot, bool* created);
// Copies the character files into the slot and writes the description.
// `description` is null when the description dialog was closed. The slot's
// bit is set only when at least one file was copied; files that could not
// be copied are named in one warning. When nothing was copied, a slot
// directory that PrepareSlot `created` for this save is removed again if it
// is still empty; an existing slot keeps everything.
void CopyToSlot(CharacterEntry* entry, int slot, const char* description, bool created);
// Restores the slot over the character's files after a question. Restores
// nothing when one of the files to replace is in use or write-protected.
// False only when the slot holds no file of the character.
bool LoadSlot(CharacterEntry* entry, int slot);
// Deletes the slot after a question and clears its bit; what could not be
// deleted is named in a warning.
void DeleteSlot(CharacterEntry* entry, int slot);

// Shared by save and load.

// The files of `entry` matched by `pattern`, <directory>\<name>.*: files
// named <name>.<rest>. Directories are left out (the pattern also matches
// the character directory <name> itself), and so are the files that a
// longer character claims: <name>.<p>.<more> belongs to the character
// <name>.<p> when the save path holds <name>.<p>.d2s (a.b.d2s and a.b.key
// are not files of a, while a.d2s.bak is). Both return false when there is
// no (further) file; FindFirstCharacterFile then leaves `search` as
// INVALID_HANDLE_VALUE.
bool FindFirstCharacterFile(const char* pattern, const CharacterEntry* entry, HANDLE* search,
                            WIN32_FIND_DATAA* found);
bool FindNextCharacterFile(const CharacterEntry* entry, HANDLE search, WIN32_FIND_DATAA* found);

// A warning that names files (and folders, ending in "\"), one per line,
// after a heading and before an optional closing line. A list too long for
// the buffer ends in "...".
#define FILE_LIST_SIZE 2048

struct FileList {
    char text[FILE_LIST_SIZE];
    const char* closing;    // appended on its own line when shown; may be ""
    int count;              // names added, listed or not
    bool cut;               // "..." has been written in place of further names
};

void BeginFileList(FileList* list, const char* heading, const char* closing);
void AddToFileList(FileList* list, const char* name);
// The text as shown: the heading, the names, then the closing line.
void FinishFileList(const FileList* list, char (&text)[FILE_LIST_SIZE]);
// Shows the list as a warning if it names any file.
void WarnAboutFileList(const FileList* list);

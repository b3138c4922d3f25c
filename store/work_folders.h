// The temporaries of the slot operations. They live beside the slot
// directories, in the character directory, under one-character names that
// are no slot number and no letter: on the volume of the slots, so that
// every switch is a rename; seen by no discovery (which counts "1" to "5"
// only), no search for <name>.* and no listing of a slot; and no longer than
// the slot paths they stand for, so a path that fits for a slot fits for its
// temporary. These names in a character directory belong to the tool.
#pragma once

#include <windows.h>

struct CharacterEntry;
struct FileList;

#define SAVE_STAGING "6"  // the new backup, made before the slot is touched
#define SAVE_ASIDE   "7"  // the earlier backup, kept until the new one is in place
#define LOAD_STAGING "8"  // the slot's copies, made before a current file is touched
#define LOAD_ASIDE   "9"  // the replaced current files, kept until every copy is in place
#define DELETE_TRASH "_"  // a deleted slot, until its files are gone

// <save path>\<name>\<work name>.
bool BuildWorkFolder(char (&path)[MAX_PATH], const char* savePath, const CharacterEntry* entry,
                     const char* name);
bool Exists(const char* path);
// Starts a search of every entry of `folder`; INVALID_HANDLE_VALUE when there
// is none, or when the folder's pattern does not fit.
HANDLE FindFirstInFolder(const char* folder, WIN32_FIND_DATAA* found);
// Names `what` in `list` with the reason in plain words.
void AddFailure(FileList* list, const char* what, DWORD error);
// Writes the files of a work folder through to the disk, so that a power
// cut after the switch finds whole copies. Done once all are made, which
// lets the file system write them out together. False, naming the file,
// when one fails.
bool FlushWorkFolder(const char* folder, FileList* failed);
// Deletes the files of a work folder and then the folder. Folders in it are
// the player's, never deleted: they are moved into `foldersTo` when given.
// What stays is named in `left` when given, folders ending in "\". Returns
// how many files could not be deleted.
int ClearWorkFolder(const char* folder, const char* foldersTo, FileList* left);

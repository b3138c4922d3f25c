// Every operation on a character's slots is recorded from before its first
// change on disk until after its last, in a file named after the character
// in one folder of the save path, so that the next start finds every
// interrupted operation with a single search instead of looking into every
// character directory. The folder's name has no dot: no search for
// <name>.* takes it for a character's file, nor "*.d2s" for a savegame.
// The record is also the character's lock: it stays open, shared with no
// reader or writer, while the operation runs, so a second copy of the
// program neither works on the same character nor sweeps its temporaries.
#pragma once

#include <windows.h>

#include "store/file_list.h"

struct CharacterEntry;

#define JOURNAL_FOLDER "~busy~"

enum Operation { OPERATION_SAVE = 's', OPERATION_LOAD = 'l', OPERATION_DELETE = 'd' };

struct Journal {
    HANDLE file;
    char folder[MAX_PATH];  // <save path>\~busy~
    char path[MAX_PATH];    // the record, <folder>\<name>
};

// Locks the character and records the operation, after finishing or rolling
// back an interrupted one that it finds. False when the operation must not
// go on: with `error` set when nothing has been said yet, else 0.
bool BeginOperation(const char* savePath, const CharacterEntry* entry, Operation operation,
                    int slot, Journal* journal, DWORD* error);
// Records that every copy is made and written through: from here on, an
// interrupted operation is finished rather than rolled back. 0 or the error.
DWORD MarkCopiesMade(Journal* journal);
// Unlocks the character. The record goes only when `done`, that is when no
// temporary of the operation is left; otherwise the next start sweeps.
void EndOperation(Journal* journal, bool done);

// What the next start does with one interrupted operation, in the files of
// the operation concerned: writes a box's text and returns true when
// nothing of the operation is left.
bool RecoverSave(const char* savePath, const CharacterEntry* entry, int slot, bool copiesMade,
                 char (&text)[FILE_LIST_SIZE]);
bool RecoverLoad(const char* savePath, const CharacterEntry* entry, int slot, bool copiesMade,
                 char (&text)[FILE_LIST_SIZE]);
bool RecoverDelete(const char* savePath, const CharacterEntry* entry, int slot,
                   char (&text)[FILE_LIST_SIZE]);
// The text of such a box: "<what> was interrupted.", the outcome, and when
// something is left, that the character is left alone until the next start.
void DescribeRecovery(char (&text)[FILE_LIST_SIZE], const char* what, const char* outcome,
                      const CharacterEntry* entry, bool done);

// Finishes or rolls back every operation that an earlier run left
// unfinished, with one box per character; run before the characters are
// listed. Characters that another copy of the program is working on are
// left to it.
void RecoverInterrupted(const char* savePath);

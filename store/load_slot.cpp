#include "store/slot_operations.h"

#include <cstdio>
#include <cstring>

#include "store/backup_store.h"
#include "store/character_files.h"
#include "store/characters.h"
#include "store/file_list.h"
#include "store/journal.h"
#include "store/savegame_check.h"
#include "store/work_folders.h"

namespace {

const char kRestoreQuestion[] = "Do you really want to restore and overwrite your current game?";
const char kDamagedQuestion[] =
    "%s" SAVEGAME_EXTENSION
    " in slot %i is damaged: Diablo II will not load it.\n"
    "Restoring it would put a damaged game in place of your current one.\n\nRestore it anyway?";
const char kFilesInUse[] = "Nothing was restored. These files are in use or write-protected:\n";
const char kTryAgain[] = "Return to the main menu of Diablo II or close it, and try again.";
const char kWorkFolder[] = "a work folder beside the slots";
const char kRecord[] = "the record of this restore";

// The slot's copies of the character files, <slot directory>\<name>.*;
// built on BuildSlotDirectory, which refuses a name that would lead into
// another character's directory.
bool BuildRestorePattern(char (&pattern)[MAX_PATH], const char* savePath,
                         const CharacterEntry* entry, int slot)
{
    char directory[MAX_PATH];
    return BuildSlotDirectory(directory, savePath, entry, slot) &&
           BuildPath(pattern, "%s\\%s.*", directory, entry->name);
}

// Whether the save path's file F can be overwritten now. The running game
// holds its savegame open, so an open without sharing fails exactly when a
// copy over it would. A file that does not exist yet is no obstacle, and a
// path too long to build fails later, during the copy.
bool CanReplace(const char* savePath, const char* fileName)
{
    char target[MAX_PATH];
    if (!BuildPath(target, "%s\\%s", savePath, fileName))
        return true;
    HANDLE file = CreateFileA(target, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND;
    }
    CloseHandle(file);
    return true;
}

// Names the files that cannot be replaced; false when the slot holds no file
// of the character.
bool CheckReplaceable(const char* savePath, const CharacterEntry* entry, const char* pattern,
                      FileList* blocked)
{
    HANDLE search;
    WIN32_FIND_DATAA found;
    if (!FindFirstCharacterFile(savePath, pattern, entry, &search, &found))
        return false;
    do {
        if (!CanReplace(savePath, found.cFileName))
            AddToFileList(blocked, found.cFileName);
    } while (FindNextCharacterFile(savePath, entry, search, &found));
    FindClose(search);
    return true;
}

// Copies the slot's files into the staging folder and writes them through;
// until every one is made, no current file is touched.
bool StageSlotFiles(const char* savePath, const CharacterEntry* entry, const char* slot,
                    const char* pattern, const char* staging, FileList* failed)
{
    HANDLE search;
    WIN32_FIND_DATAA found;
    if (!FindFirstCharacterFile(savePath, pattern, entry, &search, &found))
        return false;
    DWORD error = 0;
    do {
        char source[MAX_PATH];
        char target[MAX_PATH];
        error = ERROR_FILENAME_EXCED_RANGE;
        if (BuildPath(source, "%s\\%s", slot, found.cFileName) &&
            BuildPath(target, "%s\\%s", staging, found.cFileName))
            error = CopyFileA(source, target, TRUE) ? 0 : GetLastError();
        if (error != 0)
            AddFailure(failed, found.cFileName, error);
    } while (error == 0 && FindNextCharacterFile(savePath, entry, search, &found));
    FindClose(search);
    return error == 0 && FlushWorkFolder(staging, failed);
}

// Puts each staged copy in place of its current file, which goes aside
// first: a rename, which Wine also allows while the game holds the file
// sharing its deletion, where replacing it would fail. A file that went
// aside before an interruption is not moved twice.
bool PlaceStagedFiles(const char* savePath, const char* staging, const char* aside,
                      FileList* failed)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstInFolder(staging, &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    if (!CreateDirectoryA(aside, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        AddFailure(failed, kWorkFolder, GetLastError());
        FindClose(search);
        return false;
    }
    bool placed = true;
    do {
        char current[MAX_PATH];
        char staged[MAX_PATH];
        char replaced[MAX_PATH];
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        DWORD error = ERROR_FILENAME_EXCED_RANGE;
        if (BuildPath(current, "%s\\%s", savePath, found.cFileName) &&
            BuildPath(staged, "%s\\%s", staging, found.cFileName) &&
            BuildPath(replaced, "%s\\%s", aside, found.cFileName))
            error = (!Exists(current) || Exists(replaced) || MoveFileExA(current, replaced, 0)) &&
                            MoveFileExA(staged, current, 0)
                        ? 0
                        : GetLastError();
        if (error != 0) {
            AddFailure(failed, found.cFileName, error);
            placed = false;
        }
    } while (placed && FindNextFileA(search, &found));
    FindClose(search);
    return placed;
}

// Takes back the copies already in place and returns the files set aside.
void UndoPlacing(const char* savePath, const CharacterEntry* entry, const char* pattern,
                 const char* staging, const char* aside)
{
    HANDLE search;
    WIN32_FIND_DATAA found;
    if (!FindFirstCharacterFile(savePath, pattern, entry, &search, &found))
        return;
    do {
        char current[MAX_PATH];
        char staged[MAX_PATH];
        char replaced[MAX_PATH];
        if (!BuildPath(current, "%s\\%s", savePath, found.cFileName) ||
            !BuildPath(staged, "%s\\%s", staging, found.cFileName) ||
            !BuildPath(replaced, "%s\\%s", aside, found.cFileName))
            continue;
        if (!Exists(staged))
            MoveFileExA(current, staged, 0);
        if (Exists(replaced))
            MoveFileExA(replaced, current, 0);
    } while (FindNextCharacterFile(savePath, entry, search, &found));
    FindClose(search);
}

// Restores through the staging folder, or leaves every current file as it
// was and names what failed.
void RestoreFiles(const char* savePath, const CharacterEntry* entry, int slot, const char* pattern)
{
    char heading[sizeof entry->name + 64];
    snprintf(heading, sizeof heading, "Nothing was restored; the files of %s are as they were.\n",
             entry->name);
    FileList failed;
    BeginFileList(&failed, heading, "");
    char slotDirectory[MAX_PATH];
    char staging[MAX_PATH];
    char aside[MAX_PATH];
    Journal journal;
    DWORD error = ERROR_FILENAME_EXCED_RANGE;
    if (!BuildSlotDirectory(slotDirectory, savePath, entry, slot) ||
        !BuildWorkFolder(staging, savePath, entry, LOAD_STAGING) ||
        !BuildWorkFolder(aside, savePath, entry, LOAD_ASIDE) ||
        !BeginOperation(savePath, entry, OPERATION_LOAD, slot, &journal, &error)) {
        if (error != 0)
            AddFailure(&failed, kRecord, error);
    } else if (!CreateDirectoryA(staging, nullptr)) {
        AddFailure(&failed, kWorkFolder, GetLastError());
        EndOperation(&journal, true);
    } else {
        bool staged = StageSlotFiles(savePath, entry, slotDirectory, pattern, staging, &failed) &&
                      (error = MarkCopiesMade(&journal)) == 0;
        if (staged && PlaceStagedFiles(savePath, staging, aside, &failed)) {
            ClearWorkFolder(aside, nullptr, nullptr);
        } else {
            if (error != 0)
                AddFailure(&failed, kRecord, error);
            // Every file was staged, so one that is no longer there is in place.
            if (staged)
                UndoPlacing(savePath, entry, pattern, staging, aside);
            // Whatever could not be put back stays aside, and the staged
            // copies with it: the next start then finishes the restore.
            RemoveDirectoryA(aside);
        }
        if (!Exists(aside))
            ClearWorkFolder(staging, nullptr, nullptr);
        EndOperation(&journal, !Exists(staging) && !Exists(aside));
    }
    WarnAboutFileList(&failed);
}

// A damaged copy of the savegame is restored only when the player insists.
bool AcceptSlotSavegame(const char* savePath, const CharacterEntry* entry, int slot)
{
    char directory[MAX_PATH];
    char path[MAX_PATH];
    char question[sizeof entry->name + 192];
    snprintf(question, sizeof question, kDamagedQuestion, entry->name, slot);
    return !BuildSlotDirectory(directory, savePath, entry, slot) ||
           !BuildPath(path, "%s\\%s" SAVEGAME_EXTENSION, directory, entry->name) ||
           AcceptSavegame(path, question);
}

void WarnSlotHoldsNothing(const CharacterEntry* entry)
{
    char text[sizeof(entry->name) + 64];
    snprintf(text, sizeof text, "This slot holds no files of %s.", entry->name);
    MessageBoxA(nullptr, text, WARNING_CAPTION, MB_OK | MB_ICONWARNING);
}

}  // namespace

bool LoadSlot(const char* savePath, CharacterEntry* entry, int slot)
{
    if (!entry)
        return false;
    if (!AcceptSlotSavegame(savePath, entry, slot) ||
        MessageBoxA(nullptr, kRestoreQuestion, SLOT_QUESTION_CAPTION, MB_YESNO) != IDYES)
        return true;

    char pattern[MAX_PATH];
    FileList blocked;
    BeginFileList(&blocked, kFilesInUse, kTryAgain);
    if (!BuildRestorePattern(pattern, savePath, entry, slot) ||
        !CheckReplaceable(savePath, entry, pattern, &blocked)) {
        WarnSlotHoldsNothing(entry);
        return false;
    }
    // Checking everything before copying anything keeps a half-restored
    // character from arising while the game still holds its files.
    if (blocked.count > 0) {
        WarnAboutFileList(&blocked);
        return true;
    }
    RestoreFiles(savePath, entry, slot, pattern);
    return true;
}

bool RecoverLoad(const char* savePath, const CharacterEntry* entry, int slot, bool copiesMade,
                 char (&text)[FILE_LIST_SIZE])
{
    char staging[MAX_PATH];
    char aside[MAX_PATH];
    if (!BuildWorkFolder(staging, savePath, entry, LOAD_STAGING) ||
        !BuildWorkFolder(aside, savePath, entry, LOAD_ASIDE))
        return true;
    char what[sizeof entry->name + 64];
    char outcome[sizeof entry->name + 128];
    snprintf(what, sizeof what, "Restoring slot %i over %s", slot, entry->name);
    if (!copiesMade) {
        ClearWorkFolder(staging, nullptr, nullptr);
        snprintf(outcome, sizeof outcome, "Nothing was restored; the files of %s are as they were.",
                 entry->name);
    } else {
        // Every copy was made: the restore is finished, unless the game holds
        // a file that it must replace.
        FileList blocked;
        BeginFileList(&blocked, "", "");
        if (!PlaceStagedFiles(savePath, staging, aside, &blocked)) {
            snprintf(text, FILE_LIST_SIZE,
                     "%s was interrupted. It can be finished, but a file is in use:\n%s\nClose "
                     "Diablo II and start Slotkeeper again; until then it leaves %s alone.",
                     what, blocked.text, entry->name);
            return false;
        }
        ClearWorkFolder(aside, nullptr, nullptr);
        ClearWorkFolder(staging, nullptr, nullptr);
        snprintf(outcome, sizeof outcome,
                 "It is now finished: the files of %s are those of slot %i.", entry->name, slot);
    }
    bool done = !Exists(staging) && !Exists(aside);
    DescribeRecovery(text, what, outcome, entry, done);
    return done;
}

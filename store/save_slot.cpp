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

const char kOverwriteQuestion[] = "Do you really want to overwrite this slot?";
const char kDamagedQuestion[] =
    "%s" SAVEGAME_EXTENSION
    " is damaged: Diablo II will not load it.\n"
    "Saving it would put a damaged game into slot %i.\n\nSave it anyway?";
const char kSlotFolder[] = "the slot's folder";
const char kWorkFolder[] = "a work folder beside the slots";
const char kRecord[] = "the record of this save";

// The slot and its two temporaries: the new backup is made in `staging`,
// and the earlier one waits in `aside` until the new one is in its place.
struct SavePaths {
    char slot[MAX_PATH];
    char staging[MAX_PATH];
    char aside[MAX_PATH];
};

bool BuildSavePaths(SavePaths* paths, const char* savePath, const CharacterEntry* entry, int slot)
{
    return BuildSlotDirectory(paths->slot, savePath, entry, slot) &&
           BuildWorkFolder(paths->staging, savePath, entry, SAVE_STAGING) &&
           BuildWorkFolder(paths->aside, savePath, entry, SAVE_ASIDE);
}

// Copies one file into the staging folder. CopyFileA keeps the last-write
// time, which the slot information shows as "Last played".
DWORD StageCopy(const char* from, const char* staging, const char* fileName)
{
    char source[MAX_PATH];
    char target[MAX_PATH];
    if (!BuildPath(source, "%s\\%s", from, fileName) ||
        !BuildPath(target, "%s\\%s", staging, fileName))
        return ERROR_FILENAME_EXCED_RANGE;
    return CopyFileA(source, target, TRUE) ? 0 : GetLastError();
}

// Whether the copy of every character file fits into the slot; the files
// whose path does not are named. Without a slot directory (its path does
// not fit or is refused) none does.
bool CheckCopyPaths(const char* savePath, const CharacterEntry* entry, const char* slot,
                    FileList* failed)
{
    char pattern[MAX_PATH];
    if (!BuildPath(pattern, "%s\\%s.*", savePath, entry->name)) {
        char files[sizeof entry->name + 2];
        snprintf(files, sizeof files, "%s.*", entry->name);
        AddFailure(failed, files, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    HANDLE search;
    WIN32_FIND_DATAA found;
    if (!FindFirstCharacterFile(savePath, pattern, entry, &search, &found))
        return true;  // said when the copies are made
    bool fit = true;
    do {
        char target[MAX_PATH];
        if (!slot || !BuildPath(target, "%s\\%s", slot, found.cFileName)) {
            AddFailure(failed, found.cFileName, ERROR_FILENAME_EXCED_RANGE);
            fit = false;
        }
    } while (FindNextCharacterFile(savePath, entry, search, &found));
    FindClose(search);
    return fit;
}

// Copies every character file; each failure is named.
bool StageCharacterFiles(const char* savePath, const CharacterEntry* entry, const char* staging,
                         FileList* failed)
{
    char pattern[MAX_PATH];
    HANDLE search;
    WIN32_FIND_DATAA found;
    if (!BuildPath(pattern, "%s\\%s.*", savePath, entry->name) ||
        !FindFirstCharacterFile(savePath, pattern, entry, &search, &found)) {
        char text[sizeof entry->name + 64];
        snprintf(text, sizeof text, "%s has no files in the save path.", entry->name);
        AddToFileList(failed, text);
        return false;
    }
    bool staged = true;
    do {
        DWORD error = StageCopy(savePath, staging, found.cFileName);
        if (error != 0) {
            AddFailure(failed, found.cFileName, error);
            staged = false;
        }
    } while (FindNextCharacterFile(savePath, entry, search, &found));
    FindClose(search);
    return staged;
}

// Writes the description and checks that all of it was written; an empty
// one writes nothing, and the earlier slot's file is then carried over.
bool StageDescription(const char* staging, const char* description, FileList* failed)
{
    DWORD length = static_cast<DWORD>(strlen(description));
    char path[MAX_PATH];
    if (length == 0)
        return true;
    DWORD error = ERROR_FILENAME_EXCED_RANGE;
    if (BuildPath(path, "%s\\" DESCRIPTION_FILE, staging)) {
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        error = GetLastError();
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            bool whole = WriteFile(file, description, length, &written, nullptr) &&
                         written == length;
            error = whole ? 0 : GetLastError() ? GetLastError() : ERROR_DISK_FULL;
            CloseHandle(file);
        }
    }
    if (error != 0)
        AddFailure(failed, DESCRIPTION_FILE, error);
    return error == 0;
}

// Carries over the files that only the earlier slot holds: files the
// character no longer has, and its desc.txt when the new description is
// empty.
bool StageSlotOnlyFiles(const char* slot, const char* staging, FileList* failed)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstInFolder(slot, &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    bool staged = true;
    do {
        char target[MAX_PATH];
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;  // the player's; moved over after the switch
        DWORD error = ERROR_FILENAME_EXCED_RANGE;
        if (BuildPath(target, "%s\\%s", staging, found.cFileName))
            error = Exists(target) ? 0 : StageCopy(slot, staging, found.cFileName);
        if (error != 0) {
            AddFailure(failed, found.cFileName, error);
            staged = false;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return staged;
}

// Puts the new backup in the slot's place by two renames, the earlier one
// going aside first; a failed rename leaves the earlier slot where it was.
// Windows refuses to rename a folder while a file in it is open.
bool SwitchSlot(const SavePaths* paths, FileList* failed)
{
    bool hadSlot = MoveFileExA(paths->slot, paths->aside, 0) != FALSE;
    DWORD error = GetLastError();
    if (!hadSlot && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        AddFailure(failed, kSlotFolder, error);
        return false;
    }
    if (MoveFileExA(paths->staging, paths->slot, 0))
        return true;
    error = GetLastError();
    if (hadSlot)
        MoveFileExA(paths->aside, paths->slot, 0);
    AddFailure(failed, kSlotFolder, error);
    return false;
}

bool StageBackup(const char* savePath, const CharacterEntry* entry, const SavePaths* paths,
                 const char* description, FileList* failed)
{
    return StageCharacterFiles(savePath, entry, paths->staging, failed) &&
           StageDescription(paths->staging, description, failed) &&
           StageSlotOnlyFiles(paths->slot, paths->staging, failed) &&
           FlushWorkFolder(paths->staging, failed);
}

bool MarkBackupMade(Journal* journal, FileList* failed)
{
    DWORD error = MarkCopiesMade(journal);
    if (error != 0)
        AddFailure(failed, kRecord, error);
    return error == 0;
}

// Everything between the record and the switch; false when nothing was
// saved. A staging folder that was there already is not this save's.
bool SaveBackup(const char* savePath, const CharacterEntry* entry, const SavePaths* paths,
                const char* description, Journal* journal, FileList* failed)
{
    DWORD attributes = GetFileAttributesA(paths->slot);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        AddFailure(failed, kSlotFolder, ERROR_DIRECTORY);
        EndOperation(journal, true);
        return false;
    }
    if (!CreateDirectoryA(paths->staging, nullptr)) {
        AddFailure(failed, kWorkFolder, GetLastError());
        EndOperation(journal, true);
        return false;
    }
    bool staged = StageBackup(savePath, entry, paths, description, failed);
    if (staged && MarkBackupMade(journal, failed) && SwitchSlot(paths, failed))
        return true;
    ClearWorkFolder(paths->staging, nullptr, nullptr);
    EndOperation(journal, !Exists(paths->staging) && !Exists(paths->aside));
    return false;
}

// A damaged savegame goes into a slot only when the player insists.
bool AcceptCurrentSavegame(const char* savePath, const CharacterEntry* entry, int slot)
{
    char path[MAX_PATH];
    char question[sizeof entry->name + 192];
    snprintf(question, sizeof question, kDamagedQuestion, entry->name, slot);
    return !BuildPath(path, "%s\\%s" SAVEGAME_EXTENSION, savePath, entry->name) ||
           AcceptSavegame(path, question);
}

}  // namespace

bool PrepareSlot(const char* savePath, CharacterEntry* entry, int slot, bool* empty)
{
    *empty = true;
    if (!entry || !AcceptCurrentSavegame(savePath, entry, slot))
        return false;
    char directory[MAX_PATH];
    // A slot directory too long to build goes on: the save names the files
    // that it could not copy.
    if (!BuildSlotDirectory(directory, savePath, entry, slot) || !Exists(directory))
        return true;
    *empty = false;
    return MessageBoxA(nullptr, kOverwriteQuestion, SLOT_QUESTION_CAPTION, MB_YESNO) == IDYES;
}

void CopyToSlot(const char* savePath, CharacterEntry* entry, int slot, const char* description,
                bool empty)
{
    // A closed description dialog has touched nothing.
    if (!entry || !description)
        return;
    char heading[128];
    snprintf(heading, sizeof heading,
             empty ? "Nothing was saved; slot %i stays empty.\n"
                   : "Nothing was saved; slot %i keeps its earlier backup.\n",
             slot);
    FileList failed;
    BeginFileList(&failed, heading, "");
    SavePaths paths;
    Journal journal;
    DWORD error = 0;
    // A path that does not fit is refused before anything is touched.
    bool built = BuildSavePaths(&paths, savePath, entry, slot);
    if (!CheckCopyPaths(savePath, entry, built ? paths.slot : nullptr, &failed) || !built) {
        WarnAboutFileList(&failed);
        return;
    }
    if (!BeginOperation(savePath, entry, OPERATION_SAVE, slot, &journal, &error)) {
        if (error != 0)
            AddFailure(&failed, kRecord, error);
    } else if (SaveBackup(savePath, entry, &paths, description, &journal, &failed)) {
        entry->slotMask |= SlotBit(slot);
        // The player's folders in the earlier slot stay in the slot.
        ClearWorkFolder(paths.aside, paths.slot, nullptr);
        EndOperation(&journal, !Exists(paths.aside));
    }
    WarnAboutFileList(&failed);
}

bool RecoverSave(const char* savePath, const CharacterEntry* entry, int slot, bool copiesMade,
                 char (&text)[FILE_LIST_SIZE])
{
    SavePaths paths;
    if (!BuildSavePaths(&paths, savePath, entry, slot))
        return true;
    char what[sizeof entry->name + 64];
    char outcome[128];
    snprintf(what, sizeof what, "Saving %s into slot %i", entry->name, slot);
    // A switch cut short between its two renames is undone first.
    if (!Exists(paths.slot))
        MoveFileExA(paths.aside, paths.slot, 0);
    if (copiesMade && !Exists(paths.staging)) {
        // The new backup is in its place: only the earlier one is left to go.
        ClearWorkFolder(paths.aside, paths.slot, nullptr);
        snprintf(outcome, sizeof outcome, "Slot %i holds the new backup.", slot);
    } else {
        ClearWorkFolder(paths.staging, nullptr, nullptr);
        snprintf(outcome, sizeof outcome,
                 Exists(paths.slot) ? "Nothing was saved; slot %i keeps its earlier backup."
                                    : "Nothing was saved; slot %i stays empty.",
                 slot);
    }
    bool done = !Exists(paths.staging) && !Exists(paths.aside);
    DescribeRecovery(text, what, outcome, entry, done);
    return done;
}

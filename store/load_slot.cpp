#include "store/slot_operations.h"

#include <cstdio>

#include "store/backup_store.h"
#include "store/character_files.h"
#include "store/characters.h"
#include "store/file_list.h"

namespace {

const char kRestoreQuestion[] = "Do you really want to restore and overwrite your current game?";
const char kFilesInUse[] = "Nothing was restored. These files are in use or write-protected:\n";
const char kTryAgain[] = "Return to the main menu of Diablo II or close it, and try again.";
const char kIncompleteRestore[] = "The restore is incomplete. These files could not be copied:\n";

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

bool CopyBack(const char* savePath, const CharacterEntry* entry, int slot, const char* fileName)
{
    char source[MAX_PATH];
    char target[MAX_PATH];
    if (!BuildPath(source, "%s\\%s\\%i\\%s", savePath, entry->name, slot, fileName) ||
        !BuildPath(target, "%s\\%s", savePath, fileName))
        return false;
    return CopyFileA(source, target, FALSE) != FALSE;
}

void RestoreFiles(const char* savePath, const CharacterEntry* entry, int slot, const char* pattern)
{
    FileList failed;
    BeginFileList(&failed, kIncompleteRestore, "");
    HANDLE search;
    WIN32_FIND_DATAA found;
    if (FindFirstCharacterFile(savePath, pattern, entry, &search, &found)) {
        do {
            if (!CopyBack(savePath, entry, slot, found.cFileName))
                AddToFileList(&failed, found.cFileName);
        } while (FindNextCharacterFile(savePath, entry, search, &found));
        FindClose(search);
    }
    WarnAboutFileList(&failed);
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
    if (MessageBoxA(nullptr, kRestoreQuestion, SLOT_QUESTION_CAPTION, MB_YESNO) != IDYES)
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

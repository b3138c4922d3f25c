#include "store/slot_operations.h"

#include <cstdio>
#include <cstring>

#include "store/backup_store.h"
#include "store/characters.h"
#include "store/file_list.h"

namespace {

const char kDeleteQuestion[] = "Do you really want to delete this slot?";
const char kDeleteIncomplete[] =
    "The slot could not be deleted completely. These are left in it:\n";

// Whether nothing of the slot is on disk: no directory of its name.
bool IsSlotGone(const char* directory)
{
    DWORD attributes = GetFileAttributesA(directory);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Deletes every file directly in the slot directory and names in `left`
// what stays: files that are in use or write-protected, and subdirectories,
// which are not the tool's. False when the directory cannot be searched
// (it does not exist).
bool DeleteSlotFiles(const char* directory, FileList* left)
{
    char pattern[MAX_PATH];
    if (!BuildPath(pattern, "%s\\*.*", directory))
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        char path[MAX_PATH];
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0) {
                char folder[sizeof found.cFileName + 1];
                snprintf(folder, sizeof folder, "%s\\", found.cFileName);
                AddToFileList(left, folder);
            }
        } else if (!BuildPath(path, "%s\\%s", directory, found.cFileName) || !DeleteFileA(path)) {
            AddToFileList(left, found.cFileName);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

}  // namespace

void DeleteSlot(const char* savePath, CharacterEntry* entry, int slot)
{
    if (!entry)
        return;
    if (MessageBoxA(nullptr, kDeleteQuestion, SLOT_QUESTION_CAPTION, MB_YESNO) != IDYES)
        return;
    char directory[MAX_PATH];
    if (!BuildSlotDirectory(directory, savePath, entry, slot))
        return;
    FileList left;
    BeginFileList(&left, kDeleteIncomplete, "");
    bool searched = DeleteSlotFiles(directory, &left);
    // A slot directory removed behind the tool's back leaves nothing to
    // delete; its bit would otherwise keep the buttons of a slot that is not
    // there.
    if (!searched && !IsSlotGone(directory))
        return;
    // The buttons of the slot go off even when something is left; the next
    // start finds the directory again.
    entry->slotMask &= ~SlotBit(slot);
    if (searched && !RemoveDirectoryA(directory))
        WarnAboutFileList(&left);
}

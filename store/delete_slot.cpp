#include "store/slot_operations.h"

#include <cstdio>

#include "app/app_state.h"
#include "store/backup_store.h"
#include "store/characters.h"

namespace {

const char kDeleteQuestion[] = "Do you really want to delete this slot?";
const char kDeleteIncomplete[] =
    "The slot could not be deleted completely. Some of its files are in use or write-protected:\n";

// Deletes every file directly in the slot directory. Subdirectories are not
// the tool's and stay, and so does the slot directory around them. False
// when the directory cannot be searched (it does not exist).
bool DeleteSlotFiles(const char* directory)
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
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            BuildPath(path, "%s\\%s", directory, found.cFileName))
            DeleteFileA(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

void WarnSlotRemains(const char* directory)
{
    char text[sizeof kDeleteIncomplete + MAX_PATH];
    snprintf(text, sizeof text, "%s%s", kDeleteIncomplete, directory);
    MessageBoxA(nullptr, text, SLOT_WARNING_CAPTION, MB_OK | MB_ICONWARNING);
}

}  // namespace

void DeleteSlot(CharacterEntry* entry, int slot)
{
    if (!entry)
        return;
    if (MessageBoxA(nullptr, kDeleteQuestion, SLOT_QUESTION_CAPTION, MB_YESNO) != IDYES)
        return;
    char directory[MAX_PATH];
    if (!BuildSlotDirectory(directory, entry, slot) || !DeleteSlotFiles(directory))
        return;
    bool removed = RemoveDirectoryA(directory) != FALSE;
    // The buttons of the slot go off even when something is left; the next
    // start finds the directory again.
    entry->slotMask &= ~SlotBit(slot);
    if (!removed && GetFileAttributesA(directory) != INVALID_FILE_ATTRIBUTES)
        WarnSlotRemains(directory);
}

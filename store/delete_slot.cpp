#include "store/slot_operations.h"

#include <cstdio>
#include <cstring>

#include "store/backup_store.h"
#include "store/characters.h"
#include "store/file_list.h"
#include "store/journal.h"
#include "store/work_folders.h"

namespace {

const char kDeleteQuestion[] = "Do you really want to delete this slot?";
const int kKeptFolderTries = 9;

// Whether nothing of the slot is on disk: no directory of its name.
bool IsSlotGone(const char* directory)
{
    DWORD attributes = GetFileAttributesA(directory);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Gives the player's folders that were in a deleted slot a place of their
// own in the character directory, named so that no discovery takes it for a
// slot; `closing` says where. False when no such place could be made.
bool KeepPlayersFolders(const char* savePath, const CharacterEntry* entry, int slot,
                        const char* trash, char (&closing)[MAX_PATH + 64])
{
    for (int tries = 1; tries <= kKeptFolderTries; ++tries) {
        char name[32];
        char kept[MAX_PATH];
        snprintf(name, sizeof name, tries == 1 ? "Deleted slot %i" : "Deleted slot %i (%i)", slot,
                 tries);
        if (BuildWorkFolder(kept, savePath, entry, name) && MoveFileExA(trash, kept, 0)) {
            snprintf(closing, sizeof closing, "They are now in %s\\%s in the save path.",
                     entry->name, name);
            return true;
        }
    }
    return false;
}

// Deletes the files of a deleted slot; true when nothing of it is left in
// the tool's way. A file in use stays until the next start.
bool SweepTrash(const char* savePath, const CharacterEntry* entry, int slot, const char* trash)
{
    char heading[128];
    char closing[MAX_PATH + 64];
    snprintf(heading, sizeof heading,
             "Slot %i is deleted. These folders in it are not Slotkeeper's and were kept:\n", slot);
    FileList left;
    BeginFileList(&left, heading, "");
    if (ClearWorkFolder(trash, nullptr, &left) == 0) {
        if (left.count > 0 && KeepPlayersFolders(savePath, entry, slot, trash, closing)) {
            left.closing = closing;
            WarnAboutFileList(&left);
        }
        return !Exists(trash);
    }
    snprintf(heading, sizeof heading,
             "Slot %i is deleted. What is left of it is in use and goes at the next start:\n",
             slot);
    BeginFileList(&left, heading, "");
    ClearWorkFolder(trash, nullptr, &left);
    WarnAboutFileList(&left);
    return false;
}

void WarnNothingDeleted(int slot, const char* what, DWORD error)
{
    char heading[96];
    snprintf(heading, sizeof heading, "Nothing was deleted; slot %i keeps its backup.\n", slot);
    FileList failed;
    BeginFileList(&failed, heading, "");
    AddFailure(&failed, what, error);
    WarnAboutFileList(&failed);
}

// One rename takes the whole slot away; what it held is deleted after.
// False when nothing was deleted.
bool TakeSlotAway(const char* savePath, const CharacterEntry* entry, int slot,
                  const char* directory, const char* trash)
{
    Journal journal;
    DWORD error;
    if (!BeginOperation(savePath, entry, OPERATION_DELETE, slot, &journal, &error)) {
        if (error != 0)
            WarnNothingDeleted(slot, "the record of this deletion", error);
        return false;
    }
    if (!MoveFileExA(directory, trash, 0)) {
        error = GetLastError();
        EndOperation(&journal, true);
        WarnNothingDeleted(slot, "the slot's folder", error);
        return false;
    }
    EndOperation(&journal, SweepTrash(savePath, entry, slot, trash));
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
    char trash[MAX_PATH];
    if (!BuildSlotDirectory(directory, savePath, entry, slot) ||
        !BuildWorkFolder(trash, savePath, entry, DELETE_TRASH))
        return;
    // A slot directory removed behind the tool's back leaves nothing to
    // delete; its bit would otherwise keep the buttons of a slot that is not
    // there.
    if (IsSlotGone(directory) || TakeSlotAway(savePath, entry, slot, directory, trash))
        entry->slotMask &= ~SlotBit(slot);
}

bool RecoverDelete(const char* savePath, const CharacterEntry* entry, int slot,
                   char (&text)[FILE_LIST_SIZE])
{
    char directory[MAX_PATH];
    char trash[MAX_PATH];
    if (!BuildSlotDirectory(directory, savePath, entry, slot) ||
        !BuildWorkFolder(trash, savePath, entry, DELETE_TRASH))
        return true;
    bool done = !Exists(trash) || SweepTrash(savePath, entry, slot, trash);
    char what[sizeof entry->name + 64];
    char outcome[96];
    snprintf(what, sizeof what, "Deleting slot %i of %s", slot, entry->name);
    snprintf(outcome, sizeof outcome,
             IsSlotGone(directory) ? "Slot %i is deleted."
                                   : "Nothing was deleted; slot %i keeps "
                                     "its backup.",
             slot);
    DescribeRecovery(text, what, outcome, entry, done);
    return done;
}

#include "store/slot_operations.h"

#include <cstdio>
#include <cstring>

#include "store/backup_store.h"
#include "store/character_files.h"
#include "store/characters.h"
#include "store/file_list.h"

namespace {

const char kOverwriteQuestion[] = "Do you really want to overwrite this slot?";
const char kIncompleteBackup[] = "The backup is incomplete. These files could not be copied:\n";

// Copies one character file F from the save path into the slot directory.
// CopyFileA keeps the last-write time, which the slot information shows as
// "Last played".
bool CopyIntoSlot(const char* savePath, const char* slotDirectory, const char* fileName)
{
    char source[MAX_PATH];
    char target[MAX_PATH];
    if (!BuildPath(source, "%s\\%s", savePath, fileName) ||
        !BuildPath(target, "%s\\%s", slotDirectory, fileName))
        return false;
    return CopyFileA(source, target, FALSE) != FALSE;
}

// Writes the description file; an empty description leaves an earlier one.
// A description that cannot be written (desc.txt held open, write-protected
// or a directory) is passed over without a message, as the copies are what
// the save is for.
void WriteDescription(const char* slotDirectory, const char* description)
{
    DWORD length = static_cast<DWORD>(strlen(description));
    if (length == 0)
        return;
    char path[MAX_PATH];
    if (!BuildPath(path, "%s\\" DESCRIPTION_FILE, slotDirectory))
        return;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, description, length, &written, nullptr);
    CloseHandle(file);
}

// Copies the character files into the slot directory, or names them in
// `failed` when there is no directory to copy into; false when nothing was
// copied.
bool CopyCharacterFiles(const char* savePath, const CharacterEntry* entry, const char* directory,
                        FileList* failed)
{
    char pattern[MAX_PATH];
    if (!BuildPath(pattern, "%s\\%s.*", savePath, entry->name)) {
        // The player has just typed a description for this backup: a pattern
        // too long to search is a failed backup, not one without files.
        char files[sizeof entry->name + 2];
        snprintf(files, sizeof files, "%s.*", entry->name);
        AddToFileList(failed, files);
        return false;
    }
    HANDLE search;
    WIN32_FIND_DATAA found;
    if (!FindFirstCharacterFile(savePath, pattern, entry, &search, &found))
        return false;
    bool copiedAny = false;
    do {
        if (directory && CopyIntoSlot(savePath, directory, found.cFileName))
            copiedAny = true;
        else
            AddToFileList(failed, found.cFileName);
    } while (FindNextCharacterFile(savePath, entry, search, &found));
    FindClose(search);
    return copiedAny;
}

}  // namespace

bool PrepareSlot(const char* savePath, CharacterEntry* entry, int slot, bool* created)
{
    *created = false;
    if (!entry)
        return false;
    char directory[MAX_PATH];
    // A slot directory too long to build goes on like any other failure to
    // create it: the copies fail and are reported.
    if (!BuildSlotDirectory(directory, savePath, entry, slot))
        return true;
    if (CreateDirectoryA(directory, nullptr)) {
        *created = true;
        return true;
    }
    DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS)
        return true;
    return MessageBoxA(nullptr, kOverwriteQuestion, SLOT_QUESTION_CAPTION, MB_YESNO) == IDYES;
}

void CopyToSlot(const char* savePath, CharacterEntry* entry, int slot, const char* description,
                bool created)
{
    if (!entry)
        return;
    char directory[MAX_PATH];
    bool haveDirectory = BuildSlotDirectory(directory, savePath, entry, slot);
    FileList failed;
    BeginFileList(&failed, kIncompleteBackup, "");
    // A closed description dialog copies nothing.
    bool copiedAny = description &&
                     CopyCharacterFiles(savePath, entry, haveDirectory ? directory : nullptr,
                                        &failed);

    // A slot that received nothing keeps its bit and its old description:
    // a new description would describe copies that are not there. A slot
    // directory that this save made and left empty is removed: from the next
    // start on it would count as a slot without files. One that was there
    // before stays, empty or not.
    if (copiedAny) {
        entry->slotMask |= SlotBit(slot);
        WriteDescription(directory, description);
    } else if (created && haveDirectory) {
        RemoveDirectoryA(directory);
    }
    WarnAboutFileList(&failed);
}

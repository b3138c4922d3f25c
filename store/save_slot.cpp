#include "store/slot_operations.h"

#include <cstdio>
#include <cstring>

#include "app/app_state.h"
#include "store/backup_store.h"
#include "store/characters.h"

namespace {

const char kOverwriteQuestion[] = "Do you really want to overwrite this slot?";
const char kIncompleteBackup[] = "The backup is incomplete. These files could not be copied:\n";
const char kCutMark[] = "...";

// Appends as much of `text` as fits, always leaving the list terminated.
void AppendToList(FileList* list, const char* text)
{
    size_t length = strlen(list->text);
    snprintf(list->text + length, FILE_LIST_SIZE - length, "%s", text);
}

// Room kept free behind the names: a line with the cut mark, the closing
// line and the terminator.
size_t ReservedRoom(const FileList* list)
{
    return 1 + strlen(kCutMark) + 1 + strlen(list->closing) + 1;
}

// Copies one character file F from the save path into the slot directory.
// CopyFileA keeps the last-write time, which the slot information shows as
// "Last played".
bool CopyIntoSlot(const char* slotDirectory, const char* fileName)
{
    char source[MAX_PATH];
    char target[MAX_PATH];
    if (!BuildPath(source, "%s\\%s", appState.savePath, fileName) ||
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

// Whether the character <name>.<prefix> has a savegame in the save path.
// A path that does not fit claims nothing: the copy of such a file into the
// slot, <save path>\<name>\<n>\<name>.<prefix>..., is longer still and
// fails on its own.
bool IsClaimed(const CharacterEntry* entry, const char* prefix, size_t length)
{
    char savegame[MAX_PATH];
    return BuildPath(savegame, "%s\\%s.%.*s" SAVEGAME_EXTENSION, appState.savePath, entry->name,
                     static_cast<int>(length), prefix) &&
           GetFileAttributesA(savegame) != INVALID_FILE_ATTRIBUTES;
}

// Whether a match of the pattern <name>.* is a file of the character: a
// file <name>.<rest> that no longer character claims. The platform's match
// also takes the files of a character whose name goes on after a dot, such
// as a.b.d2s and a.b.key for the character a; restoring those from a's slot
// would overwrite the other character's files with old copies. A second dot
// alone proves nothing: a.d2s.bak is a's own.
bool IsCharacterFile(const CharacterEntry* entry, const WIN32_FIND_DATAA* found)
{
    if (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    size_t length = strlen(entry->name);
    const char* name = found->cFileName;
    if (strlen(name) <= length || _strnicmp(name, entry->name, length) != 0 || name[length] != '.')
        return false;
    // No trail byte of a double-byte character is a dot, so every dot found
    // here ends a name.
    const char* rest = name + length + 1;
    for (const char* dot = strchr(rest, '.'); dot; dot = strchr(dot + 1, '.')) {
        if (IsClaimed(entry, rest, static_cast<size_t>(dot - rest)))
            return false;
    }
    return true;
}

// Copies the character files into the slot directory, or names them in
// `failed` when there is no directory to copy into; false when nothing was
// copied.
bool CopyCharacterFiles(const CharacterEntry* entry, const char* directory, FileList* failed)
{
    char pattern[MAX_PATH];
    if (!BuildPath(pattern, "%s\\%s.*", appState.savePath, entry->name)) {
        // The player has just typed a description for this backup: a pattern
        // too long to search is a failed backup, not one without files.
        char files[sizeof entry->name + 2];
        snprintf(files, sizeof files, "%s.*", entry->name);
        AddToFileList(failed, files);
        return false;
    }
    HANDLE search;
    WIN32_FIND_DATAA found;
    if (!FindFirstCharacterFile(pattern, entry, &search, &found))
        return false;
    bool copiedAny = false;
    do {
        if (directory && CopyIntoSlot(directory, found.cFileName))
            copiedAny = true;
        else
            AddToFileList(failed, found.cFileName);
    } while (FindNextCharacterFile(entry, search, &found));
    FindClose(search);
    return copiedAny;
}

}  // namespace

bool FindFirstCharacterFile(const char* pattern, const CharacterEntry* entry, HANDLE* search,
                            WIN32_FIND_DATAA* found)
{
    *search = FindFirstFileA(pattern, found);
    if (*search == INVALID_HANDLE_VALUE)
        return false;
    if (IsCharacterFile(entry, found) || FindNextCharacterFile(entry, *search, found))
        return true;
    FindClose(*search);
    *search = INVALID_HANDLE_VALUE;
    return false;
}

bool FindNextCharacterFile(const CharacterEntry* entry, HANDLE search, WIN32_FIND_DATAA* found)
{
    while (FindNextFileA(search, found)) {
        if (IsCharacterFile(entry, found))
            return true;
    }
    return false;
}

void BeginFileList(FileList* list, const char* heading, const char* closing)
{
    list->text[0] = '\0';
    list->closing = closing;
    list->count = 0;
    list->cut = false;
    AppendToList(list, heading);
}

void AddToFileList(FileList* list, const char* name)
{
    list->count++;
    if (list->cut)
        return;
    const char* separator = list->count > 1 ? "\n" : "";
    size_t needed = strlen(list->text) + strlen(separator) + strlen(name) + ReservedRoom(list);
    if (needed <= FILE_LIST_SIZE) {
        AppendToList(list, separator);
        AppendToList(list, name);
        return;
    }
    AppendToList(list, separator);
    AppendToList(list, kCutMark);
    list->cut = true;
}

void FinishFileList(const FileList* list, char (&text)[FILE_LIST_SIZE])
{
    snprintf(text, FILE_LIST_SIZE, "%s%s%s", list->text, list->closing[0] ? "\n" : "",
             list->closing);
}

void WarnAboutFileList(const FileList* list)
{
    if (list->count == 0)
        return;
    char text[FILE_LIST_SIZE];
    FinishFileList(list, text);
    MessageBoxA(nullptr, text, SLOT_WARNING_CAPTION, MB_OK | MB_ICONWARNING);
}

bool PrepareSlot(CharacterEntry* entry, int slot, bool* created)
{
    *created = false;
    if (!entry)
        return false;
    char directory[MAX_PATH];
    // A slot directory too long to build goes on like any other failure to
    // create it: the copies fail and are reported.
    if (!BuildSlotDirectory(directory, entry, slot))
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

void CopyToSlot(CharacterEntry* entry, int slot, const char* description, bool created)
{
    if (!entry)
        return;
    char directory[MAX_PATH];
    bool haveDirectory = BuildSlotDirectory(directory, entry, slot);
    FileList failed;
    BeginFileList(&failed, kIncompleteBackup, "");
    // A closed description dialog copies nothing.
    bool copiedAny =
        description && CopyCharacterFiles(entry, haveDirectory ? directory : nullptr, &failed);

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

#include "store/characters.h"

#include <cstdlib>
#include <cstring>

#include "store/backup_store.h"

namespace {

const int kExtensionLength = 4;  // ".d2s"

// The platform's "*.d2s" also matches longer extensions through short file
// names; only a name that really ends in ".d2s" (any case) is a savegame.
// The name must also leave a character name behind and fit into `name`.
bool IsSavegameName(const char* fileName)
{
    size_t length = strlen(fileName);
    if (length <= kExtensionLength || length >= sizeof(CharacterEntry::name))
        return false;
    return _stricmp(fileName + length - kExtensionLength, SAVEGAME_EXTENSION) == 0;
}

CharacterEntry* NewCharacter(const char* fileName)
{
    CharacterEntry* entry = static_cast<CharacterEntry*>(calloc(1, sizeof(CharacterEntry)));
    if (!entry)
        return nullptr;
    size_t length = strlen(fileName);
    memcpy(entry->name, fileName, length - kExtensionLength);
    entry->name[length - kExtensionLength] = '\0';
    return entry;
}

}  // namespace

bool ScanCharacters(const char* savePath, CharacterEntry** list)
{
    char pattern[MAX_PATH];
    WIN32_FIND_DATAA found;
    HANDLE search = INVALID_HANDLE_VALUE;
    if (BuildPath(pattern, "%s\\*" SAVEGAME_EXTENSION, savePath))
        search = FindFirstFileA(pattern, &found);

    CharacterEntry** tail = list;
    while (*tail)
        tail = &(*tail)->next;
    bool foundAny = false;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!IsSavegameName(found.cFileName))
                continue;
            CharacterEntry* entry = NewCharacter(found.cFileName);
            if (!entry)
                break;  // out of memory: keep the characters listed so far
            *tail = entry;
            tail = &entry->next;
            foundAny = true;
            ReadSlotMask(savePath, entry);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (!foundAny)
        MessageBoxA(nullptr, "No savegames found!", "Warning", MB_OK);
    return true;
}

void ReadSlotMask(const char* savePath, CharacterEntry* entry)
{
    entry->slotMask = 0;
    char directory[MAX_PATH];
    if (!BuildCharacterDirectory(directory, savePath, entry))
        return;
    if (CreateDirectoryA(directory, nullptr))
        return;  // new directory, no slots yet
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return;

    // Asking for each slot directory by name gives the same answer as
    // listing the character directory (a slot counts exactly when a directory
    // of that name exists) and is several times quicker under Wine, where
    // every directory listing opens a handle; with thousands of characters
    // that decided the start-up time.
    for (int slot = 1; slot <= SLOT_COUNT; ++slot) {
        char slotDirectory[MAX_PATH];
        if (!BuildPath(slotDirectory, "%s\\%i", directory, slot))
            continue;
        DWORD attributes = GetFileAttributesA(slotDirectory);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            entry->slotMask |= SlotBit(slot);
    }
}

void ReleaseCharacters(CharacterEntry** list)
{
    CharacterEntry* entry = *list;
    while (entry) {
        CharacterEntry* next = entry->next;
        free(entry);
        entry = next;
    }
    *list = nullptr;
}

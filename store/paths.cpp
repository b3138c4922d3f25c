#include "store/backup_store.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "store/characters.h"

bool BuildPath(char (&path)[MAX_PATH], const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int length = vsnprintf(path, MAX_PATH, format, args);
    va_end(args);
    if (length < 0 || length >= MAX_PATH) {
        path[0] = '\0';
        return false;
    }
    return true;
}

DWORD SlotBit(int slot)
{
    if (slot < 1 || slot > SLOT_COUNT)
        return 0;
    return 1u << (slot - 1);
}

bool BuildCharacterDirectory(char (&path)[MAX_PATH], const char* savePath,
                             const CharacterEntry* entry)
{
    // The platform drops trailing dots and spaces from a path component, so
    // the directory of "x." or "x " would be that of the character x, and
    // the one of ".." the save path's parent: another directory, refused
    // like a path that does not fit.
    size_t length = strlen(entry->name);
    if (length == 0 || entry->name[length - 1] == '.' || entry->name[length - 1] == ' ') {
        path[0] = '\0';
        return false;
    }
    return BuildPath(path, "%s\\%s", savePath, entry->name);
}

bool BuildSlotDirectory(char (&path)[MAX_PATH], const char* savePath, const CharacterEntry* entry,
                        int slot)
{
    char directory[MAX_PATH];
    if (!BuildCharacterDirectory(directory, savePath, entry)) {
        path[0] = '\0';
        return false;
    }
    return BuildPath(path, "%s\\%i", directory, slot);
}

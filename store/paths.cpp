#include "store/backup_store.h"

#include <cstdarg>
#include <cstdio>

#include "app/app_state.h"
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

bool BuildSlotDirectory(char (&path)[MAX_PATH], const CharacterEntry* entry, int slot)
{
    return BuildPath(path, "%s\\%s\\%i", appState.savePath, entry->name, slot);
}

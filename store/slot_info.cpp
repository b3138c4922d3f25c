#include <cstdio>
#include <cstring>

#include "store/backup_store.h"
#include "store/characters.h"
#include "store/savegame_check.h"

namespace {

const char kDamagedLine[] = "\r\nThis savegame is damaged: Diablo II will not load it.";

// Appends `count` bytes, or fewer where the text ends; always terminated.
void AppendText(char (&text)[SLOT_INFO_SIZE], const char* bytes, size_t count)
{
    size_t length = strlen(text);
    size_t room = SLOT_INFO_SIZE - 1 - length;
    if (count > room)
        count = room;
    memcpy(text + length, bytes, count);
    text[length + count] = '\0';
}

// Reads the slot's description; 0 when there is none to show.
DWORD ReadDescription(const char* savePath, const CharacterEntry* entry, int slot,
                      char (&bytes)[DESCRIPTION_SIZE])
{
    char path[MAX_PATH];
    if (!BuildPath(path, "%s\\%s\\%i\\" DESCRIPTION_FILE, savePath, entry->name, slot))
        return 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD count = 0;
    if (!ReadFile(file, bytes, DESCRIPTION_SIZE, &count, nullptr))
        count = 0;
    CloseHandle(file);
    return count;
}

}  // namespace

void FormatSlotInfo(char (&text)[SLOT_INFO_SIZE], const char* savePath, const CharacterEntry* entry,
                    int slot)
{
    char copyPath[MAX_PATH];
    WIN32_FIND_DATAA found;
    HANDLE search = INVALID_HANDLE_VALUE;
    if (BuildPath(copyPath, "%s\\%s\\%i\\%s" SAVEGAME_EXTENSION, savePath, entry->name, slot,
                  entry->name))
        search = FindFirstFileA(copyPath, &found);
    if (search == INVALID_HANDLE_VALUE) {
        // Formatted from the pieces, so a path too long for the file system
        // still shows in full.
        snprintf(text, SLOT_INFO_SIZE, "ERROR: couldn't find %s\\%s\\%i\\%s" SAVEGAME_EXTENSION,
                 savePath, entry->name, slot, entry->name);
        return;
    }
    FindClose(search);

    // A share or another operating system's file system can report a time
    // that the calendar cannot show (before 1601, or so late that it wraps
    // into the top bit). The UTC time stands in when only the local one
    // fails; when neither converts, the slot shows no date rather than one
    // made up from whatever the fields held.
    FILETIME local;
    SYSTEMTIME played;
    if ((FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) &&
         FileTimeToSystemTime(&local, &played)) ||
        FileTimeToSystemTime(&found.ftLastWriteTime, &played))
        snprintf(text, SLOT_INFO_SIZE, "%s, Slot %i\r\nLast played: %i/%i/%i at %i:%i", entry->name,
                 slot, played.wDay, played.wMonth, played.wYear, played.wHour, played.wMinute);
    else
        snprintf(text, SLOT_INFO_SIZE, "%s, Slot %i\r\nLast played: unknown", entry->name, slot);
    if (IsSavegameDamaged(copyPath))
        AppendText(text, kDamagedLine, sizeof kDamagedLine - 1);

    char description[DESCRIPTION_SIZE];
    DWORD count = ReadDescription(savePath, entry, slot, description);
    if (count == 0)
        return;
    const void* nul = memchr(description, '\0', count);
    if (nul)
        count = static_cast<DWORD>(static_cast<const char*>(nul) - description);
    AppendText(text, "\r\n\r\n", 4);
    AppendText(text, description, count);
}

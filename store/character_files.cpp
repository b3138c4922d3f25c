#include "store/character_files.h"

#include <cstring>

#include "store/backup_store.h"
#include "store/characters.h"

namespace {

// Whether the character <name>.<prefix> has a savegame in the save path.
// A path that does not fit claims nothing: the copy of such a file into the
// slot, <save path>\<name>\<n>\<name>.<prefix>..., is longer still and
// fails on its own.
bool IsClaimed(const char* savePath, const CharacterEntry* entry, const char* prefix, size_t length)
{
    char savegame[MAX_PATH];
    return BuildPath(savegame, "%s\\%s.%.*s" SAVEGAME_EXTENSION, savePath, entry->name,
                     static_cast<int>(length), prefix) &&
           GetFileAttributesA(savegame) != INVALID_FILE_ATTRIBUTES;
}

// Whether a match of the pattern <name>.* is a file of the character: a
// file <name>.<rest> that no character with a longer name claims. The
// platform's match also takes the files of a character whose name goes on
// after a dot, such as a.b.d2s and a.b.key for the character a; restoring
// those from a's slot would overwrite the other character's files with old
// copies. A second dot alone proves nothing: a.d2s.bak is a's own.
bool IsCharacterFile(const char* savePath, const CharacterEntry* entry,
                     const WIN32_FIND_DATAA* found)
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
        if (IsClaimed(savePath, entry, rest, static_cast<size_t>(dot - rest)))
            return false;
    }
    return true;
}

}  // namespace

bool FindFirstCharacterFile(const char* savePath, const char* pattern, const CharacterEntry* entry,
                            HANDLE* search, WIN32_FIND_DATAA* found)
{
    *search = FindFirstFileA(pattern, found);
    if (*search == INVALID_HANDLE_VALUE)
        return false;
    if (IsCharacterFile(savePath, entry, found) ||
        FindNextCharacterFile(savePath, entry, *search, found))
        return true;
    FindClose(*search);
    *search = INVALID_HANDLE_VALUE;
    return false;
}

bool FindNextCharacterFile(const char* savePath, const CharacterEntry* entry, HANDLE search,
                           WIN32_FIND_DATAA* found)
{
    while (FindNextFileA(search, found)) {
        if (IsCharacterFile(savePath, entry, found))
            return true;
    }
    return false;
}

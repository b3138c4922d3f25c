// The files of one character: what the pattern <directory>\<name>.* matches,
// less what is not the character's.
#pragma once

#include <windows.h>

struct CharacterEntry;

// Files named <name>.<rest>. Directories are left out (the pattern also
// matches the character directory <name> itself), and so are the files that
// a longer character claims: <name>.<p>.<more> belongs to the character
// <name>.<p> when the save path holds <name>.<p>.d2s (a.b.d2s and a.b.key are
// not files of a, while a.d2s.bak is). Both return false when there is no
// (further) file; FindFirstCharacterFile then leaves `search` as
// INVALID_HANDLE_VALUE, and otherwise the caller closes it.
bool FindFirstCharacterFile(const char* savePath, const char* pattern, const CharacterEntry* entry,
                            HANDLE* search, WIN32_FIND_DATAA* found);
bool FindNextCharacterFile(const char* savePath, const CharacterEntry* entry, HANDLE search,
                           WIN32_FIND_DATAA* found);

// Whether a character savegame is one the game would refuse to load. From
// version 92 (1.09) on, the game writes the file's length and a checksum of
// its bytes into the header, and will not enter the game with a file that
// disagrees with them. Other files cannot be judged and count as sound.
#pragma once

// True when the file at `path` starts with the savegame signature and a
// version of 92 or more, and its length or its checksum does not match the
// header. False for anything else: another signature, an older version, a
// file that cannot be read or one over 1 MB.
bool IsSavegameDamaged(const char* path);

// Asks `question` as a warning with No as the default when the savegame at
// `path` is damaged; true when it is not, or when the player says Yes.
bool AcceptSavegame(const char* path, const char* question);

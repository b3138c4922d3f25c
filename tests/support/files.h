// Real files in a private temp directory: what the store tests stand on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A new empty directory under the temp directory; its name contains `tag`.
std::string MakeTempDir(const char* tag);
// Deletes a directory tree, clearing read-only attributes on the way.
void RemoveTree(const std::string& path);

void MakeDir(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// The whole content of a file, or "<missing>" when it cannot be opened.
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);       // a file, not a directory
bool DirectoryExists(const std::string& path);
// Names in a directory, sorted, without "." and "..".
std::vector<std::string> ListDir(const std::string& path);

// Last-write time, given and read as UTC calendar fields.
void SetLastWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour,
                      WORD minute, WORD second = 0);
FILETIME GetLastWriteFileTime(const std::string& path);

// Opens a file with share mode 0, as the running game holds its savegame.
HANDLE OpenExclusively(const std::string& path);

// A save path with a fresh directory; sets appState.savePath and releases the
// CharacterList and the save path when the test ends.
struct ScopedSavePath {
    explicit ScopedSavePath(const char* tag, const char* suffix = "");
    ~ScopedSavePath();
    std::string dir;    // the directory, without a trailing backslash
};

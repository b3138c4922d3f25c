// Real files in private temp directories: the save paths the tests stand on,
// made from a list of entries and read back as one line.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// Entries of a tree, relative to its directory, as Tree() writes them (a
// string may hold several, separated by ", "); parents are made as needed.
// "Amy\\2\\" is a directory, "Amy.d2s=bytes" a file holding those bytes, and
// "Amy.d2s" alone a file holding its own name, so a copy shows its origin.
using Entries = std::initializer_list<std::string>;

// A new empty directory under the temp directory.
std::string MakeTempDir();
void MakeEntries(const std::string& dir, Entries entries);
// Every entry below `dir`, sorted and joined by ", ", written as MakeEntries
// takes them: "Amy\\, Amy\\2\\, Amy\\2\\Amy.d2s, Amy.d2s=new".
std::string Tree(const std::string& dir);
void RemoveTree(const std::string& path);
std::string ReadBytes(const std::string& path);   // "<missing>" if it cannot be read
// Last-write time as UTC calendar fields.
void SetLastWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour,
                      WORD minute);

// A save path made of `entries` (stored with `suffix`, such as "\\"), set as
// the program's save path; the character list and the tree go at the end.
struct SavePath {
    explicit SavePath(Entries entries = {}, const char* suffix = "");
    ~SavePath();
    std::string At(const std::string& relative) const { return dir + "\\" + relative; }
    std::string Tree() const { return ::Tree(dir); }
    std::string dir;
};

#include "support/disk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/app_state.h"
#include "store/characters.h"

namespace {

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void Collect(const std::string& dir, const std::string& prefix, std::vector<std::string>* lines)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            lines->push_back(prefix + name + "\\");
            Collect(dir + "\\" + name, prefix + name + "\\", lines);
            continue;
        }
        std::string bytes = ReadBytes(dir + "\\" + name);
        lines->push_back(prefix + name + (bytes == name ? "" : "=" + bytes));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

std::string MakeTempDir()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter;
    for (;;) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%ssk%lu_%u", temp, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(path, nullptr))
            return path;
    }
}

void MakeEntries(const std::string& dir, Entries entries)
{
    for (const std::string& list : entries) {
        for (size_t start = 0, end = 0; end != list.npos && !list.empty(); start = end + 2) {
            std::string entry = list.substr(start, (end = list.find(", ", start)) - start);
            std::string path = dir + "\\" + entry.substr(0, entry.find('='));
            for (size_t slash = dir.size() + 1; (slash = path.find('\\', slash)) != path.npos;)
                CreateDirectoryA(path.substr(0, slash++).c_str(), nullptr);
            size_t equals = entry.find('=');
            std::string name = path.substr(path.find_last_of('\\') + 1);
            if (path.back() != '\\')
                WriteBytes(path, equals == std::string::npos ? name : entry.substr(equals + 1));
        }
    }
}

std::string Tree(const std::string& dir)
{
    std::vector<std::string> lines;
    Collect(dir, "", &lines);
    std::sort(lines.begin(), lines.end());
    std::string joined;
    for (const std::string& line : lines)
        joined += (joined.empty() ? "" : ", ") + line;
    return joined;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

std::string ReadBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

void SetLastWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour,
                      WORD minute)
{
    SYSTEMTIME time = {year, month, 0, day, hour, minute, 0, 0};
    FILETIME written;
    SystemTimeToFileTime(&time, &written);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
}

SavePath::SavePath(Entries entries, const char* suffix) : dir(MakeTempDir())
{
    MakeEntries(dir, entries);
    std::string stored = dir + suffix;
    appState.savePath = static_cast<char*>(malloc(stored.size() + 1));
    memcpy(appState.savePath, stored.c_str(), stored.size() + 1);
}

SavePath::~SavePath()
{
    ReleaseCharacters();
    RemoveTree(dir);
}

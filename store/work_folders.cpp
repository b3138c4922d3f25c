#include "store/work_folders.h"

#include <cstdio>
#include <cstring>

#include "store/backup_store.h"
#include "store/file_list.h"

namespace {

const char* DescribeError(DWORD error)
{
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "in use by another program";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "the disk is full";
    case ERROR_WRITE_PROTECT:
        return "the disk is write-protected";
    case ERROR_ACCESS_DENIED:
        return "access denied (write-protected or in use)";
    case ERROR_FILENAME_EXCED_RANGE:
        return "the path is too long or the name not allowed";
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return "something of that name is in the way";
    case ERROR_DIRECTORY:
        return "a file stands where the folder should be";
    default:
        return nullptr;
    }
}

bool IsDots(const char* name)
{
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

}  // namespace

bool BuildWorkFolder(char (&path)[MAX_PATH], const char* savePath, const CharacterEntry* entry,
                     const char* name)
{
    char directory[MAX_PATH];
    if (!BuildCharacterDirectory(directory, savePath, entry)) {
        path[0] = '\0';
        return false;
    }
    return BuildPath(path, "%s\\%s", directory, name);
}

bool Exists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

void AddFailure(FileList* list, const char* what, DWORD error)
{
    char line[MAX_PATH + 64];
    const char* reason = DescribeError(error);
    if (reason)
        snprintf(line, sizeof line, "%s: %s", what, reason);
    else
        snprintf(line, sizeof line, "%s: error %lu", what, static_cast<unsigned long>(error));
    AddToFileList(list, line);
}

HANDLE FindFirstInFolder(const char* folder, WIN32_FIND_DATAA* found)
{
    char pattern[MAX_PATH];
    if (!BuildPath(pattern, "%s\\*", folder))
        return INVALID_HANDLE_VALUE;
    return FindFirstFileA(pattern, found);
}

bool FlushWorkFolder(const char* folder, FileList* failed)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstInFolder(folder, &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    DWORD error = 0;
    do {
        char path[MAX_PATH];
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !BuildPath(path, "%s\\%s", folder, found.cFileName))
            continue;
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        error = file == INVALID_HANDLE_VALUE ? GetLastError()
                : FlushFileBuffers(file)     ? 0
                                             : GetLastError();
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        if (error != 0)
            AddFailure(failed, found.cFileName, error);
    } while (error == 0 && FindNextFileA(search, &found));
    FindClose(search);
    return error == 0;
}

int ClearWorkFolder(const char* folder, const char* foldersTo, FileList* left)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstInFolder(folder, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int filesLeft = 0;
    do {
        char path[MAX_PATH];
        char moved[MAX_PATH];
        if (IsDots(found.cFileName))
            continue;
        bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        bool gone = BuildPath(path, "%s\\%s", folder, found.cFileName) &&
                    (isFolder
                         ? foldersTo && BuildPath(moved, "%s\\%s", foldersTo, found.cFileName) &&
                               MoveFileExA(path, moved, 0)
                         : DeleteFileA(path));
        filesLeft += !gone && !isFolder ? 1 : 0;
        if (!gone && left) {
            char name[sizeof found.cFileName + 1];
            snprintf(name, sizeof name, isFolder ? "%s\\" : "%s", found.cFileName);
            AddToFileList(left, name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    RemoveDirectoryA(folder);
    return filesLeft;
}

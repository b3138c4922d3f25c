#include "support/support.h"

#include <shellapi.h>

#include <fstream>
#include <iterator>
#include <set>

// Adds the entries below `dir` to `lines`, their names after `prefix`.
static void Collect(const std::string& dir, const std::string& prefix, std::set<std::string>* lines)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        std::string name = found.cFileName, path = dir + "\\" + name;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            std::string bytes = ReadBytes(path);
            lines->insert(prefix + name + (bytes == name ? "" : "=" + bytes));
        } else if (name != "." && name != "..") {
            lines->insert(prefix + name + "\\");
            Collect(path, prefix + name + "\\", lines);
        }
    }
    FindClose(search);
}

std::string MakeTempDir()
{
    char temp[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    GetTempFileNameA(temp, "sk", 0, path);   // a new unique name, made as a file
    DeleteFileA(path), CreateDirectoryA(path, nullptr);
    return path;
}

void MakeEntries(const std::string& dir, Entries entries)
{
    for (const std::string& list : entries)
        for (size_t start = 0, end = 0; end != list.npos && !list.empty(); start = end + 2) {
            std::string entry = list.substr(start, (end = list.find(", ", start)) - start);
            if (entry[0] == '-') {
                RemoveTree(dir + "\\" + entry.substr(1));
                continue;
            }
            size_t equals = entry.find('=');
            std::string path = dir + "\\" + entry.substr(0, equals);
            for (size_t slash = dir.size() + 1; (slash = path.find('\\', slash)) != path.npos;)
                CreateDirectoryA(path.substr(0, slash++).c_str(), nullptr);
            if (path.back() != '\\')
                std::ofstream(path, std::ios::binary)
                    << (equals == entry.npos ? path.substr(path.rfind('\\') + 1)
                                             : entry.substr(equals + 1));
        }
}

std::string Tree(const std::string& dir)
{
    std::set<std::string> lines;
    Collect(dir, "", &lines);
    std::string joined;
    for (const std::string& line : lines) joined += (joined.empty() ? "" : ", ") + line;
    return joined;
}

void RemoveTree(const std::string& path)
{
    std::string from = path + '\0';   // the list ends in a second NUL
    SHFILEOPSTRUCTA operation = {nullptr, FO_DELETE, from.c_str(), nullptr,
                                 FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT, 0, 0, 0};
    SHFileOperationA(&operation);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

SavePath::SavePath(Entries entries, const char* suffix) : dir(MakeTempDir())
{
    MakeEntries(dir, entries);
    appState.savePath = strdup((dir + suffix).c_str());
}

SavePath::~SavePath()
{
    ReleaseStore(), RemoveTree(dir);
}

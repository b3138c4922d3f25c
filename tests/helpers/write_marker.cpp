// A stand-in for a program that the tool starts: leaves a marker file to
// show that it ran and with which command line.
//
//   write_marker.exe <marker path> [text]
//
// Writes everything after the marker path and its one separating space into
// the marker file. The file appears complete or not at all.
#include <windows.h>

#include <string>

namespace {

// The marker path, quoted or not, and the position just after it.
std::string TakeFirstArgument(const char* line, const char** rest)
{
    std::string argument;
    if (*line == '"') {
        ++line;
        while (*line && *line != '"')
            argument += *line++;
        if (*line == '"')
            ++line;
    } else {
        while (*line && *line != ' ')
            argument += *line++;
    }
    if (*line == ' ')
        ++line;
    *rest = line;
    return argument;
}

bool WriteWhole(const std::string& path, const std::string& text)
{
    std::string part = path + ".part";
    HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != text.size())
        return false;
    return MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    const char* rest = "";
    std::string marker = TakeFirstArgument(commandLine, &rest);
    if (marker.empty())
        return 2;
    return WriteWhole(marker, rest) ? 0 : 1;
}

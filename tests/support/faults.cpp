#include "support/faults.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

int strikeAt, calls;
Fault fault;
bool struck;
std::vector<std::string> boxes;

decltype(&CopyFileA) realCopyFile;
decltype(&MoveFileExA) realMoveFile;
decltype(&DeleteFileA) realDeleteFile;
decltype(&CreateDirectoryA) realCreateDirectory;
decltype(&RemoveDirectoryA) realRemoveDirectory;
decltype(&CreateFileA) realCreateFile;
decltype(&WriteFile) realWriteFile;
decltype(&FlushFileBuffers) realFlush;

// True when this call is the one to fail; its error is then set.
bool Strike()
{
    if (strikeAt == 0 || ++calls != strikeAt)
        return false;
    struck = true;
    if (fault == Fault::kKill)
        TerminateProcess(GetCurrentProcess(), 99);
    SetLastError(fault == Fault::kSharing ? ERROR_SHARING_VIOLATION : ERROR_DISK_FULL);
    return true;
}

BOOL WINAPI StrikeCopyFile(LPCSTR from, LPCSTR to, BOOL failIfExists)
{
    if (!Strike())
        return realCopyFile(from, to, failIfExists);
    if (fault == Fault::kPartial) {
        std::ifstream in(from, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(to, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
        SetLastError(ERROR_DISK_FULL);
    }
    return FALSE;
}

BOOL WINAPI StrikeWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                            LPOVERLAPPED overlapped)
{
    if (!Strike())
        return realWriteFile(file, bytes, size, written, overlapped);
    if (fault == Fault::kPartial) {
        realWriteFile(file, bytes, size / 2, written, overlapped);
        SetLastError(ERROR_DISK_FULL);
    }
    return FALSE;
}

BOOL WINAPI StrikeMoveFile(LPCSTR from, LPCSTR to, DWORD flags)
{
    return !Strike() && realMoveFile(from, to, flags);
}

BOOL WINAPI StrikeDeleteFile(LPCSTR path)
{
    return !Strike() && realDeleteFile(path);
}

BOOL WINAPI StrikeCreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES security)
{
    return !Strike() && realCreateDirectory(path, security);
}

BOOL WINAPI StrikeRemoveDirectory(LPCSTR path)
{
    return !Strike() && realRemoveDirectory(path);
}

HANDLE WINAPI StrikeCreateFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                               DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (Strike())
        return INVALID_HANDLE_VALUE;
    return realCreateFile(path, access, share, sa, disposition, flags, templateFile);
}

BOOL WINAPI StrikeFlush(HANDLE file)
{
    return !Strike() && realFlush(file);
}

int WINAPI AnswerBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    boxes.push_back(std::string(caption) + ": " + text);
    return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

// Points this program's import of `name` from `dll` at `stand`; keeps the
// real entry in `real`.
template <typename F>
void Replace(const char* dll, const char* name, F stand, F* real)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto imports = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; imports->Name; ++imports) {
        if (_stricmp(reinterpret_cast<char*>(base + imports->Name), dll) != 0)
            continue;
        auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imports->OriginalFirstThunk);
        auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imports->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)
                           ->Name, name) != 0)
                continue;
            DWORD old;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
            *real = reinterpret_cast<F>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(stand);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
        }
    }
}

void ReplaceAll()
{
    Replace("kernel32.dll", "CopyFileA", &StrikeCopyFile, &realCopyFile);
    Replace("kernel32.dll", "MoveFileExA", &StrikeMoveFile, &realMoveFile);
    Replace("kernel32.dll", "DeleteFileA", &StrikeDeleteFile, &realDeleteFile);
    Replace("kernel32.dll", "CreateDirectoryA", &StrikeCreateDirectory, &realCreateDirectory);
    Replace("kernel32.dll", "RemoveDirectoryA", &StrikeRemoveDirectory, &realRemoveDirectory);
    Replace("kernel32.dll", "CreateFileA", &StrikeCreateFile, &realCreateFile);
    Replace("kernel32.dll", "WriteFile", &StrikeWriteFile, &realWriteFile);
    Replace("kernel32.dll", "FlushFileBuffers", &StrikeFlush, &realFlush);
    decltype(&MessageBoxA) realBox;
    Replace("user32.dll", "MessageBoxA", &AnswerBox, &realBox);
}

}  // namespace

void StrikeAt(int k, Fault how)
{
    if (!realCopyFile)
        ReplaceAll();
    strikeAt = k, calls = 0, fault = how, struck = false;
}

bool Struck()
{
    return struck;
}

std::vector<std::string>& Boxes()
{
    return boxes;
}

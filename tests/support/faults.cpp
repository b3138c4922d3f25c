#include "support/faults.h"

#include <fstream>

#include "support/support.h"

namespace {

int strikeAt, calls;
Fault fault;
bool struck;
std::vector<std::string> boxes;

// True when this call is the one to fail; its error is then set.
bool Strike()
{
    if (strikeAt == 0 || ++calls != strikeAt) return false;
    struck = true;
    if (fault == Fault::kKill) TerminateProcess(GetCurrentProcess(), 99);
    SetLastError(fault == Fault::kSharing ? ERROR_SHARING_VIOLATION : ERROR_DISK_FULL);
    return true;
}

// A partial copy leaves the first half, as Wine does on a full disk, and fails.
BOOL HalfCopy(LPCSTR from, LPCSTR to)
{
    std::string bytes = ReadBytes(from);
    std::ofstream(to, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    return SetLastError(ERROR_DISK_FULL), FALSE;
}

// A stand-in that fails with `failed`, and the real entry it calls otherwise.
#define STAND(name, type, params, args, failed) \
    decltype(&name) real##name;                 \
    type WINAPI Stand##name params { return Strike() ? (failed) : real##name args; }
STAND(MoveFileExA, BOOL, (LPCSTR from, LPCSTR to, DWORD flags), (from, to, flags), FALSE)
STAND(DeleteFileA, BOOL, (LPCSTR path), (path), FALSE)
STAND(CreateDirectoryA, BOOL, (LPCSTR path, LPSECURITY_ATTRIBUTES sa), (path, sa), FALSE)
STAND(RemoveDirectoryA, BOOL, (LPCSTR path), (path), FALSE)
STAND(FlushFileBuffers, BOOL, (HANDLE file), (file), FALSE)
STAND(CreateFileA, HANDLE, (LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
      DWORD disposition, DWORD flags, HANDLE model), (path, access, share, sa, disposition, flags,
      model), INVALID_HANDLE_VALUE)
STAND(CopyFileA, BOOL, (LPCSTR from, LPCSTR to, BOOL failIfExists), (from, to, failIfExists),
      fault == Fault::kPartial ? HalfCopy(from, to) : FALSE)
STAND(WriteFile, BOOL, (HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED o),
      (file, bytes, size, written, o), fault == Fault::kPartial ? (realWriteFile(file, bytes,
      size / 2, written, o), SetLastError(ERROR_DISK_FULL), FALSE) : FALSE)
decltype(&MessageBoxA) realMessageBoxA;

int WINAPI StandMessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    boxes.push_back(std::string(caption) + ": " + text);
    return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

// Points this program's imports of `name` from `dll` at `stand`, found by the address the loader
// put in; keeps the real entry in `real`.
template <typename F>
void Replace(const char* dll, const char* name, F stand, F* real)
{
    *real = F(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name)));
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto imports = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; imports->Name; ++imports)
        for (auto slot = reinterpret_cast<ULONG_PTR*>(base + imports->FirstThunk); *slot; ++slot)
            if (*slot == reinterpret_cast<ULONG_PTR>(*real)) {
                DWORD old;
                VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
                *slot = reinterpret_cast<ULONG_PTR>(stand);
                VirtualProtect(slot, sizeof *slot, old, &old);
            }
}
#define REPLACE(name) Replace("kernel32.dll", #name, &Stand##name, &real##name)

// Puts the stand-ins in place once.
void StandIn()
{
    if (realCopyFileA) return;
    REPLACE(CopyFileA), REPLACE(MoveFileExA), REPLACE(DeleteFileA), REPLACE(CreateDirectoryA);
    REPLACE(RemoveDirectoryA), REPLACE(CreateFileA), REPLACE(WriteFile), REPLACE(FlushFileBuffers);
    Replace("user32.dll", "MessageBoxA", &StandMessageBoxA, &realMessageBoxA);
}

}  // namespace

void StrikeAt(int k, Fault how) { StandIn(), strikeAt = k, calls = 0, fault = how, struck = false; }

bool Struck() { return struck; }

std::vector<std::string>& Boxes() { StandIn(); return boxes; }

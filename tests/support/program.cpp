#include "support/program.h"

std::string ProgramDirectory()
{
    char path[MAX_PATH];
    std::string directory(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return directory.substr(0, directory.find_last_of("\\/"));
}

DWORD RunSlotkeeper()
{
    std::string path = ProgramDirectory() + "\\slotkeeper.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    DWORD code = STILL_ACTIVE;
    if (!CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return code;
    if (WaitForSingleObject(info.hProcess, 60000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, STILL_ACTIVE);
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

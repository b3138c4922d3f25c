#include "support/program.h"

#include <cstring>
#include <vector>

std::string ProgramDirectory()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path, length);
    return directory.substr(0, directory.find_last_of("\\/"));
}

std::string SlotkeeperPath()
{
    return ProgramDirectory() + "\\slotkeeper.exe";
}

namespace {

// A copy of this process's environment with TMP and TEMP replaced.
std::vector<char> EnvironmentWithTemp(const char* tempDir)
{
    std::vector<char> block;
    char* strings = GetEnvironmentStringsA();
    for (const char* entry = strings; *entry; entry += strlen(entry) + 1) {
        if (_strnicmp(entry, "TMP=", 4) == 0 || _strnicmp(entry, "TEMP=", 5) == 0)
            continue;
        block.insert(block.end(), entry, entry + strlen(entry) + 1);
    }
    FreeEnvironmentStringsA(strings);
    for (const char* name : {"TMP=", "TEMP="}) {
        std::string entry = std::string(name) + tempDir;
        block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    }
    block.push_back('\0');
    return block;
}

}  // namespace

RunningProgram StartSlotkeeper(const char* tempDir)
{
    RunningProgram program = {};
    std::string path = SlotkeeperPath();
    std::string commandLine = "\"" + path + "\"";
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    std::vector<char> environment;
    if (tempDir)
        environment = EnvironmentWithTemp(tempDir);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    program.started = CreateProcessA(path.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0,
                                     tempDir ? environment.data() : nullptr, nullptr, &startup,
                                     &program.info) != FALSE;
    return program;
}

HWND WaitForProgramWindow(const RunningProgram& program, const char* caption, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start <= timeoutMs; Sleep(10)) {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, nullptr, caption))) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == program.info.dwProcessId && IsWindowVisible(window))
                return window;
        }
    }
    return nullptr;
}

DWORD WaitForExit(RunningProgram& program, DWORD timeoutMs)
{
    if (!program.started)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(program.info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(program.info.hProcess, &code);
    else
        TerminateProcess(program.info.hProcess, 1);
    CloseHandle(program.info.hThread);
    CloseHandle(program.info.hProcess);
    program.started = false;
    return code;
}

// Starts the real slotkeeper.exe, which the build puts beside the tests.
#pragma once

#include <windows.h>

#include <string>

std::string ProgramDirectory();      // the directory of this test program
std::string SlotkeeperPath();

struct RunningProgram {
    PROCESS_INFORMATION info;
    bool started;
};

// Starts slotkeeper.exe with an empty command line. `tempDir`, when given,
// becomes its TMP and TEMP (so its font file goes there).
RunningProgram StartSlotkeeper(const char* tempDir = nullptr);
// The program's visible top-level window with this caption, or null after
// the timeout: tells two running copies apart.
HWND WaitForProgramWindow(const RunningProgram& program, const char* caption, DWORD timeoutMs = 20000);
// Waits for the program to end and returns its exit code; STILL_ACTIVE
// after the timeout (the program is then killed).
DWORD WaitForExit(RunningProgram& program, DWORD timeoutMs = 20000);

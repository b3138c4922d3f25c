// Starts the real slotkeeper.exe, which the build puts beside the tests.
#pragma once

#include <windows.h>

#include <string>

std::string ProgramDirectory();   // the directory of this test program
// Runs slotkeeper.exe with this process's environment, its TMP and TEMP included, and returns
// its exit code; STILL_ACTIVE when it had to be ended after a minute.
DWORD RunSlotkeeper();

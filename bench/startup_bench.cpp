// Time from starting slotkeeper.exe to its visible main window on a later run
// (stored save path and graphic mode, so nothing asks first), with one
// character and with 1,000 characters that each hold two slots, and the
// program's peak working set at that moment. Prints each start and the
// medians.
//
//   wine build/i686/bin/startup_bench.exe [characters...]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/settings.h"
#include "resource.h"
#include "support/support.h"

namespace {

const int kStarts = 5;

struct Start {
    long milliseconds;      // -1 when the main window did not show
    SIZE_T peakWorkingSet;  // bytes, 0 when unknown
};

void MakeCharacters(const std::string& save, int count)
{
    for (int i = 0; i < count; ++i) {
        char buffer[32];
        snprintf(buffer, sizeof buffer, "Hero%05d", i);
        std::string name = buffer;
        MakeEntries(save, {name + ".d2s=x", name + "\\1\\, " + name + "\\3\\"});
    }
}

// The program's visible main window, told from its quit question of the same
// caption by the Exit button; null after the timeout. It looks every 10 ms,
// which is the resolution of the figures.
HWND WaitForMainWindow(DWORD process, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start <= timeoutMs; Sleep(10)) {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, "#32770", "Slotkeeper"))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process && IsWindowVisible(window) && GetDlgItem(window, IDC_EXIT))
                return window;
        }
    }
    return nullptr;
}

// Starts slotkeeper.exe, which inherits this process's TMP and TEMP.
bool StartSlotkeeper(PROCESS_INFORMATION* program)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path = path.substr(0, path.rfind('\\') + 1) + "slotkeeper.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, program) != FALSE;
}

Start TimeOneStart()
{
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    PROCESS_INFORMATION program = {};
    bool started = StartSlotkeeper(&program);
    HWND main = started ? WaitForMainWindow(program.dwProcessId, 60000) : nullptr;
    QueryPerformanceCounter(&end);
    Start start = {-1, 0};
    if (main) {
        start.milliseconds = static_cast<long>((end.QuadPart - begin.QuadPart) * 1000 /
                                               frequency.QuadPart);
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(program.hProcess, &memory, sizeof memory))
            start.peakWorkingSet = memory.PeakWorkingSetSize;
        Click(main, IDC_EXIT);
    }
    if (started) {
        if (WaitForSingleObject(program.hProcess, 20000) != WAIT_OBJECT_0)
            TerminateProcess(program.hProcess, 1);
        CloseHandle(program.hThread);
        CloseHandle(program.hProcess);
    }
    return start;
}

bool TimeStarts(int characters)
{
    std::string save = MakeTempDir();
    MakeCharacters(save, characters);
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, REG_SZ, save);
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE, REG_NONE, "\x01");

    std::vector<long> times;
    std::vector<SIZE_T> peaks;
    for (int i = 0; i < kStarts; ++i) {
        Start start = TimeOneStart();
        printf("%d characters, start %d: %ld ms, peak working set %lu KB\n", characters, i + 1,
               start.milliseconds, static_cast<unsigned long>(start.peakWorkingSet / 1024));
        times.push_back(start.milliseconds);
        peaks.push_back(start.peakWorkingSet);
    }
    std::sort(times.begin(), times.end());
    std::sort(peaks.begin(), peaks.end());
    printf("%d characters, median of %d starts: %ld ms, peak working set %lu KB\n", characters,
           kStarts, times[kStarts / 2], static_cast<unsigned long>(peaks[kStarts / 2] / 1024));

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
    RemoveTree(save);
    return times[kStarts / 2] >= 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(atoi(argv[i]));
    if (counts.empty())
        counts = {1, 1000};
    // A private temp directory for the program's font file; the save paths go there too.
    std::string temp = MakeTempDir();
    SetEnvironmentVariableA("TMP", temp.c_str());
    SetEnvironmentVariableA("TEMP", temp.c_str());
    bool shown = true;
    for (int count : counts)
        shown = TimeStarts(count) && shown;
    RemoveTree(temp);
    return shown ? 0 : 1;
}

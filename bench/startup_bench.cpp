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
#include "support/files.h"
#include "support/program.h"
#include "support/registry.h"
#include "support/ui_driver.h"

namespace {

const int kStarts = 5;

struct Start {
    long milliseconds;      // -1 when the main window did not show
    SIZE_T peakWorkingSet;  // bytes, 0 when unknown
};

void MakeCharacters(const std::string& save, int count)
{
    for (int i = 0; i < count; ++i) {
        char name[32];
        snprintf(name, sizeof name, "Hero%05d", i);
        std::string base = save + "\\" + name;
        WriteBytes(base + ".d2s", "x");
        MakeDir(base);
        MakeDir(base + "\\1");
        MakeDir(base + "\\3");
    }
}

Start TimeOneStart(const std::string& temp)
{
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    RunningProgram program = StartSlotkeeper(temp.c_str());
    HWND main = program.started ? WaitForDialogWithControl("Slotkeeper", IDC_EXIT, 60000) : nullptr;
    QueryPerformanceCounter(&end);
    Start start = {-1, 0};
    if (main) {
        start.milliseconds = static_cast<long>((end.QuadPart - begin.QuadPart) * 1000 / frequency.QuadPart);
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(program.info.hProcess, &memory, sizeof memory))
            start.peakWorkingSet = memory.PeakWorkingSetSize;
        PressButton(main, IDC_EXIT);
    }
    WaitForExit(program);
    return start;
}

bool TimeStarts(int characters)
{
    std::string save = MakeTempDir("bench_save");
    std::string temp = MakeTempDir("bench_tmp");
    MakeCharacters(save, characters);
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, REG_SZ, save);
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE, REG_NONE, "\x01");

    std::vector<long> times;
    std::vector<SIZE_T> peaks;
    for (int i = 0; i < kStarts; ++i) {
        Start start = TimeOneStart(temp);
        printf("%d characters, start %d: %ld ms, peak working set %lu KB\n", characters, i + 1,
               start.milliseconds, static_cast<unsigned long>(start.peakWorkingSet / 1024));
        times.push_back(start.milliseconds);
        peaks.push_back(start.peakWorkingSet);
    }
    std::sort(times.begin(), times.end());
    std::sort(peaks.begin(), peaks.end());
    printf("%d characters, median of %d starts: %ld ms, peak working set %lu KB\n", characters, kStarts,
           times[kStarts / 2], static_cast<unsigned long>(peaks[kStarts / 2] / 1024));

    DeleteKeyTree(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
    RemoveTree(save);
    RemoveTree(temp);
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
    bool shown = true;
    for (int count : counts)
        shown = TimeStarts(count) && shown;
    return shown ? 0 : 1;
}

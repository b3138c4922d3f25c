// Time from starting slotkeeper.exe to its visible main window, on a later
// run (stored save path and graphic mode, one savegame, so nothing asks
// first). Prints each of five starts and their median.
#include <windows.h>

#include <algorithm>
#include <cstdio>
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

// Milliseconds to the main window, or -1 when it did not show.
long TimeOneStart(const std::string& temp)
{
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    RunningProgram program = StartSlotkeeper(temp.c_str());
    HWND main = program.started ? WaitForDialogWithControl("Slotkeeper", IDC_EXIT, 30000) : nullptr;
    QueryPerformanceCounter(&end);
    if (main)
        PressButton(main, IDC_EXIT);
    WaitForExit(program);
    if (!main)
        return -1;
    return static_cast<long>((end.QuadPart - begin.QuadPart) * 1000 / frequency.QuadPart);
}

}  // namespace

int main()
{
    std::string save = MakeTempDir("bench_save");
    std::string temp = MakeTempDir("bench_tmp");
    WriteBytes(save + "\\Amy.d2s", "x");
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, REG_SZ, save);
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE, REG_NONE, "\x01");

    std::vector<long> times;
    for (int i = 0; i < kStarts; ++i) {
        long ms = TimeOneStart(temp);
        printf("start %d: %ld ms to the main window\n", i + 1, ms);
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    printf("median of %d starts: %ld ms\n", kStarts, times[kStarts / 2]);

    DeleteKeyTree(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
    RemoveTree(save);
    RemoveTree(temp);
    return times[kStarts / 2] < 0 ? 1 : 0;
}

// How long character discovery takes over a large save path: N characters,
// each with a savegame, a second file and a character directory holding two
// slot directories. Prints the median of several scans.
//
//   wine build/i686/bin/scan_bench.exe [characters...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "store/characters.h"
#include "support/files.h"

namespace {

const int kRuns = 5;

void MakeSavePath(const std::string& dir, int characters)
{
    for (int i = 0; i < characters; ++i) {
        char name[32];
        snprintf(name, sizeof name, "Hero%05d", i);
        std::string base = dir + "\\" + name;
        WriteBytes(base + ".d2s", "x");
        WriteBytes(base + ".key", "x");
        MakeDir(base);
        MakeDir(base + "\\1");
        MakeDir(base + "\\3");
    }
}

double ScanMilliseconds(const std::string& dir)
{
    appState.savePath = _strdup(dir.c_str());
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    ScanCharacters();
    QueryPerformanceCounter(&end);
    ReleaseCharacters();
    return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(atoi(argv[i]));
    if (counts.empty())
        counts = {1000, 5000, 10000};

    printf("characters  median scan (ms)  per character (us)\n");
    for (int count : counts) {
        std::string dir = MakeTempDir("scanbench");
        MakeSavePath(dir, count);
        std::vector<double> runs;
        for (int run = 0; run < kRuns; ++run)
            runs.push_back(ScanMilliseconds(dir));
        std::sort(runs.begin(), runs.end());
        double median = runs[kRuns / 2];
        printf("%10d  %16.1f  %18.1f\n", count, median, 1000.0 * median / count);
        RemoveTree(dir);
    }
    return 0;
}

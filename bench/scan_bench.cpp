// How long character discovery takes over a large save path. Each argument
// is either a number N of characters to generate (each with a savegame, a
// second file and a character directory holding slot directories 1 and 3)
// or a save path prepared beforehand. Prints the median of several scans.
//
//   wine build/i686/bin/scan_bench.exe [N | save path]...
#include <windows.h>

#include <algorithm>
#include <cctype>
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

int CountCharacters()
{
    int count = 0;
    for (CharacterEntry* entry = appState.characters; entry; entry = entry->next)
        ++count;
    return count;
}

// Milliseconds of one scan; `characters` receives how many it listed.
double ScanMilliseconds(const std::string& dir, int* characters)
{
    appState.savePath = _strdup(dir.c_str());
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    ScanCharacters();
    QueryPerformanceCounter(&end);
    *characters = CountCharacters();
    ReleaseCharacters();
    return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

void ReportScans(const std::string& dir)
{
    std::vector<double> runs;
    int characters = 0;
    for (int run = 0; run < kRuns; ++run)
        runs.push_back(ScanMilliseconds(dir, &characters));
    std::sort(runs.begin(), runs.end());
    double median = runs[kRuns / 2];
    printf("%10d  %16.1f  %18.1f\n", characters, median, characters ? 1000.0 * median / characters : 0.0);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> inputs(argv + 1, argv + argc);
    if (inputs.empty())
        inputs = {"1000"};

    printf("characters  median scan (ms)  per character (us)\n");
    for (const std::string& input : inputs) {
        if (!isdigit(static_cast<unsigned char>(input[0]))) {
            ReportScans(input);
            continue;
        }
        std::string dir = MakeTempDir("scanbench");
        MakeSavePath(dir, atoi(input.c_str()));
        ReportScans(dir);
        RemoveTree(dir);
    }
    return 0;
}

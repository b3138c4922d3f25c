// How long character discovery takes over a large save path. Each argument
// is either a number N of characters to generate (each with a savegame, a
// second file and a character directory holding slot directories 1 and 3)
// or a save path prepared beforehand in the same layout. Prints the median
// of several scans. Every scan must list each character once with the mask
// of slots 1 and 3; the program exits with 1 when one does not.
//
//   wine build/i686/bin/scan_bench.exe [N | save path]...
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "store/backup_store.h"
#include "store/characters.h"
#include "store/journal.h"
#include "support/support.h"

namespace {

const int kRuns = 5;

using Listing = std::map<std::string, DWORD>;  // character name -> slot mask

std::string HeroName(int i)
{
    char name[32];
    snprintf(name, sizeof name, "Hero%05d", i);
    return name;
}

void MakeSavePath(const std::string& dir, int characters)
{
    for (int i = 0; i < characters; ++i) {
        std::string name = HeroName(i);
        MakeEntries(dir, {name + ".d2s=x, " + name + ".key=x", name + "\\1\\, " + name + "\\3\\"});
    }
}

// The characters of a save path in this layout, which has `characters` savegames.
Listing Expected(int characters)
{
    Listing expected;
    for (int i = 0; i < characters; ++i)
        expected[HeroName(i)] = SlotBit(1) | SlotBit(3);
    return expected;
}

// A prepared save path is read without the program's code: its savegames count.
int CountSavegames(const std::string& dir)
{
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*.d2s").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        ++count;
    FindClose(search);
    return count;
}

int CountCharacters()
{
    int count = 0;
    for (CharacterEntry* entry = appState.characters; entry; entry = entry->next)
        ++count;
    return count;
}

// False, with the first difference on standard error, unless the list holds
// exactly the expected characters, each once and with its mask.
bool ListsExpected(const Listing& expected)
{
    Listing listed;
    for (CharacterEntry* entry = appState.characters; entry; entry = entry->next)
        listed[entry->name] = entry->slotMask;
    int count = CountCharacters();
    if (count == static_cast<int>(expected.size()) && listed == expected)
        return true;
    fprintf(stderr, "wrong scan: %d characters listed, %u expected\n", count,
            static_cast<unsigned>(expected.size()));
    for (const auto& character : expected) {
        auto found = listed.find(character.first);
        if (found == listed.end()) {
            fprintf(stderr, "  %s missing\n", character.first.c_str());
            break;
        }
        if (found->second != character.second) {
            fprintf(stderr, "  %s listed with mask %lu, %lu expected\n", character.first.c_str(),
                    static_cast<unsigned long>(found->second),
                    static_cast<unsigned long>(character.second));
            break;
        }
    }
    return false;
}

// Milliseconds of one scan; `characters` receives how many it listed, and
// `right` becomes false when they are not the expected ones.
double ScanMilliseconds(const std::string& dir, const Listing& expected, int* characters,
                        bool* right)
{
    appState.savePath = _strdup(dir.c_str());
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    // As a start does: interrupted operations are seen to before the list.
    RecoverInterrupted(appState.savePath);
    ScanCharacters(appState.savePath, &appState.characters);
    QueryPerformanceCounter(&end);
    *characters = CountCharacters();
    *right = *right && ListsExpected(expected);  // one report per save path
    ReleaseStore();
    return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

// Prints one line of figures; false when a scan listed wrongly.
bool ReportScans(const std::string& dir, const Listing& expected)
{
    std::vector<double> runs;
    int characters = 0;
    bool right = true;
    for (int run = 0; run < kRuns; ++run)
        runs.push_back(ScanMilliseconds(dir, expected, &characters, &right));
    std::sort(runs.begin(), runs.end());
    double median = runs[kRuns / 2];
    printf("%10d  %16.1f  %18.1f\n", characters, median,
           characters ? 1000.0 * median / characters : 0.0);
    return right;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> inputs(argv + 1, argv + argc);
    if (inputs.empty())
        inputs = {"1000"};

    printf("characters  median scan (ms)  per character (us)\n");
    bool right = true;
    for (const std::string& input : inputs) {
        if (!isdigit(static_cast<unsigned char>(input[0]))) {
            right = ReportScans(input, Expected(CountSavegames(input))) && right;
            continue;
        }
        int characters = atoi(input.c_str());
        std::string dir = MakeTempDir();
        MakeSavePath(dir, characters);
        right = ReportScans(dir, Expected(characters)) && right;
        RemoveTree(dir);
    }
    return right ? 0 : 1;
}
